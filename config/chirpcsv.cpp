#include "config/chirpcsv.h"

#include "device/channelcodec.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSaveFile>

#include <algorithm>

namespace {
constexpr int kFrequencyDecimals = 5;               // 10 Hz units
constexpr quint64 kMaxShownFrequency = 99999999;    // 999.99999 MHz, all the cells show
constexpr quint32 kSplitAboveDifference = 10000000; // 100 MHz
constexpr int kToneDecimals = 1;
constexpr int kMinWatts = 1;
constexpr int kMaxWatts = 5;
constexpr quint32 kStep5k = 500; // 10 Hz units
constexpr quint32 kStep6k25 = 625;
constexpr int kDisableIndex = 0;
constexpr int kSwitchSignalIndex = 1;
constexpr int kFirstToneIndex = 4;
constexpr int kLastToneIndex = 51;
constexpr int kFirstDcsIndex = 54;
constexpr int kNarrowIndex = 0;
constexpr int kWideIndex = 1;
constexpr int kScanOnIndex = 0;
constexpr int kScanOffIndex = 1;

// A function, so that static texts elsewhere may be built from the header.
QStringList headerColumns()
{
    return {
        QStringLiteral("Location"),     QStringLiteral("Name"),       QStringLiteral("Frequency"),
        QStringLiteral("Duplex"),       QStringLiteral("Offset"),     QStringLiteral("Tone"),
        QStringLiteral("rToneFreq"),    QStringLiteral("cToneFreq"),  QStringLiteral("DtcsCode"),
        QStringLiteral("DtcsPolarity"), QStringLiteral("RxDtcsCode"), QStringLiteral("CrossMode"),
        QStringLiteral("Mode"),         QStringLiteral("TStep"),      QStringLiteral("Skip"),
        QStringLiteral("Power"),        QStringLiteral("Comment"),    QStringLiteral("URCALL"),
        QStringLiteral("RPT1CALL"),     QStringLiteral("RPT2CALL"),   QStringLiteral("DVCODE")};
}

// What CHIRP writes in the tone columns of a channel that does not use them.
const QString kDefaultTone = QStringLiteral("88.5");
const QString kDefaultDcs = QStringLiteral("023");
const QString kPolarity = QStringLiteral("NN");
const QString kCrossMode = QStringLiteral("Tone->Tone");
// Notes in Comment that this tool writes and reads back.
const QString kSwitchSignalNote = QStringLiteral("Switch Signal");
const QRegularExpression kSquelchNote(QStringLiteral("\\bSQ=L(\\d+)\\b"));
const QRegularExpression kOwnName(QStringLiteral("^CH\\d+$"));

QString text(const char *source)
{
    return QCoreApplication::translate("ChirpCsv", source);
}

// A record of the file with the line it starts on.
struct Record
{
    int line = 0;
    QStringList fields;
    bool unclosedQuote = false;
};

// How far a file is read. A CHIRP row is a few hundred bytes, and CHIRP's largest radios hold
// a few thousand memories: anything beyond these is no channel plan.
constexpr qint64 kChunkBytes = 64 * 1024;
constexpr int kMaxRecordBytes = 16 * 1024;
constexpr int kMaxLines = 10000;
constexpr int kLookAheadRecords = 100; // counted after the table is full, not interpreted
constexpr int kMaxRowNotes = 100;      // row notes listed; the others are counted

// Bytes from a device, a chunk at a time, with one byte of look ahead.
class ByteSource
{
public:
    explicit ByteSource(QIODevice &device)
        : m_device(device)
    {}
    int peek()
    {
        if (m_at == m_buffer.size()) {
            m_buffer = m_device.read(kChunkBytes);
            m_at = 0;
            if (m_buffer.isEmpty())
                return -1;
        }
        return uchar(m_buffer.at(m_at));
    }
    int get()
    {
        const int c = peek();
        if (c >= 0)
            ++m_at;
        return c;
    }
    // Only at the start: a file or a buffer gives a whole chunk in one read.
    void skipPrefix(const QByteArray &prefix)
    {
        if (peek() >= 0 && m_buffer.startsWith(prefix))
            m_at = prefix.size();
    }

private:
    QIODevice &m_device;
    QByteArray m_buffer;
    int m_at = 0;
};

// RFC 4180 records, one at a time; blank lines and lines starting with "#" are left out. The
// structural characters are ASCII, which never occurs inside a UTF-8 sequence, so the bytes
// are split first and each field decoded on its own.
class RecordReader
{
public:
    enum class Stop
    {
        None,
        End,
        TooLong,
        TooManyLines
    };

    explicit RecordReader(QIODevice &device)
        : m_source(device)
    {
        m_source.skipPrefix(QByteArrayLiteral("\xEF\xBB\xBF"));
    }
    Stop stop() const { return m_stop; }
    int line() const { return m_line; }
    int stopLine() const { return m_stopLine; } // where the record that was too long starts

