// The LX-815 factory values of a module, in the steps of the factory page's "读取全部参数" and
// "写入全部参数".
#include "session/modulesession.h"

#include "session/factorysteps.h"

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
    FactorySteps steps(m_engine, m_reporter);
    bool ok = false;
    switch (step.item) {
    case Item::Number: {
        const FactoryNumberField &field = FactoryCalibration::numberFields()[step.field];
        const FactorySource &source = field.source;
        std::optional<int> value;
        if (source.kind == Kind::Adjust)
            value = steps.readAdjust(source.adjustType, source.point, field.isSigned());
        else if (source.kind == Kind::RssiOffset)
            value = steps.readRssiOffset(source.point);
        else if (source.kind == Kind::SidetoneVolume)
            value = steps.readSidetoneVolume();
        ok = value.has_value();
        // The spin box holds what its range lets it.
        m_factory.numbers[step.field] = field.clamp(value.value_or(0));
        break;
    }
    case Item::PowerTable:
        if (const auto table = steps.readPowerTable()) {
            m_factory.setPowerTable(*table);
            ok = true;
        }
        break;
    case Item::Band:
        if (const auto band = steps.readRadioBand()) {
            m_factory.radioBandIndex = *band;
            ok = true;
        }
        break;
    case Item::Coupling:
        if (const auto dc = steps.readCoupling()) {
            m_factory.dcCoupling = *dc;
            ok = true;
        }
        break;
    case Item::TestCoupling:
        // Shown in the test group only; the file keeps the other group's choice.
        if (const auto dc = steps.readCoupling()) {
            m_testCouplingDc = *dc;
            ok = true;
        }
        break;
    }
    if (!ok)
        return false;
    m_hooks->factoryStepRead(*this, step);
    return true;
}

bool ModuleSession::writeFactoryStep(const FactoryBulkStep &step)
{
    if (m_hooks->isBlank(step))
        return refuse(FactoryBulk::blankText(step));
    FactorySteps steps(m_engine, m_reporter);
    switch (step.item) {
    case Item::Number: {
        const FactorySource &source = FactoryCalibration::numberFields()[step.field].source;
        const int value = m_factory.numbers[step.field];
        if (source.kind == Kind::Adjust)
            return steps.writeAdjust(source.adjustType, source.point, value);
        if (source.kind == Kind::RssiOffset)
            return steps.writeRssiOffset(source.point, value);
        if (source.kind == Kind::SidetoneVolume)
            return steps.writeSidetoneVolume(value);
        return false;
    }
    case Item::PowerTable:
        return steps.writePowerTable(m_factory.powerTable());
    case Item::Band:
        if (m_factory.radioBandIndex < 0)
            return refuse(FactoryBulk::blankText(step));
        return steps.writeRadioBand(m_factory.radioBandIndex);
    case Item::Coupling:
        return steps.writeCoupling(m_factory.dcCoupling);
    case Item::TestCoupling:
        break;
    }
    return true;
}
