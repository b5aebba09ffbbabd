// The Classes box: every class file of a folder, one row each, with the name
// stored in it, the class its file number stands for in the game, the hit
// points, the multiplier, the class maker's reckoning, the attributes' sum and
// the findings' count; the open file's row is marked and selected; the line
// above the list names the folder and counts its own findings. A click on a
// column's header sorts by it. Open (Enter, a double click) closes the box
// naming the focused row's file; the editor then opens it as its own Open
// would. Compare shows how two selected files differ, or one and the open class.
#ifndef KESTRANE_CLASSES_BOX_H
#define KESTRANE_CLASSES_BOX_H

#include "findings.h"
#include "resource.h"
#include "wide_string.h"
#include "window.h"

#include <array>
#include <cstdint>
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

    static constexpr std::size_t kColumnCount = 9;

    static const fw::MessageTable table;
    const fw::MessageTable* messageTable() const override { return &table; }

protected:
    bool onInitDialog() override;

private:
    struct Row {
        std::array<WString, kColumnCount> cells;
        // The numbers a numeric column sorts by (Maker: its points; the
        // multiplier: its 16.16 value); none for a file that was not read.
        std::array<std::int32_t, kColumnCount> keys{};
        bool read = false;
    };
    // The class files of one folder and the texts of their rows.
    struct Listing {
        bool listed = true;               // false: the folder could not be listed, `error` says why
        unsigned long error = 0;
        std::vector<std::string> names;   // the files' names, in the folder's order
        std::vector<Row> rows;
        int openRow = -1;                 // the open file's row, if it is there
        std::vector<Finding> folderFindings;  // what the files' names mean together to the open engine
    };
    // Reads the class files of `folder` (a full path).
    static Listing read(const std::string& folder, const std::string& openFile, bool unsaved);
    // Puts `listing`, read from `folder`, in the list.
    void show(const std::string& folder, Listing listing);
    int findRow(const NMLVFINDITEMW& find) const;
    // `order_` by the sort column, and the header's arrow; `sortRows` also
    // keeps the rows' selection and focus on the same files.
    void arrange();
    void sortRows();
    void columnClicked(int column);
    // The row of `shown_` at a place in the list, and back; -1 for none.
    int rowAt(int place) const;
    int placeOf(int row) const;
    void selectionChanged();
    void openClicked();
    void folderClicked();
    void compareClicked();
    bool onNotify(fw::Message& m);

    std::string openFile_;
    bool unsaved_;
    std::string folder_;
    Listing shown_;
    std::vector<int> order_;  // the rows of `shown_` in the list's order
    int sortColumn_ = -1;     // none: the folder's order
    bool descending_ = false;
    std::optional<std::string> chosen_;
};

}  // namespace kestrane

#endif
