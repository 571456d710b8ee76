#include "debugcapture.h"

namespace {
DebugCapture *g_capture = nullptr;
}

DebugCapture::DebugCapture()
{
    g_capture = this;
    m_previous = qInstallMessageHandler(&DebugCapture::handler);
}

DebugCapture::~DebugCapture()
{
    qInstallMessageHandler(m_previous);
    g_capture = nullptr;
}

QStringList DebugCapture::linesStartingWith(const QStringList &prefixes) const
{
    QStringList result;
    for (const QString &line : m_lines) {
        for (const QString &prefix : prefixes) {
            if (line.startsWith(prefix)) {
                result.append(line);
                break;
            }
        }
    }
    return result;
}

void DebugCapture::handler(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (!g_capture)
        return;
    if (type == QtDebugMsg)
        g_capture->m_lines.append(text);
    if (g_capture->m_previous)
        g_capture->m_previous(type, context, text);
}
