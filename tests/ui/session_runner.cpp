// session_runner SESSION EXPECTED START: runs a scripted session of the real window (Form1 on the scripted
// platform, headless), one step a line, and compares its transcript with the EXPECTED file; a difference is
// shown as a unified diff. Every session begins with the window's start-up, whose transcript is the same for
// all and is compared once, with START. VELMARO_UPDATE_EXPECTED=1 rewrites both files instead.
//
// A line holds one step, or several separated by ";" that are recorded together. The steps are the rows of
// kSteps below. X,Y are canvas pixels; a NAME starting with "@" lies in the session's own folder (also the
// working and the application folder), which the transcript shows as "@". After every line the transcript
// gets the dialogs, messages, launches and beeps in call order, the bytes of every file that changed, and
// every watched value that changed; consecutive grid rows that changed alike are written as one range. A grid
// row whose cells or name changed without the grid being told to show it anew breaks the session.

#include <QTest>
#include <QtWidgets>
#include <random>
#include <set>
#include <sys/mount.h>

#include "platform/fake_platform.h"
#include "ui/form1.h"
#include "ui/map_canvas.h"
#include "ui/map_loader.h"
#include "ui/point_grid.h"

namespace {

using namespace velmaro;
namespace pf = velmaro::platform;
using State = std::vector<std::pair<QString, QString>>;

QString Q(const QString& s) { return '"' + s + '"'; }
QString Q(const std::string& s) { return Q(QString::fromStdString(s)); }
QString Q(const std::optional<std::string>& s) { return s ? Q(*s) : "none"; }

// Hands every call to the scripted platform and logs it, so the transcript keeps the order of the calls.
struct LoggingPlatform final : pf::Platform {
  pf::FakePlatform fake;
  QStringList log;
  pf::Answer showMessage(const pf::Message& m) override {
    const pf::Answer a = fake.showMessage(m);
    log << QString("message %1 %2 %3 title %4 -> %5").arg(Q(m.text), m.buttons == pf::Buttons::Ok ? "Ok" : "YesNo",
        std::array{"no-icon", "Stop", "Information"}[int(m.icon)], Q(m.title), std::array{"Ok", "Yes", "No"}[int(a)]);
    return a;
  }
  std::string chooseFile(const pf::FileDialogRequest& r) override {
    log << QString("dialog %1 %2 %3 preset %4").arg(r.mode == pf::DialogMode::Open ? "Open" : "Save",
        Q(r.filterDescription), Q(r.filterPattern), Q(r.presetName));
    return fake.chooseFile(r);
  }
  bool shellOpen(const pf::Launch& l) override {
    log << QString("launch %1 %2 parameters %3 folder %4").arg(std::array{"Document", "Program", "Link",
        "TextEditor"}[int(l.kind)], Q(l.target), Q(l.parameters), Q(l.workingFolder));
    if (fake.shellOpen(l)) return true;
    log.last() += " -> failed";
    return false;
  }
  void beep() override { log << "beep"; }
  void quit() override { log << "quit"; }
  std::string applicationFolder() const override { return fake.applicationFolder(); }
  pf::Version version() const override { return fake.version(); }
};

QString TwipRect(const QWidget* w, QRect r) {
  const double t = 1440.0 / w->logicalDpiX();
  return QString("%1,%2 %3x%4").arg(r.x() * t).arg(r.y() * t).arg(r.width() * t).arg(r.height() * t);
}

// Real mouse events (QTest's own helpers take the point (0, 0) for the widget's centre).
void Mouse(QWidget* w, QPoint at, Qt::MouseButton b,
           std::initializer_list<QEvent::Type> types = {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
  for (QEvent::Type type : types) {
    QMouseEvent e(type, at, w->mapToGlobal(at), b, type == QEvent::MouseButtonPress ? b : Qt::NoButton, {});
    QCoreApplication::sendEvent(w, &e);
  }
}
QPoint Point(const QString& xy) { return {xy.section(',', 0, 0).toInt(), xy.section(',', 1).toInt()}; }
Qt::MouseButton Button(const QString& name) {
  return name == "right" ? Qt::RightButton : name == "middle" ? Qt::MiddleButton : Qt::LeftButton;
}

// "  row 7 = Pt 7 | E | 10833 | N | 28333" lines of consecutive rows that differ only in their number become
// "  rows 5..9 = Pt 5..9 | E | 10833 | N | 28333"; so do rows emptied together.
QStringList JoinRowRanges(const QStringList& lines) {
  static const QRegularExpression rowLine("^  row (\\d+) = (Pt \\1 )?(.*)$");
  QStringList out;
  for (int i = 0; i < lines.size();) {
    const QRegularExpressionMatch first = rowLine.match(lines[i]);
    int last = i;
    for (; first.hasMatch() && last + 1 < lines.size(); ++last) {
      const QRegularExpressionMatch next = rowLine.match(lines[last + 1]);
      if (!next.hasMatch() || next.captured(1).toInt() != first.captured(1).toInt() + (last + 1 - i) ||
          next.captured(2).isEmpty() != first.captured(2).isEmpty() || next.captured(3) != first.captured(3))
        break;
    }
    if (last == i) {
      out << lines[i++];
      continue;
    }
    const QString to = QString::number(first.captured(1).toInt() + last - i);
    out << QString("  rows %1..%2 = %3%4").arg(first.captured(1), to,
                                              first.captured(2).isEmpty() ? "" : "Pt " + first.captured(1) + ".." + to + " ",
                                              first.captured(3));
    i = last + 1;
  }
  return out;
}

class Session {
 public:
  Session() {
    const QAbstractItemModel* model = grid()->model();
    QObject::connect(model, &QAbstractItemModel::dataChanged, [this](const QModelIndex& top, const QModelIndex& bottom) {
      for (int row = top.row(); row <= bottom.row(); ++row) refreshedCells_.insert(row + 1);
    });
    QObject::connect(model, &QAbstractItemModel::headerDataChanged, [this](Qt::Orientation side, int first, int last) {
      for (int row = first; side == Qt::Vertical && row <= last; ++row) refreshedNames_.insert(row + 1);
    });
    for (int row = 1; row <= kMaxPoints; ++row) rowCells_[row] = cellsOf(row);
    platform_.fake.setApplicationFolder(dir_.path().toStdString());
    QDir::setCurrent(dir_.path());
    run("start");
    start_ = std::exchange(out_, {});
  }
  ~Session() {
    for (const QString& folder : mounts_) ::umount2(folder.toLocal8Bit(), MNT_DETACH);
  }
  void run(const QString& line) {
    out_ << "> " + line;
    // A map decodes in the background; the transcript records the window once it is whole.
    for (const QString& part : line.split(';')) step(QProcess::splitCommand(part)), form_.mapLoader().waitForMap();
    checkRowsShown(line);
    record();
  }
  QString startTranscript() const { return Text(start_); }
  QString transcript() const { return Text(out_); }
  bool whole = true;

 private:
  struct Step {
    const char* verb;
    void (Session::*run)(const QStringList& words);
  };
  static const Step kSteps[];

  QString Text(const QStringList& lines) const { return QString(lines.join('\n') + '\n').replace(dir_.path(), "@"); }
  template <class T = QWidget> T* w(const QString& name) const { return form_.findChild<T*>(name); }
  QString text(const QString& name) const { return w(name)->property("text").toString(); }
  QString path(const QString& name) const { return name.startsWith('@') ? dir_.path() + name.mid(1) : name; }
  ui::PointGrid* grid() const { return form_.XY_Grid; }

  void step(const QStringList& words);

  void start(const QStringList&) { form_.Form_Load(); }
  void open(const QStringList& a) {
    const QString file = path(a.value(0));
    const QSize size = a.size() > 1 ? QSize(a[1].section('x', 0, 0).toInt(), a[1].section('x', 1).toInt()) : QSize(600, 300);
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(QColor(240, 235, 220));
    if (QDir().mkpath(QFileInfo(file).path()) && !QFile::exists(file)) picture.save(file, "JPG");
    platform_.fake.queueFileName(file.toStdString());
    form_.Command1_Click();
  }
  void answer(const QStringList& a) {
    for (int i = 0; i < a.size(); ++i) {
      if (a[i] == "fail") platform_.fake.queueShellResult(false);
      else if (a[i] == "cancel") platform_.fake.queueFileName(std::nullopt);
      else if (a[i] == "file") platform_.fake.queueFileName(path(a.value(++i)).toStdString());
      else platform_.fake.queueAnswer(a[i] == "Yes" ? pf::Answer::Yes : a[i] == "No" ? pf::Answer::No : pf::Answer::Ok);
    }
  }
  void click(const QStringList& a) {
    for (const QString& name : a) QTest::mouseClick(w(name), Qt::LeftButton);
  }
  void press(const QStringList& a) {
    for (int i = 0; i + 1 < a.size(); ++i) Mouse(form_.Picture1, Point(a[i]), Button(a.last()));
  }
  void pressRow(const QStringList& a) {
    const int row = a.value(0).toInt();
    QHeaderView* header = grid()->horizontalHeader();
    if (row == 0) return Mouse(header, {header->sectionViewportPosition(2) + 5, 5}, Button(a.last()));
    const QModelIndex cell = grid()->model()->index(row - 1, 2);  // grid row 0 is the header
    grid()->scrollTo(cell);
    Mouse(grid()->viewport(), grid()->visualRect(cell).center(), Button(a.last()));
  }
  void undo(const QStringList&) { form_.UndoPointChange(); }
  void redo(const QStringList&) { form_.RedoPointChange(); }
  void hover(const QStringList& a) {
    Mouse(a.value(0) == "preview" ? w("Image1") : form_.Picture1, {5, 5}, Qt::NoButton, {QEvent::MouseMove});
  }
  void paste(const QStringList& a) {
    for (int i = 0; i < a.size(); i += 2) w<QLineEdit>(a[i])->setText(a.value(i + 1));
  }
  void type(const QStringList& a) { QTest::keyClicks(w(a.value(0)), a.value(1)); }
  void pressKey(const QStringList& a) {
    for (int i = 1; i < a.size(); ++i)
      QTest::keyClick(w(a[0]), QKeySequence(a[i])[0].key(), QKeySequence(a[i])[0].keyboardModifiers());
  }
  void scroll(const QStringList& a) {
    (a.value(0) == "horizontal" ? form_.HScroll1 : form_.VScroll1)->setValue(a.value(1).toInt());
  }
  void showTab(const QStringList& a) {
    QTabBar* tabs = form_.findChild<QTabBar*>();
    for (int i = 0; i < tabs->count(); ++i)
      if (tabs->tabText(i) == a.value(0)) QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(i).center());
  }
  void resize(const QStringList& a) {
    const QSize outer = QSize(a.value(0).toInt(), a.value(1).toInt()) * form_.logicalDpiX() / 1440.0;
    form_.resize(outer - (form_.frameGeometry().size() - form_.size()));
    QCoreApplication::processEvents();
  }
  void showLayout(const QStringList&) {
    // The design controls: names ending in a digit, and XY_Grid.
    QList<QWidget*> controls = form_.findChildren<QWidget*>(QRegularExpression("\\d$|^XY_Grid$"));
    std::sort(controls.begin(), controls.end(), [](auto* a, auto* b) { return a->objectName() < b->objectName(); });
    out_ << "  Form1 " + TwipRect(&form_, form_.frameGeometry());
    for (const QWidget* c : controls)
      out_ << QString("  %1 %2 %3 font %4%5%6%7").arg(c->objectName(), TwipRect(c, c->geometry()),
          Q(c->property("text").toString() + c->property("title").toString())).arg(c->font().pointSizeF())
          .arg(c->font().bold() ? " bold" : "", c->isEnabled() ? "" : " disabled", c->toolTip().isEmpty() ? "" : " tip " + Q(c->toolTip()));
  }
  void write(const QStringList& a) {
    QFile file(path(a.value(0)));
    if (a.size() < 2) return void(QDir().mkpath(file.fileName()));
    if (QDir().mkpath(QFileInfo(file).path()) && file.open(QIODevice::WriteOnly))
      file.write(QString(a[1]).replace("|", "\r\n").toUtf8());
  }
  void readOnly(const QStringList& a) {
    const QString folder = path(a.value(0));
    if (!QDir().mkpath(folder)) return;
    mounts_ << folder;
    if (::mount("tmpfs", folder.toLocal8Bit(), "tmpfs", MS_RDONLY, "") != 0) std::exit(77);
  }
  void readPixels(const QStringList& a) {
    for (const QString& xy : a)
      platform_.log << "pixel " + form_.Picture1->grab(QRect(Point(xy), QSize(1, 1))).toImage().pixelColor(0, 0).name();
  }
  void showState(const QStringList&) {
    for (const auto& [name, value] : state())
      if (!value.isEmpty()) out_ << QString("  %1: %2").arg(name, value);
  }
  void repeat(const QStringList& a) {
    for (int i = 0; i < a.value(0).toInt(); ++i) step(a.mid(1));
  }
  void randomSteps(const QStringList& a) { stress(a.value(0).toUInt(), a.value(1).toInt()); }

  State state() const {
    int option = 0;
    for (int i = 1; i <= 3; ++i) option = w<QAbstractButton>(QString("Option%1").arg(i))->isChecked() ? i : option;
    const QTabBar* tabs = form_.findChild<QTabBar*>();
    State s = {{"title", form_.windowTitle()}, {"tab", tabs->tabText(tabs->currentIndex())},
        {"PointCount", QString::number(form_.PointCount())}, {"Command3", form_.Command3->isEnabled() ? "enabled" : "disabled"},
        {"notation", std::array{"none", "Meters", "DegMinSec", "DecimalDegrees"}[option]},
        {"scroll", QString("H %1 V %2").arg(form_.HScroll1->value()).arg(form_.VScroll1->value())},
        {"canvas", TwipRect(&form_, form_.Picture1->geometry())}, {"tooltip", form_.Picture1->toolTip()},
        {"current cell", QString("%1,%2").arg(grid()->currentRow()).arg(grid()->currentColumn())},
        {"RichTextBox1", form_.RichTextBox1->toPlainText().section('\n', 0, 0)}};
    for (const char* name : {"Text1", "Text6", "Text8", "Text2", "Text3", "Text4", "Text5", "Label1", "Label2", "Text7", "Text9"})
      s.emplace_back(name, text(name));
    for (int row = 0; row <= kMaxPoints; ++row) {
      const auto cell = [&](int column) { return grid()->cellText(row, column); };
      const QString cells = QStringList{cell(0), cell(1), cell(2), cell(3), cell(4)}.join(" | ");
      s.emplace_back(QString("row %1").arg(row), cells == " |  |  |  | " ? QString() : cells);
    }
    return s;
  }

  QString cellsOf(int row) const {
    return QStringList{grid()->cellText(row, 1), grid()->cellText(row, 2), grid()->cellText(row, 3), grid()->cellText(row, 4)}.join('|');
  }
  // The grid shows a row anew only when told; a row whose cells or name changed untold would show stale text.
  void checkRowsShown(const QString& after) {
    for (int row = 1; row <= kMaxPoints; ++row) {
      const QString cells = cellsOf(row), name = grid()->cellText(row, 0);
      if ((cells != rowCells_[row] && !refreshedCells_.contains(row)) || (name != rowNames_[row] && !refreshedNames_.contains(row)))
        out_ << QString("  row %1 changed but was not shown anew (%2)").arg(row).arg(after), whole = false;
      rowCells_[row] = cells, rowNames_[row] = name;
    }
    refreshedCells_.clear(), refreshedNames_.clear();
  }

  // After a line: what the platform was asked, the text files that changed, the watched values that changed.
  void record() {
    QStringList lines;
    for (const QString& call : std::exchange(platform_.log, {})) lines << "  " + call;
    QStringList names;
    for (QDirIterator it(dir_.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();) names << it.next();
    names.sort();
    for (const QString& name : names) {
      QFile file(name);
      const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : "<unreadable>";
      if (std::exchange(files_[file.fileName()], bytes) == bytes || bytes.contains('\0')) continue;
      lines << "  file " + file.fileName();
      for (const QByteArray& line : bytes.split('\n')) lines << "  | " + QString::fromUtf8(line).replace('\r', "\\r");
    }
    State now = state();
    for (std::size_t i = 0; i < now.size(); ++i)
      if ((state_.empty() ? QString() : state_[i].second) != now[i].second) lines << "  " + now[i].first + " = " + now[i].second;
    state_ = std::move(now);
    out_ << JoinRowRanges(lines);
  }

  // Random steps from a seed: presses of every button on and off the canvas, grid presses on any row,
  // notations, keys and pasted texts in the frame fields, pointer moves and now and then a save. After
  // each step the table and the grid must agree: PointCount is the points plus one (at most 251), rows
  // 1..n hold "Pt 1".."Pt n" and the table's cells, and the rows below are empty.
  void stress(unsigned seed, int count) {
    std::mt19937 random(seed);
    const auto pick = [&](int n) { return int(random() % unsigned(n)); };
    // Phases of 1500 steps fill the table to its limit and empty it again.
    const QString buttons[] = {"left", "left", "left", "middle", "right", "left", "middle", "right", "right", "right"};
    const QString texts[] = {"10000", "-12.5", "46:30:05", "", "abc", "1e308", ":", "..5", "6,5", "été", "1:2:3:4"};
    int full = 0, empty = 0;
    for (int i = 1; i <= count && whole; ++i) {
      const QString field = QString("Text%1").arg(2 + pick(4));
      const int kind = pick(100);
      const QStringList words = kind < 55 ? QStringList{"press", QString("%1,%2").arg(pick(800) - 100).arg(pick(500) - 100), buttons[pick(5) + 5 * (i / 1500 % 2)]}
          : kind < 70 ? QStringList{"press-row", QString::number(pick(253) - 1), kind < 68 ? "right" : "left"}
          : kind < 75 ? QStringList{"click", QString("Option%1").arg(1 + pick(3))}
          : kind < 82 ? QStringList{"type", field, QString("0123456789.:-a ").mid(pick(15), 1 + pick(4))}
          : kind < 89 ? QStringList{"paste", field, texts[pick(11)]}
          : kind < 93 ? QStringList{"hover", pick(2) ? "preview" : "canvas"}
          : kind < 96 ? QStringList{"undo"} : kind < 99 ? QStringList{"redo"} : QStringList{"click", "Command3"};
      step(words), platform_.log.clear();
      checkRowsShown(words.join(' '));
      const PointTable& table = form_.pointTable();
      full += table.full(), empty += table.empty();
      QString broken = form_.PointCount() == table.size() + 1 && !(table.size() > kMaxPoints) ? "" : "PointCount";
      for (int r = 1; r <= kMaxPoints; ++r) {
        const PointRow p = r <= table.size() ? table.row(r) : PointRow{};
        const std::string cells[] = {r <= table.size() ? "Pt " + std::to_string(r) : "", p.xLetter, p.xText, p.yLetter, p.yText};
        for (int c = 0; c < 5; ++c) broken += grid()->cellText(r, c).toStdString() == cells[c] ? "" : QString(" row %1 column %2").arg(r).arg(c);
      }
      if (!broken.isEmpty()) whole = false, out_ << QString("  seed %1 step %2 (%3): %4").arg(seed).arg(i).arg(words.join(' '), broken);
    }
    out_ << QString("  seed %1: %2 steps, %3 on a full table, %4 on an empty one").arg(seed).arg(count).arg(full).arg(empty);
  }

  QTemporaryDir dir_;
  QTemporaryDir stateDir_;  // the recovery journals, out of the transcript's sight
  const bool stateSet_ = qputenv("XDG_STATE_HOME", stateDir_.path().toLocal8Bit());
  LoggingPlatform platform_;
  ui::Form1 form_{platform_};
  QStringList out_;
  QStringList start_;
  State state_;
  std::map<QString, QByteArray> files_;
  QStringList mounts_;
  std::map<int, QString> rowCells_, rowNames_;  // what each point row showed at the last check
  std::set<int> refreshedCells_, refreshedNames_;  // rows the grid was told to show anew since
};

// The steps, by their first word. The words after it:
const Session::Step Session::kSteps[] = {
    {"start", &Session::start},                 // (the start-up, run before every session)
    {"open", &Session::open},                   // NAME [WxH]: the map dialog of Command1 answered with a picture made here (kept if NAME exists)
    {"answer", &Session::answer},               // Ok|Yes|No the next message boxes, fail the next shell open, cancel or file NAME the next file dialog
    {"click", &Session::click},                 // NAME...: real left clicks on controls (buttons, options, arrow pictures)
    {"press", &Session::press},                 // X,Y... left|right|middle: real presses on the canvas, one after the other
    {"press-row", &Session::pressRow},          // ROW left|right: a real press on that row of XY_Grid (0 the header row)
{"undo", &Session::undo},                   // the last point change taken back (Ctrl+Z)
{"redo", &Session::redo},                   // the last change taken back done again (Ctrl+Shift+Z)
    {"hover", &Session::hover},                 // preview|canvas: the pointer crosses it
    {"paste", &Session::paste},                 // NAME [TEXT]...: text fields set as pasted (not typed), in pairs; a last text may be absent
    {"type", &Session::type},                   // NAME KEYS: real key presses
    {"press-key", &Session::pressKey},          // NAME SEQUENCE...: keys such as Ctrl+V or Backspace
    {"scroll", &Session::scroll},               // horizontal|vertical VALUE: a scroll bar's value
    {"show-tab", &Session::showTab},            // CAPTION: a real click on that tab
    {"resize", &Session::resize},               // W H: the window's outer size in twips
    {"show-layout", &Session::showLayout},      // every design control's place in twips, text, font and state
    {"write", &Session::write},                 // NAME [TEXT]: a file ("|" ends a line with CR LF), or a folder without TEXT
    {"mount-read-only", &Session::readOnly},    // NAME: a read-only filesystem there (root only; elsewhere exit 77, a skip)
    {"read-pixels", &Session::readPixels},      // X,Y...: canvas colours as shown
    {"show-state", &Session::showState},        // every watched value
    {"repeat", &Session::repeat},               // N STEP...: the step N times
    {"random-steps", &Session::randomSteps},    // SEED COUNT: random steps, the table invariants checked after each
};

void Session::step(const QStringList& words) {
  for (const Step& s : kSteps)
    if (words.value(0) == s.verb) return (this->*s.run)(words.mid(1));
  out_ << "  unknown step " + Q(words.value(0)), whole = false;
}

// Whether `actual` is what `expectedPath` holds; a difference is shown as a unified diff. With
// VELMARO_UPDATE_EXPECTED=1 the file is rewritten instead.
bool Matches(const QString& expectedPath, const QByteArray& actual) {
  QFile expected(expectedPath);
  if (qEnvironmentVariableIntValue("VELMARO_UPDATE_EXPECTED") == 1)
    return expected.open(QIODevice::WriteOnly) && expected.write(actual) == actual.size();
  if (expected.open(QIODevice::ReadOnly) && expected.readAll() == actual) return true;
  QTemporaryFile file;
  if (file.open() && file.write(actual) == actual.size() && file.flush())
    std::system(("diff -u '" + expected.fileName() + "' '" + file.fileName() + "'").toLocal8Bit().constData());
  std::fprintf(stderr, "%s differs (VELMARO_UPDATE_EXPECTED=1 rewrites it)\n", qPrintable(expected.fileName()));
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 4) return std::fprintf(stderr, "usage: %s SESSION EXPECTED START\n", argv[0]), 2;
  const QString script = QFileInfo(argv[1]).absoluteFilePath(), expected = QFileInfo(argv[2]).absoluteFilePath(),
                startExpected = QFileInfo(argv[3]).absoluteFilePath();
  QFile scriptFile(script);
  bool whole = scriptFile.open(QIODevice::ReadOnly);
  QByteArray actual, start;
  {
    Session session;
    for (const QString& line : QString::fromUtf8(scriptFile.readAll()).split('\n', Qt::SkipEmptyParts)) session.run(line.trimmed());
    actual = session.transcript().toUtf8(), start = session.startTranscript().toUtf8(), whole = whole && session.whole;
  }
  QDir::setCurrent(QDir::tempPath());  // the session's folder, the working folder till now, is gone
  const bool startMatches = Matches(startExpected, start);
  return Matches(expected, actual) && startMatches && whole ? 0 : 1;
}
