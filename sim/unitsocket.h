#pragma once

#include "sim/modulestate.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include <optional>

class ModuleSimulator;

// A station's socket where units come and go: the simulator plays whichever unit is in it and
// stays silent while none is, on the same terminal. Each unit keeps what was written into it
// while it was in.
class UnitSocket : public QObject
{
    Q_OBJECT

public:
    enum class Action
    {
        Remove,   // the unit in the socket is taken out: silence
        Next,     // the next unit of the list goes in (the one in it comes out first)
        Reinsert, // the unit taken out last goes back in
    };

    struct ScheduleItem
    {
        int delayMs = 0; // after the previous item (or the start)
        Action action = Action::Next;
    };

    // The socket starts empty: the simulator is silent until start().
    UnitSocket(ModuleSimulator &simulator, const QList<ModuleState> &units,
               QObject *parent = nullptr);
    // The first unit goes in.
    void start();

    // A JSON list of unit states, each as a --state file holds it; "model" may stand for
    // "band" with the model text of a band ("LX-815 U2").
    static std::optional<QList<ModuleState>> loadUnits(const QString &path, QString *error);
    // "DELAY:ACTION,..." with DELAY in ms after the previous item and ACTION out, next or in.
    static std::optional<QList<ScheduleItem>> parseSchedule(const QString &text, QString *error);

    void apply(Action action);
    void runSchedule(const QList<ScheduleItem> &items);

    // The unit in the socket (0-based), or -1 while it is empty.
    int current() const { return m_present ? m_index : -1; }
    // The units as they are now, with what was written into them.
    QList<ModuleState> units() const;

    // "in 2 4C5881500002", "out 2 4C5881500002" or "empty" (no unit left to put in).
    static QString eventText(Action action, int index, const ModuleState &unit);

signals:
    void changed(const QString &event);

private:
    void putIn(int index);
    void takeOut();
    void runNext();

    ModuleSimulator &m_simulator;
    QList<ModuleState> m_units;
    int m_index = 0; // the unit in the socket, or the one taken out last
    bool m_present = false;
    QList<ScheduleItem> m_schedule;
    QTimer m_timer;
};

// SIGUSR1 takes the unit out, SIGUSR2 puts the next one in, from the event loop. False when the
// signal pipe cannot be made.
bool installUnitSignals(UnitSocket &socket);
