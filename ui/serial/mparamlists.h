#pragma once

#include <QComboBox>
#include <QJsonValue>
#include <QString>
#include <QVariant>
#include <QVector>

QT_BEGIN_NAMESPACE
class QIntValidator;
QT_END_NAMESPACE

class MJsonConfig;
class MSerialPort;

// What the five fixed line-parameter selectors share: each restores its stored value when it
// is created, and every change goes into the port and the settings store at once.
class MParamList : public QComboBox
{
    Q_OBJECT

public:
    static constexpr int kWidthPx = 150;

protected:
    enum class StoredAs
    {
        Integer,
        Number,
        Text
    };
    struct Item
    {
        QString text;
        QVariant data; // the library's code or number given to the port; none for "Custom"
    };
    struct Setting
    {
        QString path;
        QJsonValue defaultValue;
        StoredAs storedAs = StoredAs::Text;
    };

    MParamList(MSerialPort *port, MJsonConfig *config, QWidget *parent);

    // Fills the items with nothing selected.
    void fill(const QVector<Item> &items);
    // Follows the selection from now on and selects the stored value, which applies it.
    void connectAndRestore(const Setting &setting);

    // Gives the port the selected item's value.
    virtual void apply(int value) = 0;
    // A stored value that matches no item: by default nothing is selected.
    virtual void restoreUnmatched(const QString &text) { Q_UNUSED(text) }

    const Setting &setting() const { return m_setting; }
    static QString displayText(const QJsonValue &stored, StoredAs storedAs);
    static QJsonValue storedValue(const QString &text, StoredAs storedAs);

protected slots:
    virtual void onChanged();

protected:
    MSerialPort *port = nullptr;
    MJsonConfig *config = nullptr;

private:
    Setting m_setting;
};

class MBaudrateList : public MParamList
{
    Q_OBJECT

public:
    static constexpr int kMaxCustomBaudrate = 4000000; // bit/s

    MBaudrateList(MSerialPort *port, MJsonConfig *config, QWidget *parent = nullptr);
    bool isCustom() const;

protected:
    void apply(int value) override;
    void restoreUnmatched(const QString &text) override;

protected slots:
    void onChanged() override;
    void checkCustomBaudrate(int index);

private:
    QIntValidator *customValidator = nullptr;
};

class MDataBitsList : public MParamList
{
    Q_OBJECT

public:
    MDataBitsList(MSerialPort *port, MJsonConfig *config, QWidget *parent = nullptr);

protected:
    void apply(int value) override;
};

class MParityList : public MParamList
{
    Q_OBJECT

public:
    MParityList(MSerialPort *port, MJsonConfig *config, QWidget *parent = nullptr);

protected:
    void apply(int value) override;
};

class MStopBitsList : public MParamList
{
    Q_OBJECT

public:
    MStopBitsList(MSerialPort *port, MJsonConfig *config, QWidget *parent = nullptr);

protected:
    void apply(int value) override;
};

class MFlowCtrlList : public MParamList
{
    Q_OBJECT

public:
    MFlowCtrlList(MSerialPort *port, MJsonConfig *config, QWidget *parent = nullptr);

protected:
    void apply(int value) override;
};
