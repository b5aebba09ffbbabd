// The one application object: start-up hook, main window, program title,
// message boxes and the message loop.
#ifndef KESTRANE_APPLICATION_H
#define KESTRANE_APPLICATION_H

#include <windows.h>

#include <string>

#include "wide_string.h"

namespace kestrane::fw {

class Window;

class Application {
public:
    Application();
    virtual ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Per-instance initialisation: true when a window is up and the message
    // loop should run.
    virtual bool startUp() = 0;

    HINSTANCE instance() const { return instance_; }
    int showState() const { return showState_; }

    Window* mainWindow = nullptr;

    // A message box captioned with the program title, owned by the main
    // window's active pop-up (or by nothing before there is a main window).
    int messageBox(const WString& text, UINT type) const;

    // Turns on the three-dimensional controls library when it is present.
    void enable3dControls();

    int run(HINSTANCE instance, int showState);

protected:
    // After each message of the main loop has been handled.
    virtual void afterMessage() {}

private:
    WString title_;  // the exe's file name without directory and extension
    HINSTANCE instance_ = nullptr;
    int showState_ = SW_SHOWNORMAL;
    HMODULE ctl3d_ = nullptr;
};

Application* app();

}  // namespace kestrane::fw

#endif
