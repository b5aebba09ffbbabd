#include "resistance_rules.h"

#include "resource.h"
#include "tables.h"

namespace kestrane {

namespace {

// Sets `mask` in the byte of `keep` (none for Normal) and clears it in the rest.
void setTolerance(Tolerance keep, std::uint8_t mask) {
    for (const ToleranceByte& t : kToleranceBytes) {
        std::uint8_t& value = ClassRecord.*t.field;
        value = t.tolerance == keep ? static_cast<std::uint8_t>(value | mask)
                                    : static_cast<std::uint8_t>(value & ~mask);
    }
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

void setEffectImmune(std::uint8_t mask) { setTolerance(Tolerance::Immune, mask); }
void setEffectResist(std::uint8_t mask) { setTolerance(Tolerance::Resist, mask); }
void setEffectNormal(std::uint8_t mask) { setTolerance(Tolerance::Normal, mask); }
void setEffectLowTolerance(std::uint8_t mask) { setTolerance(Tolerance::LowTolerance, mask); }
void setEffectCritical(std::uint8_t mask) { setTolerance(Tolerance::Critical, mask); }

constexpr std::array<int, 35> kFillOrder = buttonsInFillOrder();
const std::array<int, 35> kResistanceButtons = kFillOrder;

bool resistanceShown(const ClassData& record, int controlId) {
    const Column* column = nullptr;
    int row = 0;
    if (!locate(controlId, column, row)) return false;
    const auto m = static_cast<std::uint8_t>(1u << row);
    // Normal is shown where none of the four bytes holds the bit.
    const ToleranceByte* byte = toleranceByte(column->tolerance);
    if (byte == nullptr) return toleranceSet(record, m) == 0;
    return (record.*byte->field & m) != 0;
}

bool resistanceClicked(int controlId) {
    const Column* column = nullptr;
    int row = 0;
    if (!locate(controlId, column, row)) return false;
    column->set(static_cast<std::uint8_t>(1u << row));
    return true;
}

}  // namespace kestrane
