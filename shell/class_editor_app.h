#ifndef KESTRANE_CLASS_EDITOR_APP_H
#define KESTRANE_CLASS_EDITOR_APP_H

#include "application.h"

namespace kestrane {

class ClassEditorApp : public fw::Application {
public:
    bool startUp() override;

protected:
    void afterMessage() override;
};

}  // namespace kestrane

#endif
