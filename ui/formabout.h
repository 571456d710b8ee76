#pragma once

#include <QWidget>

namespace Ui {
class FormAbout;
}

// The frameless about window with the logo and the program version; a left click hides it.
class FormAbout : public QWidget
{
    Q_OBJECT

public:
    explicit FormAbout(QWidget *parent = nullptr);
    ~FormAbout() override;

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    Ui::FormAbout *ui = nullptr;
};
