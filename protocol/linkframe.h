#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// One message on the serial line: 55 AA L payload sum(lo) sum(hi); L counts itself.
namespace LinkFrame {
constexpr quint8 kStart1 = 0x55;
constexpr quint8 kStart2 = 0xAA;
constexpr int kMaxPayload = 254; // L is one byte and includes itself
constexpr int kOverhead = 5;     // two start bytes, L, two checksum bytes

// 16-bit sum of every byte, no seed, no complement.
quint16 checksum(const QByteArray &bytes);

// The whole frame, or an empty array when the payload does not fit in one frame.
QByteArray encode(const QByteArray &payload);

// True when the bytes are exactly one complete frame with a valid checksum.
bool isSingleCompleteFrame(const QByteArray &bytes);
} // namespace LinkFrame

// Upper-case hex pairs, each preceded by the separator, trimmed: "55 AA 03".
QString toHexText(const QByteArray &bytes, const QString &separator = QStringLiteral(" "));

// Wall-clock milliseconds, deliberately truncated to 32 bits; differences are taken modulo 2^32.
quint32 wallClockMs();

// Joins the chunks of the receive stream into verified payloads.
class FrameReassembler
{
public:
    static constexpr quint32 kStaleMs = 500; // a gap this long drops a partial frame

    // Appends a chunk received at nowMs and returns the payloads of every frame it completed.
    QList<QByteArray> feed(const QByteArray &chunk, quint32 nowMs);
    const QByteArray &pending() const { return m_buffer; }

private:
    QByteArray m_buffer;
    quint32 m_lastChunkMs = 0;
    bool m_started = false;
};
