// session_runner SESSION EXPECTED: runs a scripted session of the real window (Form1 on the scripted
// platform, headless), one step a line, and compares the transcript with the EXPECTED file; a
// difference is shown as a unified diff. VELMARO_UPDATE_EXPECTED=1 rewrites the expected file instead.
//
// Steps, one line each or several on a line separated by ";" (X,Y are canvas pixels; several points or
// names in one step run one after the other):
//   map NAME [WxH]        answer the map dialog of Command1 with a picture made here (kept if NAME exists)
//   answer A...           queue answers: Ok|Yes|No the next message boxes, fail the next shell open,
//                         cancel or file NAME the next file dialog
//   click NAME...         real left clicks on controls (buttons, options, arrow pictures)
//   press X,Y... BUTTON   real presses of left|right|middle on the canvas
//   grid ROW BUTTON       a real press on that row of XY_Grid
//   move preview|canvas   the pointer crosses the preview or the canvas
//   set NAME [TEXT]...    text fields set as pasted (not typed): name and text pairs, a last text may be absent
//   type NAME KEYS        real key presses;   key NAME SEQUENCE   one key such as Ctrl+V or Backspace
//   bar H|V VALUE         a scroll bar's value;   tab CAPTION   a real click on that tab
//   resize W H            the window's outer size in twips;   layout   every control's place in twips
//   write NAME [TEXT]     a file ("|" ends a line with CR LF), or a folder when TEXT is absent
//   readonly NAME         a read-only filesystem mounted there (root only: exit 77, a skip, elsewhere)
//   pixel X,Y...          canvas colours;   dump   the whole state;   repeat N STEP   the step N times
//   random SEED COUNT     random steps, the table invariants checked after each; a summary is written
// A NAME starting with "@" lies in the session's own folder (also the working and the application
// folder), which the transcript shows as "@". After every step the transcript gets the dialogs,
// messages, launches and beeps in call order, the bytes of every file that changed, and every watched
// value that changed.

#include <QTest>
#include <QtWidgets>
#include <random>
#include <sys/mount.h>

#include "platform/fake_platform.h"
#include "ui/form1.h"
#include "ui/map_loader.h"
#include "ui/map_viewport.h"
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
    return fake.shellOpen(l) || (log.last() += " -> failed", false);
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
void Mouse(QWidget* w, QPoint at, Qt::MouseButton b, std::initializer_list<QEvent::Type> types = {QEvent::MouseButtonPress,
           QEvent::MouseButtonRelease}) {
  for (QEvent::Type type : types) {
    QMouseEvent e(type, at, w->mapToGlobal(at), b, type == QEvent::MouseButtonPress ? b : Qt::NoButton, {});
    QCoreApplication::sendEvent(w, &e);
  }
}
QPoint Point(const QString& xy) { return {xy.section(',', 0, 0).toInt(), xy.section(',', 1).toInt()}; }

class Session {
 public:
  Session() {
    platform_.fake.setApplicationFolder(dir_.path().toStdString()), QDir::setCurrent(dir_.path()), run("start");
  }
  ~Session() { for (const QString& folder : mounts_) ::umount2(folder.toLocal8Bit(), MNT_DETACH); }
  // A line may hold several steps separated by ";", recorded together.
  void run(const QString& line) {
    out_ << "> " + line;
    // A map decodes in the background; the transcript records the window once it is whole.
    for (const QString& part : line.split(';')) step(QProcess::splitCommand(part)), form_.mapLoader().waitForMap();
    record();
  }
  QString transcript() const { return out_.join('\n').replace(dir_.path(), "@") + '\n'; }
  bool whole = true;

 private:
  template <class T = QWidget> T* w(const QString& name) const { return form_.findChild<T*>(name); }
  QString text(const QString& name) const { return w(name)->property("text").toString(); }
  QString path(const QString& name) const { return name.startsWith('@') ? dir_.path() + name.mid(1) : name; }
  ui::PointGrid* grid() const { return w<ui::PointGrid>("XY_Grid"); }

