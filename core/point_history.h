#pragma once
// The undo history of the points: every capture and removal kept as the change it made to the table,
// with what it touched before and after, so that it can be taken back and done again any number of
// steps. It lives in memory for the session only; nothing of it is ever written to a file.

#include <cstddef>
#include <optional>
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

class PointHistory {
 public:
  // Records a change just made; the changes undone before it can no longer be redone.
  // Returns the change's step number (0 for the first of the session) for the caller's own records.
  std::size_t record(PointChange change);
  // Takes the last change back: table and state as they stood before it. Returns its step number, or
  // nothing (and changes nothing) when there is no change to take back or the table refuses it.
  std::optional<std::size_t> undo(PointTable& table, PointState& state);
  // Does the last undone change again: table and state as they stood after it.
  std::optional<std::size_t> redo(PointTable& table, PointState& state);

  const PointChange& step(std::size_t number) const { return steps_.at(number); }
  bool canUndo() const { return done_ > 0; }
  bool canRedo() const { return done_ < steps_.size(); }

 private:
  std::vector<PointChange> steps_;
  std::size_t done_ = 0;  // steps_[0, done_) are in effect
};

}  // namespace velmaro
