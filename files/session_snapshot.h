#pragma once
// The session as the window holds it when a map is opened, as the first record of that map's journal
// carries it: the text fields and captions, the notation, the point table, the cursor of the last capture,
// "Save XY File" enabled or not, every undo step with the disc it drew, and the canvas's fill state and
// the grid's current cell. Replaying the journal's later records on top of it gives the session back.
// Colours are 0xRRGGBB; positions and radii twips.

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/point_history.h"
#include "core/point_table.h"
#include "files/journal_record.h"

namespace velmaro {

// What a step did outside the table: the disc it drew (none for a radius of 0), the canvas's fill state
// and the grid's current cell before it.
struct DiscMark {
  double x = 0;
  double y = 0;
  double radius = 0;
  std::uint32_t colour = 0;
  std::uint32_t fillBefore = 0;
  bool solidBefore = false;
  int currentRow = 0;
  int currentColumn = 0;
  bool operator==(const DiscMark&) const = default;
};

struct SessionSnapshot {
  std::vector<std::pair<std::string, std::string>> fields;  // control name and text
  NotationChoice notation;
  std::vector<PointRow> rows;
  Cursor cursor;
  bool saveEnabled = false;
  std::vector<PointHistory<DiscMark>::Step> steps;
  std::size_t done = 0;
  std::uint32_t fillColour = 0;
  bool fillSolid = false;
  int currentRow = 0;
  int currentColumn = 0;
};

// The snapshot as the fields of one journal record, and back. Nothing comes back from fields that are
// not a whole snapshot of this form (a count beyond what follows, a field of the wrong type, more fields
// than a snapshot has).
std::vector<JournalField> FlattenSnapshot(const SessionSnapshot& snapshot);
std::optional<SessionSnapshot> UnflattenSnapshot(const std::vector<JournalField>& fields);

}  // namespace velmaro
