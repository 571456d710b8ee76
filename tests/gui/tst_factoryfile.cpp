#include "config/factoryconfig.h"
#include "support/factoryrig.h"
#include "support/factorystates.h"
#include "ui/factorypages/factorybindings.h"

#include <QComboBox>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

using FactoryBindings::spinBoxOf;

namespace {
// MR-460 page widgets the factory file must leave alone.
const QStringList kMr460Boxes{"spinBox_87", "spinBox_45",  "spinBox_103",
                              "spinBox_88", "spinBox_100", "spinBox_46"};

struct Chosen
{
    bool save = false;
    QString title;
    QString dir;
};

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(content) == content.size();
}

QStringList leafPaths(const QJsonObject &object, const QString &prefix = QString())
{
    QStringList paths;
    for (auto it = object.begin(); it != object.end(); ++it) {
        const QString path = prefix + QLatin1Char('/') + it.key();
        if (it.value().isObject())
            paths += leafPaths(it.value().toObject(), path);
        else
            paths.append(path);
    }
    return paths;
}
} // namespace

class TestFactoryFile : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void saveThenLoadRestores();
    void loadingOtherFiles_data();
    void loadingOtherFiles();
    void savingExtendsAFile();
    void unopenableFile_data();
    void unopenableFile();
    void moduleToModule();

private:
    void choose(const QString &path);
    void fillPage(int seed);
    QMap<QString, int> pageNumbers() const;

    std::unique_ptr<FactoryRig> m_rig;
    std::unique_ptr<QTemporaryDir> m_dir;
    QList<Chosen> m_chosen;
};

void TestFactoryFile::init()
{
    m_rig = std::make_unique<FactoryRig>();
    QVERIFY2(m_rig->isReady(), qPrintable(m_rig->error()));
    m_chosen.clear();
    m_dir = std::make_unique<QTemporaryDir>();
}

void TestFactoryFile::cleanup()
{
    m_rig.reset();
}

void TestFactoryFile::choose(const QString &path)
{
    m_rig->window().setFileChooser(
        [this, path](bool save, const QString &title, const QString &dir) {
            m_chosen.append(Chosen{save, title, dir});
            return path;
        });
}

void TestFactoryFile::fillPage(int seed)
{
    int i = seed;
    for (const auto &field : FactoryCalibration::numberFields()) {
        auto *box = m_rig->widget<QSpinBox>(spinBoxOf(field));
        box->setValue(field.minimum + (i++ * 37) % (field.maximum - field.minimum + 1));
    }
    m_rig->widget<QRadioButton>(seed % 2 ? "radioButton_23" : "radioButton_22")->setChecked(true);
    m_rig->widget<QComboBox>("comboBox_2")->setCurrentIndex(seed % 4);
}

QMap<QString, int> TestFactoryFile::pageNumbers() const
{
    QMap<QString, int> numbers;
    for (const auto &field : FactoryCalibration::numberFields())
        numbers.insert(spinBoxOf(field), m_rig->widget<QSpinBox>(spinBoxOf(field))->value());
    return numbers;
}

void TestFactoryFile::saveThenLoadRestores()
{
    const QString path = m_dir->filePath("calibration.json");
    fillPage(3);
    const QMap<QString, int> saved = pageNumbers();
    QVERIFY(m_rig->widget<QRadioButton>("radioButton_23")->isChecked());

    choose(path);
    QVERIFY(m_rig->click("pushButton_34"));
    const QJsonObject json = QJsonDocument::fromJson(readFile(path)).object();
    QCOMPARE(leafPaths(json).size(), 41);
    QCOMPARE(json.value("BasebandSignelCouple").toString(), QString("AC"));
    QCOMPARE(json.value("RadioBandIndex").toInt(), 3);
    QCOMPARE(json.value("TxPowerAdj").toObject().value("cell12").toInt(),
             m_rig->widget<QSpinBox>("spinBox_64")->value());

    fillPage(6);
    QVERIFY(pageNumbers() != saved);
    for (const QString &name : kMr460Boxes)
        m_rig->widget<QSpinBox>(name)->setValue(77);
    m_rig->widget<QLineEdit>("lineEdit_7")->setText("ABCDEF012345");
    m_rig->widget<QRadioButton>("radioButton_18")->setChecked(true);
    QVERIFY(m_rig->click("pushButton_33"));

    QCOMPARE(pageNumbers(), saved);
    QVERIFY(m_rig->widget<QRadioButton>("radioButton_23")->isChecked());
    QCOMPARE(m_rig->widget<QComboBox>("comboBox_2")->currentIndex(), 3);
    for (const QString &name : kMr460Boxes)
        QCOMPARE(m_rig->widget<QSpinBox>(name)->value(), 77);
    QCOMPARE(m_rig->widget<QLineEdit>("lineEdit_7")->text(), QString("ABCDEF012345"));
    QVERIFY(m_rig->widget<QRadioButton>("radioButton_18")->isChecked());

    QCOMPARE(m_chosen.size(), 2);
    QVERIFY(m_chosen[0].save);
    QCOMPARE(m_chosen[0].title, QString("保存后台配置"));
    QVERIFY(!m_chosen[1].save);
    QCOMPARE(m_chosen[1].title, QString("打开后台配置"));
    QCOMPARE(m_chosen[1].dir, QFileInfo(path).absolutePath());
    QVERIFY(m_rig->boxes().shown.isEmpty());
    QVERIFY(m_rig->requests().isEmpty());
}

