// The channel table: its cells in wdgFreqBox and the frequency entry check.
#include "ui/mainwindow.h"
#include "ui_mainwindow.h"

#include "device/channelcodec.h"
#include "ui/userpage/userbindings.h"
#include "ui/widgetvalues.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace {
constexpr int kTableMarginPx = 5;
constexpr int kTableSpacingPx = 3;
constexpr int kChannelHeaderMaxHeightPx = 10;
constexpr int kFrequencyPaddingPx = 12; // frame and text margins of a line edit

// Shown untranslated, as the operators know them.
const QString kReadDeviceFirstWarning = QStringLiteral("警告：操作前请先读取设备信息！");
const QString kOutOfRangeWarning = QStringLiteral("警告：频率超出范围！");
} // namespace

using namespace ChannelCodec;

void MainWindow::buildChannelTable()
{
    auto *grid = new QGridLayout(ui->wdgFreqBox);
    grid->setContentsMargins(kTableMarginPx, kTableMarginPx, kTableMarginPx, kTableMarginPx);
    grid->setSpacing(kTableSpacingPx);

    const QStringList headers = headerTexts();
    for (int column = 0; column < headers.size(); ++column) {
        auto *header = new QLabel(headers.at(column));
        if (column == 0)
            header->setMaximumHeight(kChannelHeaderMaxHeightPx);
        grid->addWidget(header, 0, column);
    }

    // The cells get no parent here: the layout makes them children of wdgFreqBox, in this order,
    // one column per channel value of the page's table.
    for (int n = 1; n <= kChannelCount; ++n) {
        grid->addWidget(new QLabel(QString::number(n)), n, 0);
        int column = 0;
        for (const UserBindings::Binding &row : UserBindings::all()) {
            if (!row.inChannelTable())
                continue;
            const QString name = cellName(n, QString::fromLatin1(row.widget));
            ++column;
            if (row.kind == UserBindings::Binding::Kind::Cell) {
                auto *cell = new QComboBox;
                cell->setObjectName(name);
                cell->addItems(row.items());
                grid->addWidget(cell, n, column);
                continue;
            }
            auto *cell = new QLineEdit;
            cell->setObjectName(name);
            cell->setInputMask(kFrequencyMask);
            cell->setMinimumWidth(cell->fontMetrics().horizontalAdvance(frequencyText(99999999)) +
                                  kFrequencyPaddingPx);
            connect(cell, &QLineEdit::editingFinished, this, &MainWindow::onEditingFinished);
            grid->addWidget(cell, n, column);
        }
    }
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *old) {
        if (old && old == m_uncheckedCell && !m_operationRunning)
            emit m_uncheckedCell->editingFinished();
    });
}

QLineEdit *MainWindow::frequencyCell(int channel, const QString &field) const
{
    return ui->wdgFreqBox->findChild<QLineEdit *>(cellName(channel, field));
}

UserBindings::Widgets MainWindow::userWidgets() const
{
    return {ui->tab_user, ui->wdgFreqBox, freqMin, freqMax};
}

void MainWindow::onEditingFinished()
{
    auto *cell = qobject_cast<QLineEdit *>(sender());
    // A frequency the program showed (a read, a file, an undo step) is no entry: its marking
    // came with it, and the focus passing through its cell, or a box taking it away, checks
    // nothing.
    if (!cell || WidgetValues::isShown(cell))
        return;
    // Starting an operation moves the focus to the overlay; that is not the user leaving. The
    // line edit finishes an edit once only, so the check waits for the user to leave.
    if (m_operationRunning) {
        m_uncheckedCell = cell;
        return;
    }
    m_uncheckedCell.clear();
    if (!isDeviceInfoRead())
        showStatus(kReadDeviceFirstWarning);
    const quint32 typed = frequencyFromText(cell->displayText());
    if (typed == 0) {
        cell->setStyleSheet(QString());
        return;
    }
    const quint32 chosen = snapFrequency(typed, freqMin, freqMax);
    cell->setText(frequencyText(chosen));
    if (isOutOfBand(chosen, freqMin, freqMax)) {
        cell->setStyleSheet(kOutOfBandStyle);
        showStatus(kOutOfRangeWarning);
    } else {
        cell->setStyleSheet(QString());
    }
}
