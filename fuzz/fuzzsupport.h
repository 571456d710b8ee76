#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QStringList>
#include <QVector>

// Shared by the fuzz targets that go through files.
namespace Fuzz {
// Prints what broke and aborts, so that libFuzzer keeps the input.
[[noreturn]] void fail(const char *what, const QString &detail = QString());

// One file in a private temporary directory, rewritten by every input.
QString scratchFile();
void writeScratch(const QByteArray &content);
QByteArray readScratch();

// The top-level object the store sees in a file: it reads in text mode, which drops every
// carriage return (even one inside a key, which the lenient parser accepts).
QJsonObject storedObject(QByteArray content);

// JSON equality where numbers compare as the doubles they read back as: an integral double
// beyond 2^53 is written as integer text, which the parser then keeps as a 64-bit integer.
bool same(const QJsonValue &a, const QJsonValue &b);

// The object keys a store path walks through; its first character counts as the leading slash.
QStringList keysOf(const QString &path);

// True when every member of before that none of the paths writes is unchanged in after, and
// after holds no member that neither before nor a path accounts for.
bool onlyPathsChanged(const QJsonObject &before, const QJsonObject &after,
                      const QVector<QStringList> &paths);
} // namespace Fuzz
