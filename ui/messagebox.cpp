#include "ui/messagebox.h"

#include <QLabel>

namespace {
MessageBox::Interceptor &interceptor()
{
    static MessageBox::Interceptor instance;
    return instance;
}
} // namespace

void MessageBox::setInterceptor(Interceptor replacement)
{
    interceptor() = std::move(replacement);
}

QMessageBox::StandardButton MessageBox::show(QWidget *parent, const Shown &box,
                                             QMessageBox::StandardButtons buttons,
                                             QMessageBox::StandardButton defaultButton)
{
    if (interceptor())
        return interceptor()(box);
    QMessageBox dialog(box.icon, box.title, box.text, buttons, parent);
    dialog.setTextFormat(Qt::PlainText);
    if (!box.informativeText.isEmpty()) {
        // The box guesses the informative text's format and has no setter for it: its label
        // is made plain here, so that markup and line breaks show as they stand.
        dialog.setInformativeText(box.informativeText);
        if (auto *label = dialog.findChild<QLabel *>(QStringLiteral("qt_msgbox_informativelabel")))
            label->setTextFormat(Qt::PlainText);
    }
    if (defaultButton != QMessageBox::NoButton)
        dialog.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(dialog.exec());
}

void MessageBox::critical(QWidget *parent, const QString &title, const QString &text,
                          const QString &informativeText)
{
    show(parent, Shown{QMessageBox::Critical, title, text, informativeText});
}

QMessageBox::StandardButton MessageBox::warningYesNo(QWidget *parent, const QString &title,
                                                     const QString &text)
{
    return show(parent, Shown{QMessageBox::Warning, title, text, QString()},
                QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
}