    // The next record that is not blank; false when the reading has stopped (see stop()).
    bool next(Record *out)
    {
        while (m_stop == Stop::None) {
            if (read(out))
                return true;
        }
        return false;
    }

private:
    bool tooLong(int line)
    {
        m_stop = Stop::TooLong;
        m_stopLine = line;
        return false;
    }

    bool skip(int byte)
    {
        if (m_source.peek() != byte)
            return false;
        m_source.get();
        return true;
    }

    // One record, or one blank line or comment; true for a record that is not blank.
    bool read(Record *out)
    {
        Record record{m_line, {}, false};
        QVector<QByteArray> fields;
        QByteArray field;
        bool inQuotes = false;
        bool fieldStart = true;
        int bytes = 0;
        if (m_source.peek() < 0) {
            m_stop = Stop::End;
            return false;
        }
        if (m_line > kMaxLines) {
            m_stop = Stop::TooManyLines;
            return false;
        }
        if (m_source.peek() == '#') {
            int c = 0;
            while ((c = m_source.get()) >= 0 && c != '\n' && c != '\r') {
                if (++bytes > kMaxRecordBytes)
                    return tooLong(record.line);
            }
            if (c < 0) {
                m_stop = Stop::End;
                return false;
            }
            if (c == '\r')
                skip('\n');
            ++m_line;
            return false;
        }
        for (int c = m_source.get(); c >= 0; c = m_source.get()) {
            if (++bytes > kMaxRecordBytes)
                return tooLong(record.line);
            const bool lineEnd = c == '\n' || c == '\r';
            if (inQuotes) {
                if (c == '"') {
                    if (skip('"'))
                        field += '"';
                    else
                        inQuotes = false;
                    continue;
                }
                if (c == '\r' && m_source.peek() == '\n')
                    continue; // a line break inside a field is kept as LF
                if (lineEnd)
                    ++m_line;
                field += lineEnd ? '\n' : char(c);
                continue;
            }
            if (lineEnd) {
                if (c == '\r')
                    skip('\n');
                ++m_line;
                break;
            }
            if (c == ',') {
                fields.append(field);
                field.clear();
                fieldStart = true;
                continue;
            }
            if (c == '"' && fieldStart) {
                inQuotes = true;
                fieldStart = false;
                continue;
            }
            field += char(c);
            fieldStart = false;
        }
        fields.append(field);
        record.unclosedQuote = inQuotes;
        bool blank = true;
        for (const QByteArray &bytesOfField : qAsConst(fields)) {
            record.fields.append(QString::fromUtf8(bytesOfField));
            blank = blank && record.fields.last().trimmed().isEmpty();
        }
        if (blank && !record.unclosedQuote)
            return false;
        *out = record;
        return true;
    }

    ByteSource m_source;
    Stop m_stop = Stop::None;
    int m_line = 1;
    int m_stopLine = 0;
};

// Decimal text as a whole number of 10^-decimals units, without floating point; rounded half
// up when it has more decimals. Nothing for text that is no unsigned decimal number.
struct Decimal
{
    quint64 units = 0;
    bool rounded = false;
};

std::optional<Decimal> decimal(const QString &input, int decimals)
{
    const QString trimmed = input.trimmed();
    static const QRegularExpression kNumber(QStringLiteral("^(\\d{0,7})(?:\\.(\\d*))?$"));
    const auto match = kNumber.match(trimmed);
    if (!match.hasMatch() || (match.captured(1).isEmpty() && match.captured(2).isEmpty()))
        return std::nullopt;
    const QString whole = match.captured(1);
    const QString fraction = match.captured(2);
    Decimal result;
    result.units = whole.isEmpty() ? 0 : whole.toULongLong();
    for (int i = 0; i < decimals; ++i)
        result.units = result.units * 10 + (i < fraction.size() ? fraction.at(i).digitValue() : 0);
    const QString dropped = fraction.mid(decimals);
    if (std::any_of(dropped.cbegin(), dropped.cend(),
                    [](QChar c) { return c != QLatin1Char('0'); })) {
        result.rounded = true;
        if (dropped.at(0).digitValue() >= 5)
            ++result.units;
    }
    return result;
}

QString decimalText(quint64 units, int decimals)
{
    quint64 scale = 1;
    for (int i = 0; i < decimals; ++i)
        scale *= 10;
    return QStringLiteral("%1.%2")
        .arg(units / scale)
        .arg(units % scale, decimals, 10, QLatin1Char('0'));
}

// 10 Hz units as CHIRP writes MHz: six decimals.
QString megahertz(quint32 value)
{
    return decimalText(value, kFrequencyDecimals) + QLatin1Char('0');
}

QString quoted(const QString &value)
{
    return QStringLiteral("\"%1\"").arg(value);
}

QString csvField(const QString &value)
{
    static const QRegularExpression kSpecial(QStringLiteral("[,\"\r\n]"));
    if (!value.contains(kSpecial))
        return value;
    QString escaped = value;
    escaped.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return quoted(escaped);
}

QString channelList(const QVector<int> &channels)
{
    QStringList numbers;
    for (int n : channels)
        numbers.append(QString::number(n));
    return numbers.join(QStringLiteral(", "));
}

// The selector item whose value, read as a decimal number, equals the text's.
int itemIndex(const QString &value, int first, int last, int decimals)
{
    const auto wanted = decimal(value, decimals);
    if (!wanted || wanted->rounded)
        return ChannelCodec::kNoSelection;
    const QStringList items = ChannelCodec::ctcssDcsItems();
    for (int i = first; i <= last && i < items.size(); ++i) {
        QString item = items.at(i);
        item.remove(QStringLiteral("Hz"));
        const auto listed = decimal(item, decimals);
        if (listed && listed->units == wanted->units)
            return i;
    }
    return ChannelCodec::kNoSelection;
}

// One data row on its way into a channel.
struct Row
{
    int line = 0;
    QString location;
    std::optional<UserChannel> channel; // nothing: skipped
    bool squelchGiven = false;
    bool named = false;
    QStringList notes;
};

class RowReader
{
public:
    explicit RowReader(const QStringList &header)
    {
        for (int i = 0; i < header.size(); ++i)
            m_columns.insert(header.at(i).trimmed(), i);
    }
    bool hasFrequency() const { return m_columns.contains(QStringLiteral("Frequency")); }

