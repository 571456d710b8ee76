#include "protocol/linetrace.h"

#include <QJsonArray>
#include <QMutexLocker>

std::atomic<bool> LineTrace::s_recording{true};

namespace {
const QString kTx = QStringLiteral("tx");
const QString kRx = QStringLiteral("rx");
} // namespace

QJsonObject LineEvent::toJson() const
{
    return QJsonObject{{QStringLiteral("t"), timeMs},
                       {QStringLiteral("dir"), direction == Direction::Tx ? kTx : kRx},
                       {QStringLiteral("port"), port},
                       {QStringLiteral("hex"), QString::fromLatin1(bytes.toHex(' '))},
                       {QStringLiteral("op"), operation}};
}

std::optional<LineEvent> LineEvent::fromJson(const QJsonObject &object)
{
    const QString dir = object.value(QStringLiteral("dir")).toString();
    const QJsonValue time = object.value(QStringLiteral("t"));
    const QJsonValue hex = object.value(QStringLiteral("hex"));
    if ((dir != kTx && dir != kRx) || !time.isDouble() || !hex.isString())
        return std::nullopt;
    LineEvent event;
    event.timeMs = static_cast<qint64>(time.toDouble());
    event.direction = dir == kTx ? Direction::Tx : Direction::Rx;
    event.port = object.value(QStringLiteral("port")).toString();
    event.bytes = QByteArray::fromHex(hex.toString().toLatin1());
    event.operation = object.value(QStringLiteral("op")).toString();
    return event;
}

LineTrace::LineTrace(int capacity)
    : m_capacity(capacity > 0 ? capacity : 1)
    , m_startedAt(QDateTime::currentDateTimeUtc())
{
    m_clock.start();
}

void LineTrace::record(LineEvent::Direction direction, const QString &port, const QByteArray &bytes,
                       const QString &operation)
{
    if (!s_recording.load(std::memory_order_relaxed))
        return;
    // A copy of just these bytes: a chunk from the port may share a read buffer many times its
    // size, which the ring would otherwise keep alive (and the port allocate anew each read).
    QByteArray own(bytes.constData(), bytes.size());
    QMutexLocker lock(&m_mutex);
    LineEvent event{m_clock.elapsed(), direction, port, std::move(own), operation};
    ++m_recorded;
    if (m_ring.size() < static_cast<size_t>(m_capacity)) {
        m_ring.push_back(std::move(event));
        return;
    }
    m_ring[m_next] = std::move(event);
    m_next = (m_next + 1) % m_ring.size();
}

QList<LineEvent> LineTrace::events() const
{
    QMutexLocker lock(&m_mutex);
    QList<LineEvent> ordered;
    ordered.reserve(static_cast<int>(m_ring.size()));
    for (size_t i = 0; i < m_ring.size(); ++i)
        ordered.append(m_ring[(m_next + i) % m_ring.size()]);
    return ordered;
}

qint64 LineTrace::recorded() const
{
    QMutexLocker lock(&m_mutex);
    return m_recorded;
}

QJsonObject LineTrace::toJson() const
{
    QJsonArray list;
    for (const LineEvent &event : events())
        list.append(event.toJson());
    return QJsonObject{{QStringLiteral("started"), m_startedAt.toString(Qt::ISODateWithMs)},
                       {QStringLiteral("capacity"), m_capacity},
                       {QStringLiteral("recorded"), recorded()},
                       {QStringLiteral("events"), list}};
}
