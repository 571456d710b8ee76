#include "sim/replayscript.h"

#include "protocol/linetrace.h"
#include "protocol/linkframe.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

std::optional<ReplayScript> ReplayScript::fromReport(const QByteArray &json, QString *error)
{
    QJsonParseError parse{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &parse);
    const QJsonValue events =
        document.object().value(QStringLiteral("trace")).toObject().value(QStringLiteral("events"));
    if (parse.error != QJsonParseError::NoError || !events.isArray()) {
        *error = parse.error != QJsonParseError::NoError ? parse.errorString()
                                                         : QStringLiteral("no trace.events");
        return std::nullopt;
    }
    ReplayScript script;
    QByteArray request; // the frame being answered, empty before the first
    QList<Emission> answer;
    qint64 lastMs = 0;
    const auto finish = [&] {
        if (!request.isEmpty())
            script.m_answers[request].enqueue(answer);
        answer.clear();
    };
    for (const QJsonValue &value : events.toArray()) {
        const auto event = LineEvent::fromJson(value.toObject());
        if (!event) {
            *error = QStringLiteral("a trace event without dir, t or hex");
            return std::nullopt;
        }
        if (event->direction == LineEvent::Direction::Tx) {
            finish();
            request = event->bytes;
            ++script.m_requests;
        } else if (!request.isEmpty()) {
            answer.append(Emission{static_cast<int>(event->timeMs - lastMs), event->bytes});
        }
        lastMs = event->timeMs;
    }
    finish();
    return script;
}

QList<Emission> ReplayScript::answer(const QByteArray &request)
{
    auto found = m_answers.find(LinkFrame::encode(request));
    if (found == m_answers.end() || found->isEmpty())
        return {};
    return found->dequeue();
}
