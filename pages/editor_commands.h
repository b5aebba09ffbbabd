// What a page asks of the editor window that holds it: the commands every
// page carries as buttons and shortcut keys, and the history of the user's
// changes. The window hands itself to its pages as this, so the pages know
// nothing of the window's class.
#ifndef KESTRANE_EDITOR_COMMANDS_H
#define KESTRANE_EDITOR_COMMANDS_H

#include "edit_history.h"

namespace kestrane {

class ClassPage;

class EditorCommands {
public:
    // Runs the command `id` (Open, Save, Save As, Exit, About, Undo, Redo,
    // Revert) the one way it runs, whatever gave it: a button, a shortcut
    // key, a menu, the window itself. False when `id` is none of them.
    virtual bool runCommand(int id) = 0;
    // The user acted on `control` of `page`: a step of the history when the
    // record's bytes changed, and `modified` told anew.
    virtual void actionDone(ClassPage& page, int control, EditKind kind) = 0;
    // The user left a field: typing there again is a step of its own.
    virtual void fieldLeft() = 0;
    // The editor's menu at a point of the screen; (-1, -1) from the keyboard.
    virtual void contextMenu(int x, int y) = 0;

protected:
    ~EditorCommands() = default;
};

}  // namespace kestrane

#endif