    Row read(const Record &record) const
    {
        Row row;
        row.line = record.line;
        row.location = value(record, "Location");
        const QString name = value(record, "Name");
        row.named = !name.isEmpty() && !kOwnName.match(name).hasMatch();
        if (record.unclosedQuote)
            return skipped(row, text(QT_TRANSLATE_NOOP("ChirpCsv", "已跳过：引号没有闭合")));
        UserChannel channel;
        QString reason;
        if (!readFrequencies(record, &channel, &row, &reason) ||
            !readMode(record, &channel, &reason) || !readTone(record, &channel, &reason) ||
            !readScan(record, &channel, &reason) || !readPower(record, &channel, &row, &reason))
            return skipped(row, reason);
        readSquelch(record, &channel, &row);
        row.channel = channel;
        return row;
    }

private:
    QString value(const Record &record, const char *column) const
    {
        const int index = m_columns.value(QLatin1String(column), -1);
        return index >= 0 && index < record.fields.size() ? record.fields.at(index).trimmed()
                                                          : QString();
    }

    static Row skipped(Row row, const QString &reason)
    {
        row.notes.append(reason);
        return row;
    }

    // A frequency in MHz as 10 Hz units the cells can show; reports a rounding.
    static std::optional<quint32> frequency(const QString &value, Row *row, QString *reason,
                                            const char *notFrequency)
    {
        const auto parsed = decimal(value, kFrequencyDecimals);
        if (!parsed || parsed->units == 0) {
            *reason = text(notFrequency).arg(quoted(value));
            return std::nullopt;
        }
        if (parsed->units > kMaxShownFrequency) {
            *reason = text(QT_TRANSLATE_NOOP("ChirpCsv",
                                             "已跳过：%1 MHz 超出频道表能显示的 999.99999 MHz"))
                          .arg(value);
            return std::nullopt;
        }
        if (parsed->rounded)
            row->notes.append(text(QT_TRANSLATE_NOOP("ChirpCsv", "%1 MHz 取整为 %2 MHz"))
                                  .arg(value, decimalText(parsed->units, kFrequencyDecimals)));
        return static_cast<quint32>(parsed->units);
    }

