#include "sim/requesthandler.h"

#include "protocol/linkframe.h"

namespace {
using Result = RequestHandler::Result;

constexpr int kMaxSquelch = 5;
constexpr int kMaxVolume = 9;
constexpr int kMaxSleepTime = 25;   // x 20 ms
constexpr int kMaxStandbyTime = 15; // x 40 ms
constexpr int kMaxScanMode = 3;
constexpr int kMaxPower = Wire::kPowerSteps - 1;
constexpr int kMaxFirmwareText = LinkFrame::kMaxPayload - 3;
constexpr quint8 kFirmwareSpare = 0x00; // the unused byte before the version text
constexpr quint8 kScanSpare = 0x00;     // the unused byte after the scan mode
constexpr quint8 kSquelchLow = 0x02;    // 0.25 uV
constexpr quint8 kSquelchHigh = 0x04;   // 0.45 uV
constexpr quint8 kDataPttMode = 1;
constexpr quint8 kVoicePttMode = 2;
constexpr quint8 kNormalTransmitMode = 0;

quint8 at(const QByteArray &bytes, int index)
{
    return static_cast<quint8>(bytes.at(index));
}

Result silent()
{
    return {};
}

Result refused()
{
    return {Wire::ackRefused(), false};
}

Result done()
{
    return {Wire::ackDone(), true};
}

// A read reply: the request repeated, then the data.
Result answer(const QByteArray &request, const QByteArray &data)
{
    return {request + data, false};
}

Result answer(const QByteArray &request, std::initializer_list<quint8> data)
{
    QByteArray bytes;
    for (quint8 b : data)
        bytes.append(static_cast<char>(b));
    return answer(request, bytes);
}

quint8 wrapAdd(quint8 value, quint8 delta)
{
    return static_cast<quint8>(value + static_cast<qint8>(delta));
}

bool matches(const QByteArray &bytes, int offset, const std::array<quint8, 3> &pattern)
{
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (at(bytes, offset + static_cast<int>(i)) != pattern[i])
            return false;
    }
    return true;
}

Result freqAndPower(const QByteArray &request, ModuleState &state, bool write)
{
    constexpr int kHeader = 3;
    const int expected = kHeader + (write ? Wire::kChannelCount * Wire::kChannelRecordSize : 0);
    if (request.size() != expected)
        return silent();
    if (at(request, 2) != Wire::SystemCmd::kFreqPowerPage)
        return refused();
    if (!write) {
        QByteArray records;
        for (const ChannelState &c : state.channels)
            records.append(Wire::encodeChannelRecord({c.txFreq, c.rxFreq, c.power}));
        return answer(request, records);
    }
    // All or nothing: one bad record leaves the whole table as it was.
    for (int i = 0; i < Wire::kChannelCount; ++i) {
        const int offset = kHeader + i * Wire::kChannelRecordSize;
        if (!Wire::isPlainBcd(request, offset, 2 * Wire::kFrequencyBytes) ||
            Wire::decodeChannelRecord(request, offset).power > kMaxPower)
            return refused();
    }
    for (int i = 0; i < Wire::kChannelCount; ++i) {
        const auto record =
            Wire::decodeChannelRecord(request, kHeader + i * Wire::kChannelRecordSize);
        ChannelState &channel = state.channels[i];
        channel.txFreq = record.txFreq;
        channel.rxFreq = record.rxFreq;
        channel.power = record.power;
    }
    return done();
}

Result powerTable(const QByteArray &request, ModuleState &state)
{
    if (request.size() < 3)
        return silent();
    switch (at(request, 2)) {
    case Wire::SystemCmd::kPowerTableRead:
        if (request.size() != 3)
            return silent();
        return answer(request, QByteArray(reinterpret_cast<const char *>(state.powerTable.data()),
                                          Wire::kPowerTableSize));
    case Wire::SystemCmd::kPowerTableWrite:
        if (request.size() != 3 + Wire::kPowerTableSize)
            return silent();
        for (int i = 0; i < Wire::kPowerTableSize; ++i)
            state.powerTable[i] = at(request, 3 + i);
        return done();
    case Wire::SystemCmd::kPowerTableStep: {
        if (request.size() != 5)
            return silent();
        const auto index = Wire::powerTableIndexOfCell(at(request, 3));
        if (!index)
            return refused();
        state.powerTable[*index] = wrapAdd(state.powerTable[*index], at(request, 4));
        return done();
    }
    default:
        return silent();
    }
}

