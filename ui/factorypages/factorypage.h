#pragma once

#include "config/factoryconfig.h"
#include "session/factorysteps.h"
#include "ui/factorypages/factorybindings.h"

#include <QVector>

#include <functional>
#include <optional>

QT_BEGIN_NAMESPACE
class QLineEdit;
class QRadioButton;
class QSpinBox;
class QWidget;
QT_END_NAMESPACE

namespace Ui {
class MainWindow;
}

// The two factory pages between their widgets and the module's single steps: a read blanks the
// widgets it fills and fills them from the reply, a write sends what they hold (a blank one is
// refused by the step). The window's slots run these inside its operation frame.
class FactoryPage
{
public:
    using Page = FactoryBindings::Page;

    FactoryPage(QWidget *window, Ui::MainWindow *ui, CommandEngine &engine,
                FailureReporter &reporter);

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
    bool readFactorySerialNumber(QLineEdit *edit);
    bool writeFactorySerialNumber(const QLineEdit *edit);
    bool readSidetoneVolume();
    bool writeSidetoneVolume();
    bool readCoupling(QRadioButton *dc, QRadioButton *ac);
    bool writeCoupling(const QRadioButton *dc, const QRadioButton *ac);

    // The LX-815 page's values as the calibration file and the bulk write take them.
    FactoryCalibration calibration() const;
    void applyCalibration(const FactoryCalibration &calibration);
    // The widgets of the calibration file's members as they show it, a blank one as none: what
    // an undo step puts back of a change that replaced them.
    using Shown = QVector<std::optional<int>>;
    Shown shownCalibration() const;
    void showAgain(const Shown &shown);

private:
    QWidget *m_window;
    Ui::MainWindow *m_ui;
    CommandEngine &m_engine;
    FailureReporter &m_reporter;
};