    bool readFrequencies(const Record &record, UserChannel *channel, Row *row,
                         QString *reason) const
    {
        const auto rx =
            frequency(value(record, "Frequency"), row, reason,
                      QT_TRANSLATE_NOOP("ChirpCsv", "已跳过：频率 %1 不是以 MHz 为单位的频率"));
        if (!rx)
            return false;
        channel->rxFreq = *rx;
        const QString duplex = value(record, "Duplex").toLower();
        if (duplex.isEmpty()) {
            channel->txFreq = *rx;
            return true;
        }
        if (duplex == QLatin1String("off")) {
            *reason = text(QT_TRANSLATE_NOOP(
                "ChirpCsv", "已跳过：Duplex 为 off（不发射），而模块的频道必须有发射频率"));
            return false;
        }
        const bool split = duplex == QLatin1String("split");
        if (!split && duplex != QLatin1String("+") && duplex != QLatin1String("-")) {
            *reason = text(QT_TRANSLATE_NOOP("ChirpCsv", "已跳过：不认识的 Duplex %1"))
                          .arg(quoted(value(record, "Duplex")));
            return false;
        }
        const QString offsetText = value(record, "Offset");
        const auto offset = decimal(offsetText, kFrequencyDecimals);
        if (!offset) {
            *reason =
                text(QT_TRANSLATE_NOOP("ChirpCsv", "已跳过：Offset %1 不是以 MHz 为单位的频率"))
                    .arg(quoted(offsetText));
            return false;
        }
        if (split) {
            const auto tx =
                frequency(offsetText, row, reason,
                          QT_TRANSLATE_NOOP("ChirpCsv",
                                            "已跳过：split 的发射频率 %1 不是以 MHz 为单位的频率"));
            if (!tx)
                return false;
            channel->txFreq = *tx;
            return true;
        }
        if (offset->rounded)
            row->notes.append(text(QT_TRANSLATE_NOOP("ChirpCsv", "%1 MHz 取整为 %2 MHz"))
                                  .arg(offsetText, decimalText(offset->units, kFrequencyDecimals)));
        const qint64 tx = duplex == QLatin1String("+") ? qint64(*rx) + qint64(offset->units)
                                                       : qint64(*rx) - qint64(offset->units);
        if (tx <= 0 || quint64(tx) > kMaxShownFrequency) {
            *reason = text(QT_TRANSLATE_NOOP("ChirpCsv", "已跳过：Duplex %1 与 Offset %2 MHz "
                                                         "给出的发射频率不在频道表能显示的范围内"))
                          .arg(duplex, offsetText);
            return false;
        }
        channel->txFreq = static_cast<quint32>(tx);
        return true;
    }

    bool readMode(const Record &record, UserChannel *channel, QString *reason) const
    {
        // CHIRP's default mode stands for an empty field.
        const QString mode = value(record, "Mode");
        if (mode.isEmpty() || mode == QLatin1String("FM")) {
            channel->bandwidthIndex = kWideIndex;
            return true;
        }
        if (mode == QLatin1String("NFM")) {
            channel->bandwidthIndex = kNarrowIndex;
            return true;
        }
        *reason = text(QT_TRANSLATE_NOOP("ChirpCsv",
                                         "已跳过：模块不支持模式 %1（只有 FM 宽带和 NFM 窄带）"))
                      .arg(quoted(mode));
        return false;
    }

    bool readTone(const Record &record, UserChannel *channel, QString *reason) const
    {
        const QString mode = value(record, "Tone");
        if (mode.isEmpty()) {
            // Written by the export for a channel with the switch signal.
            channel->ctcssDcsIndex = value(record, "Comment").contains(kSwitchSignalNote)
                                         ? kSwitchSignalIndex
                                         : kDisableIndex;
            return true;
        }
        if (mode == QLatin1String("Tone") || mode == QLatin1String("TSQL")) {
            const QString tone =
                value(record, mode == QLatin1String("Tone") ? "rToneFreq" : "cToneFreq");
            channel->ctcssDcsIndex =
                itemIndex(tone, kFirstToneIndex, kLastToneIndex, kToneDecimals);
            if (channel->ctcssDcsIndex == ChannelCodec::kNoSelection) {
                *reason =
                    text(QT_TRANSLATE_NOOP("ChirpCsv", "已跳过：亚音频 %1 Hz 不在频道表的列表中"))
                        .arg(quoted(tone));
                return false;
            }
            return true;
        }
        if (mode == QLatin1String("DTCS")) {
            const QString polarity = value(record, "DtcsPolarity");
            if (!polarity.isEmpty() && polarity != kPolarity) {
                *reason =
                    text(QT_TRANSLATE_NOOP("ChirpCsv", "已跳过：不支持 DCS 极性 %1（只支持 NN）"))
                        .arg(quoted(polarity));
                return false;
            }
            const QString code = value(record, "DtcsCode");
            channel->ctcssDcsIndex =
                code.contains(QLatin1Char('.'))
                    ? ChannelCodec::kNoSelection
                    : itemIndex(code, kFirstDcsIndex, ChannelCodec::kCtcssDcsItemCount - 1, 0);
            if (channel->ctcssDcsIndex == ChannelCodec::kNoSelection) {
                *reason =
                    text(QT_TRANSLATE_NOOP("ChirpCsv", "已跳过：数字亚音频 %1 不在频道表的列表中"))
                        .arg(quoted(code));
                return false;
            }
            return true;
        }
        *reason =
            text(QT_TRANSLATE_NOOP("ChirpCsv", "已跳过：模块不支持亚音模式 %1")).arg(quoted(mode));
        return false;
    }

