#pragma once

#include "soak/soaktotals.h"
#include "ui/messagebox.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>

class MainWindow;
class MJsonConfig;
class ModuleSimulator;

// Runs soak cycles in this process: the real window on a simulated module that spoils replies
// at random. Each cycle reads and writes every parameter of the user side and of the factory
// side, and checks every value against the module. One JSON line of running totals goes to
// standard output after each cycle; what went wrong goes to standard error.
class SoakRunner
{
public:
    SoakRunner(const SoakSettings &settings, int firstCycle);
    ~SoakRunner();

    // False with a reason when the simulator or the port cannot be opened.
    bool start(QString *error);
    // Starts the cycles in the event loop, one event each as a user's clicks would be, so that
    // what the window deletes later is deleted between them; quits the loop after the last.
    void run();

private:
    enum class Direction
    {
        Read,
        Write
    };

    struct Sequence
    {
        QString name;
        Direction direction = Direction::Read;
        std::function<void()> trigger;
        std::function<QStringList()> differences;
        // Differences that are the module's own doing, not the tool's (counted apart).
        std::function<bool(const QStringList &)> excused;
    };

    void nextCycle();
    void runCycle(int index);
    // The read, repeated after a failure as a user would, then the write if a read succeeded.
    void runSide(const Sequence &read, const Sequence &write,
                 const std::function<void()> &randomiseModule,
                 const std::function<void()> &randomiseWindow);
    bool runSequence(const Sequence &sequence);
    void report(const QString &what, const QStringList &details);
    void emitTotals();

    SoakSettings m_settings;
    int m_firstCycle = 0;
    int m_cycle = 0;
    QTemporaryDir m_settingsDir;
    std::unique_ptr<MJsonConfig> m_appSettings;
    std::unique_ptr<ModuleSimulator> m_simulator;
    std::unique_ptr<MainWindow> m_window;
    QList<MessageBox::Shown> m_boxes;
    SoakTotals m_totals;
    int m_reportsLeft = 0;
};
