#pragma once

#include "sim/faultinjector.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QQueue>
#include <QString>

#include <optional>

// The module of a recorded support report: each request gets the bytes that followed the same
// request in the trace, in trace order, with the recorded gaps; a request the trace never saw
// (or saw fewer times) gets no reply.
class ReplayScript
{
public:
    static std::optional<ReplayScript> fromReport(const QByteArray &json, QString *error);

    // The next recorded answer to this request payload; empty for silence.
    QList<Emission> answer(const QByteArray &request);
    int requestCount() const { return m_requests; }

private:
    QHash<QByteArray, QQueue<QList<Emission>>> m_answers; // by request frame
    int m_requests = 0;
};
