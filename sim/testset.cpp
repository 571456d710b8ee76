#include "sim/testset.h"

#include "instrument/scpireply.h"
#include "sim/modulesimulator.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <cmath>

namespace {
constexpr double kPowerNoiseDb = 0.03;    // one sigma
constexpr double kFrequencyNoiseHz = 2.0; // one sigma
constexpr double kDeviationNoiseHz = 6.0; // one sigma
constexpr double kMinLevelDbm = -140.0;
constexpr double kMaxLevelDbm = 13.0;
constexpr double kMaxFrequencyHz = 6e9;
constexpr int kDefaultNoiseFactor = 20;
const QByteArray kNotANumber = QByteArrayLiteral("9.91E+37");
const QByteArray kNoError = QByteArrayLiteral("0,\"No error\"");

bool parseOnOff(const QByteArray &argument, bool *on)
{
    const QByteArray word = argument.trimmed().toUpper();
    if (word == "ON" || word == "1")
        *on = true;
    else if (word == "OFF" || word == "0")
        *on = false;
    else
        return false;
    return true;
}
} // namespace

TestSet::TestSet(ModuleSimulator &module, QObject *parent)
    : QObject(parent)
    , m_module(module)
    , m_server(new QTcpServer(this))
{
    connect(m_server, &QTcpServer::newConnection, this, &TestSet::onConnection);
    connect(&m_module, &ModuleSimulator::requestReceived, this, &TestSet::onModuleRequest);
}

TestSet::~TestSet() = default;

bool TestSet::parseFault(const QString &text, Faults *faults, QString *error)
{
    const QString kind = text.section(QLatin1Char('='), 0, 0);
    const QString value = text.section(QLatin1Char('='), 1);
    const bool hasValue = text.contains(QLatin1Char('='));
    bool ok = !hasValue || !value.isEmpty();
    if (ok && kind == QLatin1String("mute")) {
        faults->muteAfter = hasValue ? value.toInt(&ok) : 0;
        ok = ok && faults->muteAfter >= 0;
    } else if (ok && kind == QLatin1String("noisy")) {
        faults->noiseFactor = hasValue ? value.toDouble(&ok) : kDefaultNoiseFactor;
        ok = ok && faults->noiseFactor >= 0.0;
    } else if (ok && kind == QLatin1String("weak-cell") && hasValue) {
        const int cell = value.toInt(&ok);
        ok = ok && value.size() == 2 && cell / 10 < Wire::kPowerSteps && cell % 10 < 3;
        faults->weakCells.insert(cell);
    } else {
        ok = false;
    }
    if (!ok && error)
        *error = QStringLiteral("test set fault \"%1\": expected mute[=N], noisy[=FACTOR] or "
                                "weak-cell=NN (power 0-4, then 0 low, 1 middle, 2 high)")
                     .arg(text);
    return ok;
}

bool TestSet::listen(quint16 port, QString *error)
{
    if (m_server->listen(QHostAddress::LocalHost, port))
        return true;
    if (error)
        *error = QStringLiteral("test set port %1: %2").arg(port).arg(m_server->errorString());
    return false;
}

quint16 TestSet::port() const
{
    return m_server->serverPort();
}

QString TestSet::url() const
{
    return QStringLiteral("tcp://127.0.0.1:%1").arg(port());
}

void TestSet::onConnection()
{
    while (QTcpSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadable(socket); });
    }
}

void TestSet::onReadable(QTcpSocket *socket)
{
    while (socket->canReadLine()) {
        QByteArray line = socket->readLine(kMaxLineBytes).trimmed();
        const auto reply = answer(line);
        if (!reply)
            continue;
        // The instrument sends its next command only after this answer.
        if (m_settleMs > 0 && settles(line)) {
            QTimer::singleShot(m_settleMs, socket,
                               [socket, bytes = *reply + '\n'] { socket->write(bytes); });
        } else {
            socket->write(*reply + '\n');
        }
    }
    if (socket->bytesAvailable() > kMaxLineBytes)
        socket->abort(); // a line no instrument would take
}

bool TestSet::settles(const QByteArray &line)
{
    const QByteArray upper = line.toUpper();
    return upper.contains("*OPC?") || upper.contains("MEAS:");
}

void TestSet::onModuleRequest(const QByteArray &payload)
{
    Calibration heard;
    if (payload.size() == 2 && quint8(payload.at(0)) == Wire::Cmd::kCalibrateRssi) {
        heard.kind = QStringLiteral("rssi");
        heard.level = quint8(payload.at(1));
    } else if (payload.size() == 3 && quint8(payload.at(0)) == Wire::Cmd::kParam &&
               quint8(payload.at(1)) == Wire::ParamCmd::kCalibrateSquelch) {
        heard.kind = QStringLiteral("squelch");
        heard.level = quint8(payload.at(2));
    } else {
        return;
    }
    heard.generatorDbm = m_generatorDbm;
    heard.generatorHz = qRound64(m_generatorHz);
    heard.generatorOn = m_outputOn;
    m_calibrations.append(heard);
    emit logLine(QStringLiteral("calibration %1 %2: generator %3 dBm at %4 Hz, output %5")
                     .arg(heard.kind)
                     .arg(heard.level)
                     .arg(heard.generatorDbm, 0, 'f', 1)
                     .arg(heard.generatorHz)
                     .arg(heard.generatorOn ? QStringLiteral("on") : QStringLiteral("off")));
}

