#include "ui/formabout.h"
#include "ui_formabout.h"

#include "app/version.h"

#include <QMouseEvent>

FormAbout::FormAbout(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::FormAbout)
{
    ui->setupUi(this);
    ui->lblLogo->setPixmap(QPixmap(QStringLiteral(":/images/lx-815.png")));
    // The version line is not translated; its spelling is the product's own.
    ui->lblVersion->setTextFormat(Qt::PlainText);
    ui->lblVersion->setText(QStringLiteral("Vserion: ") + kSoftwareVersion.mid(1));
}

FormAbout::~FormAbout()
{
    delete ui;
}

void FormAbout::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        hide();
}
