// Reads arbitrary bytes as a CHIRP CSV channel plan, into the whole table and pasted at a
// channel, and checks what any file must give: only channels the table can hold, the other
// channels as the rules say, a report of bounded length, and a table that an export and a
// second import give back unchanged.
#include "config/chirpcsv.h"
#include "device/channelcodec.h"
#include "fuzzsupport.h"

namespace {
constexpr quint32 kMaxShownFrequency = 99999999; // 999.99999 MHz in 10 Hz
constexpr int kMaxNotes = 300;
constexpr int kPowerItems = 5;
constexpr int kBandwidthItems = 2;
constexpr int kScanItems = 2;

void checkChannel(const UserChannel &channel)
{
    const auto within = [](int value, int count) {
        return value >= 0 && value < count;
    };
    if (channel.rxFreq == 0 || channel.rxFreq > kMaxShownFrequency || channel.txFreq == 0 ||
        channel.txFreq > kMaxShownFrequency)
        Fuzz::fail("a placed channel has a frequency the cells cannot show");
    if (!within(channel.txPowerIndex, kPowerItems) ||
        !within(channel.bandwidthIndex, kBandwidthItems) ||
        !within(channel.sqLevelIndex, ChannelCodec::sqLevelItems().size()) ||
        !within(channel.ctcssDcsIndex, ChannelCodec::kCtcssDcsItemCount) ||
        !within(channel.scanIndex, kScanItems))
        Fuzz::fail("a placed channel has a selection outside its selector");
}

// Placed channels are valid and distinct; every other channel is as before (a paste) or
// empty (a whole-table import); a whole-table import that placed rows sums up every channel.
void checkTable(const ChirpCsv::Import &result, const ChirpCsv::Channels &current, bool pasting)
{
    if (result.notes.size() > kMaxNotes)
        Fuzz::fail("the report is not bounded", QString::number(result.notes.size()));
    for (int n = 1; n <= Wire::kChannelCount; ++n) {
        const UserChannel &channel = result.channels[n - 1];
        if (result.placed.count(n) > 1)
            Fuzz::fail("a channel was placed twice", QString::number(n));
        if (result.placed.contains(n))
            checkChannel(channel);
        else if (channel != (pasting ? current[n - 1] : UserChannel{}))
            Fuzz::fail("a channel without a row changed", QString::number(n));
    }
    if (result.outcome.isEmpty() != (pasting || result.placed.isEmpty()))
        Fuzz::fail("a whole-table import that changed the table says nothing of its channels");
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray csv(reinterpret_cast<const char *>(data), int(size));
    ChirpCsv::Channels current{};
    current[4] = UserChannel{45000000, 45500000, 2, 0, 3, 10, 1};
    const ChirpCsv::Band band{45000000, 49000000};

    const ChirpCsv::Import imported = ChirpCsv::importTable(csv, current, band);
    checkTable(imported, current, false);
    const ChirpCsv::Export exported = ChirpCsv::write(imported.channels);
    const ChirpCsv::Import again = ChirpCsv::importTable(exported.csv, {});
    if (!again.notes.isEmpty())
        Fuzz::fail("an export of imported channels reads back with notes", again.notes.first());
    for (int n = 0; n < Wire::kChannelCount; ++n) {
        if (again.channels[n] != imported.channels[n])
            Fuzz::fail("an export of imported channels reads back other values",
                       QString::number(n + 1));
    }

    const int first = int(size % Wire::kChannelCount) + 1;
    const ChirpCsv::Import pasted = ChirpCsv::paste(csv, current, first, band);
    checkTable(pasted, current, true);
    for (int i = 0; i < pasted.placed.size(); ++i) {
        if (pasted.placed.at(i) != first + i)
            Fuzz::fail("a paste left a gap", QString::number(pasted.placed.at(i)));
    }
    return 0;
}
