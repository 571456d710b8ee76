#include "instrument/scpitransport.h"

#include <QSerialPort>
#include <QTcpSocket>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {
using Status = ScpiTransport::Status;

// Sets the usbtmc driver's own timeout of a read; the Linux ABI number of USBTMC_IOCTL_SET_TIMEOUT.
constexpr unsigned long kUsbtmcSetTimeout = _IOW(91, 10, quint32);

int remainingMs(const QDeadlineTimer &deadline)
{
    return static_cast<int>(qMax<qint64>(0, deadline.remainingTime()));
}

// TCP and serial: QIODevices with blocking waits that need no event loop on their thread.
class DeviceTransport : public ScpiTransport
{
public:
    Status writeLine(const QByteArray &line, const QDeadlineTimer &deadline,
                     QString *error) override
    {
        if (device().write(line + '\n') < 0)
            return failed(error);
        while (device().bytesToWrite() > 0) {
            if (!device().waitForBytesWritten(remainingMs(deadline)))
                return deadline.hasExpired() ? Status::TimedOut : failed(error);
        }
        return Status::Ok;
    }

protected:
    virtual QIODevice &device() = 0;
    virtual bool isLost() const = 0;

    Status failed(QString *error)
    {
        *error = device().errorString();
        return Status::Failed;
    }

    Status readSome(QByteArray *buffer, const QDeadlineTimer &deadline, QString *error) override
    {
        if (device().bytesAvailable() == 0 && !device().waitForReadyRead(remainingMs(deadline)))
            return isLost() ? failed(error) : Status::TimedOut;
        buffer->append(device().readAll());
        return Status::Ok;
    }

    void readAvailable(QByteArray *buffer) override
    {
        if (!device().isOpen())
            return;
        device().waitForReadyRead(0); // takes in what the system holds
        buffer->append(device().readAll());
    }
};

class TcpTransport : public DeviceTransport
{
public:
    explicit TcpTransport(const InstrumentAddress &address)
        : m_address(address)
    {}

    Status open(const QDeadlineTimer &deadline, QString *error) override
    {
        m_socket.connectToHost(m_address.host, m_address.port);
        if (m_socket.waitForConnected(remainingMs(deadline)))
            return Status::Ok;
        if (m_socket.error() == QAbstractSocket::SocketTimeoutError)
            *error = ScpiTransport::tr("连接超时");
        else
            *error = m_socket.errorString();
        m_socket.abort();
        return Status::Failed;
    }

protected:
    QIODevice &device() override { return m_socket; }
    bool isLost() const override { return m_socket.state() != QAbstractSocket::ConnectedState; }

private:
    InstrumentAddress m_address;
    QTcpSocket m_socket;
};

class SerialTransport : public DeviceTransport
{
public:
    explicit SerialTransport(const InstrumentAddress &address)
        : m_address(address)
    {}

    Status open(const QDeadlineTimer &, QString *error) override
    {
        m_port.setPortName(m_address.path);
        if (!m_port.setBaudRate(m_address.baud) || !m_port.open(QIODevice::ReadWrite)) {
            *error = m_port.errorString();
            return Status::Failed;
        }
        m_port.setDataBits(QSerialPort::Data8);
        m_port.setParity(QSerialPort::NoParity);
        m_port.setStopBits(QSerialPort::OneStop);
        m_port.setFlowControl(QSerialPort::NoFlowControl);
        return Status::Ok;
    }

protected:
    QIODevice &device() override { return m_port; }
    bool isLost() const override
    {
        return m_port.error() != QSerialPort::NoError &&
               m_port.error() != QSerialPort::TimeoutError;
    }

private:
    InstrumentAddress m_address;
    QSerialPort m_port;
};

