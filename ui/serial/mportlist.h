#pragma once

#include <QComboBox>
#include <QString>
#include <QStringList>

#include <functional>

QT_BEGIN_NAMESPACE
class QTimer;
QT_END_NAMESPACE

class MJsonConfig;
class MSerialPort;

// Chooses the port by name: the platform's ports, refreshed every few seconds without
// disturbing the user's choice, or any device path the user types in.
class MPortList : public QComboBox
{
    Q_OBJECT

public:
    static constexpr int kWidthPx = 150;
    static constexpr int kRefreshIntervalMs = 5000;

    using PortNameSource = std::function<QStringList()>;

    MPortList(MSerialPort *port, MJsonConfig *config, QWidget *parent = nullptr);

    // Where the refresh reads the platform's ports from; an empty source restores the platform.
    static void setPortNameSource(PortNameSource source);

    // Selects a listed port or a device path that exists, as the user's choice: it is applied
    // and stored. False (and nothing changes) when there is no such port.
    bool selectPort(const QString &name);

    // The name the user or the store chose last, also while it is not listed.
    QString chosenPortName() const { return currentPortName; }

    // The ports the list offers (the platform's, or the source set for tests).
    static QStringList platformPortNames();

public slots:
    void updatePortList();

private slots:
    void onChanged();
    void onNameEntered();

private:
    static bool deviceExists(const QString &name);
    QString selectedName() const;

    MSerialPort *port = nullptr;
    QStringList portNames;
    QTimer *refreshTimer = nullptr;
    QString currentPortName;
    MJsonConfig *config = nullptr;
    bool refreshing = false;
};
