// The Classes box: every class file of a folder, one row each, with the name
// stored in it, the class its file number stands for in the game, the class
// maker's reckoning and the findings' count; the open file's row is marked and
// selected. Open (Enter, a double click) closes the box naming the chosen
// file; the editor then opens it as its own Open would.
#ifndef KESTRANE_CLASSES_BOX_H
#define KESTRANE_CLASSES_BOX_H

#include "resource.h"
#include "window.h"

#include <optional>
#include <string>
#include <vector>

namespace kestrane {

class ClassesBox : public fw::Dialog {
public:
    // `openFile`: the class file the editor holds (its folder is listed
    // first); `unsaved`: whether it has unsaved changes.
    ClassesBox(const std::string& openFile, bool unsaved);

    // The file chosen with Open, as a full path; nothing after Close.
    const std::optional<std::string>& chosen() const { return chosen_; }

    static const fw::MessageTable table;
    const fw::MessageTable* messageTable() const override { return &table; }

protected:
    bool onInitDialog() override;

private:
    // Lists the class files of `folder` (a full path) in the list.
    void list(const std::string& folder);
    void openClicked();
    void folderClicked();
    bool onNotify(fw::Message& m);

    std::string openFile_;
    bool unsaved_;
    std::string folder_;
    std::vector<std::string> names_;  // the rows' file names, in row order
    std::optional<std::string> chosen_;
};

}  // namespace kestrane

#endif
