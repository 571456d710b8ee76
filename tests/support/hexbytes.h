#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Frames written as hex in the tests, "55AA0332..." or "55 AA 03 32"; blanks are skipped.
inline QByteArray hex(const QString &text)
{
    return QByteArray::fromHex(text.toLatin1());
}

inline QList<QByteArray> hexList(const QStringList &texts)
{
    QList<QByteArray> result;
    for (const QString &text : texts)
        result.append(hex(text));
    return result;
}
