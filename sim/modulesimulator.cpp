#include "sim/modulesimulator.h"

#include "sim/requesthandler.h"

#include <QSocketNotifier>

#include <cerrno>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>

namespace {
constexpr qint64 kNsPerMs = 1000000;
constexpr qint64 kNsPerSecond = 1000000000;
constexpr int kReadBlock = 4096;   // bytes per read call
constexpr int kPathCapacity = 256; // bytes for the terminal's name
constexpr int kBlockedRetryMs = 1; // when the terminal's input queue is full

bool failWith(QString *error, const QString &text)
{
    if (error)
        *error = text + QStringLiteral(": ") + QString::fromLocal8Bit(strerror(errno));
    return false;
}

void setCloseOnExec(int fd)
{
    ::fcntl(fd, F_SETFD, ::fcntl(fd, F_GETFD) | FD_CLOEXEC);
}
} // namespace

ModuleSimulator::ModuleSimulator(QObject *parent)
    : QObject(parent)
{
    m_clock.start();
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &ModuleSimulator::pump);
}

ModuleSimulator::~ModuleSimulator()
{
    close();
}

bool ModuleSimulator::open(QString *error)
{
    close();
    char name[kPathCapacity] = {};
    int master = -1;
    int slave = -1;
    if (::openpty(&master, &slave, name, nullptr, nullptr) != 0)
        return failWith(error, QStringLiteral("openpty"));
    // Raw both ways: no echo, no line editing, no CR/LF translation of the binary frames.
    termios attributes{};
    if (::tcgetattr(slave, &attributes) == 0) {
        ::cfmakeraw(&attributes);
        ::tcsetattr(slave, TCSANOW, &attributes);
    }
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    setCloseOnExec(master);
    setCloseOnExec(slave);
    m_master = master;
    m_slave = slave;
    m_slavePath = QString::fromLocal8Bit(name);
    m_reassembler = FrameReassembler();
    m_rxLineFreeNs = 0;
    m_txLineFreeNs = 0;
    m_notifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &ModuleSimulator::onReadable);
    return true;
}

void ModuleSimulator::close()
{
    if (m_notifier) {
        m_notifier->setEnabled(false);
        m_notifier->deleteLater();
        m_notifier = nullptr;
    }
    m_timer.stop();
    m_jobs.clear();
    m_segments.clear();
    if (m_master >= 0)
        ::close(m_master);
    if (m_slave >= 0)
        ::close(m_slave);
    m_master = -1;
    m_slave = -1;
}

void ModuleSimulator::setSilent(bool silent)
{
    m_silent = silent;
    if (silent) {
        m_jobs.clear();
        m_segments.clear();
    }
}

QList<QByteArray> ModuleSimulator::requests() const
{
    QList<QByteArray> payloads;
    for (const LogEntry &entry : m_log)
        payloads.append(entry.request);
    return payloads;
}

qint64 ModuleSimulator::byteNs() const
{
    return m_baud > 0 ? kBitsPerByte * kNsPerSecond / m_baud : 0;
}

void ModuleSimulator::onReadable()
{
    QByteArray chunk;
    char buffer[kReadBlock];
    for (;;) {
        const ssize_t count = ::read(m_master, buffer, sizeof buffer);
        if (count > 0) {
            chunk.append(buffer, static_cast<int>(count));
            continue;
        }
        if (count < 0 && errno == EINTR)
            continue;
        break; // drained (EAGAIN)
    }
    if (chunk.isEmpty())
        return;

    // The bytes were on the line for their transmission time; the request is complete when
    // its last byte would have arrived.
    const qint64 now = m_clock.nsecsElapsed();
    m_rxLineFreeNs = std::max(now, m_rxLineFreeNs) + chunk.size() * byteNs();
    const qint64 due = m_rxLineFreeNs + m_latencyMs * kNsPerMs;
    const QDateTime arrived =
        QDateTime::currentDateTime().addMSecs((m_rxLineFreeNs - now) / kNsPerMs);
    for (const QByteArray &payload : m_reassembler.feed(chunk, wallClockMs()))
        m_jobs.enqueue(Job{due, payload, arrived});
    pump();
}

