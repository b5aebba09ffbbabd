// The history's rules: which actions make a step, how steps merge, and where
// the saved point lies.
#include "edit_history.h"

#include <gtest/gtest.h>

using namespace kestrane;

namespace {

RecordBytes state(std::uint8_t first, std::uint8_t second = 0) {
    RecordBytes b{};
    b[0] = first;
    b[1] = second;
    return b;
}

constexpr EditOrigin kTyped{0, 1001, EditKind::Typing};
constexpr EditOrigin kOtherTyped{0, 1002, EditKind::Typing};
constexpr EditOrigin kArrow{0, 1003, EditKind::Arrow};
constexpr EditOrigin kClick{3, 2001, EditKind::Single};

TEST(EditHistory, StepsMergeOnlyAsTheirKindAllows) {
    struct Case {
        const char* what;
        EditOrigin first, second;
        std::uint32_t gapMs;
        bool sealBetween;
        std::size_t steps;
    } cases[] = {
        {"typing in one field", kTyped, kTyped, 5000, false, 1},
        {"typing after turning to another control", kTyped, kTyped, 0, true, 2},
        {"typing in two fields", kTyped, kOtherTyped, 0, false, 2},
        {"arrow steps within a second", kArrow, kArrow, 1000, false, 1},
        {"arrow steps further apart", kArrow, kArrow, 1001, false, 2},
        {"two clicks", kClick, kClick, 0, false, 2},
    };
    for (const Case& c : cases) {
        EditHistory h;
        h.reset(state(0));
        EXPECT_TRUE(h.record(state(1), c.first, 100)) << c.what;
        if (c.sealBetween) h.seal();
        EXPECT_TRUE(h.record(state(2), c.second, 100 + c.gapMs)) << c.what;
        EXPECT_EQ(h.stepCount(), c.steps) << c.what;
        h.undo();
        EXPECT_EQ(h.current(), c.steps == 1 ? state(0) : state(1)) << c.what;
    }
}

TEST(EditHistory, NoChangeNoStepAndTypingBackRemovesTheStep) {
    EditHistory h;
    h.reset(state(7));
    EXPECT_FALSE(h.record(state(7), kClick, 0));  // a click on what is already selected
    EXPECT_FALSE(h.canUndo());
    h.record(state(8), kTyped, 0);
    h.record(state(7), kTyped, 10);  // the old value typed back
    EXPECT_FALSE(h.canUndo());
    EXPECT_FALSE(h.differsFromSaved(h.current()));
}

TEST(EditHistory, UndoRedoAndTheSavedPoint) {
    EditHistory h;
    h.reset(state(0));
    h.record(state(1), kClick, 0);
    h.record(state(1, 5), kTyped, 0);
    EXPECT_TRUE(h.differsFromSaved(h.current()));
    h.markSaved(h.current());  // Save keeps the history
    EXPECT_FALSE(h.differsFromSaved(h.current()));
    // Typing on in the same field after the save is a step of its own, so
    // Undo comes back to exactly the saved bytes.
    EXPECT_TRUE(h.record(state(1, 6), kTyped, 0));
    EXPECT_EQ(h.stepCount(), 3u);
    auto saved = h.undo();
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->bytes, state(1, 5));
    EXPECT_FALSE(h.differsFromSaved(saved->bytes));

    auto back = h.undo();
    ASSERT_TRUE(back);
    EXPECT_EQ(back->bytes, state(1));
    EXPECT_EQ(back->origin.control, kTyped.control);
    EXPECT_TRUE(h.differsFromSaved(back->bytes));  // unsaved again after the save
    back = h.undo();
    ASSERT_TRUE(back);
    EXPECT_EQ(back->origin.page, kClick.page);
    EXPECT_FALSE(h.undo());

    auto forward = h.redo();
    ASSERT_TRUE(forward);
    EXPECT_EQ(forward->bytes, state(1));
    EXPECT_EQ(forward->origin.control, kClick.control);
    // A new change after an undo drops what could have been redone.
    h.record(state(9), kTyped, 0);
    EXPECT_FALSE(h.canRedo());
    EXPECT_EQ(h.stepCount(), 2u);
    // Undo right after undo never merges the next typing into an old step.
    h.undo();
    h.record(state(1, 6), kTyped, 0);
    EXPECT_EQ(h.stepCount(), 2u);
}

TEST(EditHistory, KeepsTheLatestStepsAndUndoesThemAll) {
    EditHistory h;
    h.reset(state(0));
    const std::size_t total = EditHistory::kMaxSteps + 5;
    for (std::size_t i = 1; i <= total; ++i)
        h.record(state(static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i >> 8)), kClick, 0);
    EXPECT_EQ(h.stepCount(), EditHistory::kMaxSteps);
    std::size_t undone = 0;
    while (h.undo()) ++undone;
    EXPECT_EQ(undone, EditHistory::kMaxSteps);
    EXPECT_EQ(h.current(), state(5));  // the five oldest steps are forgotten
}

}  // namespace
