#pragma once

#include <QByteArray>
#include <QString>

// A real pseudo-terminal: the code under test opens the slave side by its path as a serial
// port, and the test plays the far end on the master side.
class PseudoTerminal
{
public:
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    bool isValid() const { return m_master >= 0; }
    // The device path to open, such as /dev/pts/3.
    QString slavePath() const { return m_slavePath; }

    // Sends bytes to whoever has the slave side open.
    bool write(const QByteArray &bytes);
    // What the slave side has sent so far; does not block.
    QByteArray readAvailable();
    // Reads until count bytes have come or timeoutMs has passed, with the event loop running
    // (so that the code under test can write meanwhile).
    QByteArray read(int count, int timeoutMs);

    // The far end goes away: reads on the slave side fail from now on.
    void closeMaster();

private:
    int m_master = -1;
    int m_slave = -1; // held open so the line survives the code under test closing and reopening
    QString m_slavePath;
};
