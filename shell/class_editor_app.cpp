#include "class_editor_app.h"

#include "class_sheet.h"

namespace kestrane {

// The one application object, constructed before WinMain runs.
ClassEditorApp theApp;

ClassEditorApp::ClassEditorApp() = default;
ClassEditorApp::~ClassEditorApp() = default;

bool ClassEditorApp::startUp() {
    enable3dControls();
    sheet_ = std::make_unique<ClassSheet>();
    mainWindow = sheet_.get();
    // Without a window the program ends; the object stays until then.
    if (!sheet_->initialLoad() || !sheet_->create(ClassSheet::kStyle, ClassSheet::kExStyle)) {
        mainWindow = nullptr;
        return false;
    }
    sheet_->showFileInCaption();
    ShowWindow(sheet_->hwnd(), showState());
    return true;
}

// Whatever a message changed (an edit, Open, Save As, Save), the caption
// follows it.
void ClassEditorApp::afterMessage() {
    if (mainWindow) sheet_->showFileInCaption();
}

}  // namespace kestrane
