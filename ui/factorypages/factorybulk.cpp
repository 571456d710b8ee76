// "读取全部参数" and "写入全部参数": every read, or every write, of the LX-815 factory page in
// one fixed order, with the percentage done on the busy overlay. The order is the step table
// the command-line tool runs too (config/factoryconfig.h).
#include "ui/mainwindow.h"
#include "ui_mainwindow.h"

#include "config/factoryconfig.h"

// One entry of the shared step table (FactoryBulk), as the page runs it.
struct FactoryStep
{
    FactoryBulkStep bulk;
};

namespace {
using Item = FactoryBulkStep::Item;
using Kind = FactorySource::Kind;
} // namespace

bool MainWindow::runFactoryStep(const FactoryStep &step, bool writing)
{
    switch (step.bulk.item) {
    case Item::Number: {
        const FactoryNumberField &field = FactoryCalibration::numberFields()[step.bulk.field];
        const FactorySource &source = field.source;
        if (source.kind == Kind::Adjust) {
            auto *box = findChild<QSpinBox *>(QLatin1String(field.spinBox));
            return writing
                       ? writeAdjustValue(source.adjustType, source.point, box)
                       : readAdjustValue(source.adjustType, source.point, box, field.isSigned());
        }
        if (source.kind == Kind::RssiOffset)
            return writing ? writeRssiOffset(source.point) : readRssiOffset(source.point);
        if (source.kind == Kind::SidetoneVolume)
            return writing ? writeSidetoneVolume() : readSidetoneVolume();
        return false;
    }
    case Item::PowerTable:
        return writing ? writeTxPowerTable(kLx815Page) : readTxPowerTable(kLx815Page);
    case Item::Band:
        return writing ? writeRadioBand() : readRadioBand();
    case Item::Coupling:
        return writing ? writeCoupling(ui->radioButton_22, ui->radioButton_23)
                       : readCoupling(ui->radioButton_22, ui->radioButton_23);
    case Item::TestCoupling:
        return writing ? writeCoupling(ui->radioButton_12, ui->radioButton_13)
                       : readCoupling(ui->radioButton_12, ui->radioButton_13);
    }
    return false;
}

bool MainWindow::runFactorySequence(bool writing)
{
    const auto &steps = writing ? FactoryBulk::writeSteps() : FactoryBulk::readSteps();
    const int count = static_cast<int>(steps.size());
    for (int done = 0; done < count; ++done) {
        if (!runFactoryStep(FactoryStep{steps[done]}, writing))
            return false;
        setProgress(FactoryBulk::percentAfter(done, count));
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
