#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QElapsedTimer>
#include <QJsonObject>
#include <QList>
#include <QMutex>
#include <QString>

#include <atomic>
#include <optional>
#include <vector>

// One thing that crossed the line: a frame the tool sent or a chunk it received.
struct LineEvent
{
    enum class Direction
    {
        Tx, // a whole frame
        Rx  // a chunk as the port delivered it
    };

    qint64 timeMs = 0; // since the ring started, monotonic
    Direction direction = Direction::Tx;
    QString port;
    QByteArray bytes;
    QString operation; // the failure text of the command that was running, empty between

    QJsonObject toJson() const;
    static std::optional<LineEvent> fromJson(const QJsonObject &object);
};

// The last events on the line, always kept, so that a field failure can be looked at and
// replayed afterwards. Several engines (one per thread) may share one ring.
class LineTrace
{
public:
    static constexpr int kCapacity = 10000;

    explicit LineTrace(int capacity = kCapacity);

    void record(LineEvent::Direction direction, const QString &port, const QByteArray &bytes,
                const QString &operation);
    // Oldest first.
    QList<LineEvent> events() const;
    qint64 recorded() const; // everything ever recorded, the overwritten events included
    QDateTime startedAt() const { return m_startedAt; }
    int capacity() const { return m_capacity; }

    // {"started", "capacity", "recorded", "events": [...]}
    QJsonObject toJson() const;

    // Off only for measuring what keeping the ring costs; process-wide.
    static void setRecording(bool on) { s_recording.store(on, std::memory_order_relaxed); }

private:
    mutable QMutex m_mutex;
    const int m_capacity;
    std::vector<LineEvent> m_ring;
    size_t m_next = 0; // where the next event goes once the ring is full
    qint64 m_recorded = 0;
    QElapsedTimer m_clock;
    QDateTime m_startedAt;
    static std::atomic<bool> s_recording;
};
