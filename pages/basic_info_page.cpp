#include "basic_info_page.h"

#include "basic_info_rules.h"
#include "class_record.h"
#include "tables.h"

#include <algorithm>
#include <cstring>

namespace {

// Holds a shown page's drawing off while it is filled, then draws it once.
// A hidden page is drawn when it is shown; WM_SETREDRAW would show it.
class DrawingHeld {
public:
    explicit DrawingHeld(HWND page) : page_(page), held_((GetWindowLongPtrW(page, GWL_STYLE) & WS_VISIBLE) != 0) {
        if (held_) kestrane::fw::Control(page_).setRedraw(false);
    }
    ~DrawingHeld() {
        if (!held_) return;
        kestrane::fw::Control(page_).setRedraw(true);
        RedrawWindow(page_, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
    }
    DrawingHeld(const DrawingHeld&) = delete;
    DrawingHeld& operator=(const DrawingHeld&) = delete;

private:
    HWND page_;
    bool held_;
};

}  // namespace

namespace kestrane {

using fw::Arg;

namespace {

// The last field of each row of like controls; the table's ranges include it.
constexpr int kLastAttributeId = IDC_ATTRIBUTE0 + static_cast<int>(kAttributeCount) - 1;
constexpr int kLastSkillId = IDC_SKILL0 + static_cast<int>(kSkillCount) - 1;

}  // namespace

const fw::MessageTable BasicInfoPage::table = {
    &ClassPage::table,
    {
        fw::onCommandRange<&BasicInfoPage::attributeChanged>(EN_CHANGE, IDC_ATTRIBUTE0, kLastAttributeId, Arg::Index),
        fw::onCommand<&BasicInfoPage::hitPointsChanged>(EN_CHANGE, IDC_HIT_POINTS),
        fw::onCommand<&BasicInfoPage::multiplierChanged>(EN_CHANGE, IDC_MULTIPLIER),
        fw::onCommandRange<&BasicInfoPage::skillChanged>(CBN_SELCHANGE, IDC_SKILL0, kLastSkillId, Arg::Index),
        fw::onMessage<&BasicInfoPage::stepField>(WM_VSCROLL),
    }};

std::vector<fw::PropertyPage::ListInit> BasicInfoPage::initData() const {
    std::vector<ListInit> lists;
    for (int i = 0; i < static_cast<int>(kSkillCount); ++i)
        lists.push_back({IDC_SKILL0 + i, std::vector<const char*>(SkillNames.begin(), SkillNames.end())});
    return lists;
}

void BasicInfoPage::replaceNumber(int id, const std::string& text) {
    fw::EditField field = edit(id);
    selectText(field, 0, -1, false);
    field.replaceSel(text);
    showFromStart(field);
}

void BasicInfoPage::showFromStart(const fw::EditField& field) const {
    // The replacement leaves the caret at the end, and a text wider than the
    // field would show only its last digits.
    field.setSel(0, 0);
    field.scrollCaret();
}

bool BasicInfoPage::onInitDialog() {
    const bool result = ClassPage::onInitDialog();
    // The attributes and hit points take digits alone (ES_NUMBER); the
    // multiplier digits and one decimal point.
    edit(IDC_MULTIPLIER).keepTypingTo(&multiplierTakes, L"You can only type a number here, with one decimal point.");
    return result;
}

bool BasicInfoPage::loadControls() {
    DrawingHeld held(hwnd());
    ClassPage::loadControls();

    for (int i = 0; i < static_cast<int>(kAttributeCount); ++i)
        showNumber(IDC_ATTRIBUTE0 + i, formatNumber(ClassRecord.attributes[i]), kAttributeLimit);
    showNumber(IDC_HIT_POINTS, formatNumber(ClassRecord.hitPointsPerLevel), kHitPointsLimit);
    showNumber(IDC_MULTIPLIER, formatMultiplier(ClassRecord.advancementMultiplier), kMultiplierLimit);

    // 35 or more leaves the list with no selection; the record keeps its value.
    for (int i = 0; i < static_cast<int>(kSkillCount); ++i) {
        const fw::ComboBox list = comboBox(IDC_SKILL0 + i);
        const int shown = ClassRecord.skills[i] < SkillNames.size() ? ClassRecord.skills[i] : -1;
        if (list.curSel() != shown) list.setCurSel(ClassRecord.skills[i]);
    }
    return true;
}

// A value too long for its field gets a limit that fits it, before and after
// the replacement, so the whole text is shown. A field already showing its
// text keeps it: replacing it would only cost time.
void BasicInfoPage::showNumber(int id, const std::string& text, std::size_t limit) {
    const std::size_t fitting = fieldLimitFor(text, limit);
    fw::EditField field = edit(id);
    if (fieldText(id) == text) {
        field.limitText(fitting);
        showFromStart(field);
        return;
    }
    field.limitText(std::max(fitting, field.limit()));
    replaceNumber(id, text);
    field.limitText(fitting);
}

void BasicInfoPage::restoreUnreadFields() {
    for (int i = 0; i < static_cast<int>(kAttributeCount); ++i)
        if (!readNumberText(fieldText(IDC_ATTRIBUTE0 + i)))
            showNumber(IDC_ATTRIBUTE0 + i, formatNumber(ClassRecord.attributes[i]), kAttributeLimit);
    if (!readNumberText(fieldText(IDC_HIT_POINTS)))
        showNumber(IDC_HIT_POINTS, formatNumber(ClassRecord.hitPointsPerLevel), kHitPointsLimit);
    if (!readMultiplierText(fieldText(IDC_MULTIPLIER)))
        showNumber(IDC_MULTIPLIER, formatMultiplier(ClassRecord.advancementMultiplier), kMultiplierLimit);
}

std::string BasicInfoPage::fieldText(int id) const {
    fw::EditField field = edit(id);
    // The field's limit bounds what it can hold; cap the read for safety.
    return field.line(std::min<std::size_t>(field.limit(), 64));
}

// Each change handler stores only what the user did: a fill's replacements
// leave the record, the multiplier's exact value included, as it was. Text
// that does not read as the field's number stores nothing; the field shows
// the stored value again when it is left.
void BasicInfoPage::attributeChanged(int index) {
    if (filling()) return;
    storeAttributeText(static_cast<std::size_t>(index), fieldText(IDC_ATTRIBUTE0 + index));
}

void BasicInfoPage::hitPointsChanged() {
    if (filling()) return;
    storeHitPointsText(fieldText(IDC_HIT_POINTS));
}

void BasicInfoPage::multiplierChanged() {
    if (filling()) return;
    storeMultiplierText(fieldText(IDC_MULTIPLIER));
}

void BasicInfoPage::skillChanged(int index) {
    if (filling()) return;
    storeSkillSelection(static_cast<std::size_t>(index), comboBox(IDC_SKILL0 + index).curSel());
}

bool BasicInfoPage::showsSpotAt(int control, const Spot& spot) const {
    // An attribute or a skill is an entry of its array: bit i of the mask.
    const auto entry = [&](const char* field, int first, std::size_t count) {
        const int i = control - first;
        return i >= 0 && i < static_cast<int>(count) && std::strcmp(spot.field, field) == 0 && (spot.mask >> i & 1u);
    };
    return entry("attributes", IDC_ATTRIBUTE0, kAttributeCount) || entry("skills", IDC_SKILL0, kSkillCount) ||
           entry("hitPointsPerLevel", IDC_HIT_POINTS, 1) || entry("advancementMultiplier", IDC_MULTIPLIER, 1) ||
           ClassPage::showsSpotAt(control, spot);
}

int BasicInfoPage::focusTarget(int control) const {
    if (control >= IDC_ATTRIBUTE_ARROWS0 && control < IDC_ATTRIBUTE_ARROWS0 + static_cast<int>(kAttributeCount))
        return IDC_ATTRIBUTE0 + (control - IDC_ATTRIBUTE_ARROWS0);
    switch (control) {
        case IDC_HIT_POINTS_ARROWS: return IDC_HIT_POINTS;
        case IDC_MULTIPLIER_ARROWS: return IDC_MULTIPLIER;
        default: return control;
    }
}

bool BasicInfoPage::preTranslate(MSG& msg) {
    if (msg.message != WM_KEYDOWN || (msg.wParam != VK_UP && msg.wParam != VK_DOWN)) return false;
    const int id = GetDlgCtrlID(msg.hwnd);
    if (GetParent(msg.hwnd) != hwnd_) return false;
    int arrows = 0;
    if (id >= IDC_ATTRIBUTE0 && id < IDC_ATTRIBUTE0 + static_cast<int>(kAttributeCount))
        arrows = IDC_ATTRIBUTE_ARROWS0 + (id - IDC_ATTRIBUTE0);
    else if (id == IDC_HIT_POINTS)
        arrows = IDC_HIT_POINTS_ARROWS;
    else if (id == IDC_MULTIPLIER)
        arrows = IDC_MULTIPLIER_ARROWS;
    else
        return false;
    // The same message a click on the upper or lower arrow sends, so the key
    // takes the same steps, bounds and record change.
    const WPARAM code = msg.wParam == VK_UP ? SB_LINEUP : SB_LINEDOWN;
    SendMessageW(hwnd_, WM_VSCROLL, MAKEWPARAM(code, 0), reinterpret_cast<LPARAM>(item(arrows)));
    return true;
}

void BasicInfoPage::stepField(fw::Message& m) {
    const int code = LOWORD(m.wParam);
    const HWND bar = reinterpret_cast<HWND>(m.lParam);
    for (int i = 0; i < static_cast<int>(kAttributeCount); ++i) {
        if (bar != item(IDC_ATTRIBUTE_ARROWS0 + i)) continue;
        if (!stepAttribute(ClassRecord.attributes[i], code)) return;
        replaceNumber(IDC_ATTRIBUTE0 + i, formatNumber(ClassRecord.attributes[i]));
        return;
    }
    if (bar == item(IDC_HIT_POINTS_ARROWS)) {
        if (!stepHitPoints(ClassRecord.hitPointsPerLevel, code)) return;
        replaceNumber(IDC_HIT_POINTS, formatNumber(ClassRecord.hitPointsPerLevel));
    } else if (bar == item(IDC_MULTIPLIER_ARROWS)) {
        if (!stepMultiplier(ClassRecord.advancementMultiplier, code)) return;
        replaceNumber(IDC_MULTIPLIER, formatMultiplier(ClassRecord.advancementMultiplier));
    }
}

}  // namespace kestrane
