// "读取全部参数" and "写入全部参数": every read, or every write, of the LX-815 factory page in
// one fixed order, with the percentage done on the busy overlay. The order is data: a table
// of steps, so that the two sequences can be read and compared at a glance.
#include "ui/mainwindow.h"
#include "ui_mainwindow.h"

#include "device/adjustcommands.h"

#include <vector>

namespace {
constexpr int kLow = 0;
constexpr int kMiddle = 1;
constexpr int kHigh = 2;
constexpr int kPercent = 100;
} // namespace

struct FactoryStep
{
    enum class Item
    {
        Adjust,
        PowerTable,
        RssiOffset,
        Band,
        Coupling,
        SidetoneVolume
    };

    Item item = Item::Adjust;
    quint8 adjustType = 0;
    int point = kMiddle;                         // Adjust, RssiOffset
    QSpinBox *Ui_MainWindow::*spinBox = nullptr; // Adjust
    QRadioButton *Ui_MainWindow::*dc = nullptr;  // Coupling
    QRadioButton *Ui_MainWindow::*ac = nullptr;  // Coupling

    static FactoryStep adjust(quint8 type, int point, QSpinBox *Ui_MainWindow::*spinBox)
    {
        return {Item::Adjust, type, point, spinBox, nullptr, nullptr};
    }
    static FactoryStep rssiOffset(int point) { return {Item::RssiOffset, 0, point, {}, {}, {}}; }
    static FactoryStep coupling(QRadioButton *Ui_MainWindow::*dc, QRadioButton *Ui_MainWindow::*ac)
    {
        return {Item::Coupling, 0, kMiddle, nullptr, dc, ac};
    }
    static FactoryStep plain(Item item) { return {item, 0, kMiddle, {}, {}, {}}; }

    // The point-0 and point-2 values of the three-point types are signed differences.
    bool isSigned() const { return point != kMiddle; }
};

