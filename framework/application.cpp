#include "application.h"

#include "system_library.h"
#include "window.h"

#include <commctrl.h>
#include <prsht.h>

namespace kestrane::fw {

namespace {
Application* g_app = nullptr;
}

Application* app() { return g_app; }


Application::Application() { g_app = this; }

Application::~Application() {
    if (ctl3d_) {
        using UnregisterFn = BOOL(WINAPI*)(HINSTANCE);
        if (auto unregister = systemFunction<UnregisterFn>(L"CTL3D32.DLL", "Ctl3dUnregister")) unregister(instance_);
    }
    g_app = nullptr;
}

int Application::messageBox(const WString& text, UINT type) const {
    HWND owner = nullptr;
    if (mainWindow && mainWindow->hwnd()) owner = GetLastActivePopup(mainWindow->hwnd());
    return MessageBoxW(owner, text.c_str(), title_.c_str(), type);
}

void Application::enable3dControls() {
    if (ctl3d_) return;
    ctl3d_ = systemLibrary(L"CTL3D32.DLL");
    if (!ctl3d_) return;  // the plain look it is
    using Fn = BOOL(WINAPI*)(HINSTANCE);
    auto reg = systemFunction<Fn>(L"CTL3D32.DLL", "Ctl3dRegister");
    auto autoSubclass = systemFunction<Fn>(L"CTL3D32.DLL", "Ctl3dAutoSubclass");
    if (reg && reg(instance_) && autoSubclass) autoSubclass(instance_);
}

int Application::run(HINSTANCE instance, int showState) {
    instance_ = instance;
    showState_ = showState;

    WString path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    WString::size_type slash = path.find_last_of(L"\\/");
    title_ = slash == WString::npos ? path : path.substr(slash + 1);
    WString::size_type dot = title_.find_last_of(L'.');
    if (dot != WString::npos) title_.resize(dot);

    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);

    bool started = false;
    try {
        started = startUp();
    } catch (const std::bad_alloc&) {
        messageBox(L"Insufficient memory to perform operation.", MB_OK | MB_ICONEXCLAMATION);
    } catch (...) {
        messageBox(L"Internal application error.", MB_OK | MB_ICONSTOP);
    }
    if (!started) return 0;

    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        HWND sheet = mainWindow ? mainWindow->hwnd() : nullptr;
        if (sheet && (mainWindow->preTranslate(msg) || PropSheet_IsDialogMessage(sheet, &msg))) {
            afterMessage();
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        afterMessage();
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace kestrane::fw

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showState) {
    kestrane::fw::Application* application = kestrane::fw::app();
    return application ? application->run(instance, showState) : 1;
}
