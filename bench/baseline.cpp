// The start-up baselines: bare programs that show one modeless property sheet
// and nothing else. baseline.exe shows one empty page; template_baseline.exe
// (built with KESTRANE_BASELINE_TEMPLATES) shows kestrane.exe's five page
// templates, linked from resources/, with no page code and nothing filled, so
// that kestrane.exe measured against it shows what our own code costs. It
// carries kestrane.exe's status bar too, which is the platform's cost as much.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <vector>

#ifdef KESTRANE_BASELINE_TEMPLATES
#include "resource.h"
#endif

namespace {

INT_PTR CALLBACK pageProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

#ifndef KESTRANE_BASELINE_TEMPLATES
// An empty page template: WS_CHILD | WS_DISABLED | WS_CAPTION | DS_SETFONT, 241 x 224.
std::vector<WORD> pageTemplate() {
    std::vector<WORD> t;
    auto dword = [&t](DWORD d) {
        t.push_back(LOWORD(d));
        t.push_back(HIWORD(d));
    };
    auto text = [&t](const wchar_t* s) {
        do t.push_back(static_cast<WORD>(*s)); while (*s++);
    };
    dword(WS_CHILD | WS_DISABLED | WS_CAPTION | DS_SETFONT);
    dword(0);
    t.push_back(0);  // no controls
    t.push_back(30);
    t.push_back(40);
    t.push_back(241);
    t.push_back(224);
    t.push_back(0);  // no menu
    t.push_back(0);  // default class
    text(L"Page");
    t.push_back(10);
    text(L"MS Sans Serif");
    return t;
}
#endif

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
#ifdef KESTRANE_BASELINE_TEMPLATES
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_TAB_CLASSES | ICC_BAR_CLASSES};
#else
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_TAB_CLASSES};
#endif
    InitCommonControlsEx(&icc);

    std::vector<PROPSHEETPAGEW> pages;
    PROPSHEETPAGEW page{};
    page.dwSize = sizeof(page);
    page.hInstance = instance;
    page.pfnDlgProc = pageProc;
#ifdef KESTRANE_BASELINE_TEMPLATES
    // kestrane.exe's pages, in its order.
    for (int id : {IDD_BASIC_INFO, IDD_RESISTANCE, IDD_WEAPONS_ARMOR, IDD_MAGICKA, IDD_MISCELLANEOUS}) {
        page.pszTemplate = MAKEINTRESOURCEW(id);
        pages.push_back(page);
    }
    const wchar_t* caption = L"TEMPLATES";
#else
    std::vector<WORD> tmpl = pageTemplate();
    page.dwFlags = PSP_DLGINDIRECT;
    page.pResource = reinterpret_cast<LPCDLGTEMPLATEW>(tmpl.data());
    pages.push_back(page);
    const wchar_t* caption = L"BASELINE";
#endif

    PROPSHEETHEADERW sheet{};
    sheet.dwSize = sizeof(sheet);
    sheet.dwFlags = PSH_MODELESS | PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW;
    sheet.hInstance = instance;
    sheet.pszCaption = caption;
    sheet.nPages = static_cast<UINT>(pages.size());
    sheet.ppsp = pages.data();
    HWND hwnd = reinterpret_cast<HWND>(PropertySheetW(&sheet));
    if (!hwnd) return 1;
#ifdef KESTRANE_BASELINE_TEMPLATES
    // kestrane.exe's status bar, in the window's font, the window grown by
    // its height, in two parts with a text each.
    HWND bar = CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, hwnd, nullptr,
                               instance, nullptr);
    SendMessageW(bar, WM_SETFONT, SendMessageW(hwnd, WM_GETFONT, 0, 0), FALSE);
    SendMessageW(bar, WM_SIZE, 0, 0);
    RECT barRect{}, window{}, client{};
    GetWindowRect(bar, &barRect);
    GetWindowRect(hwnd, &window);
    SetWindowPos(hwnd, nullptr, 0, 0, window.right - window.left,
                 window.bottom - window.top + barRect.bottom - barRect.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(bar, WM_SIZE, 0, 0);
    GetClientRect(hwnd, &client);
    const int edges[] = {client.right - 80, -1};
    SendMessageW(bar, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges));
    SendMessageW(bar, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L"Class maker: 2.01 (21 points)"));
    SendMessageW(bar, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(L"1 finding"));
#endif
    ShowWindow(hwnd, show);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (PropSheet_IsDialogMessage(hwnd, &msg)) {
            if (!PropSheet_GetCurrentPageHwnd(hwnd)) DestroyWindow(hwnd);
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
