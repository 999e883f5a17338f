#pragma once
// The undo history of the points: every capture and removal kept as the change it made to the table,
// with what it touched before and after, so that it can be taken back and done again any number of
// steps. Each step carries a mark of the caller's own (what the change did outside the table, such as
// the pixels under a disc), kept and dropped together with the step. It lives in memory for the session
// only; nothing of it is ever written to a file.

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

#include "core/map_frame.h"
#include "core/point_table.h"

namespace velmaro {

// What a change touched besides the table: the cursor values the read-out shows and whether
// "Save XY File" is enabled.
struct PointState {
  Cursor cursor;
  bool saveEnabled = false;
};

struct PointChange {
  enum class Kind { Added, Removed };
  Kind kind = Kind::Added;
  int row = 0;     // the row the point took (Added) or left (Removed)
  PointRow point;  // its cells as they stood in that row
  PointState before;
  PointState after;
};

// Does the change to the table (`forward`) or takes it back; false, with the table unchanged, when the
// table refuses (a row out of range, a full table).
bool ApplyPointChange(const PointChange& change, bool forward, PointTable& table);

template <class Mark>
class PointHistory {
 public:
  struct Step {
    PointChange change;
    Mark mark;
  };

  // Records a change just made; the changes undone before it can no longer be redone.
  void record(PointChange change, Mark mark) {
    steps_.resize(done_);
    steps_.push_back(Step{std::move(change), std::move(mark)});
    done_ = steps_.size();
  }
  // Takes the last change back: table and state as they stood before it. Returns the step, or nothing
  // (and changes nothing) when there is no change to take back or the table refuses it.
  Step* undo(PointTable& table, PointState& state) {
    if (done_ == 0 || !ApplyPointChange(steps_[done_ - 1].change, false, table)) return nullptr;
    --done_;
    state = steps_[done_].change.before;
    return &steps_[done_];
  }
  // Every step recorded, and how many of them are in effect (the rest can be redone); and the same put
  // back, as a session brought back after a crash needs. A count beyond the steps is taken as all of them.
  const std::vector<Step>& steps() const { return steps_; }
  std::size_t done() const { return done_; }
  void restore(std::vector<Step> steps, std::size_t done) {
    steps_ = std::move(steps);
    done_ = std::min(done, steps_.size());
  }

  // Does the last undone change again: table and state as they stood after it.
  Step* redo(PointTable& table, PointState& state) {
    if (done_ == steps_.size() || !ApplyPointChange(steps_[done_].change, true, table)) return nullptr;
    state = steps_[done_].change.after;
    return &steps_[done_++];
  }

 private:
  std::vector<Step> steps_;
  std::size_t done_ = 0;  // steps_[0, done_) are in effect
};

}  // namespace velmaro
