#include "pty.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {
constexpr int kPollSliceMs = 5; // event loop slice while waiting for bytes
constexpr int kReadChunk = 4096;
} // namespace

PseudoTerminal::PseudoTerminal()
{
    // openpty() done by hand: its header's name would clash with this one's.
    m_master = posix_openpt(O_RDWR | O_NOCTTY);
    char name[256] = {};
    if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0 ||
        ptsname_r(m_master, name, sizeof name) != 0) {
        closeMaster();
        return;
    }
    m_slave = ::open(name, O_RDWR | O_NOCTTY);
    termios raw = {};
    if (m_slave < 0 || tcgetattr(m_slave, &raw) != 0) {
        closeMaster();
        return;
    }
    cfmakeraw(&raw);
    tcsetattr(m_slave, TCSANOW, &raw);
    m_slavePath = QString::fromLocal8Bit(name);
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
}

PseudoTerminal::~PseudoTerminal()
{
    closeMaster();
}

bool PseudoTerminal::write(const QByteArray &bytes)
{
    qsizetype done = 0;
    while (m_master >= 0 && done < bytes.size()) {
        const ssize_t n = ::write(m_master, bytes.constData() + done, bytes.size() - done);
        if (n < 0 && errno != EINTR && errno != EAGAIN)
            return false;
        if (n > 0)
            done += n;
    }
    return m_master >= 0;
}

QByteArray PseudoTerminal::readAvailable()
{
    QByteArray result;
    char buffer[kReadChunk];
    while (m_master >= 0) {
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n <= 0)
            break;
        result.append(buffer, static_cast<int>(n));
    }
    return result;
}

QByteArray PseudoTerminal::read(int count, int timeoutMs)
{
    QByteArray result = readAvailable();
    QElapsedTimer clock;
    clock.start();
    while (result.size() < count && clock.elapsed() < timeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, kPollSliceMs);
        pollfd watch = {m_master, POLLIN, 0};
        poll(&watch, 1, kPollSliceMs);
        result.append(readAvailable());
    }
    return result;
}

void PseudoTerminal::closeMaster()
{
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
    m_slave = m_master = -1;
}
