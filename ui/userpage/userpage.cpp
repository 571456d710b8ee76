// The user page as values: the channel table's cells from the binding table, the page read
// into a UserConfig and one shown on it.
#include "ui/userpage/userpage.h"
#include "ui_mainwindow.h"

#include "session/channelvalues.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include <numeric>

namespace {
constexpr int kTableMarginPx = 5;
constexpr int kTableSpacingPx = 3;
constexpr int kChannelHeaderMaxHeightPx = 10;
constexpr int kFrequencyPaddingPx = 12; // frame and text margins of a line edit
} // namespace

using namespace ChannelValues;

UserPage::UserPage(Ui::MainWindow *ui, const quint32 &freqMin, const quint32 &freqMax)
    : m_ui(ui)
    , m_freqMin(freqMin)
    , m_freqMax(freqMax)
{}

QList<QLineEdit *> UserPage::buildChannelTable()
{
    QList<QLineEdit *> frequencyCells;
    auto *grid = new QGridLayout(m_ui->wdgFreqBox);
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
            frequencyCells.append(cell);
            grid->addWidget(cell, n, column);
        }
    }
    return frequencyCells;
}

QLineEdit *UserPage::frequencyCell(int channel, const QString &field) const
{
    return m_ui->wdgFreqBox->findChild<QLineEdit *>(cellName(channel, field));
}

int UserPage::channelOf(const QWidget *focus) const
{
    if (!focus || !m_ui->wdgFreqBox->isAncestorOf(focus))
        return 0;
    return qMax(0, channelOfCellName(focus->objectName()));
}

UserBindings::Widgets UserPage::widgets() const
{
    return {m_ui->tab_user, m_ui->wdgFreqBox, m_freqMin, m_freqMax};
}

UserConfig UserPage::config() const
{
    return UserBindings::gather(widgets());
}

void UserPage::apply(const UserConfig &config)
{
    UserBindings::showPage(widgets(), config);
    QVector<int> channels(kChannelCount);
    std::iota(channels.begin(), channels.end(), 1);
    UserBindings::showChannels(widgets(), config, channels);
}

void UserPage::followPowerSaveMode()
{
    const bool enabled = config().powerSave;
    m_ui->pushButton_13->setEnabled(enabled);
    m_ui->pushButton_14->setEnabled(enabled);
}
