#include "tally_box.h"

#include "basic_info_rules.h"
#include "controls.h"
#include "engine_play.h"
#include "findings.h"
#include "tally.h"
#include "wide_string.h"

#include <cstdio>
#include <string>

namespace kestrane {

const fw::MessageTable TallyBox::table = {
    &fw::Dialog::table,
    {
        fw::onClicked<&TallyBox::useClicked>(IDC_TALLY_USE),
    }};

namespace {

std::string counted(int n, const char* noun) {
    return formatNumber(static_cast<unsigned>(n)) + " " + noun + (n == 1 ? "" : "s");
}

const char* gameWords(Game game) {
    switch (game) {
        case Game::Engine: return "open engine";
        case Game::Maker: return "class maker";
        case Game::Editor: return "editor";
    }
    return "";
}

}  // namespace

bool TallyBox::onInitDialog() {
    const ClassTally t = tallyClass(record_);
    std::string text;
    auto line = [&text](int points, const std::string& what) {
        text += (points < 0 ? "" : "+") + std::to_string(points) + "\t" + what + "\r\n";
    };
    line(t.hitPointPoints, "hit points per level " + formatNumber(record_.hitPointsPerLevel));
    for (const TallyItem& i : t.items) line(i.points, i.name);
    line(t.total, "total: " + counted(t.advantages, "advantage") + ", " + counted(t.disadvantages, "disadvantage"));
    for (const std::string& b : t.beyondMaker) text += "\tnot from the maker: " + b + "\r\n";
    text += tallySummary(t) + "; the file has " + formatMultiplier(record_.advancementMultiplier);
    text += std::string("\r\n\r\n") + kPlayHeading;
    for (const std::string& l : playLines(record_, record_.classFilePath)) text += "\r\n\t" + l;
    // A clean class shows no findings' part; the page's count says "no findings".
    const std::vector<Finding> found = findClass(record_, record_.classFilePath);
    if (!found.empty()) text += "\r\n\r\n" + findingsHeading(found) + ":";
    for (const Finding& f : found)
        text += "\r\n- " + f.text + " (" + gameWords(f.game) + (counts(f) ? ")" : ", note)");

    const fw::EditField field(item(IDC_TALLY_TEXT));
    field.setTabStop(16);  // dialog units: room for "+14"
    // Wide: a finding may quote the class name, UTF-8 text.
    field.setText(widen(text));
    fw::Control(item(IDC_TALLY_USE)).setText("&Use " + twoDecimals(t.makerMultiplier));
    // A class the maker could not make has no maker's multiplier to use.
    EnableWindow(item(IDC_TALLY_USE), t.beyondMaker.empty());
    centreOnOwner();
    // The focus on "Close", so the text is not shown selected.
    SetFocus(item(IDOK));
    return false;
}

void TallyBox::useClicked() {
    useChosen_ = true;
    EndDialog(hwnd_, IDC_TALLY_USE);
}

}  // namespace kestrane
