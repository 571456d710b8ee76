#pragma once

#include "protocol/commandengine.h"

#include <QByteArray>
#include <QString>

#include <optional>

// The factory settings that are not calibration curves: radio band, serial number, sidetone
// volume and baseband signal coupling.
namespace FactoryCommands {

constexpr int kBandCount = 4;   // items of the band selector, in the order of Wire::bands()
constexpr int kSerialBytes = 6; // 48 bits, most significant byte first
constexpr quint8 kDcCoupling = 0x00;
constexpr quint8 kAcCoupling = 0x01;

// Band selector index <-> band code; an index past the last item writes the last band.
quint8 bandCode(int index);
int bandIndex(quint8 code); // -1 for a code that names no band

QString bandBlankText();
Command readRadioBand();
Command writeRadioBand(int index);
int decodeRadioBand(const QByteArray &reply); // the selector index, -1 for an unknown band

QString serialEmptyText();
QString serialInvalidText();
// The hexadecimal text as a number; nothing when it is not one.
std::optional<quint64> parseSerialNumber(const QString &text);
// 12 upper-case hexadecimal digits of the 6 serial bytes of a reply.
QString formatSerialNumber(const QByteArray &reply);
Command readSerialNumber();
Command writeSerialNumber(quint64 serial); // bits above 47 are dropped

QString sidetoneBlankText();
Command readSidetoneVolume();
Command writeSidetoneVolume(int volume);
int decodeSidetoneVolume(const QByteArray &reply);

QString couplingBlankText();
Command readCoupling();
Command writeCoupling(bool dc);
bool decodeIsDcCoupling(const QByteArray &reply); // only 0x00 is DC

} // namespace FactoryCommands
