#include "ui/userpage/channelundo.h"

#include "session/channelvalues.h"
#include "ui/userpage/userbindings.h"
#include "ui/widgetvalues.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QUndoStack>

namespace {
const QList<QKeySequence> kUndoKeys{QKeySequence(Qt::CTRL | Qt::Key_Z)};
const QList<QKeySequence> kRedoKeys{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
                                    QKeySequence(Qt::CTRL | Qt::Key_Y)};
} // namespace

using namespace ChannelValues;

// One change of the table: the cells before and after it.
class ChannelUndo::Step : public QUndoCommand
{
public:
    Step(ChannelUndo *owner, Snapshot before, Snapshot after, Change change, int channel,
         Beyond beyond)
        : m_owner(owner)
        , m_before(std::move(before))
        , m_after(std::move(after))
        , m_change(change)
        , m_channel(channel)
        , m_beyond(std::move(beyond))
    {
        setText(label());
    }

    // Translated when shown, so that a language switch renames the steps as well.
    QString label() const { return ChannelUndo::label(m_change, m_channel); }

    void undo() override
    {
        m_owner->apply(m_before);
        if (m_beyond.before)
            m_beyond.before();
    }
    void redo() override
    {
        // The change itself was made before the step was pushed.
        if (m_done) {
            m_owner->apply(m_after);
            if (m_beyond.after)
                m_beyond.after();
        }
        m_done = true;
    }

private:
    ChannelUndo *m_owner = nullptr;
    Snapshot m_before;
    Snapshot m_after;
    Change m_change = Change::CellEdit;
    int m_channel = 0;
    Beyond m_beyond;
    bool m_done = false;
};

ChannelUndo::ChannelUndo(QWidget *table, QObject *parent)
    : QObject(parent)
    , m_table(table)
    , m_stack(new QUndoStack(this))
    , m_undo(new QAction(this))
    , m_redo(new QAction(this))
{
    m_stack->setUndoLimit(kSteps);
    for (int n = 1; n <= kChannelCount; ++n) {
        for (const UserBindings::Binding &row : UserBindings::all()) {
            if (!row.inChannelTable())
                continue;
            const QString name = cellName(n, QString::fromLatin1(row.widget));
            if (row.kind == UserBindings::Binding::Kind::Frequency) {
                auto *cell = table->findChild<QLineEdit *>(name);
                m_frequencies.append(cell);
                if (!cell)
                    continue;
                // After the window's entry check, which was connected first.
                connect(cell, &QLineEdit::editingFinished, this,
                        [this, n] { record(Change::CellEdit, n); });
                cell->installEventFilter(this);
                continue;
            }
            auto *cell = table->findChild<QComboBox *>(name);
            m_selectors.append(cell);
            if (cell)
                connect(cell, QOverload<int>::of(&QComboBox::activated), this,
                        [this, n] { record(Change::CellEdit, n); });
        }
    }
    m_committed = capture();

    m_undo->setObjectName(QStringLiteral("actUndo"));
    m_redo->setObjectName(QStringLiteral("actRedo"));
    m_undo->setShortcuts(kUndoKeys);
    m_redo->setShortcuts(kRedoKeys);
    connect(m_undo, &QAction::triggered, this, &ChannelUndo::undoStep);
    connect(m_redo, &QAction::triggered, this, &ChannelUndo::redoStep);
    connect(m_stack, &QUndoStack::indexChanged, this, &ChannelUndo::updateActions);
    updateActions();
}

ChannelUndo::~ChannelUndo() = default;

QString ChannelUndo::label(Change change, int channel)
{
    switch (change) {
    case Change::CellEdit:
        return tr("编辑频道 %1").arg(channel);
    case Change::Import:
        return tr("导入 CSV");
    case Change::Paste:
        return tr("粘贴频道");
    case Change::Clear:
        return tr("清除频道 %1").arg(channel);
    case Change::ConfigLoaded:
        return tr("打开配置");
    case Change::HistoryLoaded:
        return tr("载入历史记录");
    case Change::ModuleRead:
        return tr("从模块读取");
    case Change::WriteEmptied:
        return tr("写入时清空的频道");
    }
    return QString();
}

void ChannelUndo::record(Change change, int channel, Beyond beyond)
{
    Snapshot now = capture();
    if (now == m_committed && !beyond.before)
        return;
    Snapshot before = m_committed;
    m_committed = now;
    m_stack->push(
        new Step(this, std::move(before), std::move(now), change, channel, std::move(beyond)));
}

void ChannelUndo::finishEditing()
{
    // A selector keeps the focus: it has nothing pending, and the keys go on working there.
    auto *focus = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    if (m_table && focus && m_table->isAncestorOf(focus))
        focus->clearFocus();
}

ChannelUndo::Snapshot ChannelUndo::capture() const
{
    Snapshot snapshot;
    snapshot.reserve(m_frequencies.size() + m_selectors.size());
    for (const auto &cell : m_frequencies)
        // The masked text drops zeros as blanks; the displayed one reads back as it was.
        snapshot.append(cell ? Cell{cell->displayText(), cell->styleSheet(), -1} : Cell{});
    for (const auto &cell : m_selectors)
        snapshot.append(cell ? Cell{QString(), QString(), cell->currentIndex()} : Cell{});
    return snapshot;
}

void ChannelUndo::apply(const Snapshot &snapshot)
{
    int i = 0;
    for (const auto &cell : qAsConst(m_frequencies)) {
        const Cell &shown = snapshot.at(i++);
        if (!cell)
            continue;
        WidgetValues::show(cell, shown.text);
        cell->setStyleSheet(shown.styleSheet);
    }
    for (const auto &cell : qAsConst(m_selectors)) {
        const Cell &shown = snapshot.at(i++);
        if (cell)
            cell->setCurrentIndex(shown.index);
    }
    m_committed = snapshot;
}

void ChannelUndo::undoStep()
{
    // Typing not yet confirmed is a change of its own, and the first to go.
    finishEditing();
    m_stack->undo();
}

void ChannelUndo::redoStep()
{
    finishEditing();
    m_stack->redo();
}

void ChannelUndo::updateActions()
{
    const int index = m_stack->index();
    const auto step = [this](int at) {
        return static_cast<const Step *>(m_stack->command(at));
    };
    m_undo->setEnabled(m_stack->canUndo());
    m_redo->setEnabled(m_stack->canRedo());
    m_undo->setText(m_stack->canUndo() ? tr("撤销 %1").arg(step(index - 1)->label()) : tr("撤销"));
    m_redo->setText(m_stack->canRedo() ? tr("重做 %1").arg(step(index)->label()) : tr("重做"));
}

void ChannelUndo::retranslate()
{
    updateActions();
}

bool ChannelUndo::eventFilter(QObject *watched, QEvent *event)
{
    // A frequency cell would take the undo keys for its own text; the table's history has them.
    if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const QKeySequence pressed(int(key->modifiers()) | key->key());
        if (kUndoKeys.contains(pressed) || kRedoKeys.contains(pressed)) {
            event->ignore(); // an override not taken lets the window's shortcut have the keys
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
