#include "ui/loadingwidget.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QMovie>
#include <QPainter>
#include <QStyleOption>
#include <QVBoxLayout>

namespace {
constexpr int kTextMaxHeightPx = 25;
}

LoadingWidget::LoadingWidget(QWidget *parent)
    : QWidget(parent)
{
    hide();
    fitToParent();
    setStyleSheet(QStringLiteral("background-color: rgba(0, 0, 0, 30%);"));
    // Keyboard input goes to the veil while it is shown, not to the widgets under it.
    setFocusPolicy(Qt::StrongFocus);

    auto *outer = new QHBoxLayout(this);
    auto *panel = new QWidget(this);
    panel->setStyleSheet(QStringLiteral("background-color: rgba(0, 0, 0, 0%);"));
    outer->addWidget(panel, 0, Qt::AlignHCenter | Qt::AlignVCenter);

    auto *circle = new QLabel(panel);
    circle->setPixmap(QPixmap(QStringLiteral(":/images/circle.png")));
    auto *circleLayout = new QHBoxLayout(circle);
    auto *spinner = new QLabel(circle);
    auto *movie = new QMovie(QStringLiteral(":/images/loading.gif"), QByteArray(), spinner);
    spinner->setMovie(movie);
    movie->start();
    circleLayout->addWidget(spinner, 0, Qt::AlignCenter);

    textLabel = new QLabel(panel);
    textLabel->setTextFormat(Qt::PlainText);
    textLabel->setMaximumHeight(kTextMaxHeightPx);
    textLabel->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    textLabel->setStyleSheet(
        QStringLiteral("color: rgb(255, 255, 255); qproperty-alignment: AlignCenter;"));

    auto *panelLayout = new QVBoxLayout(panel);
    panelLayout->addWidget(circle);
    panelLayout->addWidget(textLabel);
}

void LoadingWidget::setText(const QString &text)
{
    textLabel->setText(text);
}

QString LoadingWidget::text() const
{
    return textLabel->text();
}

void LoadingWidget::fitToParent()
{
    if (parentWidget())
        setGeometry(0, 0, parentWidget()->width(), parentWidget()->height());
}

void LoadingWidget::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->buttons() == Qt::LeftButton)
        emit userCancel();
}

void LoadingWidget::paintEvent(QPaintEvent *)
{
    QStyleOption option;
    option.initFrom(this);
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
}