    bool readScan(const Record &record, UserChannel *channel, QString *reason) const
    {
        const QString skip = value(record, "Skip").toUpper();
        if (skip.isEmpty() || skip == QLatin1String("P")) {
            channel->scanIndex = kScanOnIndex;
            return true;
        }
        if (skip == QLatin1String("S")) {
            channel->scanIndex = kScanOffIndex;
            return true;
        }
        *reason = text(QT_TRANSLATE_NOOP("ChirpCsv", "已跳过：Skip %1 既不是 S 也不是 P"))
                      .arg(quoted(value(record, "Skip")));
        return false;
    }

    bool readPower(const Record &record, UserChannel *channel, Row *row, QString *reason) const
    {
        const QString power = value(record, "Power");
        if (power.isEmpty()) {
            channel->txPowerIndex = kMinWatts - 1;
            return true;
        }
        QString number = power;
        if (number.endsWith(QLatin1Char('W'), Qt::CaseInsensitive))
            number.chop(1);
        // Whole watts, rounded half up.
        const auto watts = decimal(number, 0);
        if (!watts) {
            *reason = text(QT_TRANSLATE_NOOP("ChirpCsv", "已跳过：功率 %1 不是以 W 为单位的数值"))
                          .arg(quoted(power));
            return false;
        }
        const int chosen = int(std::clamp<quint64>(watts->units, kMinWatts, kMaxWatts));
        channel->txPowerIndex = chosen - 1;
        if (watts->rounded || watts->units != quint64(chosen))
            row->notes.append(
                text(QT_TRANSLATE_NOOP("ChirpCsv", "功率 %1 改为 %2 W")).arg(power).arg(chosen));
        return true;
    }

    void readSquelch(const Record &record, UserChannel *channel, Row *row) const
    {
        const auto match = kSquelchNote.match(value(record, "Comment"));
        if (!match.hasMatch())
            return;
        const int level = match.captured(1).toInt();
        if (level >= ChannelCodec::sqLevelItems().size()) {
            row->notes.append(
                text(QT_TRANSLATE_NOOP("ChirpCsv", "Comment 中的 %1 不是 L0 至 L5，静噪等级不变"))
                    .arg(match.captured(0)));
            return;
        }
        channel->sqLevelIndex = level;
        row->squelchGiven = true;
    }

