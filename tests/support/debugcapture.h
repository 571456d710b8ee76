#pragma once

#include <QStringList>
#include <QtGlobal>

// Collects the debug log lines written while it lives (and still passes them on).
class DebugCapture
{
public:
    DebugCapture();
    ~DebugCapture();
    DebugCapture(const DebugCapture &) = delete;
    DebugCapture &operator=(const DebugCapture &) = delete;

    QStringList lines() const { return m_lines; }
    // The lines that start with one of the prefixes.
    QStringList linesStartingWith(const QStringList &prefixes) const;

private:
    static void handler(QtMsgType type, const QMessageLogContext &context, const QString &text);
    QStringList m_lines;
    QtMessageHandler m_previous = nullptr;
};
