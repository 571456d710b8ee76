// Opens MJsonConfig on arbitrary file content, reads and writes one path and checks that the
// value survives a re-open while everything off that path stays as it was.
// Input: [path length][value kind][path bytes][value bytes][file content].
#include "app/mjsonconfig.h"
#include "fuzzsupport.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <cmath>
#include <cstring>

namespace {
constexpr int kMaxPathBytes = 64;   // the program's paths are a few dozen bytes
constexpr int kMaxStringBytes = 24; // a text value, or the key of an object value

class Input
{
public:
    Input(const uint8_t *data, size_t size)
        : m_data(data)
        , m_size(size)
    {}
    quint8 byte() { return m_at < m_size ? m_data[m_at++] : 0; }
    QByteArray bytes(size_t count)
    {
        count = qMin(count, m_size - m_at);
        const QByteArray taken(reinterpret_cast<const char *>(m_data + m_at), int(count));
        m_at += count;
        return taken;
    }
    QByteArray rest() { return bytes(m_size - m_at); }

private:
    const uint8_t *m_data;
    size_t m_size;
    size_t m_at = 0;
};

QJsonValue valueOf(quint8 kind, Input &in)
{
    switch (kind % 7) {
    case 0:
        return QJsonValue(QJsonValue::Null);
    case 1:
        return QJsonValue(bool(in.byte() & 1));
    case 2: {
        double number = 0;
        const QByteArray raw = in.bytes(sizeof number);
        std::memcpy(&number, raw.constData(), size_t(raw.size()));
        return QJsonValue(number);
    }
    case 3: {
        qint32 number = 0;
        const QByteArray raw = in.bytes(sizeof number);
        std::memcpy(&number, raw.constData(), size_t(raw.size()));
        return QJsonValue(number);
    }
    case 4:
        return QJsonValue(QString::fromUtf8(in.bytes(in.byte() % kMaxStringBytes)));
    case 5:
        return QJsonObject{{QString::fromUtf8(in.bytes(in.byte() % kMaxStringBytes)), 1}};
    default:
        return QJsonArray{in.byte(), QString::fromUtf8(in.bytes(in.byte() % kMaxStringBytes))};
    }
}

QJsonValue walk(QJsonObject object, const QStringList &keys)
{
    for (int i = 0; i + 1 < keys.size(); ++i)
        object = object.value(keys.at(i)).toObject();
    return object.value(keys.last());
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace Fuzz;
    Input in(data, size);
    const int pathBytes = in.byte() % (kMaxPathBytes + 1);
    const quint8 kind = in.byte();
    const QString path = QString::fromUtf8(in.bytes(size_t(pathBytes)));
    const QJsonValue written = valueOf(kind, in);
    const QByteArray content = in.rest();

    writeScratch(content);
    const QJsonObject before = storedObject(content);
    const QStringList keys = keysOf(path);
    const QJsonValue absent(QStringLiteral("absent"));
    // JSON text has no spelling for infinities and NaN: they are written as null.
    const bool nonFinite = written.isDouble() && !std::isfinite(written.toDouble());
    const QJsonValue expected = written.isNull() || nonFinite ? absent : written;

    try {
        MJsonConfig store(scratchFile());
        const QJsonValue stored = walk(before, keys);
        if (!same(store.value(path, absent),
                  stored.isUndefined() || stored.isNull() ? absent : stored))
            fail("read does not match the file's content at", path);

        store.setValue(path, written);
        if (!nonFinite && !same(store.value(path, absent), expected))
            fail("written value not read back from memory at", path);

        const QJsonDocument onDisk = QJsonDocument::fromJson(readScratch());
        if (!onDisk.isObject())
            fail("written file is not a JSON object after writing", path);
        if (!onlyPathsChanged(before, onDisk.object(), {keys}))
            fail("a member off the path changed when writing", path);

        MJsonConfig reopened(scratchFile());
        if (!same(reopened.value(path, absent), expected))
            fail("written value not read back after re-opening at", path);
    } catch (const ConfigFileError &) {
        fail("scratch file refused");
    }
    return 0;
}
