#include "files/session_snapshot.h"

namespace velmaro {

namespace {

// The snapshot's form; a journal written by another form is not read as this one.
constexpr std::int64_t kForm = 1;
// More than a window ever holds: a count beyond these is damage, not a snapshot.
constexpr std::int64_t kMaxFields = 64;
constexpr std::int64_t kMaxSteps = 1 << 20;

void Put(std::vector<JournalField>& out, const PointRow& row) {
  for (const std::string* text : {&row.name, &row.xLetter, &row.xText, &row.yLetter, &row.yText}) out.emplace_back(*text);
  out.emplace_back(row.pictureX);
  out.emplace_back(row.pictureY);
}

void Put(std::vector<JournalField>& out, const Cursor& cursor) {
  out.emplace_back(cursor.x);
  out.emplace_back(cursor.y);
  out.emplace_back(cursor.xDms);
  out.emplace_back(cursor.yDms);
  out.emplace_back(std::int64_t{cursor.computed});
}

void Put(std::vector<JournalField>& out, const PointState& state) {
  Put(out, state.cursor);
  out.emplace_back(std::int64_t{state.saveEnabled});
}

void Put(std::vector<JournalField>& out, const DiscMark& mark) {
  out.emplace_back(mark.x);
  out.emplace_back(mark.y);
  out.emplace_back(mark.radius);
  out.emplace_back(std::int64_t{mark.colour});
  out.emplace_back(std::int64_t{mark.fillBefore});
  out.emplace_back(std::int64_t{mark.solidBefore});
  out.emplace_back(std::int64_t{mark.currentRow});
  out.emplace_back(std::int64_t{mark.currentColumn});
}

// Takes the fields in order; once a field is missing or of another type, every later read fails too.
class Reader {
 public:
  explicit Reader(const std::vector<JournalField>& fields) : fields_(fields) {}
  bool ok() const { return ok_; }
  bool atEnd() const { return at_ == fields_.size(); }

  std::int64_t integer() { return take<std::int64_t>(); }
  double number() { return take<double>(); }
  std::string text() { return take<std::string>(); }
  bool flag() { return integer() != 0; }
  std::int64_t count(std::int64_t limit) {
    const std::int64_t n = integer();
    if (n < 0 || n > limit) ok_ = false;
    return ok_ ? n : 0;
  }

  PointRow row() {
    PointRow row;
    for (std::string* text : {&row.name, &row.xLetter, &row.xText, &row.yLetter, &row.yText}) *text = this->text();
    row.pictureX = number();
    row.pictureY = number();
    return row;
  }
  Cursor cursor() {
    Cursor cursor;
    cursor.x = number();
    cursor.y = number();
    cursor.xDms = text();
    cursor.yDms = text();
    cursor.computed = flag();
    return cursor;
  }
  PointState state() {
    PointState state;
    state.cursor = cursor();
    state.saveEnabled = flag();
    return state;
  }
  DiscMark mark() {
    DiscMark mark;
    mark.x = number();
    mark.y = number();
    mark.radius = number();
    mark.colour = static_cast<std::uint32_t>(integer());
    mark.fillBefore = static_cast<std::uint32_t>(integer());
    mark.solidBefore = flag();
    mark.currentRow = static_cast<int>(integer());
    mark.currentColumn = static_cast<int>(integer());
    return mark;
  }

 private:
  template <class T>
  T take() {
    if (!ok_ || at_ >= fields_.size() || !std::holds_alternative<T>(fields_[at_])) {
      ok_ = false;
      return T{};
    }
    return std::get<T>(fields_[at_++]);
  }

  const std::vector<JournalField>& fields_;
  std::size_t at_ = 0;
  bool ok_ = true;
};

}  // namespace

std::vector<JournalField> FlattenSnapshot(const SessionSnapshot& snapshot) {
  std::vector<JournalField> out{kForm, static_cast<std::int64_t>(snapshot.fields.size())};
  for (const auto& [name, text] : snapshot.fields) out.insert(out.end(), {name, text});
  out.emplace_back(snapshot.notation ? static_cast<std::int64_t>(*snapshot.notation) + 1 : std::int64_t{0});
  out.emplace_back(static_cast<std::int64_t>(snapshot.rows.size()));
  for (const PointRow& row : snapshot.rows) Put(out, row);
  Put(out, snapshot.cursor);
  out.emplace_back(std::int64_t{snapshot.saveEnabled});
  out.emplace_back(static_cast<std::int64_t>(snapshot.steps.size()));
  for (const auto& step : snapshot.steps) {
    out.emplace_back(std::int64_t{step.change.kind == PointChange::Kind::Added});
    out.emplace_back(std::int64_t{step.change.row});
    Put(out, step.change.point);
    Put(out, step.change.before);
    Put(out, step.change.after);
    Put(out, step.mark);
  }
  out.emplace_back(static_cast<std::int64_t>(snapshot.done));
  out.emplace_back(std::int64_t{snapshot.fillColour});
  out.emplace_back(std::int64_t{snapshot.fillSolid});
  out.emplace_back(std::int64_t{snapshot.currentRow});
  out.emplace_back(std::int64_t{snapshot.currentColumn});
  return out;
}

std::optional<SessionSnapshot> UnflattenSnapshot(const std::vector<JournalField>& fields) {
  Reader in(fields);
  if (in.integer() != kForm) return std::nullopt;
  SessionSnapshot snapshot;
  for (std::int64_t n = in.count(kMaxFields); n > 0; --n) {
    std::string name = in.text();
    snapshot.fields.emplace_back(std::move(name), in.text());
  }
  const std::int64_t notation = in.integer();
  if (notation < 0 || notation > 3) return std::nullopt;
  if (notation > 0) snapshot.notation = static_cast<CoordinateType>(notation - 1);
  for (std::int64_t n = in.count(kMaxPoints); n > 0; --n) snapshot.rows.push_back(in.row());
  snapshot.cursor = in.cursor();
  snapshot.saveEnabled = in.flag();
  for (std::int64_t n = in.count(kMaxSteps); n > 0 && in.ok(); --n) {
    PointHistory<DiscMark>::Step step;
    step.change.kind = in.flag() ? PointChange::Kind::Added : PointChange::Kind::Removed;
    step.change.row = static_cast<int>(in.integer());
    step.change.point = in.row();
    step.change.before = in.state();
    step.change.after = in.state();
    step.mark = in.mark();
    snapshot.steps.push_back(std::move(step));
  }
  snapshot.done = static_cast<std::size_t>(in.count(static_cast<std::int64_t>(snapshot.steps.size())));
  snapshot.fillColour = static_cast<std::uint32_t>(in.integer());
  snapshot.fillSolid = in.flag();
  snapshot.currentRow = static_cast<int>(in.integer());
  snapshot.currentColumn = static_cast<int>(in.integer());
  if (!in.ok() || !in.atEnd()) return std::nullopt;
  return snapshot;
}

}  // namespace velmaro
