#include "sim/unitsocket.h"

#include "device/wire.h"
#include "sim/modulesimulator.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSocketNotifier>

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {
const QString kModel = QStringLiteral("model");
const QString kBand = QStringLiteral("band");

int signalPipe[2] = {-1, -1};

// Only async-signal-safe work here: the signal's number into the pipe wakes the event loop.
void onUnitSignal(int number)
{
    const char byte = static_cast<char>(number);
    [[maybe_unused]] const ssize_t ignored = ::write(signalPipe[1], &byte, 1);
}

bool failed(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}
} // namespace

UnitSocket::UnitSocket(ModuleSimulator &simulator, const QList<ModuleState> &units, QObject *parent)
    : QObject(parent)
    , m_simulator(simulator)
    , m_units(units)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &UnitSocket::runNext);
    m_simulator.setSilent(true);
}

void UnitSocket::start()
{
    if (!m_present && !m_units.isEmpty())
        putIn(0);
}

std::optional<QList<ModuleState>> UnitSocket::loadUnits(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        failed(error, QStringLiteral("%1: %2").arg(path, file.errorString()));
        return std::nullopt;
    }
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll());
    const QJsonArray list = document.array();
    if (!document.isArray() || list.isEmpty()) {
        failed(error, QStringLiteral("%1: expected a JSON list of unit states").arg(path));
        return std::nullopt;
    }
    QList<ModuleState> units;
    for (int i = 0; i < list.size(); ++i) {
        const QString where = QStringLiteral("%1: units[%2]").arg(path).arg(i);
        QJsonObject object = list.at(i).toObject();
        if (!list.at(i).isObject()) {
            failed(error, where + QStringLiteral(": expected an object"));
            return std::nullopt;
        }
        if (object.contains(kModel)) {
            const QString model = object.take(kModel).toString();
            const auto &bands = Wire::bands();
            const auto band = std::find_if(bands.begin(), bands.end(), [&](const Wire::Band &b) {
                return model == QLatin1String(b.model);
            });
            if (band == bands.end() || object.contains(kBand)) {
                failed(error, where + QStringLiteral(": model: expected the model of a band, "
                                                     "and no band beside it"));
                return std::nullopt;
            }
            object.insert(kBand, band->code);
        }
        QString reason;
        const auto state = ModuleState::fromJson(object, &reason);
        if (!state) {
            failed(error, where + QStringLiteral(".") + reason);
            return std::nullopt;
        }
        units.append(*state);
    }
    return units;
}

std::optional<QList<UnitSocket::ScheduleItem>> UnitSocket::parseSchedule(const QString &text,
                                                                         QString *error)
{
    QList<ScheduleItem> items;
    for (const QString &part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QStringList fields = part.trimmed().split(QLatin1Char(':'));
        bool ok = false;
        const int delay = fields.value(0).toInt(&ok);
        const QString action = fields.value(1);
        ScheduleItem item{delay, Action::Next};
        if (action == QLatin1String("out"))
            item.action = Action::Remove;
        else if (action == QLatin1String("in"))
            item.action = Action::Reinsert;
        else if (action != QLatin1String("next"))
            ok = false;
        if (!ok || delay < 0 || fields.size() != 2) {
            failed(error, QStringLiteral("--schedule: \"%1\" is not DELAY_MS:out|next|in")
                              .arg(part.trimmed()));
            return std::nullopt;
        }
        items.append(item);
    }
    if (items.isEmpty()) {
        failed(error, QStringLiteral("--schedule: no item"));
        return std::nullopt;
    }
    return items;
}

void UnitSocket::apply(Action action)
{
    switch (action) {
    case Action::Remove:
        takeOut();
        break;
    case Action::Next:
        takeOut();
        if (m_index + 1 < m_units.size())
            putIn(m_index + 1);
        else
            emit changed(QStringLiteral("empty"));
        break;
    case Action::Reinsert:
        if (!m_present && m_index < m_units.size())
            putIn(m_index);
        break;
    }
}

void UnitSocket::runSchedule(const QList<ScheduleItem> &items)
{
    m_schedule = items;
    m_timer.stop();
    if (!m_schedule.isEmpty())
        m_timer.start(m_schedule.first().delayMs);
}

void UnitSocket::runNext()
{
    if (m_schedule.isEmpty())
        return;
    apply(m_schedule.takeFirst().action);
    if (!m_schedule.isEmpty())
        m_timer.start(m_schedule.first().delayMs);
}

QList<ModuleState> UnitSocket::units() const
{
    QList<ModuleState> result = m_units;
    if (m_present)
        result[m_index] = m_simulator.state();
    return result;
}

QString UnitSocket::eventText(Action action, int index, const ModuleState &unit)
{
    return QStringLiteral("%1 %2 %3")
        .arg(action == Action::Remove ? QStringLiteral("out") : QStringLiteral("in"))
        .arg(index + 1)
        .arg(QString::fromLatin1(unit.serialNumber.toHex().toUpper()));
}

void UnitSocket::putIn(int index)
{
    m_index = index;
    m_present = true;
    m_simulator.setState(m_units[index]);
    m_simulator.setSilent(false);
    emit changed(eventText(Action::Next, index, m_units[index]));
}

void UnitSocket::takeOut()
{
    if (!m_present)
        return;
    m_units[m_index] = m_simulator.state();
    m_present = false;
    m_simulator.setSilent(true);
    emit changed(eventText(Action::Remove, m_index, m_units[m_index]));
}

bool installUnitSignals(UnitSocket &socket)
{
    if (signalPipe[0] < 0 && ::pipe(signalPipe) != 0)
        return false;
    ::fcntl(signalPipe[0], F_SETFD, FD_CLOEXEC);
    ::fcntl(signalPipe[1], F_SETFD, FD_CLOEXEC);
    struct sigaction action = {};
    action.sa_handler = onUnitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGUSR1, &action, nullptr);
    ::sigaction(SIGUSR2, &action, nullptr);
    auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &socket);
    QObject::connect(notifier, &QSocketNotifier::activated, &socket, [&socket] {
        char number = 0;
        if (::read(signalPipe[0], &number, 1) == 1)
            socket.apply(number == SIGUSR1 ? UnitSocket::Action::Remove : UnitSocket::Action::Next);
    });
    return true;
}
