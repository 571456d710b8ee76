#include "ui/historydialog.h"

#include "records/recordstore.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
// Enough for a shift's work; the command line lists everything.
constexpr int kShownEntries = 500;
} // namespace

HistoryDialog::HistoryDialog(const RecordsTarget &target, QWidget *parent)
    : QDialog(parent)
    , m_target(target)
{
    setObjectName(QStringLiteral("historyDialog"));
    setWindowTitle(tr("历史记录"));
    auto *layout = new QVBoxLayout(this);
    auto *searchRow = new QHBoxLayout;
    searchRow->addWidget(new QLabel(tr("序列码："), this));
    m_serial = new QLineEdit(this);
    m_serial->setObjectName(QStringLiteral("historySerial"));
    m_serial->setClearButtonEnabled(true);
    searchRow->addWidget(m_serial, 1);
    auto *searchButton = new QPushButton(tr("查找"), this);
    searchButton->setObjectName(QStringLiteral("historySearch"));
    searchRow->addWidget(searchButton);
    layout->addLayout(searchRow);

    m_table = new QTableWidget(0, 7, this);
    m_table->setObjectName(QStringLiteral("historyTable"));
    m_table->setHorizontalHeaderLabels(
        {tr("时间"), tr("序列码"), tr("型号"), tr("操作"), tr("结果"), tr("工位"), tr("说明")});
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(m_table, 1);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("historyStatus"));
    m_status->setTextFormat(Qt::PlainText);
    layout->addWidget(m_status);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    m_load = buttons->addButton(tr("载入页面"), QDialogButtonBox::ActionRole);
    m_load->setObjectName(QStringLiteral("historyLoad"));
    layout->addWidget(buttons);

    connect(searchButton, &QPushButton::clicked, this, &HistoryDialog::search);
    connect(m_serial, &QLineEdit::returnPressed, this, &HistoryDialog::search);
    connect(m_table, &QTableWidget::itemSelectionChanged, this, &HistoryDialog::updateButtons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_load, &QPushButton::clicked, this, [this] {
        const int row = m_table->currentRow();
        if (row < 0 || row >= m_records.size() || m_records[row].snapshot.isEmpty())
            return;
        emit snapshotChosen(m_records[row].snapshot);
        accept();
    });
    resize(820, 440);
    search();
}

void HistoryDialog::search()
{
    RecordStore store(m_target);
    const auto found = store.list(m_serial->text().trimmed().toUpper(), QDateTime(), kShownEntries);
    m_records = found.value_or(QVector<UnitRecord>());
    m_table->setRowCount(m_records.size());
    for (int row = 0; row < m_records.size(); ++row) {
        const UnitRecord &r = m_records[row];
        const QStringList cells{
            r.started.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
            r.serialNumber,
            r.model,
            r.operation,
            r.outcome,
            r.station,
            r.message.simplified()};
        for (int column = 0; column < cells.size(); ++column)
            m_table->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
    m_table->resizeColumnsToContents();
    m_status->setText(found
                          ? tr("%1 条记录（%2）").arg(m_records.size()).arg(m_target.displayName())
                          : store.lastError());
    updateButtons();
}

void HistoryDialog::updateButtons()
{
    const int row = m_table->currentRow();
    m_load->setEnabled(row >= 0 && row < m_records.size() && !m_records[row].snapshot.isEmpty());
}
