// What a page asks of the editor window that holds it: the five command
// buttons every page carries. The window hands itself to its pages as this,
// so the pages know nothing of the window's class.
#ifndef KESTRANE_EDITOR_COMMANDS_H
#define KESTRANE_EDITOR_COMMANDS_H

namespace kestrane {

class EditorCommands {
public:
    // Each is the window's own command: a page's button and the window's
    // command run the same code.
    virtual void openCommand() = 0;
    virtual void saveCommand() = 0;
    virtual void saveAsCommand() = 0;
    // Asks about unsaved changes, then closes the window once the message
    // being handled has returned.
    virtual void exitCommand() = 0;
    virtual void aboutCommand() = 0;

protected:
    ~EditorCommands() = default;
};

}  // namespace kestrane

#endif
