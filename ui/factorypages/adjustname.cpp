#include "ui/factorypages/adjustname.h"

namespace {
const QString kMarkerOperation = QStringLiteral("_o");
const QString kMarkerType = QStringLiteral("_t");
const QString kMarkerPoint = QStringLiteral("_p");
const QString kMarkerStep = QStringLiteral("_of");
const QString kMarkerSpinBox = QStringLiteral("_spinBox_");
const QString kMarkerSigned = QStringLiteral("_signed");

// The text from `start` up to, not including, the next '_' at or after `searchFrom`; the rest
// of the name when there is none.
QString field(const QString &name, int start, int searchFrom)
{
    const int end = name.indexOf(QLatin1Char('_'), searchFrom);
    return end < 0 ? name.mid(start) : name.mid(start, end - start);
}

// A marker's number starts two characters in ("_o", "_t", "_p"); text that is no decimal
// number counts as 0.
int number(const QString &name, int marker, int skip)
{
    return field(name, marker + skip, marker + 1).toInt();
}
} // namespace

std::optional<AdjustName> parseAdjustName(const QString &objectName)
{
    const int operationAt = objectName.indexOf(kMarkerOperation);
    const int typeAt = objectName.indexOf(kMarkerType);
    const int pointAt = objectName.indexOf(kMarkerPoint);
    const int stepAt = objectName.indexOf(kMarkerStep);
    const int spinBoxAt = objectName.indexOf(kMarkerSpinBox);
    const int signedAt = objectName.indexOf(kMarkerSigned);
    if (operationAt <= 0 || typeAt <= 0 || pointAt <= 0 || spinBoxAt <= 0)
        return std::nullopt;

    AdjustName name;
    name.operation = number(objectName, operationAt, 2);
    name.type = field(objectName, typeAt + 2, typeAt + 1).toUInt();
    name.point = number(objectName, pointAt, 2);
    name.spinBoxName = field(objectName, spinBoxAt + 1, spinBoxAt + kMarkerSpinBox.size());
    name.isSigned = signedAt > 0;
    if (name.point < 0 || name.point >= int(kAdjustPointNames.size()))
        return std::nullopt;

    if (name.isStep()) {
        if (stepAt <= 1)
            return std::nullopt;
        name.stepIndex = number(objectName, stepAt, kMarkerStep.size());
        if (name.stepIndex < 0 || name.stepIndex >= int(kAdjustSteps.size()))
            return std::nullopt;
    }
    return name;
}
