#include "ui/station/lanesdialog.h"

#include "ui/messagebox.h"
#include "ui/serial/mportlist.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

LanesDialog::LanesDialog(const QStringList &chosen, int maxLanes, QWidget *parent)
    : QDialog(parent)
    , m_maxLanes(maxLanes)
{
    setObjectName(QStringLiteral("lanesDialog"));
    setWindowTitle(tr("工位通道"));
    auto *layout = new QVBoxLayout(this);
    auto *hint =
        new QLabel(tr("勾选作为通道的端口（最多 %1 个），或输入设备路径：").arg(maxLanes), this);
    hint->setWordWrap(true);
    layout->addWidget(hint);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("lanesList"));
    layout->addWidget(m_list, 1);

    auto *typedRow = new QHBoxLayout;
    m_typed = new QLineEdit(this);
    m_typed->setObjectName(QStringLiteral("lanesTyped"));
    m_typed->setPlaceholderText(QStringLiteral("/dev/serial/by-id/..."));
    typedRow->addWidget(m_typed, 1);
    auto *add = new QPushButton(tr("添加"), this);
    add->setObjectName(QStringLiteral("lanesAdd"));
    typedRow->addWidget(add);
    layout->addLayout(typedRow);
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("lanesCount"));
    layout->addWidget(m_count);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);

    // The lanes kept first, in their order, then whatever else the system lists.
    for (const QString &port : chosen)
        addPort(port, true);
    for (const QString &port : MPortList::platformPortNames())
        addPort(port, false);

    connect(add, &QPushButton::clicked, this, &LanesDialog::addTyped);
    connect(m_typed, &QLineEdit::returnPressed, this, &LanesDialog::addTyped);
    connect(m_list, &QListWidget::itemChanged, this, &LanesDialog::updateCount);
    connect(buttons, &QDialogButtonBox::accepted, this, &LanesDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &LanesDialog::reject);
    updateCount();
    resize(420, 420);
}

QStringList LanesDialog::ports() const
{
    QStringList ports;
    for (int row = 0; row < m_list->count(); ++row) {
        if (m_list->item(row)->checkState() == Qt::Checked)
            ports.append(m_list->item(row)->text());
    }
    return ports;
}

void LanesDialog::accept()
{
    if (ports().size() > m_maxLanes) {
        MessageBox::critical(
            this, windowTitle(),
            tr("一个工位最多 %1 个通道，已勾选 %2 个。").arg(m_maxLanes).arg(ports().size()));
        return;
    }
    QDialog::accept();
}

void LanesDialog::addPort(const QString &name, bool ticked)
{
    for (int row = 0; row < m_list->count(); ++row) {
        if (m_list->item(row)->text() == name) {
            if (ticked)
                m_list->item(row)->setCheckState(Qt::Checked);
            return;
        }
    }
    auto *item = new QListWidgetItem(name, m_list);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
}

void LanesDialog::addTyped()
{
    const QString name = m_typed->text().trimmed();
    if (name.isEmpty())
        return;
    addPort(name, true);
    m_typed->clear();
    updateCount();
}

void LanesDialog::updateCount()
{
    m_count->setText(tr("已选 %1 个通道").arg(ports().size()));
}
