// The LX-815 factory values of a module, in the steps of the factory page's "读取全部参数" and
// "写入全部参数".
#include "session/modulesession.h"

#include "device/adjustcommands.h"
#include "device/calibrationcommands.h"
#include "device/factorycommands.h"

namespace {
using Item = FactoryBulkStep::Item;
using Kind = FactorySource::Kind;
} // namespace

std::optional<FactoryCalibration> ModuleSession::readFactoryCalibration()
{
    // Values no step reaches keep what an untouched page shows.
    m_factory = FactoryCalibration();
    const auto &steps = FactoryBulk::readSteps();
    const int count = static_cast<int>(steps.size());
    for (int done = 0; done < count; ++done) {
        if (!progressed(readFactoryStep(steps[done]), FactoryBulk::percentAfter(done, count)))
            return std::nullopt;
    }
    m_factory = m_factory.normalised();
    return m_factory;
}

bool ModuleSession::writeFactoryCalibration(const FactoryCalibration &loaded)
{
    m_factory = loaded.normalised();
    const auto &steps = FactoryBulk::writeSteps();
    const int count = static_cast<int>(steps.size());
    for (int done = 0; done < count; ++done) {
        if (!progressed(writeFactoryStep(steps[done]), FactoryBulk::percentAfter(done, count)))
            return false;
    }
    return true;
}

bool ModuleSession::readFactoryStep(const FactoryBulkStep &step)
{
    m_hooks->factoryStepStarting(step);
    std::optional<QByteArray> reply;
    switch (step.item) {
    case Item::Number: {
        const FactoryNumberField &field = FactoryCalibration::numberFields()[step.field];
        const FactorySource &source = field.source;
        int value = 0;
        if (source.kind == Kind::Adjust) {
            reply = transact(AdjustCommands::read(source.adjustType, source.point,
                                                  AdjustCommands::readFailureText()));
            value = reply ? AdjustCommands::decodeValue(*reply, field.isSigned()) : 0;
        } else if (source.kind == Kind::RssiOffset) {
            reply = transact(CalibrationCommands::readRssiOffset(source.point));
            value = reply ? CalibrationCommands::decodeRssiOffset(*reply) : 0;
        } else if (source.kind == Kind::SidetoneVolume) {
            reply = transact(FactoryCommands::readSidetoneVolume());
            value = reply ? FactoryCommands::decodeSidetoneVolume(*reply) : 0;
        }
        // The spin box holds what its range lets it.
        m_factory.numbers[step.field] = field.clamp(value);
        break;
    }
    case Item::PowerTable:
        reply = transact(CalibrationCommands::readPowerTable());
        if (reply)
            m_factory.setPowerTable(CalibrationCommands::decodePowerTable(*reply));
        break;
    case Item::Band:
        reply = transact(FactoryCommands::readRadioBand());
        if (reply)
            m_factory.radioBandIndex = FactoryCommands::decodeRadioBand(*reply);
        break;
    case Item::Coupling:
        reply = transact(FactoryCommands::readCoupling());
        if (reply)
            m_factory.dcCoupling = FactoryCommands::decodeIsDcCoupling(*reply);
        break;
    case Item::TestCoupling:
        // Shown in the test group only; the file keeps the other group's choice.
        reply = transact(FactoryCommands::readCoupling());
        if (reply)
            m_testCouplingDc = FactoryCommands::decodeIsDcCoupling(*reply);
        break;
    }
    if (!reply)
        return false;
    m_hooks->factoryStepRead(*this, step);
    return true;
}

bool ModuleSession::writeFactoryStep(const FactoryBulkStep &step)
{
    if (m_hooks->isBlank(step))
        return refuse(FactoryBulk::blankText(step));
    switch (step.item) {
    case Item::Number: {
        const FactorySource &source = FactoryCalibration::numberFields()[step.field].source;
        const int value = m_factory.numbers[step.field];
        if (source.kind == Kind::Adjust)
            return transact(AdjustCommands::write(source.adjustType, source.point, value,
                                                  AdjustCommands::writeFailureText()))
                .has_value();
        if (source.kind == Kind::RssiOffset)
            return transact(CalibrationCommands::writeRssiOffset(source.point, value)).has_value();
        if (source.kind == Kind::SidetoneVolume)
            return transact(FactoryCommands::writeSidetoneVolume(value)).has_value();
        return false;
    }
    case Item::PowerTable:
        return transact(CalibrationCommands::writePowerTable(m_factory.powerTable())).has_value();
    case Item::Band:
        if (m_factory.radioBandIndex < 0)
            return refuse(FactoryBulk::blankText(step));
        return transact(FactoryCommands::writeRadioBand(m_factory.radioBandIndex)).has_value();
    case Item::Coupling:
        return transact(FactoryCommands::writeCoupling(m_factory.dcCoupling)).has_value();
    case Item::TestCoupling:
        break;
    }
    return true;
}
