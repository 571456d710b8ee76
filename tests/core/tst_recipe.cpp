// Recipes: the checks before any unit, the identity over the files a recipe names, and the
// judging of a value against its limits.
#include "session/configfiles.h"
#include "station/recipe.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <functional>
#include <memory>

using Change = std::function<void(QDir &)>;
Q_DECLARE_METATYPE(Change)
Q_DECLARE_METATYPE(Limits::Verdict)

namespace {
void write(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

QByteArray json(const QJsonObject &object)
{
    return QJsonDocument(object).toJson();
}

// A plan a write takes: no channel in use, whose selectors need nothing, and a scan mode.
UserConfig plan()
{
    UserConfig config;
    config.scanModeIndex = 0;
    return config;
}

// A calibration for the U2 band.
FactoryCalibration calibration()
{
    FactoryCalibration values;
    values.radioBandIndex = 3;
    return values;
}

// The recipe's folder with every file the example names, and a few more for the bad ones.
void prepare(const QDir &dir)
{
    QVERIFY(ConfigFiles::save(dir.filePath("customer47.json"), plan().entries(), nullptr));
    // What the write would refuse after the frequency table and the channels.
    QVERIFY(ConfigFiles::save(dir.filePath("no-scan-mode.json"), UserConfig().entries(), nullptr));
    QVERIFY(dir.mkpath("calibrations"));
    ModuleIdentity unit;
    unit.serialNumber = QStringLiteral("4C5881500001");
    unit.model = QStringLiteral("LX-815 U2");
    unit.bandCode = 0x13;
    unit.firmware = QStringLiteral("V1.4.2");
    MJsonConfig::Entries bound = calibration().entries();
    bound.append(FileUnit::entries(unit, QDateTime::currentDateTimeUtc()));
    QVERIFY(ConfigFiles::save(dir.filePath("calibrations/4C5881500001.json"), bound, nullptr));
    QVERIFY(ConfigFiles::save(dir.filePath("bound.json"), bound, nullptr));
    QVERIFY(ConfigFiles::save(dir.filePath("all-units.json"), calibration().entries(), nullptr));
    QJsonObject partial = QJsonDocument::fromJson([&] {
                              QFile file(dir.filePath("customer47.json"));
                              file.open(QIODevice::ReadOnly);
                              return file.readAll();
                          }())
                              .object();
    partial.remove("Volume");
    write(dir.filePath("partial.json"), json(partial));
    write(dir.filePath("a-file"), "x");
    QFile profile(":/instruments/generic-scpi.json");
    QVERIFY(profile.open(QIODevice::ReadOnly));
    write(dir.filePath("bench-7.json"), profile.readAll());
}

// A calibrate step with one target, for the rows that change a member of it.
QJsonObject oneTargetCalibrate()
{
    const QJsonObject target{{"Value", "/TxPowerAdj/cell42"},
                             {"Measure", "power"},
                             {"Point", "High"},
                             {"Power", 4},
                             {"Target", 37.0},
                             {"Tolerance", 0.3}};
    return {{"Step", "calibrate"},
            {"Instrument", "tcp://127.0.0.1:5025"},
            {"Points", QJsonObject{{"Mid", 47000000}, {"High", 48900000}}},
            {"Targets", QJsonArray{target}}};
}

// The complete example of the recipe format's documentation.
QByteArray documentedExample()
{
    QFile doc(qEnvironmentVariable("LX_SOURCE_DIR") + "/docs/recipes.md");
    if (!doc.open(QIODevice::ReadOnly))
        return {};
    const QString text = QString::fromUtf8(doc.readAll());
    const auto match =
        QRegularExpression("```json\n(.*?)```", QRegularExpression::DotMatchesEverythingOption)
            .match(text);
    return match.captured(1).toUtf8();
}
} // namespace

class TestRecipe : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void documentedExample();
    void calibrateStep();
    void refused_data();
    void refused();
    void identity_data();
    void identity();
    void judging_data();
    void judging();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestRecipe::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    prepare(QDir(m_dir->path()));
}

