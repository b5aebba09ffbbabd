// Commands on the program's message boxes: a box by its text, its standard icon told
// by the pixels on the screen, and its answer.
#include <algorithm>
#include <map>

#include "commands.h"

namespace kestrane {

namespace {

bool isMessageBox(HWND h) { return className(h) == "#32770" && Driver::messageBoxText(h); }

// ---- the icon, by what is on the screen ----

// Icon handles do not compare across processes, and a thread injected into the
// program can stall there; so the icon's pixels are compared with the standard
// icons drawn here on the same background.
BOOL CALLBACK findIconStatic(HWND child, LPARAM lp) {
    char cls[32] = "";
    GetClassNameA(child, cls, sizeof cls);
    if (lstrcmpiA(cls, "Static") == 0 && (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
        IsWindowVisible(child)) {
        *reinterpret_cast<HWND*>(lp) = child;
        return FALSE;
    }
    return TRUE;
}

std::vector<DWORD> pixels(HDC source, int x, int y, int w, int h) {
    HDC mem = CreateCompatibleDC(source);
    HBITMAP bmp = CreateCompatibleBitmap(source, w, h);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, source, x, y, SRCCOPY);
    SelectObject(mem, old);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> out(size_t(w) * size_t(h));
    GetDIBits(mem, bmp, 0, UINT(h), out.data(), &bi, DIB_RGB_COLORS);
    DeleteObject(bmp);
    DeleteDC(mem);
    return out;
}

std::string messageBoxIcon(HWND box) {
    HWND icon = nullptr;
    EnumChildWindows(box, findIconStatic, reinterpret_cast<LPARAM>(&icon));
    if (!icon) return "none";
    RECT r;
    GetWindowRect(icon, &r);
    const int w = std::min<int>(r.right - r.left, GetSystemMetrics(SM_CXICON));
    const int h = std::min<int>(r.bottom - r.top, GetSystemMetrics(SM_CYICON));
    if (w <= 0 || h <= 0) return "none";
    HDC screen = GetDC(nullptr);
    std::vector<DWORD> shown = pixels(screen, r.left, r.top, w, h);
    struct Candidate {
        const char* name;
        LPCSTR id;
    } const candidates[] = {{"stop", IDI_HAND}, {"question", IDI_QUESTION},
                            {"exclamation", IDI_EXCLAMATION}, {"information", IDI_ASTERISK}};
    std::string best = "other";
    size_t bestDiff = size_t(w) * size_t(h) / 20;  // at most 5% of the pixels may differ
    for (const Candidate& k : candidates) {
        HDC mem = CreateCompatibleDC(screen);
        HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
        HGDIOBJ old = SelectObject(mem, bmp);
        // The box's own background: its top-left pixel, where no standard icon is opaque.
        DWORD c = shown[0];
        HBRUSH background = CreateSolidBrush(RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF));
        RECT all = {0, 0, w, h};
        FillRect(mem, &all, background);
        DeleteObject(background);
        DrawIconEx(mem, 0, 0, LoadIconA(nullptr, k.id), 0, 0, 0, nullptr, DI_NORMAL);
        std::vector<DWORD> drawn = pixels(mem, 0, 0, w, h);
        SelectObject(mem, old);
        DeleteObject(bmp);
        DeleteDC(mem);
        size_t diff = 0;
        for (size_t i = 0; i < shown.size(); ++i) diff += (shown[i] & 0xFFFFFF) != (drawn[i] & 0xFFFFFF);
        if (diff < bestDiff) {
            bestDiff = diff;
            best = k.name;
        }
    }
    ReleaseDC(nullptr, screen);
    return best;
}

}  // namespace

void cmdExpectMsgbox(Driver& d, const Call& k) {
    d.requireStarted();
    HWND found = nullptr;
    if (!d.waitFor(
            [&] {
                for (HWND h : d.topWindows())
                    if (isMessageBox(h) && Driver::caption(Driver::messageBoxText(h)) == k.a(1))
                        return (found = h) != nullptr;
                return false;
            },
            d.timeoutMs))
        fail("no message box " + quote(k.a(1)) + " appeared; seen:" + d.windowsSummary());
    d.makeCurrent(found);
}

void cmdExpectMsgboxIcon(Driver& d, const Call& k) {
    HWND box = d.requireCurrent();
    d.expectValue("message box icon", k.a(1), [&] { return messageBoxIcon(box); });
}

// The button clicked (posted), then the box waited for until it has closed; the
// window from before it is current again.
void cmdAnswer(Driver& d, const Call& k) {
    static const std::map<std::string, int> ids = {{"ok", IDOK}, {"cancel", IDCANCEL}, {"yes", IDYES}, {"no", IDNO}};
    auto it = ids.find(k.a(1));
    if (it == ids.end()) fail("answer yes, no, ok or cancel");
    HWND box = d.requireCurrent();
    HWND button = nullptr;
    for (HWND b : directChildren(box))
        if (controlId(b) == it->second && className(b) == "Button" && IsWindowVisible(b)) button = b;
    if (!button) fail(format("%s has no %s button", quote(Driver::caption(box)).c_str(), k.a(1).c_str()));
    d.post(button, BM_CLICK, 0, 0);
    if (!d.waitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); }, d.timeoutMs))
        fail(format("%s did not close", quote(Driver::caption(box)).c_str()));
    d.backToPrevious();
}

}  // namespace kestrane
