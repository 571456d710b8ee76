#pragma once

#include <QMap>
#include <QString>

// Where the tool's words go: result lines to standard output, failures and the progress line
// to standard error. The progress line is shown only on a terminal and is cleared before any
// other line, so that logs and pipes stay clean.
class Console
{
public:
    explicit Console(bool showProgress);

    static bool isTerminal(); // standard error is a terminal

    void progress(const QString &port, int percent);
    void failure(const QString &port, const QString &text);
    // The port's last word: its progress goes away.
    void result(const QString &port, const QString &line);
    void error(const QString &text); // a failure that concerns no single port
    void clearProgress();

private:
    void showProgress();
    static void write(FILE *stream, const QString &text);

    bool m_showProgress = false;
    QMap<QString, int> m_percent; // by port; one port shows the bare percentage
    int m_shownLength = 0;
};
