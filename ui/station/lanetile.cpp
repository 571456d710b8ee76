#include "ui/station/lanetile.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int kNumberPointSize = 18;
constexpr int kStatePointSize = 24;
constexpr int kSmallestStatePointSize = 12;
constexpr int kStatePaddingPx = 8;
constexpr int kUnitPointSize = 13;
constexpr int kDetailLines = 2;

struct Colours
{
    const char *background;
    const char *text;
};

// Strong enough to tell apart across a bench; the word on the band says the same.
Colours coloursOf(LaneTile::Tone tone)
{
    switch (tone) {
    case LaneTile::Tone::Idle:
        return {"#cfd8dc", "#263238"};
    case LaneTile::Tone::Running:
        return {"#1565c0", "#ffffff"};
    case LaneTile::Tone::Pass:
        return {"#2e7d32", "#ffffff"};
    case LaneTile::Tone::Marginal:
        return {"#ffb300", "#000000"};
    case LaneTile::Tone::Fail:
        return {"#c62828", "#ffffff"};
    case LaneTile::Tone::Error:
        return {"#4a148c", "#ffffff"};
    }
    return {"#cfd8dc", "#263238"};
}

QLabel *plainLabel(QWidget *parent, const char *name, int pointSize = 0, bool bold = false)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    // Port names, serial numbers and failure texts come from outside: never rich text.
    label->setTextFormat(Qt::PlainText);
    QFont font = label->font();
    if (pointSize > 0)
        font.setPointSize(pointSize);
    font.setBold(bold);
    label->setFont(font);
    return label;
}
} // namespace

LaneTile::LaneTile(int number, const QString &port, QWidget *parent)
    : QFrame(parent)
    , m_number(number)
    , m_port(port)
{
    setObjectName(QStringLiteral("laneTile%1").arg(number));
    setFrameShape(QFrame::StyledPanel);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(3);

    auto *header = new QHBoxLayout;
    m_title = plainLabel(this, "laneTitle", kNumberPointSize, true);
    m_title->setText(QString::number(number));
    header->addWidget(m_title);
    auto *portLabel = plainLabel(this, "lanePort");
    portLabel->setText(port);
    portLabel->setToolTip(port);
    portLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    header->addWidget(portLabel, 1);
    m_retriesLabel = plainLabel(this, "laneRetries");
    header->addWidget(m_retriesLabel);
    layout->addLayout(header);

    m_state = plainLabel(this, "laneState", kStatePointSize, true);
    m_state->setAlignment(Qt::AlignCenter);
    m_state->setAutoFillBackground(true);
    m_state->setMinimumHeight(QFontMetrics(m_state->font()).height() + 8);
    layout->addWidget(m_state);

    m_detail = plainLabel(this, "laneDetail");
    m_detail->setWordWrap(true);
    m_detail->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_detail->setFixedHeight(QFontMetrics(m_detail->font()).lineSpacing() * kDetailLines + 2);
    m_detail->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    layout->addWidget(m_detail);

    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("laneProgress"));
    m_progress->setRange(0, 100);
    m_progress->setTextVisible(false);
    m_progress->setMaximumHeight(10);
    // Hidden, it keeps its room: the tiles do not jump while units start and end.
    QSizePolicy keep = m_progress->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    m_progress->setSizePolicy(keep);
    m_progress->hide();
    layout->addWidget(m_progress);

    m_unit = plainLabel(this, "laneUnit", kUnitPointSize, true);
    m_unit->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    layout->addWidget(m_unit);
    m_cycle = plainLabel(this, "laneCycle");
    layout->addWidget(m_cycle);
    m_totals = plainLabel(this, "laneTotals");
    m_totals->setWordWrap(true);
    m_totals->setFixedHeight(QFontMetrics(m_totals->font()).lineSpacing() * 2 + 2);
    m_totals->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    layout->addWidget(m_totals);

    auto *controls = new QHBoxLayout;
    m_scan = new QLineEdit(this);
    m_scan->setObjectName(QStringLiteral("laneScan"));
    m_scan->hide();
    controls->addWidget(m_scan, 1);
    m_start = new QPushButton(this);
    m_start->setObjectName(QStringLiteral("laneStart"));
    m_start->hide();
    controls->addWidget(m_start);
    layout->addLayout(controls);
    layout->addStretch(1);

    connect(m_start, &QPushButton::clicked, this, &LaneTile::startClicked);
    // A scanner types the number and presses Enter.
    connect(m_scan, &QLineEdit::returnPressed, this, [this] {
        const QString serial = m_scan->text().trimmed();
        if (serial.isEmpty())
            return;
        m_scan->clear();
        emit serialScanned(serial);
    });

    setState(Tone::Idle, QString());
    retranslate();
}

void LaneTile::setState(Tone tone, const QString &word, const QString &detail)
{
    m_tone = tone;
    m_state->setText(word);
    const Colours colours = coloursOf(tone);
    m_state->setStyleSheet(
        QStringLiteral("QLabel { background: %1; color: %2; }")
            .arg(QLatin1String(colours.background), QLatin1String(colours.text)));
    m_detail->setText(detail);
    m_detail->setToolTip(detail);
    fitStateFont();
}

void LaneTile::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    fitStateFont();
}

// A long word ("Waiting for a unit") gets a smaller font rather than being cut off.
void LaneTile::fitStateFont()
{
    const int room = contentsRect().width() - layout()->contentsMargins().left() -
                     layout()->contentsMargins().right() - kStatePaddingPx;
    QFont font = m_state->font();
    for (int size = kStatePointSize; size >= kSmallestStatePointSize; --size) {
        font.setPointSize(size);
        if (QFontMetrics(font).horizontalAdvance(m_state->text()) <= room)
            break;
    }
    if (font != m_state->font())
        m_state->setFont(font);
}

void LaneTile::setProgress(int percent)
{
    m_progress->setVisible(percent >= 0);
    if (percent >= 0)
        m_progress->setValue(qBound(0, percent, 100));
}

void LaneTile::setUnit(const QString &serialNumber, const QString &model)
{
    m_unit->setText(QStringList{serialNumber, model}.join(QStringLiteral("  ")).trimmed());
}

void LaneTile::setCycleSeconds(double seconds)
{
    m_cycleSeconds = seconds;
    m_cycle->setText(seconds < 0 ? tr("周期：—") : tr("周期：%1 s").arg(seconds, 0, 'f', 1));
}

void LaneTile::setRetries(int retries)
{
    m_retries = retries;
    m_retriesLabel->setText(tr("重试 %1").arg(retries));
}

void LaneTile::setTotals(const QString &text)
{
    m_totals->setText(text);
    m_totals->setToolTip(text);
}

void LaneTile::setStartButton(bool shown, bool enabled)
{
    m_start->setVisible(shown);
    m_start->setEnabled(enabled);
}

void LaneTile::setScanField(bool shown, bool enabled)
{
    m_scan->setVisible(shown);
    m_scan->setEnabled(enabled);
}

QString LaneTile::stateWord() const
{
    return m_state->text();
}

QString LaneTile::detailText() const
{
    return m_detail->text();
}

void LaneTile::retranslate()
{
    m_start->setText(tr("开始"));
    m_scan->setPlaceholderText(tr("扫描序列码"));
    setCycleSeconds(m_cycleSeconds);
    setRetries(m_retries);
}
