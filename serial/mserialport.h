#pragma once

#include <QByteArray>
#include <QSerialPort>
#include <QString>
#include <QStringList>

#include <functional>

QT_BEGIN_NAMESPACE
class QTimer;
QT_END_NAMESPACE

// The serial port of the tool: reports a failed open in words, forwards library errors with a
// readable text, delivers received bytes one burst at a time, and closes itself once when the
// device goes away.
class MSerialPort : public QSerialPort
{
    Q_OBJECT

public:
    static constexpr int kDefaultRxTimeoutMs = 50; // quiet interval that ends a burst

    explicit MSerialPort(QObject *parent = nullptr);
    ~MSerialPort() override;

    bool open();
    void close() override;
    void setRxTimeout(int ms) { rxTimeout = ms; }
    int rxTimeoutMs() const { return rxTimeout; }

    // Opt-in early delivery: when the gathered bytes pass this test (one whole reply), they are
    // delivered at once instead of after the quiet interval.
    void setCompleteReplyTest(std::function<bool(const QByteArray &)> test);

    static QStringList availablePortNames();

    // Advice for the user about the error being reported right now (why an open failed, or that
    // the device went away); empty otherwise. Meant for receivers of onError().
    QString lastErrorAdvice() const { return m_errorAdvice; }

signals:
    void onError(int errNo, QString msg);
    void onReceived(QByteArray data);
    void openStateChanged();
    // The device went away while open and the port has closed itself; onError() follows.
    void connectionLost();

private slots:
    void onPortError(QSerialPort::SerialPortError err);
    void onRxTimeout();
    void onReadyToRead();
    void onConnectionLost();

private:
    using QSerialPort::open;
    void report(int errNo, const QString &msg, const QString &advice);

    int rxTimeout = kDefaultRxTimeoutMs;
    QTimer *rxTimer = nullptr;
    QByteArray rxBuffer;
    std::function<bool(const QByteArray &)> m_completeReplyTest;
    QString m_errorAdvice;
    bool m_lossPending = false;
    int m_lossError = NoError;
    QString m_lossMessage;
};

// The one serial port of the process; created before the application object.
extern MSerialPort *const appSerialPort;
