#include "basic_info_page.h"

#include "basic_info_rules.h"
#include "class_record.h"
#include "tables.h"

#include <algorithm>

namespace kestrane {

using fw::Arg;

const fw::MessageTable BasicInfoPage::table = {
    &ClassPage::table,
    {
        fw::onCommandRange<&BasicInfoPage::attributeChanged>(EN_CHANGE, IDC_ATTRIBUTE0, IDC_ATTRIBUTE0 + 7, Arg::Index),
        fw::onCommand<&BasicInfoPage::hitPointsChanged>(EN_CHANGE, IDC_HIT_POINTS),
        fw::onCommand<&BasicInfoPage::multiplierChanged>(EN_CHANGE, IDC_MULTIPLIER),
        fw::onCommandRange<&BasicInfoPage::skillChanged>(CBN_SELCHANGE, IDC_SKILL0, IDC_SKILL0 + 11, Arg::Index),
        fw::onMessage<&BasicInfoPage::stepField>(WM_VSCROLL),
    }};

std::vector<fw::PropertyPage::ListInit> BasicInfoPage::initData() const {
    std::vector<ListInit> lists;
    for (int i = 0; i < static_cast<int>(kSkillCount); ++i)
        lists.push_back({IDC_SKILL0 + i, std::vector<const char*>(SkillNames.begin(), SkillNames.end())});
    return lists;
}

bool BasicInfoPage::initPage() {
    // Emptied first, so each list holds the 35 names once however often the
    // page is initialised.
    for (int i = 0; i < static_cast<int>(kSkillCount); ++i) comboBox(IDC_SKILL0 + i).resetContent();
    return ClassPage::initPage();
}

void BasicInfoPage::replaceNumber(int id, const std::string& text) {
    fw::EditField field = edit(id);
    selectText(field, 0, -1, false);
    field.replaceSel(text);
}

bool BasicInfoPage::loadControls() {
    ClassPage::loadControls();

    // A value too long for its field gets a limit that fits it, before and
    // after the fill, so the whole text is shown and read back unchanged.
    auto show = [this](int id, const std::string& text, std::size_t limit) {
        std::size_t fitting = fieldLimitFor(text, limit);
        edit(id).limitText(std::max(fitting, edit(id).limit()));
        replaceNumber(id, text);
        edit(id).limitText(fitting);
    };
    for (int i = 0; i < static_cast<int>(kAttributeCount); ++i)
        show(IDC_ATTRIBUTE0 + i, formatNumber(ClassRecord.attributes[i]), kAttributeLimit);
    show(IDC_HIT_POINTS, formatNumber(ClassRecord.hitPointsPerLevel), kHitPointsLimit);
    show(IDC_MULTIPLIER, formatMultiplier(ClassRecord.advancementMultiplier), kMultiplierLimit);

    // 35 or more leaves the list with no selection; the record keeps its value.
    for (int i = 0; i < static_cast<int>(kSkillCount); ++i) comboBox(IDC_SKILL0 + i).setCurSel(ClassRecord.skills[i]);
    return true;
}

std::string BasicInfoPage::fieldText(int id) const {
    fw::EditField field = edit(id);
    // The field's limit bounds what it can hold; cap the read for safety.
    return field.line(std::min<std::size_t>(field.limit(), 64));
}

void BasicInfoPage::attributeChanged(int index) {
    storeAttributeText(static_cast<std::size_t>(index), fieldText(IDC_ATTRIBUTE0 + index));
}

void BasicInfoPage::hitPointsChanged() { storeHitPointsText(fieldText(IDC_HIT_POINTS)); }

void BasicInfoPage::multiplierChanged() { storeMultiplierText(fieldText(IDC_MULTIPLIER)); }

void BasicInfoPage::skillChanged(int index) {
    storeSkillSelection(static_cast<std::size_t>(index), comboBox(IDC_SKILL0 + index).curSel());
}

void BasicInfoPage::stepField(fw::Message& m) {
    const int code = LOWORD(m.wParam);
    const HWND bar = reinterpret_cast<HWND>(m.lParam);
    for (int i = 0; i < static_cast<int>(kAttributeCount); ++i) {
        if (bar != item(IDC_ATTRIBUTE_ARROWS0 + i)) continue;
        if (!stepAttribute(ClassRecord.attributes[i], code)) return;
        modified = 1;
        replaceNumber(IDC_ATTRIBUTE0 + i, formatNumber(ClassRecord.attributes[i]));
        return;
    }
    if (bar == item(IDC_HIT_POINTS_ARROWS)) {
        if (!stepHitPoints(ClassRecord.hitPointsPerLevel, code)) return;
        modified = 1;
        replaceNumber(IDC_HIT_POINTS, formatNumber(ClassRecord.hitPointsPerLevel));
    } else if (bar == item(IDC_MULTIPLIER_ARROWS)) {
        if (!stepMultiplier(ClassRecord.advancementMultiplier, code)) return;
        modified = 1;
        replaceNumber(IDC_MULTIPLIER, formatMultiplier(ClassRecord.advancementMultiplier));
    }
}

}  // namespace kestrane
