#include "records/recorder.h"

#include "records/recordstore.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>

namespace {
// After the database failed, entries go straight to the spool for a while rather than each
// waiting for a server that does not answer.
constexpr int kRetryPauseMs = 30000;
} // namespace

// The recorder's thread side: the two stores and what has been said about them.
class RecordsWriter : public QObject
{
    Q_OBJECT

public:
    RecordsWriter(const RecordsTarget &target, const QString &spoolPath)
        : m_target(target)
        , m_spool(spoolTarget(spoolPath))
        , m_spoolPath(spoolPath)
    {}

    void connectAndDeliver()
    {
        if (m_target.open())
            deliverSpool();
        else
            targetFailed();
    }

    void write(const UnitRecord &record)
    {
        if (targetReachable() && deliverSpool() && m_target.insert({record}))
            return;
        targetFailed();
        if (!m_spool.insert({record}) && !m_spoolReported) {
            m_spoolReported = true;
            emit problem(tr("历史记录暂存库 %1 也无法写入，记录已丢失：%2")
                             .arg(m_spoolPath, m_spool.lastError()));
        }
    }

signals:
    void problem(const QString &text);

private:
    static RecordsTarget spoolTarget(const QString &path)
    {
        RecordsTarget target;
        target.path = path;
        return target;
    }

    bool targetReachable()
    {
        if (m_target.isOpen())
            return true;
        if (!m_pause.hasExpired())
            return false;
        return m_target.open();
    }

    // Entries of earlier runs first, so that the database gets them in order.
    bool deliverSpool()
    {
        if (!QFileInfo::exists(m_spoolPath))
            return true;
        const auto waiting = m_spool.list();
        if (!waiting || waiting->isEmpty())
            return true;
        // Sent first, removed after: an entry is never in neither place (the database keeps
        // one copy of an entry sent twice).
        if (!m_target.insert(*waiting))
            return false;
        m_spool.remove(*waiting);
        return true;
    }

    void targetFailed()
    {
        m_pause.setRemainingTime(kRetryPauseMs);
        if (m_targetReported)
            return;
        m_targetReported = true;
        emit problem(tr("历史记录数据库无法写入（%1）；记录暂存于 %2，下次操作时发送。")
                         .arg(m_target.lastError(), m_spoolPath));
    }

    RecordStore m_target;
    RecordStore m_spool;
    QString m_spoolPath;
    QDeadlineTimer m_pause{0};
    bool m_targetReported = false;
    bool m_spoolReported = false;
};

Recorder::Recorder(const RecordsTarget &target, QObject *parent)
    : QObject(parent)
    , m_writer(new RecordsWriter(target, target.spoolPath()))
{
    m_thread.setObjectName(QStringLiteral("records"));
    m_writer->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_writer, &QObject::deleteLater);
    connect(m_writer, &RecordsWriter::problem, this, &Recorder::problem);
    m_thread.start();
    // Connecting while the module operation runs, so that its entry finds the line open.
    QMetaObject::invokeMethod(m_writer, [writer = m_writer] { writer->connectAndDeliver(); });
}

Recorder::~Recorder()
{
    drain();
    m_thread.quit();
    m_thread.wait();
}

void Recorder::record(const UnitRecord &record)
{
    QMetaObject::invokeMethod(m_writer, [writer = m_writer, record] { writer->write(record); });
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
