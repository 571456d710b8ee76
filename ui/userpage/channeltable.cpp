// The channel table: its cells in wdgFreqBox, their accessors and the frequency entry check.
#include "ui/mainwindow.h"
#include "ui_mainwindow.h"

#include "device/channelcodec.h"
#include "ui/widgetvalues.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace {
constexpr int kTableMarginPx = 5;
constexpr int kTableSpacingPx = 3;
constexpr int kChannelHeaderMaxHeightPx = 10;
constexpr int kFrequencyPaddingPx = 12; // frame and text margins of a line edit

enum Column
{
    kNumberColumn,
    kRxColumn,
    kTxColumn,
    kPowerColumn,
    kBandwidthColumn,
    kSqLevelColumn,
    kCtcssDcsColumn,
    kScanColumn
};

// Shown untranslated, as the operators know them.
const QString kReadDeviceFirstWarning = QStringLiteral("警告：操作前请先读取设备信息！");
const QString kOutOfRangeWarning = QStringLiteral("警告：频率超出范围！");
} // namespace

using namespace ChannelCodec;

void MainWindow::buildChannelTable()
{
    auto *grid = new QGridLayout(ui->wdgFreqBox);
    grid->setContentsMargins(kTableMarginPx, kTableMarginPx, kTableMarginPx, kTableMarginPx);
    grid->setSpacing(kTableSpacingPx);

    const QStringList headers = headerTexts();
    for (int column = 0; column < headers.size(); ++column) {
        auto *header = new QLabel(headers.at(column));
        if (column == kNumberColumn)
            header->setMaximumHeight(kChannelHeaderMaxHeightPx);
        grid->addWidget(header, 0, column);
    }

    // The cells get no parent here: the layout makes them children of wdgFreqBox, in this order.
    for (int n = 1; n <= kChannelCount; ++n) {
        grid->addWidget(new QLabel(QString::number(n)), n, kNumberColumn);
        const auto addFrequency = [&](const QString &field, int column) {
            auto *cell = new QLineEdit;
            cell->setObjectName(cellName(n, field));
            cell->setInputMask(kFrequencyMask);
            cell->setMinimumWidth(cell->fontMetrics().horizontalAdvance(frequencyText(99999999)) +
                                  kFrequencyPaddingPx);
            connect(cell, &QLineEdit::editingFinished, this, &MainWindow::onEditingFinished);
            grid->addWidget(cell, n, column);
        };
        const auto addSelector = [&](const QString &field, const QStringList &items, int column) {
            auto *cell = new QComboBox;
            cell->setObjectName(cellName(n, field));
            cell->addItems(items);
            grid->addWidget(cell, n, column);
        };
        addFrequency(kRxFreq, kRxColumn);
        addFrequency(kTxFreq, kTxColumn);
        addSelector(kTxPower, txPowerItems(), kPowerColumn);
        addSelector(kBandwidth, bandwidthItems(), kBandwidthColumn);
        addSelector(kSqLevel, sqLevelItems(), kSqLevelColumn);
        addSelector(kCtcssDcs, ctcssDcsItems(), kCtcssDcsColumn);
        addSelector(kScan, scanItems(), kScanColumn);
    }
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *old) {
        if (old && old == m_uncheckedCell && !m_operationRunning)
            emit m_uncheckedCell->editingFinished();
    });
}

QWidget *MainWindow::channelCell(int channel, const QString &field) const
{
    const QObjectList &children = ui->wdgFreqBox->children();
    for (QObject *child : children) {
        const QString name = child->objectName();
        if (child->isWidgetType() && name.contains(field) && channelOfCellName(name) == channel)
            return static_cast<QWidget *>(child);
    }
    return nullptr;
}

QLineEdit *MainWindow::frequencyCell(int channel, const QString &field) const
{
    return qobject_cast<QLineEdit *>(channelCell(channel, field));
}

QComboBox *MainWindow::selectorCell(int channel, const QString &field) const
{
    return qobject_cast<QComboBox *>(channelCell(channel, field));
}

quint32 MainWindow::frequency(int channel, const QString &field) const
{
    const QLineEdit *cell = frequencyCell(channel, field);
    return cell ? frequencyFromText(cell->displayText()) : 0;
}

