#include "factorystates.h"

namespace {
// The adjust types with controls on the LX-815 factory page.
constexpr std::array<quint8, 10> kPageTypes{0, 1, 2, 3, 5, 6, 7, 10, 11, 12};
} // namespace

ModuleState FactoryStates::distinct()
{
    ModuleState state = ModuleState::defaults();
    for (int type = 0; type < Wire::kAdjustTypeCount; ++type) {
        for (int point = 0; point < Wire::kAdjustPoints; ++point)
            state.adjust[type][point] = static_cast<quint8>(0x11 * type + 0x53 * point + 0x70);
    }
    for (int i = 0; i < Wire::kPowerTableSize; ++i)
        state.powerTable[i] = static_cast<quint8>(240 + i);
    state.rssiOffsets = {-10, 5, 127};
    state.sidetoneVolume = 7;
    state.coupling = 0x01;
    state.band = 0x11;
    return state;
}

ModuleState FactoryStates::scrambled(const ModuleState &state)
{
    ModuleState result = state;
    for (quint8 type : kPageTypes) {
        for (int point = 0; point < Wire::kAdjustPoints; ++point)
            result.setAdjustValue(type, point,
                                  static_cast<quint8>(state.adjustValue(type, point) ^ 0x5A));
    }
    for (quint8 &value : result.powerTable)
        value = static_cast<quint8>(value ^ 0x33);
    for (qint8 &offset : result.rssiOffsets)
        offset = static_cast<qint8>(offset ^ 0x21);
    result.sidetoneVolume = static_cast<quint8>((state.sidetoneVolume + 3) % 10);
    result.coupling = state.coupling == 0 ? 0x01 : 0x00;
    result.band = state.band == 0x10 ? 0x13 : 0x10;
    result.serialNumber = QByteArray::fromHex("A1B2C3D4E5F6");
    return result;
}