void TestRecipe::documentedExample()
{
    const QDir dir(m_dir->path());
    const QByteArray example = ::documentedExample();
    QVERIFY(!example.isEmpty());
    write(dir.filePath("line-a.json"), example);
    QStringList problems;
    const auto recipe = Recipe::load(dir.filePath("line-a.json"), &problems);
    QVERIFY2(recipe, qPrintable(problems.join('\n')));
    QCOMPARE(recipe->name, QStringLiteral("Line A: LX-815 U2 for customer 47"));
    QCOMPARE(recipe->revision, QStringLiteral("3"));
    QCOMPARE(recipe->steps.size(), 5);
    QCOMPARE(recipe->steps[2].file, dir.filePath("customer47.json"));
    QVERIFY(recipe->steps[2].config == plan());
    QCOMPARE(recipe->steps[1].calibrationFile("4C5881500001"),
             dir.filePath("calibrations/4C5881500001.json"));
    const QList<Limits::Limit> limits{{"/TCXO_BIAS", Limits::Side::Factory, 100, 160, 5},
                                      {"/Volume", Limits::Side::User, 5, 7, 0}};
    QCOMPARE(recipe->steps[3].limits, limits);
    QVERIFY(QFileInfo(dir.filePath("backups")).isDir());
    QVERIFY(QFileInfo(dir.filePath("shipped")).isDir());
    QCOMPARE(recipe->sha256.size(), 64);

    QCOMPARE(recipe->refusal("LX-815 U2", "V1.4.2"), QString());
    QCOMPARE(recipe->refusal("LX-815 V", "V1.4.2"), QStringLiteral("此配方不接受型号 LX-815 V"));
    QCOMPARE(recipe->refusal("LX-815 U2", "V1.3"), QStringLiteral("此配方不接受固件版本 V1.3"));

    const QByteArray again = QJsonDocument(recipe->toJson()).toJson();
    const auto reread = Recipe::parse(again, nullptr);
    QVERIFY(reread);
    QCOMPARE(reread->toJson(), recipe->toJson());
}

// The calibrate step whole: its members as the plan the run takes, its folder made, and its
// document read back the same.
void TestRecipe::calibrateStep()
{
    const QDir dir(m_dir->path());
    write(dir.filePath("cal.json"), R"({"Recipe": "Cal", "Revision": "1", "Steps": [
        {"Step": "calibrate", "Instrument": "tcp://10.0.0.20:5025", "Points":
           {"Low": 45100000, "Mid": 47000000, "High": 48900000}, "MaxTransmitSeconds": 8,
         "Targets": [
           {"Value": "/TCXO_BIAS", "Measure": "frequency-error", "Point": "Mid", "Power": 0,
            "Target": 0, "Tolerance": 50},
           {"Value": "/DataModFreqDiv/LowDiff", "Measure": "deviation", "Point": "Low",
            "Power": 2, "Target": 2400, "Tolerance": 60},
           {"Calibrate": "squelch", "Point": "Mid", "Levels": [0.25, 0.45]}]}]})");
    QStringList problems;
    const auto recipe = Recipe::load(dir.filePath("cal.json"), &problems);
    QVERIFY2(recipe, qPrintable(problems.join('\n')));
    const RecipeStep &step = recipe->steps.first();
    QVERIFY(step.writes());
    QCOMPARE(step.folder, dir.filePath("calibrations"));
    QVERIFY(QFileInfo(step.folder).isDir());
    QCOMPARE(step.plan->profile, QStringLiteral("generic-scpi"));
    QCOMPARE(step.plan->maxTransmitSeconds, 8);
    QCOMPARE(step.plan->frequency(Wire::FreqPoint::Low), 45100000u);
    const CalibrationTarget &deviation = step.plan->targets[1];
    QCOMPARE(FactoryCalibration::numberFields()[size_t(deviation.field)].path,
             "/DataModFreqDiv/LowDiff");
    QCOMPARE(deviation.measure, Instrument::Measurement::Deviation);
    QCOMPARE(deviation.point, Wire::FreqPoint::Low);
    QCOMPARE(deviation.power, 2);
    QCOMPARE(step.plan->targets[2].kind, CalibrationTarget::Kind::Squelch);
    QCOMPARE(step.plan->targets[2].levels, (QList<double>{0.25, 0.45}));
    const auto reread = Recipe::parse(QJsonDocument(recipe->toJson()).toJson(), nullptr);
    QVERIFY(reread);
    QCOMPARE(reread->toJson(), recipe->toJson());
    // A bench without a drivable instrument: a person types the readings.
    QByteArray manual = QJsonDocument(recipe->toJson()).toJson();
    manual.replace("tcp://10.0.0.20:5025", "manual");
    const auto byHand = Recipe::parse(manual, &problems);
    QVERIFY2(byHand, qPrintable(problems.join('\n')));
    QCOMPARE(byHand->steps.first().plan->instrument, QStringLiteral("manual"));
}

