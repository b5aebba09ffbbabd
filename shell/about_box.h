#ifndef KESTRANE_ABOUT_BOX_H
#define KESTRANE_ABOUT_BOX_H

#include "resource.h"
#include "window.h"

namespace kestrane {

// The About box: its template does the rest; OK, Enter and Escape close it.
// It opens centred on the window that asked for it, and shows the program's
// icon at the size the screen's resolution asks for (32 pixels at 96 dpi, 48 at
// 144, 64 at 192), which the icon file holds.
class AboutBox : public fw::Dialog {
public:
    AboutBox() : fw::Dialog(IDD_ABOUT) {}
    ~AboutBox() {
        if (icon_) DestroyIcon(icon_);
    }
    AboutBox(const AboutBox&) = delete;
    AboutBox& operator=(const AboutBox&) = delete;

protected:
    bool onInitDialog() override {
        centreOnOwner();
        HDC dc = GetDC(hwnd());
        const int size = MulDiv(32, GetDeviceCaps(dc, LOGPIXELSX), 96);
        ReleaseDC(hwnd(), dc);
        for (HWND c = GetWindow(hwnd(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            wchar_t cls[16] = {};
            GetClassNameW(c, cls, 16);
            if (lstrcmpiW(cls, L"Static") || (GetWindowLongPtrW(c, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) continue;
            icon_ = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_KESTRANE),
                                                  IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
            if (icon_) SendMessageW(c, STM_SETICON, reinterpret_cast<WPARAM>(icon_), 0);
            break;
        }
        return true;
    }

private:
    HICON icon_ = nullptr;
};

}  // namespace kestrane

#endif
