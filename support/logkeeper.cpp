#include "support/logkeeper.h"

#include "support/redaction.h"

#include <QDateTime>
#include <QMutex>
#include <QMutexLocker>

#include <atomic>
#include <deque>

namespace {
QMutex mutex;
std::deque<QString> kept;
QtMessageHandler previous = nullptr;
std::atomic<bool> installed{false};

const char *levelName(QtMsgType type)
{
    switch (type) {
    case QtDebugMsg:
        return "debug";
    case QtInfoMsg:
        return "info";
    case QtWarningMsg:
        return "warning";
    case QtCriticalMsg:
        return "critical";
    case QtFatalMsg:
        return "fatal";
    }
    return "?";
}

void keep(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    const QString message = Redaction::text(text);
    {
        const QString line = QStringLiteral("%1 %2: %3")
                                 .arg(QDateTime::currentDateTime().toString(Qt::ISODateWithMs),
                                      QLatin1String(levelName(type)), message);
        QMutexLocker lock(&mutex);
        kept.push_back(line);
        while (kept.size() > static_cast<size_t>(LogKeeper::kLines))
            kept.pop_front();
    }
    // Qt hands back its default handler when none was installed before.
    if (previous)
        previous(type, context, message);
}
} // namespace

void LogKeeper::install()
{
    if (installed.exchange(true))
        return;
    previous = qInstallMessageHandler(keep);
}

QStringList LogKeeper::lines()
{
    QMutexLocker lock(&mutex);
    return QStringList(kept.begin(), kept.end());
}
