// Window, modal dialog, property page and property sheet base classes.
#ifndef KESTRANE_WINDOW_H
#define KESTRANE_WINDOW_H

#include "message_table.h"

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <utility>
#include <vector>

#include "wide_string.h"

namespace kestrane::fw {

class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window() = default;

    virtual const MessageTable* messageTable() const;
    HWND hwnd() const { return hwnd_; }
    // A control of this window. Looked up once per window: under Wine every
    // GetDlgItem asks the window server, and a page fill asks dozens of times.
    HWND item(int id) const;

    // Runs the handler that the table chain names for `m`, catching every
    // error there and reporting it. Returns false when no entry matched.
    bool dispatch(Message& m);

    // A queued message before it is translated and dispatched: true when this
    // window has dealt with it (a shortcut key, say).
    virtual bool preTranslate(MSG&) { return false; }

    static const MessageTable table;

protected:
    // Binds the object to its window, or to none once the window is gone.
    void attach(HWND hwnd) {
        hwnd_ = hwnd;
        items_.clear();
    }

    HWND hwnd_ = nullptr;

private:
    mutable std::vector<std::pair<int, HWND>> items_;
};

// A window built from a dialog template: a modal dialog or a property page.
// Both run one dialog procedure; each says what it does with WM_INITDIALOG
// and with the messages its table leaves.
class DialogWindow : public Window {
public:
    int templateId() const { return templateId_; }

protected:
    explicit DialogWindow(int templateId) : templateId_(templateId) {}

    // When the window has been created from its template; true to let the
    // platform give the first control the focus.
    virtual bool onInitDialog() { return true; }
    // A message no table row took: true when handled here, with m.result set.
    virtual bool ownHandling(Message&) { return false; }

    // The dialog procedure; `created` is the object, known only on WM_INITDIALOG.
    static INT_PTR run(DialogWindow* created, HWND, UINT, WPARAM, LPARAM);

private:
    int templateId_;
};

// A modal dialog built from a template. Its default handling ends it with
// OK, Enter, Escape or the system menu's Close.
class Dialog : public DialogWindow {
public:
    explicit Dialog(int templateId) : DialogWindow(templateId) {}
    void runModal(HWND owner);

    static const MessageTable table;
    const MessageTable* messageTable() const override { return &table; }

protected:
    // Moves the dialog over the middle of its owner, kept on the owner's screen.
    void centreOnOwner() const;
    bool ownHandling(Message& m) override;

private:
    static INT_PTR CALLBACK proc(HWND, UINT, WPARAM, LPARAM);
};

// One page of a property sheet, built from its dialog template; its tab shows
// the template's title.
class PropertyPage : public DialogWindow {
public:
    explicit PropertyPage(int templateId) : DialogWindow(templateId) {}

    // Entries the dialog's standard initialisation adds to its lists.
    struct ListInit {
        int controlId;
        std::vector<const char*> texts;
    };

    // Called when the page's window has been created from its template.
    // The base applies the initialisation data to each list not holding it.
    virtual bool initPage();
    // Called each time the page becomes the active page, the first included.
    virtual bool activatePage();

    PROPSHEETPAGEW pageDescriptor();

protected:
    virtual std::vector<ListInit> initData() const { return {}; }
    bool onInitDialog() override;
    bool ownHandling(Message& m) override;

private:
    static INT_PTR CALLBACK proc(HWND, UINT, WPARAM, LPARAM);
    // Once the sheet has shown this page: when the keyboard focus is in the
    // sheet but neither on its tab row nor on this page (a hidden page keeps
    // it through a page change under Wine, and typing would edit that page),
    // it moves to the tab row.
    void focusFollows() const;
};

// A modeless property sheet: a top-level window with a tab row above the
// active page and no OK, Cancel, Apply or Help buttons.
class SheetWindow : public Window {
public:
    SheetWindow(WString caption, HWND parent, int firstPage)
        : caption_(std::move(caption)), parent_(parent), firstPage_(firstPage) {}

    void addPage(PropertyPage* page) { pages_.push_back(page); }
    // Shortcut keys, sent as commands to the page in front.
    void setAccelerators(HACCEL table) { accelerators_ = table; }
    // The page in front, or nothing before the window exists.
    PropertyPage* activePage() const;

    // Shortcut keys first, then whatever the page in front takes itself.
    bool preTranslate(MSG& msg) override;

    // Creates the window with the given styles; false when it cannot be made.
    bool create(DWORD style, DWORD exStyle);
    // Destroys the window once the message being handled has returned, so no
    // handler still running (a page's, the sheet's own) outlives its window.
    void destroyLater();

    static const MessageTable table;
    const MessageTable* messageTable() const override { return &table; }

protected:
    // Runs once the platform has built the window: trims the system menu to
    // Restore, Move, Minimize and Close, removes the button band and sizes the
    // sheet for its largest page.
    virtual int onCreate();
    // The platform's own handling of a message the table took.
    LRESULT defaultHandling(Message& m);

private:
    static int CALLBACK sheetCallback(HWND, UINT, LPARAM);
    static LRESULT CALLBACK subclassProc(HWND, UINT, WPARAM, LPARAM);

    WString caption_;
    HWND parent_;
    int firstPage_;
    std::vector<PropertyPage*> pages_;
    HACCEL accelerators_ = nullptr;
    WNDPROC platformProc_ = nullptr;
    DWORD style_ = 0;
    DWORD exStyle_ = 0;
};

}  // namespace kestrane::fw

#endif
