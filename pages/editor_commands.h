// What a page asks of the editor window that holds it: the commands every
// page carries as buttons and shortcut keys. The window hands itself to its
// pages as this, so the pages know nothing of the window's class.
#ifndef KESTRANE_EDITOR_COMMANDS_H
#define KESTRANE_EDITOR_COMMANDS_H

namespace kestrane {

class EditorCommands {
public:
    // Runs the command `id` (Open, Save, Save As, Exit, About) the one way it
    // runs, whatever gave it: a button, a shortcut key, the window itself.
    // False when `id` is none of them.
    virtual bool runCommand(int id) = 0;

protected:
    ~EditorCommands() = default;
};

}  // namespace kestrane

#endif
