#include "instrument/scpireply.h"

#include <QRegularExpression>

#include <cmath>

namespace {
constexpr double kNotANumber = 9.91e37;
constexpr double kInfinity = 9.9e37;
constexpr int kMaxNumberText = 64; // characters; longer is no instrument's number
} // namespace

ScpiReply::Number ScpiReply::parseNumber(const QByteArray &reply)
{
    static const QRegularExpression decimal(
        QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d{1,3})?$"));
    const QByteArray text = reply.trimmed();
    Number number;
    if (text.isEmpty() || text.size() > kMaxNumberText ||
        !decimal.match(QString::fromLatin1(text)).hasMatch())
        return number;
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return number;
    // The instrument's own markers, compared with the tolerance of their written precision.
    if (std::fabs(value - kNotANumber) < 1e34)
        number.kind = Number::Kind::NotANumber;
    else if (std::fabs(std::fabs(value) - kInfinity) < 1e34)
        number.kind = Number::Kind::Infinity;
    else
        number.kind = Number::Kind::Value;
    number.value = value;
    return number;
}

std::optional<int> ScpiReply::errorCode(const QByteArray &reply)
{
    static const QRegularExpression entry(QStringLiteral("^\\s*([+-]?\\d{1,6})\\s*(,.*)?$"));
    const auto match = entry.match(QString::fromLatin1(reply));
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1).toInt();
}
