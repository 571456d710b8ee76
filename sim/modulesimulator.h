#pragma once

#include "protocol/linkframe.h"
#include "sim/faultinjector.h"
#include "sim/modulestate.h"
#include "sim/replayscript.h"

#include <QByteArray>
#include <QDateTime>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QQueue>
#include <QString>
#include <QTimer>

QT_BEGIN_NAMESPACE
class QSocketNotifier;
QT_END_NAMESPACE

// Plays the radio module on a pseudo-terminal: the tool opens slavePath() as its serial port.
// Requests and replies take the time the line rate gives them, and the fault injector can
// spoil any reply.
class ModuleSimulator : public QObject
{
    Q_OBJECT

public:
    static constexpr int kBitsPerByte = 10; // start bit, eight data bits, stop bit

    struct LogEntry
    {
        QDateTime time;        // when the whole request had arrived
        qint64 elapsedMs = 0;  // the same on the simulator's monotonic clock
        QByteArray request;    // payload
        QByteArray replyBytes; // everything sent for it, faults included; empty when silent
        FaultKind fault = FaultKind::None;
        int attempt = 1;
    };

    explicit ModuleSimulator(QObject *parent = nullptr);
    ~ModuleSimulator() override;

    // Opens a fresh pseudo-terminal in raw mode; false with a reason when the system has none.
    bool open(QString *error = nullptr);
    // Hangs up: the tool's port sees the line go away. open() starts on a new terminal.
    void close();
    bool isOpen() const { return m_master >= 0; }
    QString slavePath() const { return m_slavePath; }

    ModuleState &state() { return m_state; }
    const ModuleState &state() const { return m_state; }
    void setState(const ModuleState &state) { m_state = state; }
    FaultInjector &faults() { return m_faults; }
    // Plays a recorded module instead of the state: answers come from the script only.
    void setReplay(const ReplayScript &script) { m_replay = script; }
    // No unit on the socket: requests still arrive and are logged, nothing answers; a reply
    // on its way is cut off where it stands.
    void setSilent(bool silent);
    bool isSilent() const { return m_silent; }

    void setBaud(int baud) { m_baud = baud; } // 0: bytes take no time
    int baud() const { return m_baud; }
    void setLatency(int ms) { m_latencyMs = ms; } // from the request's last byte to the reply
    int latency() const { return m_latencyMs; }

    const QList<LogEntry> &log() const { return m_log; }
    QList<QByteArray> requests() const; // the payloads of the log, in order
    void clearLog() { m_log.clear(); }
    bool isIdle() const { return m_jobs.isEmpty() && m_segments.isEmpty(); }

signals:
    // The request's log entry (with its planned reply) is in place when this is emitted.
    void requestReceived(const QByteArray &payload);
    void stateChanged();
    // Everything sent for one request, after its last byte left.
    void replySent(const QByteArray &bytes);

private:
    struct Job
    {
        qint64 dueNs = 0;
        QByteArray request;
        QDateTime arrived;
    };
    struct Segment
    {
        qint64 readyNs = 0; // not before this
        qint64 delayNs = 0; // pause after the previous segment, or after readyNs
        QByteArray bytes;
        int sent = 0;
        qint64 startNs = -1;
        QByteArray wholeReply; // set on the last segment of a reply
    };

    void onReadable();
    void pump();
    void handle(const Job &job);
    bool transmit(qint64 nowNs);
    void schedule(qint64 nowNs);
    qint64 byteNs() const;

    ModuleState m_state = ModuleState::defaults();
    FaultInjector m_faults;
    FrameReassembler m_reassembler;
    int m_master = -1;
    int m_slave = -1; // kept open so the master never sees the line drop between the tool's opens
    QString m_slavePath;
    QSocketNotifier *m_notifier = nullptr; // a child; close() may run inside its signal
    int m_baud = 0;
    int m_latencyMs = 0;
    QElapsedTimer m_clock;
    qint64 m_rxLineFreeNs = 0;
    qint64 m_txLineFreeNs = 0;
    QQueue<Job> m_jobs;
    QQueue<Segment> m_segments;
    QTimer m_timer;
    QList<LogEntry> m_log;
    std::optional<ReplayScript> m_replay;
    bool m_silent = false;
};
