#include "protocol/linkframe.h"

#include <QDateTime>

namespace {
constexpr int kLengthOffset = 2;
constexpr int kPayloadOffset = 3;

quint8 byteAt(const QByteArray &bytes, int index)
{
    return static_cast<quint8>(bytes.at(index));
}

quint16 checksumOf(const char *data, int count)
{
    quint16 sum = 0;
    for (int i = 0; i < count; ++i)
        sum = static_cast<quint16>(sum + static_cast<quint8>(data[i]));
    return sum;
}

bool startsFrame(const QByteArray &bytes)
{
    return bytes.size() >= 2 && byteAt(bytes, 0) == LinkFrame::kStart1 &&
           byteAt(bytes, 1) == LinkFrame::kStart2;
}

// Checksum test of the frame at the start of bytes, whose length byte is l (bytes holds l + 4).
bool checksumMatches(const QByteArray &bytes, int l)
{
    const quint16 expected = checksumOf(bytes.constData() + kLengthOffset, l);
    const quint16 stored = static_cast<quint16>(byteAt(bytes, l + 2) | (byteAt(bytes, l + 3) << 8));
    return expected == stored;
}
} // namespace

quint16 LinkFrame::checksum(const QByteArray &bytes)
{
    return checksumOf(bytes.constData(), bytes.size());
}

QByteArray LinkFrame::encode(const QByteArray &payload)
{
    if (payload.size() > kMaxPayload)
        return {};
    QByteArray frame;
    frame.reserve(payload.size() + kOverhead);
    frame.append(static_cast<char>(kStart1));
    frame.append(static_cast<char>(kStart2));
    frame.append(static_cast<char>(payload.size() + 1));
    frame.append(payload);
    const quint16 sum = checksumOf(frame.constData() + kLengthOffset, payload.size() + 1);
    frame.append(static_cast<char>(sum & 0xFF));
    frame.append(static_cast<char>(sum >> 8));
    return frame;
}

bool LinkFrame::isSingleCompleteFrame(const QByteArray &bytes)
{
    if (bytes.size() <= 4 || !startsFrame(bytes))
        return false;
    const int l = byteAt(bytes, kLengthOffset);
    return l > 0 && bytes.size() == l + 4 && checksumMatches(bytes, l);
}

QString toHexText(const QByteArray &bytes, const QString &separator)
{
    const QString digits = QString::fromLatin1(bytes.toHex()).toUpper();
    QString text;
    text.reserve(digits.size() / 2 * (2 + separator.size()));
    for (int i = 0; i + 1 < digits.size(); i += 2) {
        text += separator;
        text += digits.midRef(i, 2);
    }
    return text.trimmed();
}

quint32 wallClockMs()
{
    return static_cast<quint32>(QDateTime::currentMSecsSinceEpoch());
}

QList<QByteArray> FrameReassembler::feed(const QByteArray &chunk, quint32 nowMs)
{
    // Unsigned difference: a clock that stepped backwards also counts as stale.
    if (m_started && nowMs - m_lastChunkMs > kStaleMs)
        m_buffer.clear();
    m_started = true;
    m_lastChunkMs = nowMs;
    m_buffer.append(chunk);

    QList<QByteArray> payloads;
    while (m_buffer.size() > 4) {
        if (!startsFrame(m_buffer)) {
            m_buffer.remove(0, 1);
            continue;
        }
        const int l = byteAt(m_buffer, kLengthOffset);
        if (l + 3 >= m_buffer.size())
            break; // incomplete: wait for the next chunk
        // L = 0 would describe a frame shorter than its own header.
        if (l == 0 || !checksumMatches(m_buffer, l)) {
            m_buffer.remove(0, 1);
            continue;
        }
        payloads.append(m_buffer.mid(kPayloadOffset, l - 1));
        m_buffer.remove(0, l + 4);
    }
    return payloads;
}
