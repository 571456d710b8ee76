#pragma once

#include "protocol/linkframe.h"
#include "pty.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QTimer>

#include <functional>

// A far end that answers each request frame with whatever the test scripts, for replies no
// well-behaved module gives (another channel's parameters, an acknowledgement 00 00, ...).
class ScriptedModule : public QObject
{
    Q_OBJECT

public:
    // The reply payloads for one request payload, each sent as its own frame; none: silence.
    using Script = std::function<QList<QByteArray>(const QByteArray &request)>;

    explicit ScriptedModule(Script script, QObject *parent = nullptr);

    bool isValid() const { return m_pty.isValid(); }
    QString portPath() const { return m_pty.slavePath(); }
    QList<QByteArray> requests() const { return m_requests; }

private:
    void poll();

    static constexpr int kPollMs = 2;
    PseudoTerminal m_pty;
    FrameReassembler m_reassembler;
    QTimer m_timer;
    Script m_script;
    QList<QByteArray> m_requests;
};