  void step(const QStringList& a) {
    const QString verb = a.value(0), arg = a.value(1), last = a.last();
    const Qt::MouseButton button = last == "right" ? Qt::RightButton : last == "middle" ? Qt::MiddleButton : Qt::LeftButton;
    pf::FakePlatform& fake = platform_.fake;
    if (verb == "start") form_.Form_Load();
    if (verb == "map") {
      QImage picture(a.size() > 2 ? QSize(last.section('x', 0, 0).toInt(), last.section('x', 1).toInt()) : QSize(600, 300),
                     QImage::Format_RGB32);
      picture.fill(QColor(240, 235, 220));
      if (QDir().mkpath(QFileInfo(path(arg)).path()) && !QFile::exists(path(arg))) picture.save(path(arg), "JPG");
    }
    if (verb == "map") fake.queueFileName(path(arg).toStdString()), form_.Command1_Click();
    for (int i = 1; verb == "answer" && i < a.size(); ++i) {
      if (a[i] == "fail") fake.queueShellResult(false);
      else if (a[i] == "cancel" || a[i] == "file") fake.queueFileName(a[i] == "file" ? std::optional(path(a.value(++i)).toStdString()) : std::nullopt);
      else fake.queueAnswer(a[i] == "Yes" ? pf::Answer::Yes : a[i] == "No" ? pf::Answer::No : pf::Answer::Ok);
    }
    for (int i = 1; verb == "click" && i < a.size(); ++i) QTest::mouseClick(w(a[i]), Qt::LeftButton);
    for (int i = 1; verb == "press" && i + 1 < a.size(); ++i) Mouse(w("Picture1"), Point(a[i]), button);
    for (int i = 1; verb == "pixel" && i < a.size(); ++i)
      platform_.log << "pixel " + w("Picture1")->grab(QRect(Point(a[i]), QSize(1, 1))).toImage().pixelColor(0, 0).name();
    const QModelIndex cell = grid()->model()->index(arg.toInt() - 1, 2);  // grid row 0 is the header
    if (verb == "grid" && arg.toInt() == 0) Mouse(grid()->horizontalHeader(), {grid()->horizontalHeader()->sectionViewportPosition(2) + 5, 5}, button);
    else if (verb == "grid") grid()->scrollTo(cell), Mouse(grid()->viewport(), grid()->visualRect(cell).center(), button);
    if (verb == "move") Mouse(w(arg == "preview" ? "Image1" : "Picture1"), {5, 5}, Qt::NoButton, {QEvent::MouseMove});
    for (int i = 1; verb == "set" && i < a.size(); i += 2) w<QLineEdit>(a[i])->setText(a.value(i + 1));
    if (verb == "type") QTest::keyClicks(w(arg), a.value(2));
    for (int i = 2; verb == "key" && i < a.size(); ++i)
      QTest::keyClick(w(arg), QKeySequence(a[i])[0].key(), QKeySequence(a[i])[0].keyboardModifiers());
    if (verb == "bar") w<QScrollBar>(arg + "Scroll1")->setValue(a.value(2).toInt());
    QTabBar* tabs = form_.findChild<QTabBar*>();
    for (int i = 0; verb == "tab" && i < tabs->count(); ++i)
      if (tabs->tabText(i) == arg) QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(i).center());
    const QSize outer = QSize(arg.toInt(), a.value(2).toInt()) * form_.logicalDpiX() / 1440.0;
    if (verb == "resize") form_.resize(outer - (form_.frameGeometry().size() - form_.size())), QCoreApplication::processEvents();
    // layout: the design controls (names ending in a digit, and XY_Grid) by name; no other step matches any.
    QList<QWidget*> controls = form_.findChildren<QWidget*>(QRegularExpression(verb == "layout" ? "\\d$|^XY_Grid$" : "(?!)"));
    std::sort(controls.begin(), controls.end(), [](auto* a, auto* b) { return a->objectName() < b->objectName(); });
    if (verb == "layout") out_ << "  Form1 " + TwipRect(&form_, form_.frameGeometry());
    for (const QWidget* c : controls)
      out_ << QString("  %1 %2 %3 font %4%5%6%7").arg(c->objectName(), TwipRect(c, c->geometry()),
          Q(c->property("text").toString() + c->property("title").toString())).arg(c->font().pointSizeF())
          .arg(c->font().bold() ? " bold" : "", c->isEnabled() ? "" : " disabled", c->toolTip().isEmpty() ? "" : " tip " + Q(c->toolTip()));
    QFile file(path(arg));
    if (verb == "write" && QDir().mkpath(a.size() > 2 ? QFileInfo(file).path() : file.fileName()) && a.size() > 2)
      file.open(QIODevice::WriteOnly) && file.write(a.value(2).replace("|", "\r\n").toUtf8());
    if (verb == "readonly" && QDir().mkpath(path(arg))) mounts_ << path(arg);
    if (verb == "readonly" && ::mount("tmpfs", path(arg).toLocal8Bit(), "tmpfs", MS_RDONLY, "") != 0) std::exit(77);
    for (const auto& [name, value] : verb == "dump" ? state() : State())
      if (!value.isEmpty()) out_ << QString("  %1: %2").arg(name, value);
    for (int i = 0; verb == "repeat" && i < arg.toInt(); ++i) step(a.mid(2));
    if (verb == "random") stress(arg.toUInt(), a.value(2).toInt());
  }

  State state() const {
    int option = 0;
    for (int i = 1; i <= 3; ++i) option = w<QAbstractButton>(QString("Option%1").arg(i))->isChecked() ? i : option;
    const QTabBar* tabs = form_.findChild<QTabBar*>();
    State s = {{"title", form_.windowTitle()}, {"tab", tabs->tabText(tabs->currentIndex())},
        {"PointCount", QString::number(form_.PointCount())}, {"Command3", w("Command3")->isEnabled() ? "enabled" : "disabled"},
        {"notation", std::array{"none", "Meters", "DegMinSec", "DecimalDegrees"}[option]},
        {"scroll", QString("H %1 V %2").arg(w<QScrollBar>("HScroll1")->value()).arg(w<QScrollBar>("VScroll1")->value())},
        {"canvas", TwipRect(&form_, w("Picture1")->geometry())}, {"tooltip", w("Picture1")->toolTip()},
        {"current cell", QString("%1,%2").arg(grid()->currentRow()).arg(grid()->currentColumn())},
        {"RichTextBox1", w<QTextEdit>("RichTextBox1")->toPlainText().section('\n', 0, 0)}};
    for (const char* name : {"Text1", "Text6", "Text8", "Text2", "Text3", "Text4", "Text5", "Label1", "Label2", "Text7", "Text9"})
      s.emplace_back(name, text(name));
    for (int row = 0; row <= kMaxPoints; ++row) {
      const auto cell = [&](int column) { return grid()->cellText(row, column); };
      const QString cells = QStringList{cell(0), cell(1), cell(2), cell(3), cell(4)}.join(" | ");
      s.emplace_back(QString("row %1").arg(row), cells == " |  |  |  | " ? QString() : cells);
    }
    return s;
  }

  // After a step: what the platform was asked, the text files that changed, the watched values that changed.
  void record() {
    for (const QString& call : std::exchange(platform_.log, {})) out_ << "  " + call;
    QStringList names;
    for (QDirIterator it(dir_.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();) names << it.next();
    names.sort();
    for (const QString& name : names) {
      QFile file(name);
      const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : "<unreadable>";
      if (std::exchange(files_[file.fileName()], bytes) == bytes || bytes.contains('\0')) continue;
      out_ << "  file " + file.fileName();
      for (const QByteArray& line : bytes.split('\n')) out_ << "  | " + QString::fromUtf8(line).replace('\r', "\\r");
    }
    State now = state();
    for (std::size_t i = 0; i < now.size(); ++i)
      if ((state_.empty() ? QString() : state_[i].second) != now[i].second) out_ << "  " + now[i].first + " = " + now[i].second;
    state_ = std::move(now);
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
          : kind < 70 ? QStringList{"grid", QString::number(pick(253) - 1), kind < 68 ? "right" : "left"}
          : kind < 75 ? QStringList{"click", QString("Option%1").arg(1 + pick(3))}
          : kind < 82 ? QStringList{"type", field, QString("0123456789.:-a ").mid(pick(15), 1 + pick(4))}
          : kind < 89 ? QStringList{"set", field, texts[pick(11)]}
          : kind < 99 ? QStringList{"move", pick(2) ? "preview" : "canvas"} : QStringList{"click", "Command3"};
      step(words), platform_.log.clear();
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
  LoggingPlatform platform_;
  ui::Form1 form_{platform_};
  QStringList out_;
  State state_;
  std::map<QString, QByteArray> files_;
  QStringList mounts_;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QFile script(argc > 2 ? argv[1] : ""), expected(QFileInfo(argc > 2 ? argv[2] : "").absoluteFilePath());
  QByteArray actual;
  bool whole = script.open(QIODevice::ReadOnly);
  {
    Session session;
    for (const QString& line : QString::fromUtf8(script.readAll()).split('\n', Qt::SkipEmptyParts)) session.run(line.trimmed());
    actual = session.transcript().toUtf8(), whole = whole && session.whole;
  }
  QDir::setCurrent(QDir::tempPath());  // the session's folder, the working folder till now, is gone
  if (qEnvironmentVariableIntValue("VELMARO_UPDATE_EXPECTED") == 1 && expected.open(QIODevice::WriteOnly) && expected.write(actual) == actual.size()) return whole ? 0 : 1;
  if (expected.open(QIODevice::ReadOnly) && expected.readAll() == actual && whole) return 0;
  QTemporaryFile file;
  if (file.open() && file.write(actual) == actual.size() && file.flush())
    std::system(("diff -u '" + expected.fileName() + "' '" + file.fileName() + "'").toLocal8Bit().constData());
  return std::fprintf(stderr, "%s: the transcript differs (VELMARO_UPDATE_EXPECTED=1 rewrites it)\n", argv[0]), 1;
}
