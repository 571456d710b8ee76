#pragma once

#include "instrument/instrumentaddress.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QString>

#include <memory>
#include <optional>

// One line of SCPI text each way over a socket, a USBTMC device or a serial line. Every call
// blocks until its deadline at most and must run on the thread that opened the transport (a
// worker thread of its own is the intended home: nothing here needs an event loop).
class ScpiTransport
{
    Q_DECLARE_TR_FUNCTIONS(ScpiTransport)

public:
    static constexpr int kMaxLineBytes = 65536; // a reply longer than this is not SCPI text

    enum class Status
    {
        Ok,
        TimedOut,
        Failed // the connection is gone or the device refused; the text says why
    };

    virtual ~ScpiTransport() = default;
    static std::unique_ptr<ScpiTransport> create(const InstrumentAddress &address);

    virtual Status open(const QDeadlineTimer &deadline, QString *error) = 0;
    // The line and its terminating newline.
    virtual Status writeLine(const QByteArray &line, const QDeadlineTimer &deadline,
                             QString *error) = 0;
    // The next line, without its terminator (LF or CR LF).
    Status readLine(QByteArray *line, const QDeadlineTimer &deadline, QString *error);
    // Drops whatever arrived unasked, such as a late answer to a query that timed out.
    void discardInput();

protected:
    // Appends what can be read before the deadline; TimedOut when nothing came.
    virtual Status readSome(QByteArray *buffer, const QDeadlineTimer &deadline, QString *error) = 0;
    virtual void readAvailable(QByteArray *buffer) = 0; // without waiting

private:
    QByteArray m_pending;
};
