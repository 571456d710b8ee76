#pragma once

#include <cstdint>

// A deadline for one blocking call on a network socket that the caller cannot give a timeout
// itself (a database driver waiting for a reply). When the time is up, a watchdog thread shuts
// the socket down, so that the blocked call returns with an error: a server that stopped
// answering (a frozen host, a dropped cable, a firewall eating packets) cannot hold the call,
// whose peer's kernel may still acknowledge every packet.
class SocketDeadline
{
public:
    // socket < 0: no socket, nothing to watch.
    SocketDeadline(int socket, int timeoutMs);
    ~SocketDeadline();
    SocketDeadline(const SocketDeadline &) = delete;
    SocketDeadline &operator=(const SocketDeadline &) = delete;

    // True when the watchdog shut the socket down.
    bool expired() const;
    // From now on the watchdog leaves the socket alone, so that it may be closed (its number
    // may then be another file's); says whether it had expired. Later calls say the same.
    bool disarm();

private:
    std::uint64_t m_id = 0; // 0: not armed
    bool m_expired = false; // what disarm() found
};