Result system(const QByteArray &request, ModuleState &state)
{
    if (request.size() < 2)
        return silent();
    switch (at(request, 1)) {
    case Wire::SystemCmd::kReadFreqPower:
        return freqAndPower(request, state, false);
    case Wire::SystemCmd::kWriteFreqPower:
        return freqAndPower(request, state, true);
    case Wire::SystemCmd::kReadCurrentChannel:
        return request.size() == 2 ? answer(request, {state.currentChannel}) : silent();
    case Wire::SystemCmd::kWriteCurrentChannel:
        if (request.size() != 4)
            return silent();
        if (at(request, 2) < 1 || at(request, 2) > Wire::kChannelCount)
            return refused();
        state.currentChannel = at(request, 2);
        state.storeChannel = at(request, 3);
        return done();
    case Wire::SystemCmd::kReadFirmware:
        if (request.size() != 2)
            return silent();
        return answer(request, QByteArray(1, static_cast<char>(kFirmwareSpare)) +
                                   state.firmware.toUtf8().left(kMaxFirmwareText));
    case Wire::SystemCmd::kPowerTable:
        return powerTable(request, state);
    default:
        return silent();
    }
}

// The one-byte parameters of the 0x32 family: a read sub-code, a write sub-code, the field.
struct ByteParameter
{
    quint8 readCode;
    quint8 writeCode;
    quint8 ModuleState::*field;
    int max;
};

constexpr ByteParameter kByteParameters[] = {
    {Wire::ParamCmd::kReadPowerSave, Wire::ParamCmd::kWritePowerSave, &ModuleState::powerSave,
     0xFF},
    {Wire::ParamCmd::kReadAudioWave, Wire::ParamCmd::kWriteAudioWave, &ModuleState::audioWave,
     0xFF},
    {Wire::ParamCmd::kReadSidetone, Wire::ParamCmd::kWriteSidetone, &ModuleState::sidetone, 0xFF},
    {Wire::ParamCmd::kReadCtrlMode, Wire::ParamCmd::kWriteCtrlMode, &ModuleState::ctrlMode, 0xFF},
    {Wire::ParamCmd::kReadSidetoneVolume, Wire::ParamCmd::kWriteSidetoneVolume,
     &ModuleState::sidetoneVolume, kMaxVolume},
};

Result channelParams(const QByteArray &request, ModuleState &state, bool write)
{
    if (request.size() != (write ? 7 : 3))
        return silent();
    const quint8 n = at(request, 2);
    if (n < 1 || n > Wire::kChannelCount)
        return refused();
    ChannelState &channel = state.channels[n - 1];
    if (!write)
        return answer(request,
                      {channel.bandwidth, channel.squelch, channel.ctcssDcs, channel.scan});
    if (at(request, 4) > kMaxSquelch)
        return refused();
    channel.bandwidth = at(request, 3);
    channel.squelch = at(request, 4);
    channel.ctcssDcs = at(request, 5);
    channel.scan = at(request, 6);
    return done();
}

Result param(const QByteArray &request, ModuleState &state)
{
    if (request.size() < 2)
        return silent();
    const quint8 code = at(request, 1);
    for (const ByteParameter &p : kByteParameters) {
        if (code == p.readCode)
            return request.size() == 2 ? answer(request, {state.*p.field}) : silent();
        if (code == p.writeCode) {
            if (request.size() != 3)
                return silent();
            if (at(request, 2) > p.max)
                return refused();
            state.*p.field = at(request, 2);
            return done();
        }
    }
    using namespace Wire::ParamCmd;
    switch (code) {
    case kReadBand:
        return request.size() == 2 ? answer(request, {state.band}) : silent();
    case kWriteBand:
        if (request.size() != 3)
            return silent();
        if (!Wire::findBand(at(request, 2)))
            return refused();
        state.band = at(request, 2);
        return done();
    case kReadPowerSaveTime:
        return request.size() == 2 ? answer(request, {state.sleepTime, state.standbyTime})
                                   : silent();
    case kWritePowerSaveTime:
        if (request.size() != 4)
            return silent();
        if (at(request, 2) > kMaxSleepTime || at(request, 3) > kMaxStandbyTime)
            return refused();
        state.sleepTime = at(request, 2);
        state.standbyTime = at(request, 3);
        return done();
    case kReadScanMode:
        return request.size() == 2 ? answer(request, {state.scanMode, kScanSpare}) : silent();
    case kWriteScanMode:
        if (request.size() != 4)
            return silent();
        if (at(request, 2) > kMaxScanMode)
            return refused();
        state.scanMode = at(request, 2);
        return done();
    case kDisableVirtualPort:
        if (request.size() != 3)
            return silent();
        if (at(request, 2) != Wire::kOn)
            return refused();
        state.virtualPortDisabled = true;
        return done();
    case kReadChannelParams:
        return channelParams(request, state, false);
    case kWriteChannelParams:
        return channelParams(request, state, true);
    case kCalibrateSquelch:
        if (request.size() != 3)
            return silent();
        if (at(request, 2) != kSquelchLow && at(request, 2) != kSquelchHigh)
            return refused();
        state.squelchCalibration = at(request, 2);
        return done();
    case kSensitivityTest:
        if (request.size() != 3)
            return silent();
        if (at(request, 2) != Wire::kOn && at(request, 2) != Wire::kOff)
            return refused();
        state.sensitivityTest = at(request, 2) == Wire::kOn;
        return done();
    default:
        return silent();
    }
}

