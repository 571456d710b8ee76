#pragma once

#include "records/recordstarget.h"
#include "station/lane.h"
#include "station/recipe.h"
#include "station/stationtotals.h"
#include "ui/station/stationsetup.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QVector>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

QT_BEGIN_NAMESPACE
class QGridLayout;
class QLabel;
class QPushButton;
class QScrollArea;
QT_END_NAMESPACE

class LaneTile;
class Recorder;

// The production station: one recipe, one operator, one lane per port, every lane's unit shown
// as a tile that reads from across the bench. The lanes do the work on their own threads; the
// window only shows them and forwards the operator's buttons. It is a window of its own and
// never touches the main window's port, pages or overlay.
class StationWindow : public QWidget
{
    Q_OBJECT

public:
    // The file dialog for the recipe and the question for the operator's name; tests replace
    // them. An empty answer changes nothing.
    using RecipeChooser = std::function<QString(QWidget *parent)>;
    using OperatorAsker = std::function<QString(QWidget *parent, const QString &current)>;
    static void setRecipeChooser(RecipeChooser chooser);
    static void setOperatorAsker(OperatorAsker asker);

    // The set-up is the one kept in the settings; lanes start once recipe, operator and ports
    // are there.
    explicit StationWindow(QWidget *parent = nullptr);
    ~StationWindow() override; // lanes still there are stopped and waited for

    // As if chosen in the file dialog: shown, kept, lanes restarted. False (the problems shown,
    // each naming its member) when the recipe is refused.
    bool loadRecipe(const QString &path);
    // As if chosen in the lanes dialog (at most StationSetup::kMaxLanes).
    void setPorts(const QStringList &ports);
    void setOperatorName(const QString &name);

    const StationSetup &setup() const { return m_setup; }
    QList<LaneTile *> tiles() const;
    // Whether any lane is processing a unit now.
    bool unitsRunning() const;
    // Lanes (not refused) whose threads run.
    int activeLanes() const;
    const StationTotals &stationTotals() const { return m_totals; }

public slots:
    // Lets every running unit finish, stops the lanes and then closes, without asking (the
    // answer to the close question, or the session ending).
    void finishAndClose();

signals:
    // Every lane has ended after a close was asked for; the window closes next.
    void lanesStopped();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    struct LaneSlot
    {
        LaneTile *tile = nullptr;
        std::unique_ptr<Lane> lane; // none when the port is refused
        QString refusal;
        std::optional<LaneStatus> status;
        StationTotals totals;
    };

    void buildSetupBar();
    void retranslate();
    void showRecipe(const QStringList &problems);
    void showOperator();
    void chooseRecipe();
    void askOperator();
    void chooseLanes();

    // Stops every lane, then rebuilds them from the set-up: the lanes' options are fixed when
    // they start.
    void restartLanes();
    void stopLanes(std::function<void()> then);
    void buildLanes();
    void onStatus(LaneSlot &slot, const LaneStatus &status);
    void onUnit(LaneSlot &slot, const LaneUnit &unit);
    void onLaneFinished();
    void showTotals();
    void updateControls();
    QString refusalOf(const QString &port) const;
    Recorder *recorder();
    std::optional<RecordsTarget> recordsTarget();
    // Today's units of this station from the history, asked once on a thread of its own.
    void queryToday();
    QString totalsText(const StationTotals &totals) const;

    StationSetup m_setup;
    std::shared_ptr<const Recipe> m_recipe;
    QStringList m_recipeProblems;
    std::vector<std::unique_ptr<LaneSlot>> m_slots;
    StationTotals m_totals;
    QVector<LaneUnit> m_runs;    // this session's units, in the order they ended
    StationTotals m_todayBefore; // today's in the history from before the window opened
    bool m_todayKnown = false;
    QDateTime m_openedAt;
    std::unique_ptr<Recorder> m_recorder;
    QString m_historyProblem; // why the history setting cannot be recorded into; empty when it can
    std::function<void()> m_afterStop;
    bool m_stopping = false;
    bool m_closing = false; // the user asked to close: it closes once every lane has ended
    bool m_askedOperator = false;

    QLabel *m_recipeTitle = nullptr;
    QLabel *m_recipeName = nullptr;
    QLabel *m_recipeSteps = nullptr;
    QPushButton *m_recipeButton = nullptr;
    QLabel *m_operatorTitle = nullptr;
    QLabel *m_operatorName = nullptr;
    QPushButton *m_operatorButton = nullptr;
    QPushButton *m_lanesButton = nullptr;
    QScrollArea *m_scroll = nullptr;
    QWidget *m_grid = nullptr;
    QGridLayout *m_gridLayout = nullptr;
    QLabel *m_totalsLabel = nullptr;
    QLabel *m_todayLabel = nullptr;
    QLabel *m_message = nullptr;
    QPushButton *m_startAll = nullptr;
};
