#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVector>

#include <functional>

QT_BEGIN_NAMESPACE
class QAction;
class QComboBox;
class QLineEdit;
class QUndoStack;
class QWidget;
QT_END_NAMESPACE

// The channel table's undo history: each change to its cells is one step that restores their
// texts, red markings and selections. Nothing else on the page is part of it, unless the change
// that replaced it brings it along.
class ChannelUndo : public QObject
{
    Q_OBJECT

public:
    enum class Change
    {
        CellEdit,
        Import,
        Paste,
        Clear,
        ConfigLoaded,
        HistoryLoaded,
        ModuleRead,
        WriteEmptied // the write empties half-filled channels
    };
    static constexpr int kSteps = 200;

    // table holds the cells, named as the channel table names them.
    explicit ChannelUndo(QWidget *table, QObject *parent = nullptr);
    ~ChannelUndo() override;

    // What a change replaced besides the cells (the page values, the calibration): how to show
    // it as it was before the change and after it. Empty when it replaced nothing else.
    struct Beyond
    {
        std::function<void()> before;
        std::function<void()> after;
    };

    // What the cells show now becomes one step, when it differs from what the last step left or
    // the change replaced more than the cells.
    void record(Change change, int channel = 0, Beyond beyond = {});
    // Ends the typing in a frequency cell, so that its entry check runs and makes its own step
    // before another change.
    void finishEditing();

    QAction *undoAction() const { return m_undo; }
    QAction *redoAction() const { return m_redo; }
    QUndoStack *stack() const { return m_stack; }
    void retranslate();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    class Step;
    struct Cell
    {
        QString text;
        QString styleSheet;
        int index = -1;
        bool operator==(const Cell &other) const
        {
            return text == other.text && styleSheet == other.styleSheet && index == other.index;
        }
    };
    using Snapshot = QVector<Cell>; // the frequency cells, then the selectors

    static QString label(Change change, int channel);
    Snapshot capture() const;
    void apply(const Snapshot &snapshot);
    void undoStep();
    void redoStep();
    void updateActions();

    QPointer<QWidget> m_table;
    QVector<QPointer<QLineEdit>> m_frequencies;
    QVector<QPointer<QComboBox>> m_selectors;
    Snapshot m_committed; // what the cells showed after the last step
    QUndoStack *m_stack = nullptr;
    QAction *m_undo = nullptr;
    QAction *m_redo = nullptr;
};