void ModuleSimulator::handle(const Job &job)
{
    RequestHandler::Result result;
    Fault fault;
    QList<Emission> emissions;
    if (m_silent) {
        // Nobody there to answer.
    } else if (m_replay) {
        emissions = m_replay->answer(job.request);
    } else {
        const ModuleState before = m_state;
        result = RequestHandler::handle(job.request, m_state);
        fault = m_faults.next(job.request, result.reply.has_value());
        if (fault.kind == FaultKind::Forget && result.changed) {
            m_state = before; // acknowledged, yet nothing kept
            result.changed = false;
        }
        emissions = FaultInjector::apply(result.reply, fault);
    }

    QByteArray all;
    for (const Emission &emission : emissions)
        all.append(emission.bytes);
    const qint64 now = m_clock.nsecsElapsed();
    m_log.append(LogEntry{job.arrived, now / kNsPerMs, job.request, all, fault.kind,
                          m_faults.lastAttempt()});
    for (int i = 0; i < emissions.size(); ++i) {
        Segment segment;
        // From when the request was complete: a late wake of ours does not delay the reply.
        segment.readyNs = i == 0 ? job.dueNs : 0;
        segment.delayNs = emissions[i].delayMs * kNsPerMs;
        segment.bytes = emissions[i].bytes;
        if (i == emissions.size() - 1)
            segment.wholeReply = all;
        m_segments.enqueue(segment);
    }
    emit requestReceived(job.request);
    if (result.changed)
        emit stateChanged();
}

void ModuleSimulator::pump()
{
    qint64 now = m_clock.nsecsElapsed();
    while (!m_jobs.isEmpty() && m_jobs.head().dueNs <= now && isOpen())
        handle(m_jobs.dequeue());
    const bool blocked = !transmit(now);
    if (!isOpen())
        return;
    now = m_clock.nsecsElapsed();
    qint64 wake = -1;
    if (!m_jobs.isEmpty())
        wake = m_jobs.head().dueNs;
    if (!m_segments.isEmpty()) {
        const Segment &segment = m_segments.head();
        qint64 next = segment.startNs;
        if (now >= segment.startNs && m_baud > 0)
            next = segment.startNs + (segment.sent + 1) * byteNs();
        if (blocked)
            next = now + kBlockedRetryMs * kNsPerMs;
        wake = wake < 0 ? next : std::min(wake, next);
    }
    if (wake < 0)
        return;
    const qint64 waitNs = std::max<qint64>(0, wake - now);
    m_timer.start(static_cast<int>((waitNs + kNsPerMs - 1) / kNsPerMs));
}

bool ModuleSimulator::transmit(qint64 now)
{
    while (!m_segments.isEmpty() && isOpen()) {
        Segment &segment = m_segments.head();
        if (segment.startNs < 0)
            segment.startNs = std::max(m_txLineFreeNs, segment.readyNs) + segment.delayNs;
        if (now < segment.startNs)
            return true;
        int due = segment.bytes.size();
        if (m_baud > 0)
            due = static_cast<int>(std::min<qint64>(due, (now - segment.startNs) / byteNs()));
        if (due > segment.sent) {
            const ssize_t written =
                ::write(m_master, segment.bytes.constData() + segment.sent, due - segment.sent);
            if (written < 0 && (errno == EAGAIN || errno == EINTR))
                return false; // the terminal's input queue is full: try again shortly
            if (written < 0) {
                m_segments.dequeue(); // the line is gone; nothing to wait for
                continue;
            }
            segment.sent += static_cast<int>(written);
        }
        if (segment.sent < segment.bytes.size())
            return true;
        m_txLineFreeNs = segment.startNs + segment.bytes.size() * byteNs();
        const QByteArray whole = segment.wholeReply;
        m_segments.dequeue();
        if (!whole.isEmpty())
            emit replySent(whole);
    }
    return true;
}
