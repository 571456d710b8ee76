#pragma once

#include "records/recordstarget.h"
#include "records/unitrecord.h"

#include <QDialog>
#include <QJsonObject>
#include <QVector>

QT_BEGIN_NAMESPACE
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
QT_END_NAMESPACE

// The units' history, newest first, searched by serial number; a chosen entry's snapshot goes
// into the pages, from where the ordinary buttons write it.
class HistoryDialog : public QDialog
{
    Q_OBJECT

public:
    explicit HistoryDialog(const RecordsTarget &target, QWidget *parent = nullptr);

signals:
    void snapshotChosen(const QJsonObject &snapshot);

private:
    void search();
    void updateButtons();

    RecordsTarget m_target;
    QVector<UnitRecord> m_records;
    QLineEdit *m_serial = nullptr;
    QTableWidget *m_table = nullptr;
    QLabel *m_status = nullptr;
    QPushButton *m_load = nullptr;
};