// The kernel's usbtmc driver: each write is one message to the instrument, each read fetches
// its answer. Its reads block in the driver, which keeps a timeout of its own; a device that is
// no usbtmc device (a terminal, say) is waited on with poll instead.
class UsbtmcTransport : public ScpiTransport
{
public:
    explicit UsbtmcTransport(const InstrumentAddress &address)
        : m_path(address.path)
    {}
    ~UsbtmcTransport() override
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }

    Status open(const QDeadlineTimer &, QString *error) override
    {
        m_fd = ::open(m_path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (m_fd < 0)
            return failed(error);
        const quint32 probe = 1000;
        m_driverTimeout = ::ioctl(m_fd, kUsbtmcSetTimeout, &probe) == 0;
        return Status::Ok;
    }

    Status writeLine(const QByteArray &line, const QDeadlineTimer &, QString *error) override
    {
        const QByteArray bytes = line + '\n';
        qint64 written = 0;
        while (written < bytes.size()) {
            const ssize_t n = ::write(m_fd, bytes.constData() + written,
                                      static_cast<size_t>(bytes.size() - written));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return failed(error);
            written += n;
        }
        return Status::Ok;
    }

protected:
    Status readSome(QByteArray *buffer, const QDeadlineTimer &deadline, QString *error) override
    {
        const int waitMs = remainingMs(deadline);
        if (m_driverTimeout) {
            const quint32 timeout = static_cast<quint32>(qMax(1, waitMs));
            ::ioctl(m_fd, kUsbtmcSetTimeout, &timeout);
        } else {
            pollfd fd{m_fd, POLLIN, 0};
            int ready = 0;
            do
                ready = ::poll(&fd, 1, remainingMs(deadline));
            while (ready < 0 && errno == EINTR);
            if (ready == 0)
                return Status::TimedOut;
            if (ready < 0 || (fd.revents & POLLIN) == 0)
                return fd.revents & (POLLHUP | POLLERR) ? lost(error) : failed(error);
        }
        char chunk[4096];
        ssize_t n = 0;
        do
            n = ::read(m_fd, chunk, sizeof chunk);
        while (n < 0 && errno == EINTR);
        if (n < 0 && errno == ETIMEDOUT)
            return Status::TimedOut;
        if (n < 0)
            return failed(error);
        if (n == 0)
            return lost(error);
        buffer->append(chunk, static_cast<int>(n));
        return Status::Ok;
    }

    void readAvailable(QByteArray *buffer) override
    {
        if (m_driverTimeout)
            return; // a usbtmc device sends nothing it was not asked for
        pollfd fd{m_fd, POLLIN, 0};
        char chunk[4096];
        while (::poll(&fd, 1, 0) > 0 && (fd.revents & POLLIN)) {
            const ssize_t n = ::read(m_fd, chunk, sizeof chunk);
            if (n <= 0)
                return;
            buffer->append(chunk, static_cast<int>(n));
        }
    }

private:
    static Status failed(QString *error)
    {
        *error = QString::fromLocal8Bit(std::strerror(errno));
        return Status::Failed;
    }
    static Status lost(QString *error)
    {
        *error = ScpiTransport::tr("设备已断开");
        return Status::Failed;
    }

    QString m_path;
    int m_fd = -1;
    bool m_driverTimeout = false;
};
} // namespace

std::unique_ptr<ScpiTransport> ScpiTransport::create(const InstrumentAddress &address)
{
    switch (address.scheme) {
    case InstrumentAddress::Scheme::Tcp:
        return std::make_unique<TcpTransport>(address);
    case InstrumentAddress::Scheme::Usbtmc:
        return std::make_unique<UsbtmcTransport>(address);
    case InstrumentAddress::Scheme::Serial:
        return std::make_unique<SerialTransport>(address);
    }
    return nullptr;
}

ScpiTransport::Status ScpiTransport::readLine(QByteArray *line, const QDeadlineTimer &deadline,
                                              QString *error)
{
    for (;;) {
        const int end = m_pending.indexOf('\n');
        if (end >= 0) {
            *line = m_pending.left(end);
            m_pending.remove(0, end + 1);
            if (line->endsWith('\r'))
                line->chop(1);
            return Status::Ok;
        }
        if (m_pending.size() > kMaxLineBytes) {
            m_pending.clear();
            *error = tr("回答超过 %1 字节").arg(kMaxLineBytes);
            return Status::Failed;
        }
        const Status status = readSome(&m_pending, deadline, error);
        if (status != Status::Ok)
            return status;
    }
}

void ScpiTransport::discardInput()
{
    readAvailable(&m_pending);
    m_pending.clear();
}
