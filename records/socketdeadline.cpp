#include "records/socketdeadline.h"

#include <QtGlobal>

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <set>
#include <thread>

#ifdef Q_OS_WIN
#include <winsock2.h>
#else
#include <sys/socket.h>
#endif

namespace {
using Clock = std::chrono::steady_clock;

// One thread for every deadline of the process, started with the first.
class Watchdog
{
public:
    ~Watchdog()
    {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_stopping = true;
        }
        m_wake.notify_all();
        if (m_thread.joinable())
            m_thread.join();
    }

    std::uint64_t arm(int socket, int timeoutMs)
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_thread.joinable())
            m_thread = std::thread([this] { run(); });
        const std::uint64_t id = ++m_lastId;
        m_armed.emplace(id, Armed{socket, Clock::now() + std::chrono::milliseconds(timeoutMs)});
        m_wake.notify_all();
        return id;
    }

    // True when it had expired.
    bool disarm(std::uint64_t id)
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_armed.erase(id);
        return m_expired.erase(id) > 0;
    }

    bool expired(std::uint64_t id)
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        return m_expired.count(id) > 0;
    }

private:
    struct Armed
    {
        int socket;
        Clock::time_point deadline;
    };

    void run()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        while (!m_stopping) {
            auto next = Clock::time_point::max();
            for (auto it = m_armed.begin(); it != m_armed.end();) {
                if (it->second.deadline <= Clock::now()) {
                    // Under the lock: the owner cannot have closed the socket yet.
#ifdef Q_OS_WIN
                    ::shutdown(static_cast<SOCKET>(it->second.socket), SD_BOTH);
#else
                    ::shutdown(it->second.socket, SHUT_RDWR);
#endif
                    m_expired.insert(it->first);
                    it = m_armed.erase(it);
                } else {
                    next = std::min(next, it->second.deadline);
                    ++it;
                }
            }
            if (next == Clock::time_point::max())
                m_wake.wait(lock);
            else
                m_wake.wait_until(lock, next);
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::thread m_thread;
    std::map<std::uint64_t, Armed> m_armed;
    std::set<std::uint64_t> m_expired;
    std::uint64_t m_lastId = 0;
    bool m_stopping = false;
};

Watchdog &watchdog()
{
    static Watchdog instance;
    return instance;
}
} // namespace

SocketDeadline::SocketDeadline(int socket, int timeoutMs)
{
    if (socket >= 0)
        m_id = watchdog().arm(socket, timeoutMs);
}

SocketDeadline::~SocketDeadline()
{
    disarm();
}

bool SocketDeadline::expired() const
{
    return m_id != 0 ? watchdog().expired(m_id) : m_expired;
}

bool SocketDeadline::disarm()
{
    if (m_id != 0) {
        m_expired = watchdog().disarm(m_id);
        m_id = 0;
    }
    return m_expired;
}
