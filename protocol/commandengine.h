#pragma once

#include "protocol/linetrace.h"
#include "protocol/linkframe.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include <optional>

QT_BEGIN_NAMESPACE
class QIODevice;
QT_END_NAMESPACE

// One request and what its reply must look like; every module operation is described by one.
struct Command
{
    static constexpr int kAttempts = 3;
    static constexpr int kTimeoutMs = 1000; // per attempt

    enum class Reply
    {
        Exact,   // payload of exactly `length` bytes
        AtLeast, // payload of at least `length` bytes
        Ack,     // 00 01 done; 00 with another status is a refusal
    };

    QByteArray request;
    Reply reply = Reply::Exact;
    int length = 0;
    QByteArray leading;       // the reply must begin with these bytes
    int attempts = kAttempts; // 1 for requests that must not reach the module twice
    QString failureText;      // shown when the operation fails
    QString refusalText;      // shown instead when the module refused (empty: failureText)
    int timeoutMs = kTimeoutMs;

    // A read whose reply repeats the whole request before its data.
    static Command read(const QByteArray &request, int replyLength, const QString &failureText);
    // A read whose reply is at least replyLength bytes and repeats the whole request.
    static Command readAtLeast(const QByteArray &request, int replyLength,
                               const QString &failureText);
    // A change acknowledged by 00 01.
    static Command write(const QByteArray &request, const QString &failureText);
    // A change that adds to a value in the module: sent once, never repeated.
    static Command step(const QByteArray &request, const QString &failureText);

    bool accepts(const QByteArray &reply) const;
    bool isRefusal(const QByteArray &reply) const;
};

// One verified reply payload.
struct ResponseFrame
{
    int length = 0;
    QByteArray data;
};

// Whoever shows failures to the user: a message box in the window, a line in the command-line tool.
class FailureReporter
{
public:
    virtual ~FailureReporter() = default;
    virtual void reportFailure(const QString &text) = 0;
};

// The one command transaction: send, wait with the event loop turning, match, retry, cancel.
class CommandEngine : public QObject
{
    Q_OBJECT

public:
    static constexpr int kReplyTimeoutMs = Command::kTimeoutMs; // per attempt
    static constexpr int kPollSliceMs = 50;                     // bound on reacting to a cancel

    enum class Outcome
    {
        Ok,
        NotOpen,
        NoReply,
        Refused,
        Cancelled,
        Busy
    };

    struct Statistics
    {
        qint64 transactions = 0;
        qint64 framesSent = 0;
        qint64 retries = 0;
        qint64 failures = 0;
        qint64 refusals = 0;
        qint64 cancels = 0;
    };

    explicit CommandEngine(QObject *parent = nullptr);

    // The open serial port (or any device) frames go to; not owned.
    void setDevice(QIODevice *device) { m_device = device; }
    QIODevice *device() const { return m_device; }
    void setReporter(FailureReporter *reporter) { m_reporter = reporter; }
    FailureReporter *reporter() const { return m_reporter; }

    // Wraps and writes one frame. False when the device is not open (reported) or too long.
    bool sendFrame(const QByteArray &payload);
    // Joins a received chunk into frames and queues their payloads.
    void receive(const QByteArray &chunk);
    void receiveAt(const QByteArray &chunk, quint32 nowMs);

    // Runs the command; the reply payload on success. Failures are reported before returning.
    std::optional<QByteArray> transact(const Command &command);
    Outcome lastOutcome() const { return m_lastOutcome; }
    bool isBusy() const { return m_busy; }

    // Removes and returns the oldest queued payload.
    QByteArray takeResponse();

    void cancel();
    void clearCancel() { userCanceled = false; }
    bool isCanceled() const { return userCanceled; }

    const Statistics &statistics() const { return m_statistics; }

    // The ring every frame and chunk goes into: the engine's own unless one is shared.
    LineTrace &trace() { return *m_trace; }
    void setTrace(LineTrace *shared) { m_trace = shared ? shared : &m_ownTrace; }

    QList<ResponseFrame> ResponseQueue;

signals:
    void frameSent(const QByteArray &frame);

private:
    bool waitForReply(int timeoutMs);
    QString portName() const;
    std::optional<QByteArray> fail(const Command &command, Outcome outcome);

    bool userCanceled = false;
    QIODevice *m_device = nullptr;
    FailureReporter *m_reporter = nullptr;
    FrameReassembler m_reassembler;
    QTimer m_wakeTimer; // keeps the blocking wait responsive to a cancel, created once
    Outcome m_lastOutcome = Outcome::Ok;
    bool m_busy = false;
    Statistics m_statistics;
    LineTrace m_ownTrace;
    LineTrace *m_trace = &m_ownTrace;
    QString m_operation; // failure text of the running command
};
