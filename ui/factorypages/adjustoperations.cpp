// The calibration adjust buttons of the factory pages: one slot for all of them, driven by the
// button's object name.
#include "ui/mainwindow.h"
#include "ui_mainwindow.h"

#include "device/adjustcommands.h"
#include "device/adjustname.h"
#include "ui/widgetvalues.h"

#include <QAbstractButton>
#include <QDebug>
#include <QSpinBox>

namespace {
const QString kAdjustPrefix = QStringLiteral("adjust_");
}

void MainWindow::connectAdjustButtons(QObject *root)
{
    const QObjectList children = root->children();
    for (QObject *child : children) {
        if (child->objectName().startsWith(kAdjustPrefix)) {
            if (auto *button = qobject_cast<QAbstractButton *>(child))
                connect(button, &QAbstractButton::clicked, this, &MainWindow::onAdjustClicked);
        }
        connectAdjustButtons(child);
    }
}

void MainWindow::onAdjustClicked()
{
    if (!sender())
        return;
    const std::optional<AdjustName> name = parseAdjustName(sender()->objectName());
    if (!name)
        return;
    QSpinBox *box = findChild<QSpinBox *>(name->spinBoxName);
    if (!box)
        return;

    const unsigned type = name->type;
    const int point = name->point;
    QStringList items{QString::number(type), QString::fromLatin1(kAdjustPointNames[point])};
    if (name->isStep())
        items.append(QString::fromLatin1(kAdjustSteps[name->stepIndex].text));
    const QString verb = name->operation == kAdjustRead    ? QStringLiteral("read ")
                         : name->operation == kAdjustWrite ? QStringLiteral("set ")
                                                           : QStringLiteral("offset ");
    qDebug().noquote() << verb + items.join(QStringLiteral(", ")) + QStringLiteral(", box=") +
                              QString::number(box->value());

    if (name->operation == kAdjustRead) {
        const bool isSigned = name->isSigned;
        runOperation(OperationKind::Read,
                     [=] { return readAdjustValue(type, point, box, isSigned); });
    } else if (name->operation == kAdjustWrite) {
        runOperation(OperationKind::Write, [=] { return writeAdjustValue(type, point, box); });
    } else {
        const int delta = kAdjustSteps[name->stepIndex].delta;
        runOperation(OperationKind::Write, [=] { return stepAdjustValue(type, point, delta); });
    }
}

bool MainWindow::readAdjustValue(unsigned type, int point, QSpinBox *spinBox, bool isSigned)
{
    WidgetValues::blank(spinBox);
    const auto reply = transact(
        AdjustCommands::read(static_cast<quint8>(type), point, AdjustCommands::readFailureText()));
    if (!reply)
        return false;
    WidgetValues::setValue(spinBox, AdjustCommands::decodeValue(*reply, isSigned));
    return true;
}

bool MainWindow::writeAdjustValue(unsigned type, int point, QSpinBox *spinBox)
{
    if (WidgetValues::isBlank(spinBox))
        return refuse(AdjustCommands::blankRefusalText());
    return transact(AdjustCommands::write(static_cast<quint8>(type), point, spinBox->value(),
                                          AdjustCommands::writeFailureText()))
        .has_value();
}

bool MainWindow::stepAdjustValue(unsigned type, int point, int delta)
{
    return transact(AdjustCommands::step(static_cast<quint8>(type), point, delta,
                                         AdjustCommands::writeFailureText()))
        .has_value();
}
