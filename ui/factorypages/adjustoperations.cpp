// The calibration adjust buttons of the factory pages: one slot for all of them, driven by the
// button's object name.
#include "ui/mainwindow.h"
#include "ui_mainwindow.h"

#include "session/factorysteps.h"
#include "ui/factorypages/adjustname.h"
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
        runOperation(OperationKind::Write, [=] {
            return factorySteps().writeAdjust(static_cast<quint8>(type), point,
                                              WidgetValues::valueOf(box));
        });
    } else {
        const int delta = kAdjustSteps[name->stepIndex].delta;
        runOperation(OperationKind::Write, [=] {
            return factorySteps().stepAdjust(static_cast<quint8>(type), point, delta);
        });
    }
}

bool MainWindow::readAdjustValue(unsigned type, int point, QSpinBox *spinBox, bool isSigned)
{
    WidgetValues::blank(spinBox);
    const std::optional<int> value =
        factorySteps().readAdjust(static_cast<quint8>(type), point, isSigned);
    if (!value)
        return false;
    WidgetValues::setValue(spinBox, *value);
    return true;
}

FactorySteps MainWindow::factorySteps()
{
    return FactorySteps(m_engine, *this);
}
