#pragma once

#include <QCoreApplication>
#include <QString>

#include <optional>

// Where an instrument is: tcp://HOST[:PORT], usbtmc:///dev/usbtmc0, serial:///dev/ttyUSB1?baud=N.
struct InstrumentAddress
{
    Q_DECLARE_TR_FUNCTIONS(InstrumentAddress)

public:
    enum class Scheme
    {
        Tcp,
        Usbtmc,
        Serial
    };
    static constexpr quint16 kDefaultTcpPort = 5025; // SCPI raw socket of LXI instruments
    static constexpr qint32 kDefaultBaud = 9600;     // bit/s

    Scheme scheme = Scheme::Tcp;
    QString text; // as given, to name the instrument in every message
    QString host;
    quint16 port = kDefaultTcpPort;
    QString path; // the device of usbtmc and serial
    qint32 baud = kDefaultBaud;

    static std::optional<InstrumentAddress> parse(const QString &text, QString *error);
};
