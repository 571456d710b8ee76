// Feeds FrameReassembler and checks what it may and may not produce. The first input byte picks
// the form of the rest:
// - even: any byte stream, as repeated items of [chunk length][clock step code][chunk bytes];
// - odd: whole frames, as repeated items of [payload length][cut][noise][payload bytes], each
//   frame preceded by up to three noise bytes that cannot start a frame and the stream cut once
//   inside each frame.
#include "fuzzsupport.h"
#include "protocol/linkframe.h"

namespace {
constexpr quint32 kStartMs = 0xFFFFF000u; // a few seconds before the 32-bit clock wraps
constexpr int kPlainSteps = 200;          // step codes below this are multiples of kStepUnitMs
constexpr quint32 kStepUnitMs = 3;        // ms; 166 and 167 land either side of the stale limit
// Step codes from kPlainSteps on: the edges of the stale rule and clocks that jump.
constexpr quint32 kSpecialStepsMs[] = {
    FrameReassembler::kStaleMs - 1,
    FrameReassembler::kStaleMs,
    FrameReassembler::kStaleMs + 1,
    0xFFFFFFFFu /* back 1 ms */,
    0xFFFFFC18u /* back 1 s */,
    0x7FFFFFFFu,
    0x80000000u,
    50,
    10000,
};
constexpr int kSpecialCount = sizeof(kSpecialStepsMs) / sizeof(kSpecialStepsMs[0]);

[[noreturn]] void fail(const char *what, const QByteArray &bytes = {})
{
    Fuzz::fail(what, QString::fromLatin1(bytes.toHex(' ')));
}

quint32 stepOf(quint8 code)
{
    if (code < kPlainSteps)
        return code * kStepUnitMs;
    return kSpecialStepsMs[(code - kPlainSteps) % kSpecialCount];
}

// What the scan may leave behind: at most four bytes, or the start of an incomplete frame.
void checkLeftover(const QByteArray &pending)
{
    if (pending.size() <= 4)
        return;
    if (static_cast<quint8>(pending.at(0)) != LinkFrame::kStart1 ||
        static_cast<quint8>(pending.at(1)) != LinkFrame::kStart2)
        fail("scan stopped before a start pair:", pending);
    const int l = static_cast<quint8>(pending.at(2));
    if (l + 3 < pending.size())
        fail("scan stopped at a frame that is complete:", pending);
}

void checkPayloads(const QList<QByteArray> &payloads, const QByteArray &segment)
{
    for (const QByteArray &payload : payloads) {
        const QByteArray frame = LinkFrame::encode(payload);
        if (frame.isEmpty() || !LinkFrame::isSingleCompleteFrame(frame))
            fail("payload that no single frame carries:", payload);
        // Only a frame with a valid checksum, present in the stream since the last gap, counts.
        if (segment.indexOf(frame) < 0)
            fail("payload whose frame was never received:", payload);
    }
}

void anyStream(const uint8_t *data, size_t size)
{
    FrameReassembler reassembler;
    QList<QByteArray> produced;
    // The bytes since the last stale gap, and every such run of bytes in order.
    QByteArray segment;
    QList<QByteArray> segments;

    quint32 now = kStartMs;
    bool first = true;
    size_t at = 0;
    while (at + 2 <= size) {
        const size_t length = qMin<size_t>(data[at], size - at - 2);
        const quint32 step = stepOf(data[at + 1]);
        const QByteArray chunk(reinterpret_cast<const char *>(data + at + 2), int(length));
        at += 2 + length;

        const quint32 previous = now;
        now += step;
        if (!first && now - previous > FrameReassembler::kStaleMs) {
            segments.append(segment);
            segment.clear();
        }
        first = false;
        segment.append(chunk);

        // Every chunk is logged as hex text: two digits and a separator per byte, trimmed.
        if (toHexText(chunk).size() != qMax(0, 3 * chunk.size() - 1))
            fail("hex text of the wrong length for", chunk);

        const QList<QByteArray> payloads = reassembler.feed(chunk, now);
        checkPayloads(payloads, segment);
        produced += payloads;
        const QByteArray &pending = reassembler.pending();
        if (!segment.endsWith(pending))
            fail("pending bytes that are not the tail of the stream:", pending);
        checkLeftover(pending);
    }
    segments.append(segment);

    // How the bytes of one run were split into chunks must not change what is found.
    FrameReassembler whole;
    QList<QByteArray> wholeProduced;
    quint32 wholeNow = 0;
    for (const QByteArray &run : segments) {
        wholeProduced += whole.feed(run, wholeNow);
        wholeNow += FrameReassembler::kStaleMs + 1;
    }
    if (wholeProduced != produced)
        fail("chunk boundaries changed the payloads found");
    if (whole.pending() != reassembler.pending())
        fail("chunk boundaries changed the pending bytes:", reassembler.pending());
}

// Every frame sent whole must come out once and in order, however the line cuts the stream.
void wholeFrames(const uint8_t *data, size_t size)
{
    constexpr quint32 kChunkGapMs = 50; // one burst per quiet interval of the port
    constexpr char kNotAStart = 0x54;   // stands in for a noise byte that would be 0x55
    QList<QByteArray> sent;
    QByteArray stream;
    QList<int> cuts;
    size_t at = 0;
    while (at + 3 <= size) {
        const size_t length = qMin<size_t>(data[at] % (LinkFrame::kMaxPayload + 1), size - at - 3);
        const quint8 cut = data[at + 1];
        const quint8 noise = data[at + 2];
        const QByteArray payload(reinterpret_cast<const char *>(data + at + 3), int(length));
        at += 3 + length;

        const char noiseByte = noise == LinkFrame::kStart1 ? kNotAStart : char(noise);
        stream.append(QByteArray(noise % 4, noiseByte));
        const QByteArray frame = LinkFrame::encode(payload);
        cuts.append(stream.size() + cut % (frame.size() + 1));
        stream.append(frame);
        sent.append(payload);
    }
    cuts.append(stream.size());

    FrameReassembler reassembler;
    QList<QByteArray> received;
    quint32 now = kStartMs;
    int from = 0;
    for (int cut : cuts) {
        received += reassembler.feed(stream.mid(from, cut - from), now);
        from = cut;
        now += kChunkGapMs;
    }
    if (received != sent)
        fail("whole frames lost, repeated or altered; stream:", stream);
    if (!reassembler.pending().isEmpty())
        fail("bytes left over after whole frames:", reassembler.pending());
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    if (data[0] & 1)
        wholeFrames(data + 1, size - 1);
    else
        anyStream(data + 1, size - 1);
    return 0;
}
