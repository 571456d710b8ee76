#include "protocol/commandengine.h"

#include <QCoreApplication>
#include <QDebug>
#include <QElapsedTimer>
#include <QIODevice>
#include <QSerialPort>

namespace {
constexpr int kAckLength = 2;
constexpr char kAckLead = 0x00;
constexpr char kAckDone = 0x01;

QString notOpenText()
{
    return QCoreApplication::translate("MainWindow", "串口未打开，请检查！");
}
} // namespace

Command Command::read(const QByteArray &request, int replyLength, const QString &failureText)
{
    return Command{request,   Reply::Exact, replyLength, request,
                   kAttempts, failureText,  {},          kTimeoutMs};
}

Command Command::readAtLeast(const QByteArray &request, int replyLength, const QString &failureText)
{
    return Command{request,   Reply::AtLeast, replyLength, request,
                   kAttempts, failureText,    {},          kTimeoutMs};
}

Command Command::write(const QByteArray &request, const QString &failureText)
{
    return Command{request,   Reply::Ack,  kAckLength, QByteArray(1, kAckLead),
                   kAttempts, failureText, {},         kTimeoutMs};
}

Command Command::step(const QByteArray &request, const QString &failureText)
{
    Command command = write(request, failureText);
    command.attempts = 1;
    return command;
}

bool Command::accepts(const QByteArray &reply) const
{
    const bool lengthOk =
        this->reply == Reply::AtLeast ? reply.size() >= length : reply.size() == length;
    if (!lengthOk || !reply.startsWith(leading))
        return false;
    return this->reply != Reply::Ack || reply.at(1) == kAckDone;
}

bool Command::isRefusal(const QByteArray &reply) const
{
    return this->reply == Reply::Ack && reply.size() == kAckLength && reply.at(0) == kAckLead &&
           reply.at(1) != kAckDone;
}

CommandEngine::CommandEngine(QObject *parent)
    : QObject(parent)
{
    m_wakeTimer.setInterval(kPollSliceMs);
}

bool CommandEngine::sendFrame(const QByteArray &payload)
{
    if (!m_device || !m_device->isOpen()) {
        if (m_reporter)
            m_reporter->reportFailure(notOpenText());
        return false;
    }
    const QByteArray frame = LinkFrame::encode(payload);
    if (frame.isEmpty()) {
        qWarning() << "payload too long for one frame:" << payload.size();
        return false;
    }
    m_device->write(frame);
    qDebug() << "tx: " << toHexText(frame);
    m_trace->record(LineEvent::Direction::Tx, portName(), frame, m_operation);
    ++m_statistics.framesSent;
    emit frameSent(frame);
    return true;
}

void CommandEngine::receive(const QByteArray &chunk)
{
    receiveAt(chunk, wallClockMs());
}

void CommandEngine::receiveAt(const QByteArray &chunk, quint32 nowMs)
{
    qDebug() << "rx: " << toHexText(chunk);
    m_trace->record(LineEvent::Direction::Rx, portName(), chunk, m_operation);
    const QList<QByteArray> payloads = m_reassembler.feed(chunk, nowMs);
    for (const QByteArray &payload : payloads)
        ResponseQueue.append(ResponseFrame{payload.size(), payload});
}

QByteArray CommandEngine::takeResponse()
{
    return ResponseQueue.isEmpty() ? QByteArray() : ResponseQueue.takeFirst().data;
}

void CommandEngine::cancel()
{
    qDebug() << "User Cancel!";
    userCanceled = true;
}

QString CommandEngine::portName() const
{
    const auto *port = qobject_cast<const QSerialPort *>(m_device);
    return port ? port->portName() : QString();
}

bool CommandEngine::waitForReply(int timeoutMs)
{
    // Blocks between events instead of spinning; the wake-up timer bounds the reaction to a
    // cancel and to the end of the reply window. A line that went away (the port closed
    // itself) brings no reply: the next attempt fails at once as not open.
    QElapsedTimer clock;
    clock.start();
    m_wakeTimer.start();
    while (ResponseQueue.isEmpty()) {
        if (userCanceled || !m_device->isOpen() || clock.elapsed() > timeoutMs)
            break;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    m_wakeTimer.stop();
    return !ResponseQueue.isEmpty();
}

std::optional<QByteArray> CommandEngine::fail(const Command &command, Outcome outcome)
{
    m_lastOutcome = outcome;
    ++m_statistics.failures;
    if (outcome == Outcome::Refused)
        ++m_statistics.refusals;
    if (outcome == Outcome::Cancelled)
        ++m_statistics.cancels;
    if (m_reporter)
        m_reporter->reportFailure(outcome == Outcome::Refused && !command.refusalText.isEmpty()
                                      ? command.refusalText
                                      : command.failureText);
    return std::nullopt;
}

std::optional<QByteArray> CommandEngine::transact(const Command &command)
{
    // A second operation inside the first would empty the queue under it.
    if (m_busy) {
        m_lastOutcome = Outcome::Busy;
        return std::nullopt;
    }
    m_busy = true;
    m_operation = command.failureText;
    ++m_statistics.transactions;
    for (int attempt = 0; attempt < command.attempts; ++attempt) {
        if (attempt > 0)
            ++m_statistics.retries;
        if (!sendFrame(command.request)) {
            m_lastOutcome = Outcome::NotOpen;
            ++m_statistics.failures;
            m_busy = false;
            m_operation.clear();
            return std::nullopt;
        }
        // Replies that arrived late for an earlier request are not this one's.
        ResponseQueue.clear();
        waitForReply(command.timeoutMs);
        if (userCanceled)
            break;
        if (ResponseQueue.isEmpty())
            continue;
        const QByteArray reply = takeResponse();
        if (command.accepts(reply)) {
            m_lastOutcome = Outcome::Ok;
            m_busy = false;
            m_operation.clear();
            return reply;
        }
        if (command.isRefusal(reply)) {
            m_busy = false;
            m_operation.clear();
            return fail(command, Outcome::Refused);
        }
    }
    m_busy = false;
    m_operation.clear();
    return fail(command, userCanceled ? Outcome::Cancelled : Outcome::NoReply);
}
