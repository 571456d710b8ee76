#pragma once

#include "protocol/commandengine.h"

#include <QByteArray>
#include <QString>

// Which module is connected: the band query, the firmware version and the serial number, with
// what their replies mean. Shared by the window and the command-line tool.
namespace IdentificationCommands {

constexpr int kBandReplyLength = 3; // 32 23 c
constexpr int kBandCodeIndex = 2;
constexpr int kFirmwareMinReply = 4; // 01 18 x and at least one text byte
constexpr int kFirmwareTextIndex = 3;
constexpr int kSerialReplyLength = 7; // C6 s1 .. s6
constexpr int kSerialBytes = 6;

Command readBand();
Command readFirmwareVersion();
Command readSerialNumber();

quint8 bandCode(const QByteArray &reply);
// The model field for a band code: the model of a known band, else "未知设备:" and the code
// as two upper-case hex digits.
QString modelText(quint8 code);
// Bytes 3 to the end or to the first zero byte, as UTF-8.
QString firmwareText(const QByteArray &reply);
// The six serial number bytes as 12 upper-case hex digits.
QString serialNumberText(const QByteArray &reply);

} // namespace IdentificationCommands
