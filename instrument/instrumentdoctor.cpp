#include "instrument/instrumentdoctor.h"

#include "instrument/instrument.h"

namespace {
QString doctorText(const char *source)
{
    return QCoreApplication::translate("PortChecks", source);
}
} // namespace

PortChecks::Check InstrumentDoctor::check(const QString &url, const QString &profileName)
{
    using Check = PortChecks::Check;
    Check check{Check::Kind::Instrument, Check::Result::Fail, QString(), QString()};
    QString error;
    const auto address = InstrumentAddress::parse(url, &error);
    const auto profile = address ? InstrumentProfile::load(profileName, &error) : std::nullopt;
    if (!profile) {
        check.detail = error;
        return check;
    }
    Instrument instrument(*address, *profile);
    std::optional<QString> identity;
    if (instrument.connectToInstrument())
        identity = instrument.identify();
    if (!identity) {
        check.detail = instrument.failure().text;
        check.fix = instrument.failure().kind == Instrument::Failure::Kind::Connect
                        ? doctorText(QT_TRANSLATE_NOOP(
                              "PortChecks",
                              "检查仪器的地址、电源和连线（LXI 仪器的 SCPI 端口通常是 5025）。"))
                        : doctorText(QT_TRANSLATE_NOOP(
                              "PortChecks",
                              "检查仪器配置的命令是否为这台仪器所用，以及仪器的远程控制设置。"));
        return check;
    }
    check.result = Check::Result::Pass;
    check.detail = QStringLiteral("%1: %2").arg(url, *identity);
    return check;
}
