#include "records/recorder.h"

#include "records/recordstore.h"
#include "support/redaction.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <functional>

namespace {
// After the database failed, entries only go to the spool for a while rather than each
// waiting for a server that does not answer; the spool is offered again after it.
constexpr int kRetryPauseMs = 30000;
// Entries per transaction on the way to the database (see sendInBatches).
constexpr int kBatch = 50;

RecordsTarget sqliteAt(const QString &path)
{
    RecordsTarget target;
    target.path = path;
    return target;
}
} // namespace

// The recorder's thread side: the database, the spool and what has been said about them.
class RecordsWriter : public QObject
{
    Q_OBJECT

public:
    explicit RecordsWriter(const RecordsTarget &target)
        : m_target(target)
        , m_spool(sqliteAt(target.spoolPath()))
        , m_spoolPath(target.spoolPath())
        , m_outagePath(target.outagePath())
        , m_retry(new QTimer(this))
    {
        m_retry->setInterval(kRetryPauseMs);
        connect(m_retry, &QTimer::timeout, this, [this] { deliver(); });
    }

    // unspooled: entries the spool did not take (spoolError says why); they are kept here
    // until the database takes them.
    void deliver(const QVector<UnitRecord> &unspooled = {}, const QString &spoolError = {},
                 bool force = false)
    {
        const bool newEntry = !unspooled.isEmpty() || m_entryWaiting;
        m_unspooled += unspooled;
        if (!spoolError.isEmpty())
            m_spoolError = spoolError;
        if (reachable(force) && sendSpool() && sendUnspooled()) {
            m_retry->stop();
            m_entryWaiting = false;
            return;
        }
        targetFailed(newEntry);
    }

    // An entry went into the spool: said when the database cannot take it.
    void entrySpooled() { m_entryWaiting = true; }
    // Every entry the spool did not take is in the database.
    bool holdsNone() const { return m_unspooled.isEmpty(); }

signals:
    void problem(const QString &text);

private:
    // Open, or opened now; not tried again within the pause after a failure, neither by this
    // process nor by another run (the outage file beside the spool remembers it).
    bool reachable(bool force)
    {
        if (m_target.isOpen()) {
            m_reason.clear();
            return true;
        }
        if (!force) {
            if (!m_pause.hasExpired())
                return false;
            const QFileInfo outage(m_outagePath);
            const qint64 age =
                outage.exists() ? outage.lastModified().msecsTo(QDateTime::currentDateTime()) : -1;
            if (age >= 0 && age < kRetryPauseMs) {
                QFile file(m_outagePath);
                const QString noted = file.open(QIODevice::ReadOnly)
                                          ? QString::fromUtf8(file.readAll()).trimmed()
                                          : QString();
                m_reason = QStringLiteral("%1, %2 s ago; the next try %3 s after that")
                               .arg(noted)
                               .arg(age / 1000)
                               .arg(kRetryPauseMs / 1000);
                m_pause.setRemainingTime(kRetryPauseMs - age);
                return false;
            }
        }
        if (!m_target.open()) {
            m_reason.clear();
            return false;
        }
        m_reason.clear();
        QFile::remove(m_outagePath);
        return true;
    }

    // Entries of earlier runs first, so that the database gets them in order.
    bool sendSpool()
    {
        if (!QFileInfo::exists(m_spoolPath))
            return true;
        const auto waiting = m_spool.list(); // newest first
        if (!waiting) {
            // The database is not to blame: the entries there wait, and the user hears why.
            if (!m_spoolUnreadReported)
                emit problem(Redaction::text(tr("暂存库 %1 无法读取（%2）：其中的记录暂未发送。")
                                                 .arg(m_spoolPath, m_spool.lastError())));
            m_spoolUnreadReported = true;
            return true;
        }
        QVector<UnitRecord> oldestFirst(waiting->crbegin(), waiting->crend());
        // Sent first, removed after: an entry is never in neither place, and one committed
        // leaves the spool before the next batch goes (the database keeps one copy of an entry
        // sent twice).
        return sendInBatches(oldestFirst,
                             [this](const QVector<UnitRecord> &sent) { m_spool.remove(sent); });
    }

    bool sendUnspooled()
    {
        return sendInBatches(m_unspooled, [](const QVector<UnitRecord> &) {});
    }

