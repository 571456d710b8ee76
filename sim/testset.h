#pragma once

#include "sim/radiomodel.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QQueue>
#include <QRandomGenerator>
#include <QSet>
#include <QString>

#include <optional>

QT_BEGIN_NAMESPACE
class QTcpServer;
class QTcpSocket;
QT_END_NAMESPACE

class ModuleSimulator;

// A bench test set (power meter, modulation analyser, signal generator) on a TCP port of
// 127.0.0.1, speaking the commands of the generic-scpi profile. It measures the simulated
// module's transmitter through the radio model, and notes the generator's level whenever the
// module is told to calibrate its RSSI or squelch.
class TestSet : public QObject
{
    Q_OBJECT

public:
    static constexpr int kMaxLineBytes = 4096;
    static constexpr int kMaxErrors = 10;    // SCPI's error queue; the last is "Queue overflow"
    static constexpr double kTuningHz = 1e6; // the analyser sees carriers this close to it

    struct Faults
    {
        int muteAfter = -1;       // commands answered before it falls silent; -1 never
        double noiseFactor = 1.0; // times the usual measurement noise
        QSet<int> weakCells;      // see RadioModel::carrier
    };
    // mute[=N] (silent after N commands), noisy[=FACTOR], weak-cell=NN.
    static bool parseFault(const QString &text, Faults *faults, QString *error);

    struct Calibration
    {
        QString kind;  // "rssi" or "squelch"
        int level = 0; // the module command's level byte
        double generatorDbm = 0.0;
        qint64 generatorHz = 0;
        bool generatorOn = false;
    };

    explicit TestSet(ModuleSimulator &module, QObject *parent = nullptr);
    ~TestSet() override;

    bool listen(quint16 port, QString *error); // 0 picks a free port
    quint16 port() const;
    QString url() const; // tcp://127.0.0.1:PORT

    Faults &faults() { return m_faults; }
    void setSeed(quint32 seed) { m_random.seed(seed); }
    // How long a measurement, or the wait for completion after a setting, takes to answer.
    void setSettleMs(int ms) { m_settleMs = ms; }
    int settleMs() const { return m_settleMs; }
    // Whether this command line's answer waits for the instrument to settle.
    static bool settles(const QByteArray &line);
    const QList<Calibration> &calibrations() const { return m_calibrations; }

    // One command line in; the answer line, or nothing for a setting (or a mute set).
    std::optional<QByteArray> answer(const QByteArray &line);

signals:
    void logLine(const QString &line);

private:
    void onConnection();
    void onReadable(QTcpSocket *socket);
    void onModuleRequest(const QByteArray &payload);
    std::optional<QByteArray> execute(const QByteArray &header, const QByteArray &argument);
    std::optional<QByteArray> measurement(const QByteArray &header);
    void pushError(int code, const char *text);
    void reset();
    double noise(double sigma);

    ModuleSimulator &m_module;
    QTcpServer *m_server = nullptr; // a child
    Faults m_faults;
    int m_settleMs = 0;
    QRandomGenerator m_random{1};
    QQueue<QByteArray> m_errors;
    double m_analyserHz = 0.0; // 0: not tuned, sees any carrier
    double m_generatorHz = 0.0;
    double m_generatorDbm = -130.0;
    bool m_outputOn = false;
    QList<Calibration> m_calibrations;
};
