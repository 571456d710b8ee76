#pragma once

#include <QCoreApplication>
#include <QProcess>
#include <QString>
#include <QStringList>

// lx815-sim from the build tree as a child process, on a pseudo-terminal of its own.
class Simulator
{
public:
    explicit Simulator(int baud, const QStringList &extra = {})
    {
        const QString program = QCoreApplication::applicationDirPath() + "/../sim/lx815-sim";
        m_process.start(program, QStringList{"--baud", QString::number(baud)} + extra);
        if (m_process.waitForReadyRead(10000))
            m_path = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    }
    ~Simulator()
    {
        m_process.terminate();
        m_process.waitForFinished(3000);
    }
    QString path() const { return m_path; }
    // The next line it prints (the test set's URL after the terminal's path).
    QString nextLine()
    {
        if (!m_process.canReadLine())
            m_process.waitForReadyRead(10000);
        return QString::fromLocal8Bit(m_process.readLine()).trimmed();
    }

private:
    QProcess m_process;
    QString m_path;
};