void MainWindow::setFrequency(int channel, const QString &field, quint32 value)
{
    QLineEdit *cell = frequencyCell(channel, field);
    if (!cell)
        return;
    WidgetValues::show(cell, frequencyText(value));
    const bool marked = value != 0 && isOutOfBand(value, freqMin, freqMax);
    cell->setStyleSheet(marked ? kOutOfBandStyle : QString());
}

int MainWindow::selectorIndex(int channel, const QString &field) const
{
    const QComboBox *cell = selectorCell(channel, field);
    return cell ? cell->currentIndex() : kNoSelection;
}

void MainWindow::setSelectorIndex(int channel, const QString &field, int index)
{
    QComboBox *cell = selectorCell(channel, field);
    if (!cell)
        return;
    cell->setCurrentIndex(index >= 0 && index < cell->count() ? index : kNoSelection);
}

quint32 MainWindow::rxFreq(int channel) const
{
    return frequency(channel, kRxFreq);
}

quint32 MainWindow::txFreq(int channel) const
{
    return frequency(channel, kTxFreq);
}

void MainWindow::setRxFreq(int channel, quint32 value)
{
    setFrequency(channel, kRxFreq, value);
}

void MainWindow::setTxFreq(int channel, quint32 value)
{
    setFrequency(channel, kTxFreq, value);
}

int MainWindow::txPowerIndex(int channel) const
{
    return selectorIndex(channel, kTxPower);
}

int MainWindow::bandwidthIndex(int channel) const
{
    return selectorIndex(channel, kBandwidth);
}

int MainWindow::sqLevelIndex(int channel) const
{
    return selectorIndex(channel, kSqLevel);
}

int MainWindow::ctcssDcsIndex(int channel) const
{
    return selectorIndex(channel, kCtcssDcs);
}

int MainWindow::scanIndex(int channel) const
{
    return selectorIndex(channel, kScan);
}

void MainWindow::setTxPowerIndex(int channel, int index)
{
    setSelectorIndex(channel, kTxPower, index);
}

void MainWindow::setBandwidthIndex(int channel, int index)
{
    setSelectorIndex(channel, kBandwidth, index);
}

void MainWindow::setSqLevelIndex(int channel, int index)
{
    setSelectorIndex(channel, kSqLevel, index);
}

void MainWindow::setCtcssDcsIndex(int channel, int index)
{
    setSelectorIndex(channel, kCtcssDcs, index);
}

void MainWindow::setScanIndex(int channel, int index)
{
    setSelectorIndex(channel, kScan, index);
}

void MainWindow::clearChannelSelectors(int channel)
{
    setBandwidthIndex(channel, kNoSelection);
    setSqLevelIndex(channel, kNoSelection);
    setCtcssDcsIndex(channel, kNoSelection);
    setScanIndex(channel, kNoSelection);
}

void MainWindow::clearChannelTable()
{
    for (int n = 1; n <= kChannelCount; ++n) {
        setRxFreq(n, 0);
        setTxFreq(n, 0);
        setTxPowerIndex(n, kNoSelection);
        clearChannelSelectors(n);
    }
}

void MainWindow::onEditingFinished()
{
    auto *cell = qobject_cast<QLineEdit *>(sender());
    // A frequency the program showed (a read, a file, an undo step) is no entry: its marking
    // came with it, and the focus passing through its cell, or a box taking it away, checks
    // nothing.
    if (!cell || WidgetValues::isShown(cell))
        return;
    // Starting an operation moves the focus to the overlay; that is not the user leaving. The
    // line edit finishes an edit once only, so the check waits for the user to leave.
    if (m_operationRunning) {
        m_uncheckedCell = cell;
        return;
    }
    m_uncheckedCell.clear();
    if (!isDeviceInfoRead())
        showStatus(kReadDeviceFirstWarning);
    const quint32 typed = frequencyFromText(cell->displayText());
    if (typed == 0) {
        cell->setStyleSheet(QString());
        return;
    }
    const quint32 chosen = snapFrequency(typed, freqMin, freqMax);
    cell->setText(frequencyText(chosen));
    if (isOutOfBand(chosen, freqMin, freqMax)) {
        cell->setStyleSheet(kOutOfBandStyle);
        showStatus(kOutOfRangeWarning);
    } else {
        cell->setStyleSheet(QString());
    }
}
