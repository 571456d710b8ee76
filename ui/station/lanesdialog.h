#pragma once

#include <QDialog>
#include <QStringList>

QT_BEGIN_NAMESPACE
class QLabel;
class QLineEdit;
class QListWidget;
QT_END_NAMESPACE

// Chooses the station's lanes: the ports the system lists (as the serial settings list them)
// and any device path typed in, one lane each, up to the station's limit.
class LanesDialog : public QDialog
{
    Q_OBJECT

public:
    LanesDialog(const QStringList &chosen, int maxLanes, QWidget *parent = nullptr);

    // The ticked ports, in the list's order.
    QStringList ports() const;

    void accept() override;

private:
    void addPort(const QString &name, bool ticked);
    void addTyped();
    void updateCount();

    int m_maxLanes = 0;
    QListWidget *m_list = nullptr;
    QLineEdit *m_typed = nullptr;
    QLabel *m_count = nullptr;
};
