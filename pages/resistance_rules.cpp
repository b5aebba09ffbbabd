#include "resistance_rules.h"

#include "resource.h"
#include "tables.h"

namespace kestrane {

namespace {

// Sets `mask` in the byte `keep` (none when null) and clears it in the rest.
void setTolerance(std::uint8_t ClassData::*keep, std::uint8_t mask) {
    std::uint8_t ClassData::*const bytes[] = {&ClassData::immuneFlags, &ClassData::resistFlags,
                                              &ClassData::lowToleranceFlags, &ClassData::criticalWeaknessFlags};
    for (std::uint8_t ClassData::*field : bytes) {
        std::uint8_t& value = ClassRecord.*field;
        value = field == keep ? static_cast<std::uint8_t>(value | mask) : static_cast<std::uint8_t>(value & ~mask);
    }
    modified = 1;
}

// The page's five columns: the first button of each and its routine.
struct Column {
    int firstId;
    Tolerance tolerance;
    void (*set)(std::uint8_t);
};

const Column kColumns[] = {
    {IDC_RES_IMMUNE0, Tolerance::Immune, setEffectImmune},
    {IDC_RES_RESIST0, Tolerance::Resist, setEffectResist},
    {IDC_RES_NORMAL0, Tolerance::Normal, setEffectNormal},
    {IDC_RES_LOW_TOL0, Tolerance::LowTolerance, setEffectLowTolerance},
    {IDC_RES_CRITICAL0, Tolerance::Critical, setEffectCritical},
};

// Finds the column and row of a button; false for a foreign id.
bool locate(int controlId, const Column*& column, int& row) {
    for (const Column& c : kColumns) {
        if (controlId >= c.firstId && controlId < c.firstId + kEffectCount) {
            column = &c;
            row = controlId - c.firstId;
            return true;
        }
    }
    return false;
}

constexpr std::array<int, 35> buttonsInFillOrder() {
    std::array<int, 35> ids{};
    std::size_t n = 0;
    for (int r = 0; r < kEffectCount; ++r) {
        ids[n++] = IDC_RES_IMMUNE0 + r;
        ids[n++] = IDC_RES_RESIST0 + r;
        ids[n++] = IDC_RES_LOW_TOL0 + r;
        ids[n++] = IDC_RES_CRITICAL0 + r;
        ids[n++] = IDC_RES_NORMAL0 + r;
    }
    return ids;
}

}  // namespace

void setEffectImmune(std::uint8_t mask) { setTolerance(&ClassData::immuneFlags, mask); }
void setEffectResist(std::uint8_t mask) { setTolerance(&ClassData::resistFlags, mask); }
void setEffectNormal(std::uint8_t mask) { setTolerance(nullptr, mask); }
void setEffectLowTolerance(std::uint8_t mask) { setTolerance(&ClassData::lowToleranceFlags, mask); }
void setEffectCritical(std::uint8_t mask) { setTolerance(&ClassData::criticalWeaknessFlags, mask); }

constexpr std::array<int, 35> kFillOrder = buttonsInFillOrder();
const std::array<int, 35> kResistanceButtons = kFillOrder;

bool resistanceShown(const ClassData& record, int controlId) {
    const Column* column = nullptr;
    int row = 0;
    if (!locate(controlId, column, row)) return false;
    const unsigned m = 1u << row;
    switch (column->tolerance) {
    case Tolerance::Immune: return (record.immuneFlags & m) != 0;
    case Tolerance::Resist: return (record.resistFlags & m) != 0;
    case Tolerance::LowTolerance: return (record.lowToleranceFlags & m) != 0;
    case Tolerance::Critical: return (record.criticalWeaknessFlags & m) != 0;
    case Tolerance::Normal:
        return ((record.criticalWeaknessFlags | record.lowToleranceFlags | record.resistFlags |
                 record.immuneFlags) & m) == 0;
    }
    return false;
}

bool resistanceClicked(int controlId) {
    const Column* column = nullptr;
    int row = 0;
    if (!locate(controlId, column, row)) return false;
    column->set(static_cast<std::uint8_t>(1u << row));
    return true;
}

}  // namespace kestrane
