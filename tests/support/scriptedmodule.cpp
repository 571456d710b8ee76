#include "scriptedmodule.h"

ScriptedModule::ScriptedModule(Script script, QObject *parent)
    : QObject(parent)
    , m_script(std::move(script))
{
    // Polled, not notified: the pseudo-terminal helper keeps its descriptor to itself.
    connect(&m_timer, &QTimer::timeout, this, &ScriptedModule::poll);
    m_timer.start(kPollMs);
}

void ScriptedModule::poll()
{
    const QByteArray chunk = m_pty.readAvailable();
    if (chunk.isEmpty())
        return;
    const QList<QByteArray> payloads = m_reassembler.feed(chunk, wallClockMs());
    for (const QByteArray &request : payloads) {
        m_requests.append(request);
        for (const QByteArray &reply : m_script(request))
            m_pty.write(LinkFrame::encode(reply));
    }
}
