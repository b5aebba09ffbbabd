// The Classes box: every class file of a folder, one row each, with the name
// stored in it, the class its file number stands for in the game, the class
// maker's reckoning and the findings' count; the open file's row is marked and
// selected; the line above the list names the folder and counts its own
// findings. Open (Enter, a double click) closes the box naming the chosen
// file; the editor then opens it as its own Open would.
#ifndef KESTRANE_CLASSES_BOX_H
#define KESTRANE_CLASSES_BOX_H

#include "findings.h"
#include "resource.h"
#include "wide_string.h"
#include "window.h"

#include <array>
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

    static constexpr std::size_t kColumnCount = 6;

    static const fw::MessageTable table;
    const fw::MessageTable* messageTable() const override { return &table; }

protected:
    bool onInitDialog() override;

private:
    using Row = std::array<WString, kColumnCount>;
    // The class files of one folder and the texts of their rows.
    struct Listing {
        bool listed = true;               // false: the folder could not be listed, `error` says why
        unsigned long error = 0;
        std::vector<std::string> names;   // the files' names, in row order
        std::vector<Row> rows;
        int openRow = -1;                 // the open file's row, if it is there
        std::vector<Finding> folderFindings;  // what the files' names mean together to the open engine
    };
    // Reads the class files of `folder` (a full path).
    static Listing read(const std::string& folder, const std::string& openFile, bool unsaved);
    // Puts `listing`, read from `folder`, in the list.
    void show(const std::string& folder, Listing listing);
    int findRow(const NMLVFINDITEMW& find) const;
    void openClicked();
    void folderClicked();
    bool onNotify(fw::Message& m);

    std::string openFile_;
    bool unsaved_;
    std::string folder_;
    Listing shown_;
    std::optional<std::string> chosen_;
};

}  // namespace kestrane

#endif
