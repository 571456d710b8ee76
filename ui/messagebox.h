#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>

// Every message box of the tool goes through here: texts are always plain (port names and
// device strings are never rendered as rich text), and tests can answer boxes without a user.
namespace MessageBox {

struct Shown
{
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title;
    QString text;
    QString informativeText;
};

// A test answers a box by returning the button it would press.
using Interceptor = std::function<QMessageBox::StandardButton(const Shown &)>;
void setInterceptor(Interceptor interceptor);

QMessageBox::StandardButton show(QWidget *parent, const Shown &box,
                                 QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                 QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);

void critical(QWidget *parent, const QString &title, const QString &text,
              const QString &informativeText = QString());
QMessageBox::StandardButton warningYesNo(QWidget *parent, const QString &title,
                                         const QString &text);

} // namespace MessageBox