// Each bad recipe is the good one with some members replaced (null removes one). A snapshot
// step into "out" follows any steps given, so that a refused recipe can be seen to make no
// folder.
void TestRecipe::refused_data()
{
    QTest::addColumn<QByteArray>("patch");
    QTest::addColumn<QString>("member");

    const auto row = [](const char *name, const char *patch, const char *member) {
        QTest::newRow(name) << QByteArray(patch) << QString::fromUtf8(member);
    };
    row("unknown member", R"({"Serial": true})", "Serial");
    row("name missing", R"({"Recipe": null})", "Recipe");
    row("revision a number", R"({"Revision": 3})", "Revision");
    row("accept unknown", R"({"Accept": {"Serials": ["1"]}})", "Accept.Serials");
    row("models empty", R"({"Accept": {"Models": []}})", "Accept.Models");
    row("firmware not texts", R"({"Accept": {"Firmware": [1]}})", "Accept.Firmware");
    row("start", R"({"Start": "later"})", "Start");
    row("scan", R"({"Scan": "yes"})", "Scan");
    row("no steps", R"({"Steps": []})", "Steps");
    row("step not an object", R"({"Steps": ["backup"]})", "Steps[0]");
    row("unknown step", R"({"Steps": [{"Step": "solder"}]})", "Steps[0].Step");
    row("member of another step", R"({"Steps": [{"Step": "backup", "Folder": "b", "File": "x"}]})",
        "Steps[0].File");
    row("file missing", R"({"Steps": [{"Step": "write-config"}]})", "Steps[0].File");
    row("file not there", R"({"Steps": [{"Step": "write-config", "File": "nope.json"}]})",
        "Steps[0].File");
    row("config refused whole", R"({"Steps": [{"Step": "write-config", "File": "partial.json"}]})",
        "Steps[0].File");
    row("config the write would stop in",
        R"({"Steps": [{"Step": "write-config", "File": "no-scan-mode.json"}]})", "Steps[0].File");
    row("calibration refused whole",
        R"({"Steps": [{"Step": "write-calibration", "File": "customer47.json"}]})",
        "Steps[0].File");
    row("calibration for every unit names one",
        R"({"Steps": [{"Step": "write-calibration", "File": "bound.json"}]})", "Steps[0].File");
    row("calibration folder not there",
        R"({"Steps": [{"Step": "write-calibration", "Folder": "nope"}]})", "Steps[0].Folder");
    row("calibration file and folder",
        R"({"Steps": [{"Step": "write-calibration", "Folder": "calibrations", "File": "all-units.json"}]})",
        "Steps[0]");
    row("output folder is a file",
        R"({"Steps": [{"Step": "read-calibration", "Folder": "a-file"}]})", "Steps[0].Folder");
    row("backup after a write",
        R"({"Steps": [{"Step": "write-config", "File": "customer47.json"}, {"Step": "backup", "Folder": "b"}]})",
        "Steps[1].Step");
    row("no limits", R"({"Steps": [{"Step": "check", "Limits": {}}]})", "Steps[0].Limits");
    row("path no format has",
        R"({"Steps": [{"Step": "check", "Limits": {"/Nope": {"Min": 1, "Max": 2}}}]})",
        R"(Steps[0].Limits["/Nope"])");
    row("path not a number",
        R"({"Steps": [{"Step": "check", "Limits": {"/PowerSave/Enable": {"Min": 0, "Max": 1}}}]})",
        R"(Steps[0].Limits["/PowerSave/Enable"])");
    row("min above max",
        R"({"Steps": [{"Step": "check", "Limits": {"/Volume": {"Min": 8, "Max": 7}}}]})",
        R"(Steps[0].Limits["/Volume"].Min)");
    row("max missing", R"({"Steps": [{"Step": "check", "Limits": {"/Volume": {"Min": 1}}}]})",
        R"(Steps[0].Limits["/Volume"].Max)");
    row("marginal negative",
        R"({"Steps": [{"Step": "check", "Limits": {"/TCXO_BIAS": {"Min": 1, "Max": 9, "Marginal": -1}}}]})",
        R"(Steps[0].Limits["/TCXO_BIAS"].Marginal)");
    row("population too few units",
        R"({"Steps": [{"Step": "check", "Limits": {"/TCXO_BIAS": {"Min": 1, "Max": 9, "Population": {"Units": 5, "Sigma": 4}}}}]})",
        R"(Steps[0].Limits["/TCXO_BIAS"].Population.Units)");
    row("population sigma zero",
        R"({"Steps": [{"Step": "check", "Limits": {"/TCXO_BIAS": {"Min": 1, "Max": 9, "Population": {"Units": 200, "Sigma": 0}}}}]})",
        R"(Steps[0].Limits["/TCXO_BIAS"].Population.Sigma)");
    row("population unknown member",
        R"({"Steps": [{"Step": "check", "Limits": {"/TCXO_BIAS": {"Min": 1, "Max": 9, "Population": {"Units": 200, "Sigma": 4, "Days": 3}}}}]})",
        R"(Steps[0].Limits["/TCXO_BIAS"].Population.Days)");
    row("limit unknown member",
        R"({"Steps": [{"Step": "check", "Limits": {"/Volume": {"Min": 1, "Max": 9, "Typ": 5}}}]})",
        R"(Steps[0].Limits["/Volume"].Typ)");

    // A calibrate step, each row one member wrong: the replacement of a member of the step
    // or of its first target.
    const auto calibrate = [](const char *name, const QByteArray &key, const QByteArray &value,
                              const char *member) {
        QJsonObject step = oneTargetCalibrate();
        QJsonObject target = step.value("Targets").toArray().first().toObject();
        const QJsonValue replacement = QJsonDocument::fromJson("[" + value + "]").array().first();
        QJsonObject &into = key.startsWith("T.") ? target : step;
        into.insert(QString(key).remove(QRegularExpression("^T\\.")), replacement);
        if (key.startsWith("T."))
            step.insert("Targets", QJsonArray{target});
        QTest::newRow(name) << QJsonDocument(QJsonObject{{"Steps", QJsonArray{step}}}).toJson()
                            << QString::fromUtf8(member);
    };
    calibrate("calibrate unknown member", "Speed", "1", "Steps[0].Speed");
    calibrate("instrument address", "Instrument", R"("ftp://x")", "Steps[0].Instrument");
    calibrate("manual misspelt", "Instrument", R"("Manual")", "Steps[0].Instrument");
    calibrate("transmit limit", "MaxTransmitSeconds", "0", "Steps[0].MaxTransmitSeconds");
    calibrate("profile not there", "Profile", R"("nope.json")", "Steps[0].Profile");
    calibrate("profile not a profile", "Profile", R"("a-file")", "Steps[0].Profile");
    calibrate("no targets", "Targets", "[]", "Steps[0].Targets");
    calibrate("points unknown", "Points", R"({"High": 48900000, "Middle": 47000000})",
              "Steps[0].Points.Middle");
    calibrate("value not adjustable", "T.Value", R"("/RSSIOffset/Low")",
              "Steps[0].Targets[0].Value");
    calibrate("cell of another power", "T.Power", "3", "Steps[0].Targets[0].Value");
    calibrate("power out of range", "T.Power", "5", "Steps[0].Targets[0].Power");
    calibrate("point not in points", "Targets",
              R"([{"Calibrate": "rssi", "Point": "Low", "Levels": [10]}])",
              "Steps[0].Targets[0].Point");
    calibrate("measure unknown", "T.Measure", R"("swr")", "Steps[0].Targets[0].Measure");
    calibrate("tolerance", "T.Tolerance", "0", "Steps[0].Targets[0].Tolerance");
    calibrate("target member unknown", "T.Levels", "[1]", "Steps[0].Targets[0].Levels");
    calibrate("squelch level", "Targets",
              R"([{"Calibrate": "squelch", "Point": "Mid", "Levels": [0.3]}])",
              "Steps[0].Targets[0].Levels[0]");
}

void TestRecipe::refused()
{
    QFETCH(QByteArray, patch);
    QFETCH(QString, member);
    const QDir dir(m_dir->path());
    QJsonObject recipe{{"Recipe", "Line A"},
                       {"Revision", "3"},
                       {"Steps", QJsonArray{QJsonObject{{"Step", "backup"}, {"Folder", "b"}}}}};
    const QJsonObject changes = QJsonDocument::fromJson(patch).object();
    for (auto it = changes.begin(); it != changes.end(); ++it) {
        if (it.value().isNull())
            recipe.remove(it.key());
        else
            recipe.insert(it.key(), it.value());
    }
    QJsonArray steps = recipe.value("Steps").toArray();
    if (!steps.isEmpty()) {
        steps.append(QJsonObject{{"Step", "snapshot"}, {"Folder", "out"}});
        recipe.insert("Steps", steps);
    }
    write(dir.filePath("recipe.json"), json(recipe));

    QStringList problems;
    QVERIFY(!Recipe::load(dir.filePath("recipe.json"), &problems));
    QCOMPARE(problems.size(), 1);
    QVERIFY2(problems.first().startsWith(member + QStringLiteral("：")),
             qPrintable(problems.first()));
    QVERIFY(!dir.exists("out"));
}

void TestRecipe::identity_data()
{
    QTest::addColumn<Change>("change");
    QTest::addColumn<bool>("changes");

    const auto put = [](const char *path, const char *content) {
        return Change([=](QDir &dir) { write(dir.filePath(path), content); });
    };
    QTest::newRow("nothing") << Change([](QDir &) {}) << false;
    QTest::newRow("config file") << Change([](QDir &dir) {
        UserConfig config = plan();
        config.volume = 6;
        QVERIFY(ConfigFiles::save(dir.filePath("customer47.json"), config.entries(), nullptr));
    }) << true;
    QTest::newRow("calibration added") << put("calibrations/4C5881500002.json", "{}") << true;
    QTest::newRow("calibration renamed") << Change([](QDir &dir) {
        QVERIFY(dir.rename("calibrations/4C5881500001.json", "calibrations/4C5881500009.json"));
    }) << true;
    QTest::newRow("calibration removed")
        << Change([](QDir &dir) { QVERIFY(dir.remove("calibrations/4C5881500001.json")); }) << true;
    QTest::newRow("recipe reformatted") << Change([](QDir &dir) {
        QFile file(dir.filePath("line-a.json"));
        QVERIFY(file.open(QIODevice::Append));
        file.write("\n");
    }) << true;
    QTest::newRow("instrument profile file") << Change([](QDir &dir) {
        QFile file(dir.filePath("bench-7.json"));
        QVERIFY(file.open(QIODevice::ReadWrite));
        const QByteArray profile = file.readAll().replace("5000", "4000");
        QVERIFY(file.resize(0) && file.write(profile) == profile.size());
    }) << true;
    QTest::newRow("snapshot written") << put("shipped/4C5881500001.json", "{}") << false;
    QTest::newRow("file the recipe does not name") << put("notes.txt", "x") << false;
}

void TestRecipe::identity()
{
    QFETCH(Change, change);
    QFETCH(bool, changes);
    QDir dir(m_dir->path());
    // The documented example and a calibrate step driving its instrument through a file.
    QJsonObject recipe = QJsonDocument::fromJson(::documentedExample()).object();
    QJsonObject calibrate = oneTargetCalibrate();
    calibrate.insert("Profile", "bench-7.json");
    recipe.insert("Steps", recipe.value("Steps").toArray() + calibrate);
    write(dir.filePath("line-a.json"), json(recipe));
    const auto before = Recipe::load(dir.filePath("line-a.json"), nullptr);
    QVERIFY(before);
    QCOMPARE(Recipe::load(dir.filePath("line-a.json"), nullptr)->sha256, before->sha256);
    change(dir);
    const auto after = Recipe::load(dir.filePath("line-a.json"), nullptr);
    QVERIFY(after);
    QCOMPARE(after->sha256 != before->sha256, changes);
}

void TestRecipe::judging_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("marginal");
    QTest::addColumn<Limits::Verdict>("verdict");
    QTest::addColumn<QString>("text");

    using V = Limits::Verdict;
    // Limits 100 to 160 on /TCXO_BIAS.
    QTest::newRow("middle") << 130.0 << 5.0 << V::Pass
                            << QString("/TCXO_BIAS = 130，在 100 至 160 之内");
    QTest::newRow("just past the band")
        << 106.0 << 5.0 << V::Pass << QString("/TCXO_BIAS = 106，在 100 至 160 之内");
    QTest::newRow("band's edge") << 105.0 << 5.0 << V::Marginal
                                 << QString("/TCXO_BIAS = 105，距下限 100 不超过 5");
    QTest::newRow("on max") << 160.0 << 5.0 << V::Marginal
                            << QString("/TCXO_BIAS = 160，距上限 160 不超过 5");
    QTest::newRow("fraction near max")
        << 155.5 << 5.0 << V::Marginal << QString("/TCXO_BIAS = 155.5，距上限 160 不超过 5");
    QTest::newRow("on min, no band")
        << 100.0 << 0.0 << V::Pass << QString("/TCXO_BIAS = 100，在 100 至 160 之内");
    QTest::newRow("below") << 99.0 << 5.0 << V::Fail << QString("/TCXO_BIAS = 99，低于下限 100");
    QTest::newRow("above") << 160.5 << 0.0 << V::Fail
                           << QString("/TCXO_BIAS = 160.5，高于上限 160");
    QTest::newRow("not a number") << std::nan("") << 5.0 << V::Fail
                                  << QString("/TCXO_BIAS = nan，低于下限 100");
}

void TestRecipe::judging()
{
    QFETCH(double, value);
    QFETCH(double, marginal);
    QFETCH(Limits::Verdict, verdict);
    QFETCH(QString, text);
    const Limits::Judgement judgement =
        Limits::judge(value, {"/TCXO_BIAS", Limits::Side::Factory, 100, 160, marginal});
    QCOMPARE(judgement.verdict, verdict);
    QCOMPARE(judgement.text, text);
}

QTEST_GUILESS_MAIN(TestRecipe)
#include "tst_recipe.moc"
