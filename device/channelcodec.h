#pragma once

#include "device/wire.h"

#include <QString>
#include <QStringList>

#include <optional>

// What the channel table shows and how its cells map to the wire: cell names, selector items,
// the CTCSS/DCS mapping, frequency texts and the rounding of typed frequencies. Pure, so the
// command-line tool writes the same values the table would hold.
namespace ChannelCodec {

constexpr int kChannelCount = Wire::kChannelCount;

// Field names: a cell is named "CH" + channel + "_" + field.
inline const QString kRxFreq = QStringLiteral("RxFreq");
inline const QString kTxFreq = QStringLiteral("TxFreq");
inline const QString kTxPower = QStringLiteral("TxPower");
inline const QString kBandwidth = QStringLiteral("Bandwidth");
inline const QString kSqLevel = QStringLiteral("SQLevel");
inline const QString kCtcssDcs = QStringLiteral("CTCSS_DCS");
inline const QString kScan = QStringLiteral("Scan");

QString cellName(int channel, const QString &field);
// The channel number between the third character and the first "_"; 0 when that is no number.
int channelOfCellName(const QString &name);

QStringList headerTexts();
QStringList txPowerItems();
QStringList bandwidthItems();
QStringList sqLevelItems();
QStringList ctcssDcsItems(); // 158 items: disable, switch signal, headings, tones, DCS codes
QStringList scanItems();

constexpr int kCtcssDcsItemCount = 158;
constexpr int kNoSelection = -1;

// Selector index from a reply byte; kNoSelection for a byte without an item.
int txPowerIndexFromWire(quint8 power);
int bandwidthIndexFromWire(quint8 byte);
int sqLevelIndexFromWire(quint8 byte);
int ctcssDcsIndexFromWire(quint8 byte);
int scanIndexFromWire(quint8 byte);
// The power selection a frequency record leaves: none for an unused transmit frequency.
int txPowerIndexFromRecord(const Wire::ChannelRecord &record);

// Reply byte from a selector index; nothing for a heading, no selection or beyond the items.
std::optional<quint8> bandwidthWireFromIndex(int index);
std::optional<quint8> sqLevelWireFromIndex(int index);
std::optional<quint8> ctcssDcsWireFromIndex(int index);
std::optional<quint8> scanWireFromIndex(int index);

// Frequency cells. Values are 10 Hz counts; 0 marks an unused channel.
inline const QString kFrequencyMask = QStringLiteral("999.99999;0");
inline const QString kOutOfBandStyle =
    QStringLiteral("color:red;  border-width: 1px; border-style: solid; border-color:red;");
constexpr quint32 kMaxFrequency = 99999999; // 999.99999 MHz, the most a cell shows
QString frequencyText(quint32 value);       // 43512500 -> "435.12500"
// The cell's display text without its points as a number; 0 when that is no number.
quint32 frequencyFromText(const QString &displayText);
// What a cell reads back after showing value: its mask has three integer digits, fills shorter
// integer parts with zeros on the right and cuts longer texts after eight digits.
quint32 shownFrequency(quint32 value);
bool isOutOfBand(quint32 value, quint32 freqMin, quint32 freqMax);
// A band's limits as cells show them: 13600000, 17400000 -> "136.00000–174.00000 MHz".
QString bandText(quint32 freqMin, quint32 freqMax);
// A typed frequency moved to the nearest channel grid: 5 kHz, 6.25 kHz and, for a band inside
// 136-174 MHz, 7.5 kHz. Ties keep the grid tried first.
quint32 snapFrequency(quint32 typed, quint32 freqMin, quint32 freqMax);

} // namespace ChannelCodec
