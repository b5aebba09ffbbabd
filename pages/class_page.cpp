#include "class_page.h"

#include "class_name_rules.h"
#include "class_record.h"
#include "resource.h"

#include <utility>

namespace kestrane {

const fw::MessageTable ClassPage::table = {
    &fw::PropertyPage::table,
    {
        fw::onCommand<&ClassPage::classNameChanged>(EN_CHANGE, IDC_CLASS_NAME),
        // Last, after every page's own rows: a click on a command button, or
        // its shortcut key (an accelerator command).
        fw::onCommand<&ClassPage::editorCommand>(-1, fw::kAnyControl, fw::Arg::Id),
    }};

namespace {

// Holds the change handlers off for one fill, and lets them work again however
// the fill ends, or no typing would count again.
class FillHeld {
public:
    explicit FillHeld(bool& filling) : flag_(filling), was_(filling) { flag_ = true; }
    ~FillHeld() { flag_ = was_; }
    FillHeld(const FillHeld&) = delete;
    FillHeld& operator=(const FillHeld&) = delete;

private:
    bool& flag_;
    const bool was_;
};

}  // namespace

bool ClassPage::initPage() {
    fw::PropertyPage::initPage();
    const FillHeld held(filling_);
    return loadControls();
}

bool ClassPage::onInitDialog() {
    bool result = fw::PropertyPage::onInitDialog();
    justFilled_ = true;
    return result;
}

bool ClassPage::activatePage() {
    bool result = fw::PropertyPage::activatePage();
    if (!std::exchange(justFilled_, false)) initPage();
    return result;
}

void ClassPage::refill() {
    const FillHeld held(filling_);
    loadControls();
}

bool ClassPage::loadControls() {
    fw::EditField name = edit(IDC_CLASS_NAME);
    selectText(name, 0, -1, false);
    name.replaceSel(classNameForDisplay(ClassRecord));  // classNameChanged runs inside and stores nothing
    // After the fill, so a fresh field's first fill is not cut.
    name.limitText(kClassNameLimit);
    return true;
}

void ClassPage::classNameChanged() {
    // A fill shows the name and leaves its 19 bytes as they are.
    if (filling()) return;
    storeClassName(ClassRecord, edit(IDC_CLASS_NAME).line(kClassNameLimit));
    modified = 1;
}

void ClassPage::selectText(const fw::EditField& field, int start, int end, bool noScroll) const {
    field.setSel(start, end);
    if (!noScroll) field.scrollCaret();
}

}  // namespace kestrane
