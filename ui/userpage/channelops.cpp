// Reading and writing the channel table: frequencies and powers in one command, the other
// parameters channel by channel.
#include "ui/mainwindow.h"
#include "ui_mainwindow.h"

#include "device/channelcodec.h"
#include "device/channelcommands.h"

#include <QLineEdit>

namespace {
// Shown untranslated, as the operators know it.
const QString kReadDeviceFirstStatus = QStringLiteral("警告：请先读取设备信息！");
} // namespace

using namespace ChannelCodec;

void MainWindow::on_pushButton_clicked()
{
    runOperation(OperationKind::Read, [this] { return readChannelTable(); });
}

void MainWindow::on_pushButton_2_clicked()
{
    runOperation(OperationKind::Write, [this] { return writeChannelTable(); });
}

bool MainWindow::readChannelTable()
{
    if (!readFreqAndPower())
        return false;
    setProgress(ChannelCommands::kFreqPowerPercent);
    for (int i = 0; i < kChannelCount; ++i) {
        if (!readChannelParams(i + 1))
            return false;
        setProgress(ChannelCommands::tablePercent(i));
    }
    return true;
}

bool MainWindow::writeChannelTable()
{
    if (!writeFreqAndPower())
        return false;
    setProgress(ChannelCommands::kFreqPowerPercent);
    for (int i = 0; i < kChannelCount; ++i) {
        if (!writeChannelParams(i + 1))
            return false;
        setProgress(ChannelCommands::tablePercent(i));
    }
    return true;
}

bool MainWindow::readFreqAndPower()
{
    // A failed read leaves every channel empty rather than half old, half new.
    clearChannelTable();
    if (!isDeviceInfoRead())
        showStatus(kReadDeviceFirstStatus);
    const auto reply = transact(ChannelCommands::readFreqAndPower());
    if (!reply)
        return false;
    const ChannelCommands::Records records = ChannelCommands::decodeFreqAndPower(*reply);
    for (int n = 1; n <= kChannelCount; ++n) {
        const Wire::ChannelRecord &record = records[n - 1];
        setTxFreq(n, record.txFreq);
        setRxFreq(n, record.rxFreq);
        setTxPowerIndex(n, txPowerIndexFromRecord(record));
    }
    return true;
}

bool MainWindow::writeFreqAndPower()
{
    if (!isDeviceInfoRead())
        return refuse(tr("请先读取设备信息！"));

    // Marks an out-of-band cell and refuses; clears the marking of a good one.
    const auto inBand = [this](int channel, const QString &field, quint32 value) {
        QLineEdit *cell = frequencyCell(channel, field);
        const bool bad = value != 0 && isOutOfBand(value, freqMin, freqMax);
        if (cell)
            cell->setStyleSheet(bad ? kOutOfBandStyle : QString());
        return !bad || refuse(tr("频率超出范围！"));
    };

    ChannelCommands::Records records{};
    for (int n = 1; n <= kChannelCount; ++n) {
        const quint32 tx = txFreq(n);
        if (!inBand(n, kTxFreq, tx))
            return false;
        const quint32 rx = rxFreq(n);
        if (!inBand(n, kRxFreq, rx))
            return false;
        int power = txPowerIndex(n);
        if (power == kNoSelection) {
            if (rx != 0 && tx != 0)
                return refuse(tr("请选择发射功率值！"));
            power = 0;
        }
        if (rx == 0 || tx == 0) {
            // Half a channel is no channel: it goes out empty and the table shows it so.
            setRxFreq(n, 0);
            setTxFreq(n, 0);
            setTxPowerIndex(n, kNoSelection);
            records[n - 1] = Wire::ChannelRecord{};
            continue;
        }
        records[n - 1] = Wire::ChannelRecord{tx, rx, static_cast<quint8>(power)};
    }
    return transact(ChannelCommands::writeFreqAndPower(records)).has_value();
}

bool MainWindow::readChannelParams(int channel)
{
    // An unused channel has no parameters to read.
    if (rxFreq(channel) == 0 || txFreq(channel) == 0) {
        clearChannelSelectors(channel);
        return true;
    }
    const auto reply = transact(ChannelCommands::readChannelParams(channel));
    if (!reply)
        return false;
    const ChannelCommands::ParamBytes params = ChannelCommands::decodeChannelParams(*reply);
    setBandwidthIndex(channel, bandwidthIndexFromWire(params.bandwidth));
    setSqLevelIndex(channel, sqLevelIndexFromWire(params.squelch));
    setCtcssDcsIndex(channel, ctcssDcsIndexFromWire(params.ctcssDcs));
    setScanIndex(channel, scanIndexFromWire(params.scan));
    return true;
}

bool MainWindow::writeChannelParams(int channel)
{
    if (rxFreq(channel) == 0 || txFreq(channel) == 0) {
        clearChannelSelectors(channel);
        return true;
    }
    const auto bandwidth = bandwidthWireFromIndex(bandwidthIndex(channel));
    if (!bandwidth)
        return refuse(tr("请选择频道带宽！"));
    const auto squelch = sqLevelWireFromIndex(sqLevelIndex(channel));
    if (!squelch)
        return refuse(tr("请选择频道静噪等级！"));
    const auto ctcssDcs = ctcssDcsWireFromIndex(ctcssDcsIndex(channel));
    if (!ctcssDcs)
        return refuse(tr("请选择亚音频/数字亚音频！"));
    const auto scan = scanWireFromIndex(scanIndex(channel));
    if (!scan)
        return refuse(tr("请选择频是否扫描频道！"));
    const ChannelCommands::ParamBytes params{*bandwidth, *squelch, *ctcssDcs, *scan};
    return transact(ChannelCommands::writeChannelParams(channel, params)).has_value();
}
