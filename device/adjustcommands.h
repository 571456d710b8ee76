#pragma once

#include "protocol/commandengine.h"

#include <QByteArray>
#include <QString>

// The adjust value commands: one byte per calibration type, and per calibration point for the
// three-point types. The user volume is the same command family with its own failure texts,
// which is why every builder takes the text to show.
// The calibration values of the factory pages by adjust type. 5, 6, 7, 11 and 12 are
// three-point types: a middle value and two signed differences.
namespace AdjustType {
constexpr quint8 kTcxoBias = 0;
constexpr quint8 kRBias = 1;
constexpr quint8 kModBias = 2;
constexpr quint8 kCtcssDeviation = 3;
constexpr quint8 kTwoPointBalance = 5;
constexpr quint8 kVoiceDeviation = 6;
constexpr quint8 kDataDeviation = 7;
constexpr quint8 kRfskLevel = 10;
constexpr quint8 kRxFilter = 11;
constexpr quint8 kAudioIn = 12;
} // namespace AdjustType

namespace AdjustCommands {

// Failure texts of the calibration adjust buttons.
QString readFailureText();
QString writeFailureText();
QString blankRefusalText();
// A step that failed may still have reached the module, so its failure asks for a read-back;
// after a refusal nothing changed, and the plain failure text is shown.
Command stepCommand(const QByteArray &request, const QString &operationFailure);

// type [point]: the point byte is sent only for the three-point types.
QByteArray address(quint8 type, int point);

// A0 type [point]; the reply repeats the request and adds the value byte.
Command read(quint8 type, int point, const QString &failureText);
// A1 type [point] value; acknowledged.
Command write(quint8 type, int point, int value, const QString &failureText);
// A2 type [point] delta; the module adds the delta, so the request goes out once at most.
Command step(quint8 type, int point, int delta, const QString &failureText);

// The value byte of an accepted read reply (its last byte), sign-extended when asked.
int decodeValue(const QByteArray &reply, bool isSigned);

} // namespace AdjustCommands
