#pragma once

#include "config/factoryconfig.h"
#include "session/factorysteps.h"
#include "ui/factorypages/factorybindings.h"

#include <QVector>

#include <functional>
#include <optional>

class ModuleSession;

QT_BEGIN_NAMESPACE
class QSpinBox;
class QWidget;
QT_END_NAMESPACE

// The two factory pages between their widgets and the module's single steps: a read blanks the
// widgets it fills and fills them from the reply, a write sends what they hold (a blank one is
// refused by the step). The window's slots run these inside its operation frame, and its
// session hooks the bulk read's and write's steps. Every widget is found through the pages'
// binding table.
class FactoryPage
{
public:
    using Page = FactoryBindings::Page;
    using Setting = FactoryBindings::Setting;

    FactoryPage(QWidget *window, CommandEngine &engine, FailureReporter &reporter);

    FactorySteps steps() const { return FactorySteps(m_engine, m_reporter); }

    // What an adjust button does: its read, write or step of one value, and whether it writes.
    struct AdjustAction
    {
        bool writes = false;
        std::function<bool()> run;
    };
    // From the button's object name; nothing for a name that is no adjust button or names no
    // spin box of the window.
    std::optional<AdjustAction> adjustAction(const QString &buttonName);
    bool readAdjustValue(unsigned type, int point, QSpinBox *spinBox, bool isSigned);

    bool readRssiOffset(int point);
    bool writeRssiOffset(int point);
    bool readTxPowerTable(Page page);
    bool writeTxPowerTable(Page page);
    bool stepTxPowerCell(Page page, int delta);

    bool readRadioBand();
    bool writeRadioBand();
    // Setting::Serial or Setting::Mr460Serial.
    bool readFactorySerialNumber(Setting serial);
    bool writeFactorySerialNumber(Setting serial);
    bool readSidetoneVolume();
    bool writeSidetoneVolume();
    // One of the three couplings.
    bool readCoupling(Setting coupling);
    bool writeCoupling(Setting coupling);

    // The LX-815 page's values as the calibration file and the bulk write take them.
    FactoryCalibration calibration() const;
    void applyCalibration(const FactoryCalibration &calibration);
    // The widgets of the calibration file's members as they show it, a blank one as none: what
    // an undo step puts back of a change that replaced them.
    using Shown = QVector<std::optional<int>>;
    Shown shownCalibration() const;
    void showAgain(const Shown &shown);

    // A step of the bulk read or write: blanks what it reads before its request, shows what it
    // read, and tells whether a failed read left its value blank.
    void blankStep(const FactoryBulkStep &step);
    void showStep(const ModuleSession &session, const FactoryBulkStep &step);
    bool isBlank(const FactoryBulkStep &step) const;

private:
    QWidget *m_window;
    CommandEngine &m_engine;
    FailureReporter &m_reporter;
};