    QHash<QString, int> m_columns;
};

QString lineNote(int line, const QString &note)
{
    return text(QT_TRANSLATE_NOOP("ChirpCsv", "第 %1 行：%2")).arg(line).arg(note);
}

// Channel numbers with runs of three or more shortened: "1–3, 5, 6, 8–16".
QString channelRanges(const QVector<int> &channels)
{
    QStringList parts;
    for (int i = 0; i < channels.size();) {
        int j = i;
        while (j + 1 < channels.size() && channels.at(j + 1) == channels.at(j) + 1)
            ++j;
        if (j - i >= 2) {
            parts.append(QStringLiteral("%1–%2").arg(channels.at(i)).arg(channels.at(j)));
            i = j + 1;
        } else {
            parts.append(QString::number(channels.at(i++)));
        }
    }
    return parts.join(QStringLiteral(", "));
}

// What a whole-table import did to every channel.
QStringList outcome(const ChirpCsv::Channels &current, const QVector<int> &placed)
{
    QVector<int> filled = placed;
    std::sort(filled.begin(), filled.end());
    QVector<int> emptied;
    QVector<int> kept;
    for (int n = 1; n <= Wire::kChannelCount; ++n) {
        if (placed.contains(n))
            continue;
        const UserChannel &before = current[n - 1];
        (before.rxFreq != 0 || before.txFreq != 0 ? emptied : kept).append(n);
    }
    QStringList lines;
    lines.append(text(QT_TRANSLATE_NOOP("ChirpCsv", "填入的频道：%1")).arg(channelRanges(filled)));
    if (!emptied.isEmpty())
        lines.append(text(QT_TRANSLATE_NOOP("ChirpCsv", "清空的频道（文件中没有它们的行）：%1"))
                         .arg(channelRanges(emptied)));
    if (!kept.isEmpty())
        lines.append(text(QT_TRANSLATE_NOOP("ChirpCsv", "不变的频道（原本为空）：%1"))
                         .arg(channelRanges(kept)));
    return lines;
}

QString megahertzText(quint32 value)
{
    return decimalText(value, kFrequencyDecimals);
}

// The rows that found no channel: the first one, and those a short look ahead counts after it.
QString notPlacedNote(bool pasting, int firstLine, RecordReader &reader)
{
    int more = 0;
    int lastLine = firstLine;
    Record record;
    while (more <= kLookAheadRecords && reader.next(&record)) {
        ++more;
        lastLine = record.line;
    }
    const QString reason = pasting ? text(QT_TRANSLATE_NOOP("ChirpCsv", "频道 16 之后没有频道"))
                                   : text(QT_TRANSLATE_NOOP("ChirpCsv", "16 个频道已用完"));
    if (more == 0 && reader.stop() == RecordReader::Stop::End)
        return lineNote(firstLine, (pasting ? text(QT_TRANSLATE_NOOP("ChirpCsv", "未粘贴：%1"))
                                            : text(QT_TRANSLATE_NOOP("ChirpCsv", "未导入：%1")))
                                       .arg(reason));
    if (reader.stop() == RecordReader::Stop::End)
        return (pasting ? text(QT_TRANSLATE_NOOP("ChirpCsv", "第 %1–%2 行的 %3 行未粘贴：%4"))
                        : text(QT_TRANSLATE_NOOP("ChirpCsv", "第 %1–%2 行的 %3 行未导入：%4")))
            .arg(firstLine)
            .arg(lastLine)
            .arg(more + 1)
            .arg(reason);
    return (pasting ? text(QT_TRANSLATE_NOOP("ChirpCsv",
                                             "第 %1 行起的各行未粘贴：%2；第 %3 行之后未读取"))
                    : text(QT_TRANSLATE_NOOP("ChirpCsv",
                                             "第 %1 行起的各行未导入：%2；第 %3 行之后未读取")))
        .arg(firstLine)
        .arg(reason)
        .arg(lastLine);
}

// Why the reading stopped before the end of the file, when it did.
QString stopNote(const RecordReader &reader)
{
    switch (reader.stop()) {
    case RecordReader::Stop::TooLong:
        return text(QT_TRANSLATE_NOOP("ChirpCsv", "第 %1 行起的记录超过 %2 字节，不是 CHIRP 的行；"
                                                  "文件从这里起未读取。"))
            .arg(reader.stopLine())
            .arg(kMaxRecordBytes);
    case RecordReader::Stop::TooManyLines:
        return text(QT_TRANSLATE_NOOP("ChirpCsv", "文件超过 %1 行；第 %1 行之后未读取。"))
            .arg(kMaxLines);
    default:
        return QString();
    }
}

// The frequencies of a channel outside the module's band; empty when none is (or no band).
QString outOfBandNote(const UserChannel &channel, ChirpCsv::Band band)
{
    using ChannelCodec::isOutOfBand;
    if (band.max == 0)
        return QString();
    const bool rx = isOutOfBand(channel.rxFreq, band.min, band.max);
    const bool tx = isOutOfBand(channel.txFreq, band.min, band.max);
    const QString range =
        QStringLiteral("%1–%2").arg(megahertzText(band.min), megahertzText(band.max));
    if (rx && tx && channel.rxFreq == channel.txFreq)
        return text(QT_TRANSLATE_NOOP("ChirpCsv", "频率 %1 MHz 超出模块的频段 %2 MHz"))
            .arg(megahertzText(channel.rxFreq), range);
    if (rx && tx)
        return text(QT_TRANSLATE_NOOP("ChirpCsv",
                                      "接收频率 %1 MHz 和发射频率 %2 MHz 超出模块的频段 %3 MHz"))
            .arg(megahertzText(channel.rxFreq), megahertzText(channel.txFreq), range);
    if (rx || tx)
        return (rx ? text(QT_TRANSLATE_NOOP("ChirpCsv", "接收频率 %1 MHz 超出模块的频段 %2 MHz"))
                   : text(QT_TRANSLATE_NOOP("ChirpCsv", "发射频率 %1 MHz 超出模块的频段 %2 MHz")))
            .arg(megahertzText(rx ? channel.rxFreq : channel.txFreq), range);
    return QString();
}

// Reads the rows and puts the usable ones into channels; first = 0 places by Location.
ChirpCsv::Import place(QIODevice &source, const ChirpCsv::Channels &current, int first,
                       ChirpCsv::Band band)
{
    ChirpCsv::Import result;
    const bool pasting = first > 0;
    const int capacity = pasting ? Wire::kChannelCount - first + 1 : Wire::kChannelCount;
    result.channels = pasting ? current : ChirpCsv::Channels{};
    RecordReader reader(source);
    QStringList fileNotes;
    // The rows with a channel and, up to a count of notes, the rows skipped, in file order.
    QVector<Row> rows;
    int usableCount = 0;
    int listedNotes = 0;
    int omittedNotes = 0;
    QString notPlaced;
    Record header;
    const bool hasHeader = reader.next(&header);
    const RowReader rowReader(header.fields);
    if (!hasHeader || !rowReader.hasFrequency()) {
        fileNotes.append(
            text(QT_TRANSLATE_NOOP("ChirpCsv", "文件没有 CHIRP 的表头（缺少 Frequency 列）。")));
    } else {
        Record record;
        while (reader.next(&record)) {
            Row row = rowReader.read(record);
            if (row.channel) {
                if (++usableCount > capacity) {
                    notPlaced = notPlacedNote(pasting, row.line, reader);
                    break;
                }
                rows.append(row);
            } else if (listedNotes < kMaxRowNotes) {
                listedNotes += row.notes.size();
                rows.append(row);
            } else {
                omittedNotes += row.notes.size();
            }
        }
    }

    QVector<Row *> usable;
    for (Row &row : rows) {
        if (row.channel)
            usable.append(&row);
    }
    QVector<int> locations;
    for (const Row *row : qAsConst(usable)) {
        bool ok = false;
        const int location = row->location.toInt(&ok);
        if (ok && location >= 1 && location <= Wire::kChannelCount && !locations.contains(location))
            locations.append(location);
    }
    const bool byLocation =
        !pasting && !usable.isEmpty() && notPlaced.isEmpty() && locations.size() == usable.size();
    int next = pasting ? first : 1;
    for (int i = 0; i < usable.size(); ++i) {
        Row &row = *usable.at(i);
        const int target = byLocation ? locations.at(i) : next++;
        if (!byLocation && !pasting)
            row.notes.append(text(QT_TRANSLATE_NOOP("ChirpCsv", "Location %1 → 频道 %2"))
                                 .arg(quoted(row.location))
                                 .arg(target));
        UserChannel channel = *row.channel;
        if (!row.squelchGiven) {
            const int kept = current[target - 1].sqLevelIndex;
            channel.sqLevelIndex = kept >= 0 ? kept : 0;
        }
        if (const QString note = outOfBandNote(channel, band); !note.isEmpty()) {
            row.notes.append(note);
            result.outOfBand.append(target);
        }
        result.channels[target - 1] = channel;
        result.placed.append(target);
    }

    bool named = false;
    for (const Row &row : qAsConst(rows)) {
        for (const QString &note : row.notes)
            result.notes.append(lineNote(row.line, note));
        named = named || row.named;
    }
    if (!notPlaced.isEmpty())
        result.notes.append(notPlaced);
    if (omittedNotes > 0)
        fileNotes.append(text(QT_TRANSLATE_NOOP("ChirpCsv", "另有 %1 条关于跳过的行的说明未列出。"))
                             .arg(omittedNotes));
    if (notPlaced.isEmpty() && reader.stop() != RecordReader::Stop::End)
        fileNotes.append(stopNote(reader));
    if (named)
        fileNotes.append(text(QT_TRANSLATE_NOOP("ChirpCsv", "名称不保留：模块的频道没有名称。")));
    result.notes.append(fileNotes);

    if (result.placed.isEmpty()) {
        result.headline = pasting ? text(QT_TRANSLATE_NOOP("ChirpCsv", "没有可粘贴的行。"))
                                  : text(QT_TRANSLATE_NOOP("ChirpCsv", "没有可导入的行。"));
        return result;
    }
    result.headline = (pasting ? text(QT_TRANSLATE_NOOP("ChirpCsv", "已粘贴 %1 行，放入频道 %2。"))
                               : text(QT_TRANSLATE_NOOP("ChirpCsv", "已导入 %1 行，放入频道 %2。")))
                          .arg(result.placed.size())
                          .arg(channelList(result.placed));
    if (!pasting)
        result.outcome = outcome(current, result.placed);
    return result;
}

// The columns of one channel, in header order.
QStringList exportRow(int n, const UserChannel &channel, QStringList *unselected)
{
    using namespace ChannelCodec;
    const QStringList items = ctcssDcsItems();
    const QStringList headers = headerTexts();
    QString duplex;
    quint32 offset = 0;
    if (channel.txFreq == 0) {
        duplex = QStringLiteral("off");
    } else if (channel.txFreq > channel.rxFreq) {
        offset = channel.txFreq - channel.rxFreq;
        duplex = QStringLiteral("+");
    } else if (channel.txFreq < channel.rxFreq) {
        offset = channel.rxFreq - channel.txFreq;
        duplex = QStringLiteral("-");
    }
    if (offset > kSplitAboveDifference) {
        duplex = QStringLiteral("split");
        offset = channel.txFreq;
    }
    QString tone;
    QString toneFreq = kDefaultTone;
    QString dcs = kDefaultDcs;
    QStringList comment;
    if (channel.sqLevelIndex >= 0)
        comment.append(QStringLiteral("SQ=L%1").arg(channel.sqLevelIndex));
    else
        unselected->append(headers.at(5));
    const int toneIndex = channel.ctcssDcsIndex;
    if (toneIndex >= kFirstToneIndex && toneIndex <= kLastToneIndex) {
        tone = QStringLiteral("TSQL");
        toneFreq = items.at(toneIndex);
        toneFreq.remove(QStringLiteral("Hz"));
    } else if (toneIndex >= kFirstDcsIndex && toneIndex < kCtcssDcsItemCount) {
        tone = QStringLiteral("DTCS");
        dcs = items.at(toneIndex);
    } else if (toneIndex == kSwitchSignalIndex) {
        comment.append(kSwitchSignalNote);
    } else if (toneIndex != kDisableIndex) {
        unselected->append(headers.at(6));
    }
    if (channel.bandwidthIndex < 0)
        unselected->append(headers.at(4));
    if (channel.scanIndex < 0)
        unselected->append(headers.at(7));
    if (channel.txPowerIndex < 0)
        unselected->append(headers.at(3));
    const bool step6k25 = channel.rxFreq % kStep6k25 == 0 && channel.rxFreq % kStep5k != 0;
    return {QString::number(n),
            QStringLiteral("CH%1").arg(n),
            megahertz(channel.rxFreq),
            duplex,
            megahertz(offset),
            tone,
            toneFreq,
            toneFreq,
            dcs,
            kPolarity,
            dcs, // the receive code of a DTCS channel is its code
            kCrossMode,
            channel.bandwidthIndex == kNarrowIndex ? QStringLiteral("NFM") : QStringLiteral("FM"),
            step6k25 ? QStringLiteral("6.25") : QStringLiteral("5.00"),
            channel.scanIndex == kScanOffIndex ? QStringLiteral("S") : QString(),
            channel.txPowerIndex >= 0 ? QStringLiteral("%1.0W").arg(channel.txPowerIndex + 1)
                                      : QString(),
            comment.join(QLatin1Char(' ')),
            QString(),
            QString(),
            QString(),
            QString()};
}

QByteArray csvLine(const QStringList &fields)
{
    QStringList escaped;
    for (const QString &field : fields)
        escaped.append(csvField(field));
    return escaped.join(QLatin1Char(',')).toUtf8() + "\r\n";
}
} // namespace

