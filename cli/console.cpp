#include "cli/console.h"

#include <QStringList>

#include <cstdio>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

Console::Console(bool showProgress)
    : m_showProgress(showProgress)
{}

bool Console::isTerminal()
{
#ifdef Q_OS_WIN
    return _isatty(_fileno(stderr)) != 0;
#else
    return isatty(fileno(stderr)) != 0;
#endif
}

void Console::write(FILE *stream, const QString &text)
{
#ifdef Q_OS_WIN
    const QByteArray bytes = text.toLocal8Bit();
#else
    const QByteArray bytes = text.toUtf8();
#endif
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    std::fflush(stream);
}

void Console::progress(const QString &port, int percent)
{
    m_percent.insert(port, percent);
    if (m_showProgress)
        showProgress();
}

void Console::showProgress()
{
    // The overlay's "%1%" for one module; each port with its percentage for several.
    QString text;
    if (m_percent.size() == 1) {
        text = QStringLiteral("%1%").arg(m_percent.first());
    } else {
        QStringList parts;
        for (auto it = m_percent.cbegin(); it != m_percent.cend(); ++it)
            parts.append(QStringLiteral("%1 %2%").arg(it.key()).arg(it.value()));
        text = parts.join(QStringLiteral("  "));
    }
    const int length = text.size();
    write(stderr, QLatin1Char('\r') + text.leftJustified(m_shownLength));
    m_shownLength = length;
}

void Console::clearProgress()
{
    if (m_shownLength == 0)
        return;
    write(stderr, QLatin1Char('\r') + QString(m_shownLength, QLatin1Char(' ')) + QLatin1Char('\r'));
    m_shownLength = 0;
}

void Console::failure(const QString &port, const QString &text)
{
    error(QStringLiteral("%1: %2").arg(port, text));
}

void Console::error(const QString &text)
{
    clearProgress();
    write(stderr, text + QLatin1Char('\n'));
    if (m_showProgress && !m_percent.isEmpty())
        showProgress();
}

void Console::result(const QString &port, const QString &line)
{
    m_percent.remove(port);
    clearProgress();
    if (!line.isEmpty())
        write(stdout, line + QLatin1Char('\n'));
    if (m_showProgress && !m_percent.isEmpty())
        showProgress();
}
