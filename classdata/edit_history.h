// Undo and redo for the class record, and what "unsaved" means: the record's
// bytes differ from the bytes last read or written. The record is 74 bytes,
// so each step keeps a whole snapshot: exact, and cheap enough for thousands.
#ifndef KESTRANE_EDIT_HISTORY_H
#define KESTRANE_EDIT_HISTORY_H

#include "class_record.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>
#include <optional>

namespace kestrane {

using RecordBytes = std::array<std::uint8_t, kClassFileSize>;

// How an action may join the step before it.
enum class EditKind {
    Single,  // a click, a list choice: a step of its own
    Typing,  // keys in one field: one step until the user turns elsewhere
    Arrow,   // arrow steps on one field: merged while they come within a second
};

// Where a change was made, so undo can show it again.
struct EditOrigin {
    int page = -1;
    int control = 0;
    EditKind kind = EditKind::Single;
};

class EditHistory {
public:
    // At least this many steps are kept; older ones are forgotten first.
    static constexpr std::size_t kMaxSteps = 10000;
    // Arrow steps further apart than this start a new step.
    static constexpr std::uint32_t kArrowMergeMs = 1000;

    // A new history whose only state is `bytes`, also the saved state (a
    // file just read).
    void reset(const RecordBytes& bytes);
    // The record now holds `now`: a step when it differs from the current
    // state, merged into the last one where the kinds allow. False when no
    // byte changed.
    bool record(const RecordBytes& now, const EditOrigin& origin, std::uint32_t timeMs);
    // The user turned to another control: the next action starts a new step.
    void seal() { sealed_ = true; }

    bool canUndo() const { return position_ > 0; }
    bool canRedo() const { return position_ < steps_.size(); }
    // The state before the last step, and where that step was made.
    struct Move {
        RecordBytes bytes;
        EditOrigin origin;
    };
    std::optional<Move> undo();
    std::optional<Move> redo();

    const RecordBytes& current() const { return position_ ? steps_[position_ - 1].bytes : base_; }
    // The record was written as `bytes`: they are the saved state now, and
    // the step that led there is closed, so Undo comes back to them.
    void markSaved(const RecordBytes& bytes) {
        saved_ = bytes;
        sealed_ = true;
    }
    bool differsFromSaved(const RecordBytes& bytes) const { return bytes != saved_; }
    std::size_t stepCount() const { return steps_.size(); }

private:
    struct Step {
        RecordBytes bytes;  // the state after the step
        EditOrigin origin;
        std::uint32_t timeMs;
    };
    bool mergesWith(const Step& last, const EditOrigin& origin, std::uint32_t timeMs) const;

    RecordBytes base_{};   // the state before the oldest step kept
    RecordBytes saved_{};  // the bytes last read or written
    std::vector<Step> steps_;
    std::size_t position_ = 0;  // steps_[0, position_) are done; the rest can be redone
    bool sealed_ = true;
};

}  // namespace kestrane

#endif