QString ChirpCsv::header()
{
    return headerColumns().join(QLatin1Char(','));
}

ChirpCsv::Import ChirpCsv::importTable(QIODevice &source, const Channels &current, Band band)
{
    return place(source, current, 0, band);
}

ChirpCsv::Import ChirpCsv::importTable(const QByteArray &csv, const Channels &current, Band band)
{
    QBuffer buffer;
    buffer.setData(csv);
    buffer.open(QIODevice::ReadOnly);
    return place(buffer, current, 0, band);
}

ChirpCsv::Import ChirpCsv::paste(const QByteArray &csv, const Channels &current, int first,
                                 Band band)
{
    QBuffer buffer;
    buffer.setData(csv);
    buffer.open(QIODevice::ReadOnly);
    return place(buffer, current, std::clamp(first, 1, Wire::kChannelCount), band);
}

std::optional<ChirpCsv::Import> ChirpCsv::importFile(const QString &path, const Channels &current,
                                                     Band band, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = text(QT_TRANSLATE_NOOP("ChirpCsv", "无法读取文件 %1。")).arg(path);
        return std::nullopt;
    }
    return place(file, current, 0, band);
}

ChirpCsv::Export ChirpCsv::write(const Channels &channels, const QVector<int> &which)
{
    Export result;
    result.csv = csvLine(headerColumns());
    QVector<int> chosen = which;
    if (chosen.isEmpty()) {
        for (int n = 1; n <= Wire::kChannelCount; ++n)
            chosen.append(n);
    }
    for (int n : qAsConst(chosen)) {
        if (n < 1 || n > Wire::kChannelCount)
            continue;
        const UserChannel &channel = channels[n - 1];
        if (channel.rxFreq == 0) {
            if (channel.txFreq != 0)
                result.notes.append(
                    text(QT_TRANSLATE_NOOP("ChirpCsv", "频道 %1：没有接收频率，未写出")).arg(n));
            continue;
        }
        QStringList unselected;
        result.csv += csvLine(exportRow(n, channel, &unselected));
        result.written.append(n);
        if (channel.txFreq == 0)
            result.notes.append(
                text(QT_TRANSLATE_NOOP("ChirpCsv",
                                       "频道 %1：没有发射频率，写为 Duplex off（导入时会跳过）"))
                    .arg(n));
        if (!unselected.isEmpty())
            result.notes.append(
                text(QT_TRANSLATE_NOOP("ChirpCsv", "频道 %1：%2 未选择，按 CHIRP 的默认值写出"))
                    .arg(n)
                    .arg(unselected.join(QStringLiteral(", "))));
    }
    result.headline = result.written.isEmpty()
                          ? text(QT_TRANSLATE_NOOP("ChirpCsv", "没有使用中的频道可导出。"))
                          : text(QT_TRANSLATE_NOOP("ChirpCsv", "已导出 %1 个频道：%2。"))
                                .arg(result.written.size())
                                .arg(channelList(result.written));
    return result;
}

bool ChirpCsv::writeFile(const QString &path, const QByteArray &data, QString *error)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.commit())
        return true;
    if (error)
        *error = text(QT_TRANSLATE_NOOP("ChirpCsv", "无法写入文件 %1。")).arg(path);
    return false;
}
