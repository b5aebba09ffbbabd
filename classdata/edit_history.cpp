#include "edit_history.h"

namespace kestrane {

void EditHistory::reset(const RecordBytes& bytes) {
    base_ = saved_ = bytes;
    steps_.clear();
    position_ = 0;
    sealed_ = true;
}

bool EditHistory::mergesWith(const Step& last, const EditOrigin& origin, std::uint32_t timeMs) const {
    if (sealed_ || position_ != steps_.size()) return false;
    if (last.origin.page != origin.page || last.origin.control != origin.control) return false;
    if (last.origin.kind != origin.kind) return false;
    switch (origin.kind) {
        case EditKind::Typing: return true;
        case EditKind::Arrow: return timeMs - last.timeMs <= kArrowMergeMs;
        case EditKind::Single: break;
    }
    return false;
}

bool EditHistory::record(const RecordBytes& now, const EditOrigin& origin, std::uint32_t timeMs) {
    if (now == current()) return false;
    if (!steps_.empty() && mergesWith(steps_.back(), origin, timeMs)) {
        Step& last = steps_.back();
        last.bytes = now;
        last.timeMs = timeMs;
        // Typed back to what it was: the step changes nothing any more.
        const RecordBytes& before = steps_.size() > 1 ? steps_[steps_.size() - 2].bytes : base_;
        if (now == before) {
            steps_.pop_back();
            --position_;
            sealed_ = true;
        }
        return true;
    }
    steps_.resize(position_);
    // The oldest step goes when the history is full: a move of about a
    // megabyte, once per step past the limit.
    if (steps_.size() == kMaxSteps) {
        base_ = steps_.front().bytes;
        steps_.erase(steps_.begin());
    }
    steps_.push_back({now, origin, timeMs});
    position_ = steps_.size();
    sealed_ = false;
    return true;
}

std::optional<EditHistory::Move> EditHistory::undo() {
    if (!canUndo()) return std::nullopt;
    const EditOrigin origin = steps_[--position_].origin;
    sealed_ = true;
    return Move{current(), origin};
}

std::optional<EditHistory::Move> EditHistory::redo() {
    if (!canRedo()) return std::nullopt;
    const Step& step = steps_[position_++];
    sealed_ = true;
    return Move{step.bytes, step.origin};
}

}  // namespace kestrane