std::optional<QByteArray> TestSet::answer(const QByteArray &line)
{
    emit logLine(QStringLiteral("< ") + QString::fromUtf8(line));
    if (m_faults.muteAfter == 0)
        return std::nullopt;
    if (m_faults.muteAfter > 0)
        --m_faults.muteAfter;
    QList<QByteArray> replies;
    for (QByteArray command : line.split(';')) {
        command = command.trimmed();
        if (command.startsWith(':'))
            command.remove(0, 1);
        if (command.isEmpty())
            continue;
        const int blank = command.indexOf(' ');
        const QByteArray header = (blank < 0 ? command : command.left(blank)).toUpper();
        const QByteArray argument = blank < 0 ? QByteArray() : command.mid(blank + 1).trimmed();
        if (const auto reply = execute(header, argument))
            replies.append(*reply);
    }
    if (replies.isEmpty())
        return std::nullopt;
    const QByteArray reply = replies.join(';');
    emit logLine(QStringLiteral("> ") + QString::fromUtf8(reply));
    return reply;
}

void TestSet::pushError(int code, const char *text)
{
    if (m_errors.size() >= kMaxErrors)
        return;
    m_errors.enqueue(m_errors.size() == kMaxErrors - 1
                         ? QByteArrayLiteral("-350,\"Queue overflow\"")
                         : QByteArray::number(code) + ",\"" + text + '"');
}

void TestSet::reset()
{
    m_analyserHz = 0.0;
    m_generatorHz = 0.0;
    m_generatorDbm = -130.0;
    m_outputOn = false;
}

double TestSet::noise(double sigma)
{
    // Box-Muller: a normal deviate from two uniform ones.
    const double u = 1.0 - m_random.generateDouble();
    const double v = m_random.generateDouble();
    return sigma * m_faults.noiseFactor * std::sqrt(-2.0 * std::log(u)) * std::cos(2 * M_PI * v);
}

std::optional<QByteArray> TestSet::measurement(const QByteArray &header)
{
    const RadioModel::Carrier carrier = RadioModel::carrier(m_module.state(), m_faults.weakCells);
    const bool seen =
        carrier.on && (m_analyserHz == 0.0 || std::fabs(carrier.hz - m_analyserHz) <= kTuningHz);
    if (header == "MEAS:POW?")
        return QByteArray::number(
            seen ? carrier.dbm + noise(kPowerNoiseDb) : RadioModel::kNoCarrierDbm, 'f', 2);
    if (!seen)
        return kNotANumber;
    if (header == "MEAS:FREQ:ERR?")
        return QByteArray::number(carrier.frequencyErrorHz + noise(kFrequencyNoiseHz), 'f', 1);
    return QByteArray::number(carrier.deviationHz + noise(kDeviationNoiseHz), 'f', 1);
}

std::optional<QByteArray> TestSet::execute(const QByteArray &header, const QByteArray &argument)
{
    const bool query = header.endsWith('?');
    if (query && !argument.isEmpty()) {
        pushError(-108, "Parameter not allowed");
        return std::nullopt;
    }
    if (header == "*IDN?")
        return QByteArrayLiteral("LX815-SIM,TEST-SET,") +
               m_module.state().serialNumber.toHex().toUpper() + QByteArrayLiteral(",1.0");
    if (header == "*OPC?")
        return QByteArrayLiteral("1");
    if (header == "SYST:ERR?")
        return m_errors.isEmpty() ? kNoError : m_errors.dequeue();
    if (header == "MEAS:POW?" || header == "MEAS:FREQ:ERR?" || header == "MEAS:FM:DEV?")
        return measurement(header);
    if (header == "SENS:FREQ?")
        return QByteArray::number(m_analyserHz, 'f', 0);
    if (header == "SOUR:FREQ?")
        return QByteArray::number(m_generatorHz, 'f', 0);
    if (header == "SOUR:POW?")
        return QByteArray::number(m_generatorDbm, 'f', 1);
    if (header == "OUTP?")
        return m_outputOn ? QByteArrayLiteral("1") : QByteArrayLiteral("0");
    if (header == "*RST") {
        reset();
        return std::nullopt;
    }
    if (header == "*CLS") {
        m_errors.clear();
        return std::nullopt;
    }
    if (header == "OUTP") {
        if (!parseOnOff(argument, &m_outputOn))
            pushError(-224, "Illegal parameter value");
        return std::nullopt;
    }
    const bool known = header == "SENS:FREQ" || header == "SOUR:FREQ" || header == "SOUR:POW";
    if (!known) {
        pushError(-113, "Undefined header");
        return std::nullopt;
    }
    const ScpiReply::Number number = ScpiReply::parseNumber(argument);
    if (argument.isEmpty()) {
        pushError(-109, "Missing parameter");
    } else if (number.kind != ScpiReply::Number::Kind::Value) {
        pushError(-104, "Data type error");
    } else if (header == "SOUR:POW") {
        if (number.value < kMinLevelDbm || number.value > kMaxLevelDbm)
            pushError(-222, "Data out of range");
        else
            m_generatorDbm = number.value;
    } else if (number.value < 0 || number.value > kMaxFrequencyHz) {
        pushError(-222, "Data out of range");
    } else {
        (header == "SENS:FREQ" ? m_analyserHz : m_generatorHz) = number.value;
    }
    return std::nullopt;
}
