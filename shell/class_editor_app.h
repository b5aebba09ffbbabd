#ifndef KESTRANE_CLASS_EDITOR_APP_H
#define KESTRANE_CLASS_EDITOR_APP_H

#include "application.h"

#include <memory>

namespace kestrane {

class ClassSheet;

class ClassEditorApp : public fw::Application {
public:
    ClassEditorApp();
    ~ClassEditorApp() override;

    bool startUp() override;

protected:
    void afterMessage() override;

private:
    // The editor window's object, the application's alone: made by startUp,
    // kept whatever becomes of its window, deleted only with the application.
    std::unique_ptr<ClassSheet> sheet_;
};

}  // namespace kestrane

#endif
