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
        // A click on the button, or its shortcut key (an accelerator command).
        fw::onCommand<&ClassPage::openCommand>(-1, ID_FILE_OPEN),
        fw::onCommand<&ClassPage::saveCommand>(-1, ID_FILE_SAVE),
        fw::onCommand<&ClassPage::saveAsCommand>(-1, ID_FILE_SAVE_AS),
        fw::onCommand<&ClassPage::exitCommand>(-1, ID_APP_EXIT_CMD),
        fw::onCommand<&ClassPage::aboutCommand>(-1, ID_APP_ABOUT_CMD),
    }};

bool ClassPage::initPage() {
    fw::PropertyPage::initPage();
    return refill();
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

bool ClassPage::refill() {
    // Restored however the fill ends, or no typing would count again.
    struct Held {
        bool& flag;
        const bool was;
        explicit Held(bool& f) : flag(f), was(f) { flag = true; }
        ~Held() { flag = was; }
    } held(filling_);
    return loadControls();
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

// The page in front shows the record just read; the others refill when
// they come to the front.
void ClassPage::openCommand() {
    editor_.openCommand();
    refill();
}

void ClassPage::saveCommand() { editor_.saveCommand(); }

void ClassPage::saveAsCommand() { editor_.saveAsCommand(); }

void ClassPage::exitCommand() { editor_.exitCommand(); }

void ClassPage::aboutCommand() { editor_.aboutCommand(); }

}  // namespace kestrane
