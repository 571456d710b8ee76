// "查找模块" of the serial settings window: which of the ports has the module on it.
#include "ui/serial/formserialportsetting.h"

#include "serial/linesettings.h"
#include "serial/mserialport.h"
#include "session/portprobe.h"
#include "ui/serial/mportlist.h"
#include "ui/serial/mserialbutton.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString kResultsName = QStringLiteral("probeResults");
constexpr int kResultsWidthPx = 520;
constexpr int kResultsHeightPx = 200;
} // namespace

void FormSerialPortSetting::findModule()
{
    if (m_operationFrame)
        m_operationFrame([this] { return probePorts(); });
    else
        probePorts();
}

bool FormSerialPortSetting::probePorts()
{
    QStringList listed;
    for (int i = 0; i < portList->count(); ++i)
        listed.append(portList->itemText(i));
    const QStringList names =
        PortProbe::candidates(listed, {portList->lineEdit()->text().trimmed()});

    // The port in use is one of those to ask; it cannot be asked while this tool holds it.
    const bool wasOpen = appSerialPort->isOpen();
    if (wasOpen)
        serialButton->closePort();

    const LineSettings line = LineSettings::of(*appSerialPort);
    QList<ProbeResult> results;
    int chosen = -1;
    for (const QString &name : names) {
        results.append(PortProbe::probe(name, line));
        if (chosen < 0 && results.last().found())
            chosen = results.size() - 1;
    }
    // An open port follows the selection, as it does when the user picks another port.
    if (chosen >= 0)
        portList->selectPort(results.at(chosen).port);
    if (wasOpen)
        serialButton->openPort();
    showProbeResults(results, chosen);
    return chosen >= 0;
}

void FormSerialPortSetting::showProbeResults(const QList<ProbeResult> &results, int chosen)
{
    // A window of its own: the settings window keeps its fixed size whatever the list holds.
    auto *dialog = findChild<QDialog *>(kResultsName);
    if (!dialog) {
        dialog = new QDialog(this);
        dialog->setObjectName(kResultsName);
        dialog->resize(kResultsWidthPx, kResultsHeightPx);
        auto *layout = new QVBoxLayout(dialog);
        layout->addWidget(new QListWidget);
        auto *close = new QDialogButtonBox(QDialogButtonBox::Close);
        connect(close, &QDialogButtonBox::rejected, dialog, &QDialog::hide);
        layout->addWidget(close);
    }
    dialog->setWindowTitle(tr("查找模块"));
    dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Close)->setText(tr("关闭"));
    auto *list = dialog->findChild<QListWidget *>();
    list->clear();
    for (const ProbeResult &result : results)
        list->addItem(QStringLiteral("%1: %2").arg(result.port, result.toText()));
    list->setCurrentRow(chosen);
    dialog->show();
    dialog->raise();
}