void TestFactoryFile::loadingOtherFiles_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("dc");

    QTest::newRow("user configuration file")
        << QByteArray(R"({"Channel": {"Current": 3, "CtrlMode": "DIP"}, "Volume": 5})") << true;
    QTest::newRow("empty file") << QByteArray() << true;
    QTest::newRow("AC") << QByteArray(R"({"BasebandSignelCouple": "AC"})") << false;
    QTest::newRow("dc in lower case") << QByteArray(R"({"BasebandSignelCouple": "dc"})") << false;
}

void TestFactoryFile::loadingOtherFiles()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, dc);

    const QString path = m_dir->filePath("other.json");
    QVERIFY(writeFile(path, content));
    fillPage(5);
    // A box left blank by a failed read takes the file's value as configured.
    m_rig->widget<QSpinBox>("spinBox_75")->setSpecialValueText(" ");
    choose(path);
    QVERIFY(m_rig->click("pushButton_33"));

    for (const auto &field : FactoryCalibration::numberFields())
        QVERIFY2(m_rig->widget<QSpinBox>(spinBoxOf(field))->value() == 0, spinBoxOf(field));
    QCOMPARE(m_rig->widget<QSpinBox>("spinBox_75")->text(), QString("0"));
    QCOMPARE(m_rig->widget<QRadioButton>("radioButton_22")->isChecked(), dc);
    QCOMPARE(m_rig->widget<QRadioButton>("radioButton_23")->isChecked(), !dc);
    QCOMPARE(m_rig->widget<QComboBox>("comboBox_2")->currentIndex(), -1);
    QCOMPARE(readFile(path), content);
}

void TestFactoryFile::savingExtendsAFile()
{
    const QString path = m_dir->filePath("user.json");
    QVERIFY(writeFile(path, R"({"Volume": 5, "MOD_BIAS": 1})"));
    fillPage(1);
    choose(path);
    QVERIFY(m_rig->click("pushButton_34"));
    const QJsonObject json = QJsonDocument::fromJson(readFile(path)).object();
    QCOMPARE(json.value("Volume").toInt(), 5);
    QCOMPARE(json.value("MOD_BIAS").toInt(), m_rig->widget<QSpinBox>("spinBox_44")->value());
    QCOMPARE(leafPaths(json).size(), 42);
}

void TestFactoryFile::unopenableFile_data()
{
    QTest::addColumn<QString>("button");
    QTest::newRow("save") << "pushButton_34";
    QTest::newRow("load") << "pushButton_33";
}

void TestFactoryFile::unopenableFile()
{
    QFETCH(QString, button);

    const QString path = m_dir->filePath("no-such-dir/calibration.json");
    fillPage(2);
    const QMap<QString, int> before = pageNumbers();
    choose(path);
    QVERIFY(m_rig->click(button));
    QCOMPARE(m_rig->boxes().texts(), QStringList{"Couldn't open config file."});
    QCOMPARE(pageNumbers(), before);
    QCOMPARE(m_rig->widget<QComboBox>("comboBox_2")->currentIndex(), 2);
    QVERIFY(!QFile::exists(path));
}

void TestFactoryFile::moduleToModule()
{
    // Module A is read into a window and saved; a fresh window loads the file and writes
    // module B, which then holds A's factory values.
    const QString path = m_dir->filePath("a.json");
    const ModuleState a = FactoryStates::distinct();
    m_rig.reset();
    SimHarness::Options optionsA;
    optionsA.state = a;
    m_rig = std::make_unique<FactoryRig>(optionsA);
    QVERIFY2(m_rig->isReady(), qPrintable(m_rig->error()));
    QVERIFY(m_rig->click("pushButton_28"));
    QCOMPARE(m_rig->status(), QString("读取成功！"));
    choose(path);
    QVERIFY(m_rig->click("pushButton_34"));

    m_rig.reset();
    SimHarness::Options optionsB;
    optionsB.state = FactoryStates::scrambled(a);
    m_rig = std::make_unique<FactoryRig>(optionsB);
    QVERIFY2(m_rig->isReady(), qPrintable(m_rig->error()));
    choose(path);
    QVERIFY(m_rig->click("pushButton_33"));
    QVERIFY(m_rig->click("pushButton_242"));
    QCOMPARE(m_rig->status(), QString("设置成功！"));

    const QStringList differences = m_rig->module().diff(a);
    QCOMPARE(differences.size(), 1);
    QVERIFY2(differences.first().startsWith("serialNumber"), qPrintable(differences.first()));
}

QTEST_MAIN(TestFactoryFile)
#include "tst_factoryfile.moc"
