#pragma once

#include <QWidget>

QT_BEGIN_NAMESPACE
class QLabel;
QT_END_NAMESPACE

// The busy overlay: a dark veil over the whole window with a spinner and one line of text;
// a double-click cancels the operation that waits behind it.
class LoadingWidget : public QWidget
{
    Q_OBJECT

public:
    explicit LoadingWidget(QWidget *parent = nullptr);

    void setText(const QString &text);
    QString text() const;
    void fitToParent();

signals:
    void userCancel();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QLabel *textLabel = nullptr;
};