Result adjust(const QByteArray &request, ModuleState &state)
{
    if (request.size() < 2)
        return silent();
    const quint8 command = at(request, 0);
    const quint8 type = at(request, 1);
    if (type >= Wire::kAdjustTypeCount)
        return refused();
    const bool threePoint = Wire::isThreePointType(type);
    const int header = threePoint ? 3 : 2;
    if (request.size() != header + (command == Wire::Cmd::kReadAdjust ? 0 : 1))
        return silent();
    const int point = threePoint ? at(request, 2) : Wire::kMiddlePoint;
    if (point >= Wire::kAdjustPoints)
        return refused();
    const quint8 value = state.adjustValue(type, point);
    if (command == Wire::Cmd::kReadAdjust)
        return answer(request, {value});

    const quint8 operand = at(request, header);
    if (type == Wire::kVolumeAdjustType) {
        // The volume has ten steps; a step past either end is refused rather than wrapped.
        const int wanted =
            command == Wire::Cmd::kWriteAdjust ? operand : value + static_cast<qint8>(operand);
        if (wanted < 0 || wanted > kMaxVolume)
            return refused();
        state.volume = static_cast<quint8>(wanted);
        return done();
    }
    state.setAdjustValue(type, point,
                         command == Wire::Cmd::kWriteAdjust ? operand : wrapAdd(value, operand));
    return done();
}

Result rssiOffset(const QByteArray &request, ModuleState &state)
{
    const quint8 command = at(request, 0);
    if (request.size() != (command == Wire::Cmd::kReadRssiOffset ? 2 : 3))
        return silent();
    const quint8 point = at(request, 1);
    if (point >= state.rssiOffsets.size())
        return refused();
    qint8 &offset = state.rssiOffsets[point];
    if (command == Wire::Cmd::kReadRssiOffset)
        return answer(request, {static_cast<quint8>(offset)});
    const quint8 operand = at(request, 2);
    offset = static_cast<qint8>(command == Wire::Cmd::kWriteRssiOffset
                                    ? operand
                                    : wrapAdd(static_cast<quint8>(offset), operand));
    return done();
}

Result forceTransmit(const QByteArray &request, ModuleState &state)
{
    if (request.size() != 5 || at(request, 1) != Wire::Cmd::kForceTransmitKey)
        return silent();
    if (matches(request, 2, Wire::kDataPttPattern))
        state.transmitMode = kDataPttMode;
    else if (matches(request, 2, Wire::kVoicePttPattern))
        state.transmitMode = kVoicePttMode;
    else
        return silent();
    return done();
}
} // namespace

RequestHandler::Result RequestHandler::handle(const QByteArray &request, ModuleState &state)
{
    if (request.isEmpty())
        return silent();
    const int size = request.size();
    switch (at(request, 0)) {
    case Wire::Cmd::kSystem:
        return system(request, state);
    case Wire::Cmd::kParam:
        return param(request, state);
    case Wire::Cmd::kReadTxProtect:
        return size == 1 ? answer(request, {state.txTimeout, state.protectTime}) : silent();
    case Wire::Cmd::kWriteTxProtect:
        if (size != 3)
            return silent();
        state.txTimeout = at(request, 1);
        state.protectTime = at(request, 2);
        return done();
    case Wire::Cmd::kReadCoupling:
        return size == 1 ? answer(request, {state.coupling}) : silent();
    case Wire::Cmd::kWriteCoupling:
        if (size != 2)
            return silent();
        state.coupling = at(request, 1);
        return done();
    case Wire::Cmd::kReadAdjust:
    case Wire::Cmd::kWriteAdjust:
    case Wire::Cmd::kStepAdjust:
        return adjust(request, state);
    case Wire::Cmd::kForceTransmit:
        return forceTransmit(request, state);
    case Wire::Cmd::kNormalMode:
        if (size != 1)
            return silent();
        state.transmitMode = kNormalTransmitMode;
        return done();
    case Wire::Cmd::kReadRssi:
        return size == 1 ? answer(request, {static_cast<quint8>(state.rssi)}) : silent();
    case Wire::Cmd::kReadRssiOffset:
    case Wire::Cmd::kWriteRssiOffset:
    case Wire::Cmd::kStepRssiOffset:
        return rssiOffset(request, state);
    case Wire::Cmd::kCalibrateRssi:
        if (size != 2)
            return silent();
        state.rssiCalibration = at(request, 1);
        return done();
    case Wire::Cmd::kReadSerial:
        return size == 1 ? answer(request, state.serialNumber) : silent();
    case Wire::Cmd::kWriteSerial:
        if (size != 1 + ModuleState::kSerialBytes)
            return silent();
        state.serialNumber = request.mid(1);
        return done();
    default:
        return silent();
    }
}
