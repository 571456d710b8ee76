#pragma once

#include "station/calibrationplan.h"
#include "station/calibrationrun.h"
#include "station/measurementsource.h"

#include <QDialog>
#include <QString>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>

QT_BEGIN_NAMESPACE
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QWidget;
QT_END_NAMESPACE

// Hands a request for a person from the calibration's thread to the window's and waits there
// for the answer: the typed number, a confirmation, or nothing when the person cancelled or the
// transmission's time ran out.
class ManualHandOff
{
public:
    // On the calibration's thread; post() shows the request on the window's thread.
    std::optional<double> ask(const ManualRequest &request, const std::function<void(int id)> &post,
                              const std::function<void(int id)> &withdraw);
    // On the window's thread: the answer to request id; a stale id is ignored.
    void answer(int id, std::optional<double> value);
    // Every request from now on is answered with nothing.
    void cancel();

private:
    std::mutex m_mutex;
    std::condition_variable m_answered;
    int m_id = 0;
    bool m_pending = false;
    bool m_cancelled = false;
    std::optional<double> m_value;
};

// The calibration wizard: the calibrate step's targets in a table filled as readings come in,
// and, without an instrument, what the technician is to read or set with a box for the number.
// It only shows; the window runs the calibration.
class CalibrationWizard : public QDialog
{
    Q_OBJECT

public:
    enum Column
    {
        TargetColumn,
        BeforeColumn,
        ValueColumn,
        ReadingColumn,
        GoalColumn,
        ReadingsColumn,
        ResultColumn,
        ColumnCount
    };

    CalibrationWizard(const CalibrationPlan &plan, const QString &recipe,
                      QWidget *parent = nullptr);

    // From the calibration's thread, through the window's event loop.
    void reading(int target, int value, double reading);
    void ask(int id, const ManualRequest &request);
    void withdraw(int id);
    void finish(const CalibrationRun::Outcome &outcome);

    bool isRunning() const { return m_running; }
    ManualHandOff &handOff() { return *m_handOff; }
    std::shared_ptr<ManualHandOff> sharedHandOff() const { return m_handOff; }

signals:
    void cancelRequested();

protected:
    void reject() override;

private:
    void retranslate();
    void enterReading();
    void setCell(int row, int column, const QString &text);
    QString goalText(const CalibrationTarget &target) const;

    const CalibrationPlan m_plan;
    QString m_recipe;
    std::shared_ptr<ManualHandOff> m_handOff = std::make_shared<ManualHandOff>();
    QLabel *m_source = nullptr;
    QTableWidget *m_table = nullptr;
    QWidget *m_promptBox = nullptr;
    QLabel *m_prompt = nullptr;
    QLineEdit *m_reading = nullptr;
    QPushButton *m_enter = nullptr;
    QLabel *m_status = nullptr;
    QPushButton *m_cancel = nullptr;
    QPushButton *m_close = nullptr;
    QList<int> m_readings; // per target
    int m_askId = 0;       // the request shown, 0: none
    ManualRequest m_asked;
    bool m_running = true;
};