    // A batch at a time, each its own transaction within its own deadline: a long backlog goes
    // in parts rather than in one transaction that can never finish in time. What was sent
    // leaves `entries` (and goes to sent()); what was not stays there.
    bool sendInBatches(QVector<UnitRecord> &entries,
                       const std::function<void(const QVector<UnitRecord> &)> &sent)
    {
        for (int first = 0; first < entries.size(); first += kBatch) {
            const QVector<UnitRecord> batch = entries.mid(first, kBatch);
            if (!m_target.insert(batch)) {
                entries.remove(0, first);
                return false;
            }
            sent(batch);
        }
        entries.clear();
        return true;
    }

    void targetFailed(bool newEntry)
    {
        if (m_reason.isEmpty()) {
            // Tried now: the next runs wait for the pause too.
            m_reason = m_target.lastError();
            // The spool's folder may not be there yet (the first run on a machine): without
            // it, the next run would wait for the database again.
            QDir().mkpath(QFileInfo(m_outagePath).absolutePath());
            QFile outage(m_outagePath);
            if (outage.open(QIODevice::WriteOnly | QIODevice::Truncate))
                outage.write(m_reason.toUtf8() + '\n');
            m_pause.setRemainingTime(kRetryPauseMs);
        }
        m_retry->start();
        if (!newEntry)
            return;
        if (!m_unspooled.isEmpty()) {
            if (!m_lostReported)
                emit problem(Redaction::text(tr("历史记录数据库无法写入（%1），暂存库 %2 也无法写入"
                                                "（%3）：记录已丢失。")
                                                 .arg(m_reason, m_spoolPath, m_spoolError)));
            m_lostReported = true;
            return;
        }
        if (!m_waitReported)
            emit problem(
                Redaction::text(tr("历史记录数据库无法写入（%1）；记录暂存于 %2，下次操作时发送。")
                                    .arg(m_reason, m_spoolPath)));
        m_waitReported = true;
    }

    RecordStore m_target;
    RecordStore m_spool;
    QString m_spoolPath;
    QString m_outagePath;
    QTimer *m_retry = nullptr; // offers the spool again while the database is away
    QDeadlineTimer m_pause{0}; // no new try before it expires
    QString m_reason;          // why the database is not written, for the messages
    QVector<UnitRecord> m_unspooled;
    QString m_spoolError;
    bool m_entryWaiting = false; // an entry spooled since the last delivery
    bool m_waitReported = false;
    bool m_lostReported = false;
    bool m_spoolUnreadReported = false;
};

Recorder::Recorder(const RecordsTarget &target, QObject *parent)
    : QObject(parent)
    , m_target(target)
    , m_spoolPath(target.spoolPath())
    , m_writer(new RecordsWriter(target))
{
    m_thread.setObjectName(QStringLiteral("records"));
    m_writer->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_writer, &QObject::deleteLater);
    connect(m_writer, &RecordsWriter::problem, this, &Recorder::problem);
    m_thread.start();
    // Connecting while the module operation runs, so that its entry finds the line open; the
    // spool of earlier runs goes with it.
    QMetaObject::invokeMethod(m_writer, [writer = m_writer] { writer->deliver(); });
}

Recorder::~Recorder()
{
    drain();
    m_thread.quit();
    m_thread.wait();
}

bool Recorder::record(const UnitRecord &record)
{
    // A local file is as safe as the spool and as quick: written at once, it needs no spool.
    if (m_target.kind == RecordsTarget::Kind::Sqlite && RecordStore(m_target).insert({record}))
        return true;
    // Before anything can wait on the network: a process killed from now on loses nothing.
    RecordStore spool(sqliteAt(m_spoolPath));
    if (spool.insert({record})) {
        QMetaObject::invokeMethod(m_writer, [writer = m_writer] {
            writer->entrySpooled();
            writer->deliver();
        });
        return true;
    }
    const QString error = spool.lastError();
    // Waited for: whoever reports the unit must know whether its entry is kept anywhere.
    bool kept = false;
    QMetaObject::invokeMethod(
        m_writer,
        [writer = m_writer, &record, &error, &kept] {
            writer->deliver({record}, error);
            kept = writer->holdsNone();
        },
        Qt::BlockingQueuedConnection);
    return kept;
}

void Recorder::deliverNow()
{
    QMetaObject::invokeMethod(m_writer, [writer = m_writer] { writer->deliver({}, {}, true); });
}

void Recorder::drain()
{
    QMetaObject::invokeMethod(
        m_writer, [] {}, Qt::BlockingQueuedConnection);
    // What the writer said on the way is queued to us; said now, it is not lost when the
    // recorder goes right after.
    if (QThread::currentThread() == thread())
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

#include "recorder.moc"