namespace {
using Item = FactoryStep::Item;

std::vector<FactoryStep> frequencyAdjusts()
{
    return {
        FactoryStep::adjust(AdjustType::kDataDeviation, kLow, &Ui_MainWindow::spinBox_76),
        FactoryStep::adjust(AdjustType::kDataDeviation, kMiddle, &Ui_MainWindow::spinBox_75),
        FactoryStep::adjust(AdjustType::kDataDeviation, kHigh, &Ui_MainWindow::spinBox_77),
        FactoryStep::adjust(AdjustType::kVoiceDeviation, kLow, &Ui_MainWindow::spinBox_79),
        FactoryStep::adjust(AdjustType::kVoiceDeviation, kMiddle, &Ui_MainWindow::spinBox_80),
        FactoryStep::adjust(AdjustType::kVoiceDeviation, kHigh, &Ui_MainWindow::spinBox_78),
        FactoryStep::adjust(AdjustType::kAudioIn, kLow, &Ui_MainWindow::spinBox_54),
        FactoryStep::adjust(AdjustType::kAudioIn, kMiddle, &Ui_MainWindow::spinBox_55),
        FactoryStep::adjust(AdjustType::kAudioIn, kHigh, &Ui_MainWindow::spinBox_53),
        FactoryStep::adjust(AdjustType::kCtcssDeviation, kMiddle, &Ui_MainWindow::spinBox_41),
        FactoryStep::adjust(AdjustType::kTcxoBias, kMiddle, &Ui_MainWindow::spinBox_86),
        FactoryStep::adjust(AdjustType::kModBias, kMiddle, &Ui_MainWindow::spinBox_44),
    };
}

std::vector<FactoryStep> transmitAndReceiveAdjusts()
{
    return {
        FactoryStep::adjust(AdjustType::kTwoPointBalance, kLow, &Ui_MainWindow::spinBox_73),
        FactoryStep::adjust(AdjustType::kTwoPointBalance, kMiddle, &Ui_MainWindow::spinBox_72),
        FactoryStep::adjust(AdjustType::kTwoPointBalance, kHigh, &Ui_MainWindow::spinBox_74),
        FactoryStep::adjust(AdjustType::kRxFilter, kLow, &Ui_MainWindow::spinBox_85),
        FactoryStep::adjust(AdjustType::kRxFilter, kMiddle, &Ui_MainWindow::spinBox_84),
        FactoryStep::adjust(AdjustType::kRxFilter, kHigh, &Ui_MainWindow::spinBox_56),
        FactoryStep::adjust(AdjustType::kRfskLevel, kMiddle, &Ui_MainWindow::spinBox_43),
        FactoryStep::adjust(AdjustType::kRBias, kMiddle, &Ui_MainWindow::spinBox_42),
    };
}

std::vector<FactoryStep> rssiOffsets()
{
    return {FactoryStep::rssiOffset(kLow), FactoryStep::rssiOffset(kMiddle),
            FactoryStep::rssiOffset(kHigh)};
}

std::vector<FactoryStep> joined(std::initializer_list<std::vector<FactoryStep>> parts)
{
    std::vector<FactoryStep> all;
    for (const auto &part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

const FactoryStep kTestCoupling =
    FactoryStep::coupling(&Ui_MainWindow::radioButton_12, &Ui_MainWindow::radioButton_13);
const FactoryStep kOtherCoupling =
    FactoryStep::coupling(&Ui_MainWindow::radioButton_22, &Ui_MainWindow::radioButton_23);

const std::vector<FactoryStep> &readSequence()
{
    static const std::vector<FactoryStep> steps = joined({
        frequencyAdjusts(),
        {kTestCoupling, FactoryStep::plain(Item::PowerTable)},
        transmitAndReceiveAdjusts(),
        rssiOffsets(),
        {FactoryStep::plain(Item::Band), kOtherCoupling, FactoryStep::plain(Item::SidetoneVolume)},
    });
    return steps;
}

const std::vector<FactoryStep> &writeSequence()
{
    static const std::vector<FactoryStep> steps = joined({
        frequencyAdjusts(),
        {FactoryStep::plain(Item::PowerTable)},
        transmitAndReceiveAdjusts(),
        rssiOffsets(),
        {kOtherCoupling, FactoryStep::plain(Item::Band), FactoryStep::plain(Item::SidetoneVolume)},
    });
    return steps;
}
} // namespace

bool MainWindow::runFactoryStep(const FactoryStep &step, bool writing)
{
    switch (step.item) {
    case Item::Adjust:
        return writing ? writeAdjustValue(step.adjustType, step.point, ui->*step.spinBox)
                       : readAdjustValue(step.adjustType, step.point, ui->*step.spinBox,
                                         step.isSigned());
    case Item::PowerTable:
        return writing ? writeTxPowerTable(kLx815Page) : readTxPowerTable(kLx815Page);
    case Item::RssiOffset:
        return writing ? writeRssiOffset(step.point) : readRssiOffset(step.point);
    case Item::Band:
        return writing ? writeRadioBand() : readRadioBand();
    case Item::Coupling:
        return writing ? writeCoupling(ui->*step.dc, ui->*step.ac)
                       : readCoupling(ui->*step.dc, ui->*step.ac);
    case Item::SidetoneVolume:
        return writing ? writeSidetoneVolume() : readSidetoneVolume();
    }
    return false;
}

bool MainWindow::runFactorySequence(bool writing)
{
    const std::vector<FactoryStep> &steps = writing ? writeSequence() : readSequence();
    const int count = static_cast<int>(steps.size());
    for (int done = 0; done < count; ++done) {
        if (!runFactoryStep(steps[done], writing))
            return false;
        setProgress(done * kPercent / count);
    }
    return true;
}

bool MainWindow::readAllParameters()
{
    return runFactorySequence(false);
}

bool MainWindow::writeAllParameters()
{
    return runFactorySequence(true);
}

void MainWindow::on_pushButton_28_clicked()
{
    runOperation(OperationKind::Read, [this] { return readAllParameters(); });
}

void MainWindow::on_pushButton_242_clicked()
{
    runOperation(OperationKind::Write, [this] { return writeAllParameters(); });
}
