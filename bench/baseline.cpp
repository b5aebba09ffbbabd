// The start-up baseline: a bare program that shows one modeless property sheet
// with one empty page, and nothing else. kestrane.exe is measured against it.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <vector>

namespace {

INT_PTR CALLBACK pageProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

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

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_TAB_CLASSES};
    InitCommonControlsEx(&icc);
    std::vector<WORD> tmpl = pageTemplate();

    PROPSHEETPAGEW page{};
    page.dwSize = sizeof(page);
    page.dwFlags = PSP_DLGINDIRECT;
    page.hInstance = instance;
    page.pResource = reinterpret_cast<LPCDLGTEMPLATEW>(tmpl.data());
    page.pfnDlgProc = pageProc;

    PROPSHEETHEADERW sheet{};
    sheet.dwSize = sizeof(sheet);
    sheet.dwFlags = PSH_MODELESS | PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW;
    sheet.hInstance = instance;
    sheet.pszCaption = L"BASELINE";
    sheet.nPages = 1;
    sheet.ppsp = &page;
    HWND hwnd = reinterpret_cast<HWND>(PropertySheetW(&sheet));
    if (!hwnd) return 1;
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
