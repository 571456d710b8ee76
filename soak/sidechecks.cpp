#include "soak/sidechecks.h"

#include <QtGlobal>

void SideChecks::missingWidget(const QString &name)
{
    qFatal("soak: the window has no widget \"%s\"", qPrintable(name));
}

void SideChecks::compare(QStringList &differences, const QString &name, const QString &actual,
                         const QString &expected)
{
    if (actual != expected)
        differences.append(
            QStringLiteral("%1: \"%2\", should be \"%3\"").arg(name, actual, expected));
}

void SideChecks::compare(QStringList &differences, const QString &name, qint64 actual,
                         qint64 expected)
{
    if (actual != expected)
        differences.append(
            QStringLiteral("%1: %2, should be %3").arg(name).arg(actual).arg(expected));
}

int SideChecks::randomIn(QRandomGenerator &random, int minimum, int maximum)
{
    return random.bounded(minimum, maximum + 1);
}
