#include "fuzzsupport.h"

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

// Qt 5.15's JSON parser leaks the value of a repeated key when that value is an object or an
// array ({"a": {}, "a": {}}). Qt is not instrumented, so those reports end in libQt5Core.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libQt5Core.so\n";
}

void Fuzz::fail(const char *what, const QString &detail)
{
    std::fprintf(stderr, "fuzz: %s %s\n", what, detail.toUtf8().constData());
    std::abort();
}

QString Fuzz::scratchFile()
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/lx-fuzz-XXXXXX"));
    static const QString path = dir.filePath(QStringLiteral("scratch.json"));
    return path;
}

void Fuzz::writeScratch(const QByteArray &content)
{
    QFile file(scratchFile());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(content) != content.size())
        fail("cannot write the scratch file", file.fileName());
}

QByteArray Fuzz::readScratch()
{
    QFile file(scratchFile());
    if (!file.open(QIODevice::ReadOnly))
        fail("cannot read the scratch file", file.fileName());
    return file.readAll();
}

QJsonObject Fuzz::storedObject(QByteArray content)
{
    return QJsonDocument::fromJson(content.replace('\r', QByteArray())).object();
}

namespace {
// Qt 5 does not write an object key with a NUL in it back as it read it: such members are the
// library's to mangle, not the program's.
bool mangled(const QString &key)
{
    return key.contains(QChar(0));
}

QStringList keptKeys(const QJsonObject &object)
{
    QStringList keys = object.keys();
    keys.erase(std::remove_if(keys.begin(), keys.end(), mangled), keys.end());
    return keys;
}
} // namespace

bool Fuzz::same(const QJsonValue &a, const QJsonValue &b)
{
    if (a.isDouble() && b.isDouble())
        return a.toDouble() == b.toDouble();
    if (a.type() != b.type())
        return false;
    if (a.isArray()) {
        const QJsonArray x = a.toArray();
        const QJsonArray y = b.toArray();
        if (x.size() != y.size())
            return false;
        for (int i = 0; i < x.size(); ++i) {
            if (!same(x.at(i), y.at(i)))
                return false;
        }
        return true;
    }
    if (a.isObject()) {
        const QJsonObject x = a.toObject();
        const QJsonObject y = b.toObject();
        const QStringList keys = keptKeys(x);
        if (keys != keptKeys(y))
            return false;
        for (const QString &key : keys) {
            if (!same(x.value(key), y.value(key)))
                return false;
        }
        return true;
    }
    return a == b;
}

QStringList Fuzz::keysOf(const QString &path)
{
    return path.mid(1).split(QLatin1Char('/'));
}

bool Fuzz::onlyPathsChanged(const QJsonObject &before, const QJsonObject &after,
                            const QVector<QStringList> &paths)
{
    QSet<QString> written;               // members a path ends at: any new value is fine
    QHash<QString, QVector<QStringList>> // members a path goes through, with the rest of it
        below;
    for (const QStringList &keys : paths) {
        if (keys.size() == 1)
            written.insert(keys.first());
        else
            below[keys.first()].append(keys.mid(1));
    }
    for (auto it = before.begin(); it != before.end(); ++it) {
        if (mangled(it.key()))
            continue;
        if (!written.contains(it.key()) && !below.contains(it.key()) &&
            !same(it.value(), after.value(it.key()))) {
            fprintf(stderr, "fuzz: member \"%s\" changed\n", qPrintable(it.key()));
            return false;
        }
    }
    for (auto it = after.begin(); it != after.end(); ++it) {
        if (!mangled(it.key()) && !before.contains(it.key()) && !written.contains(it.key()) &&
            !below.contains(it.key())) {
            fprintf(stderr, "fuzz: member \"%s\" appeared\n", qPrintable(it.key()));
            return false;
        }
    }
    for (auto it = below.begin(); it != below.end(); ++it) {
        if (written.contains(it.key()))
            continue;
        if (!onlyPathsChanged(before.value(it.key()).toObject(), after.value(it.key()).toObject(),
                              it.value()))
            return false;
    }
    return true;
}
