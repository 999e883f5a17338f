// The session brought back from its recovery journal. A child process runs a scripted session of random
// captures, removals, grid removals, undo, redo and edge edits, and is killed with SIGKILL after a random
// step; a new window, asked to recover, must equal the scripted session after the last step the journal
// holds (exactly the step of the kill when the child waited for the disk first): the same fields, table,
// cursor, undo steps and map pixels. Then the journal's lifetime: gone after a save and after Quit,
// removed when recovery is declined, and a changed map brings back the table alone.
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <random>

#include "files/session_journal.h"
#include "files/state_folder.h"
#include "form1_fixture.h"
#include "ui/edge_field.h"
#include "ui/point_grid.h"
#include "ui/session_journal.h"

using velmaro::testing::Form1Fixture;
using velmaro::testing::OpenWhole;

namespace {

constexpr int kSteps = 30;

// Step `i` of the script of `seed` on a 600 x 300 map: positions are picture pixels (15 twips each). Step 10
// opens the map again, so that the journal of the steps after it starts with undo steps of an earlier map.
void Step(velmaro::ui::Form1& form, const QString& map, unsigned seed, int i) {
  if (i == 10) return OpenWhole(form, map);
  std::mt19937 random(seed * 1000 + static_cast<unsigned>(i));
  const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  const double x = pick(600) * 15.0, y = pick(300) * 15.0;
  switch (pick(10)) {
    case 5: form.Remove_Point(x, y); return;
    case 6:
      form.XY_Grid->makeCurrent(1 + pick(form.PointCount()), pick(2) * 2);
      form.XY_Grid_MouseDown(2, 0, 0, 0);
      return;
    case 7: form.UndoPointChange(); return;
    case 8: form.RedoPointChange(); return;
    case 9: form.Text2->setText(QString::number(9000 + pick(2000))); return;
    default: form.Picture1_MouseDown(1, 0, x, y);
  }
}

QString WriteMap(const QString& path) {
  QImage map(600, 300, QImage::Format_RGB32);
  map.fill(QColor(240, 235, 220));
  return map.save(path, "JPG") ? path : QString();
}

struct State {
  std::vector<velmaro::JournalField> session;
  QImage picture;
  bool operator==(const State&) const = default;
};

State StateOf(const velmaro::ui::Form1& form) { return {form.sessionSnapshot(), form.Picture1->picture()}; }

// The session of `seed` in this process: the state after each step, 0 the state before any.
std::vector<State> Reference(const QString& map, unsigned seed) {
  Form1Fixture f;
  OpenWhole(*f.form, map);
  std::vector<State> states{StateOf(*f.form)};
  for (int i = 0; i < kSteps; ++i) Step(*f.form, map, seed, i), states.push_back(StateOf(*f.form));
  return states;
}

}  // namespace

class Form1RecoveryTest : public QObject {
  Q_OBJECT
  QTemporaryDir folder;
  const QString map = WriteMap(folder.filePath("sheet.jpg"));

 private slots:
  void aKilledSessionComesBackUpToItsLastJournalledStep_data() {
    QTest::addColumn<unsigned>("seed");
    QTest::addColumn<int>("killedAfter");
    QTest::addColumn<bool>("waitedForTheDisk");
    std::mt19937 random(20261207);
    for (int trial = 0; trial < 8; ++trial) {
      const int step = trial < 4 ? 1 + static_cast<int>(random() % 10) : 11 + static_cast<int>(random() % (kSteps - 10));
      QTest::newRow(qPrintable(QString("trial %1, killed after step %2").arg(trial).arg(step)))
          << unsigned(trial + 1) << step << (trial % 2 == 0);
    }
  }
  void aKilledSessionComesBackUpToItsLastJournalledStep() {
    QFETCH(unsigned, seed);
    QFETCH(int, killedAfter);
    QFETCH(bool, waitedForTheDisk);
    const std::vector<State> reference = Reference(map, seed);
    const QTemporaryDir state;  // the child's journals, and then the new window's
    qputenv("XDG_STATE_HOME", state.path().toLocal8Bit());
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(),
                {"--child", map, QString::number(seed), QString::number(killedAfter), waitedForTheDisk ? "wait" : "go"});
    QVERIFY(child.waitForFinished(30000));
    QCOMPARE(child.exitStatus(), QProcess::CrashExit);  // killed, not ended

    velmaro::platform::FakePlatform platform;
    velmaro::ui::Form1 form(platform);
    form.Form_Load();  // the recovery question comes first and is answered with its default, Yes
    form.mapLoader().waitForMap();
    if (platform.messages().empty()) {  // killed before any step reached the disk: a fresh start
      QVERIFY(!waitedForTheDisk && platform.fileDialogs().size() == 1);
      return;
    }
    QCOMPARE(platform.messages().size(), std::size_t{1});
    QVERIFY(platform.fileDialogs().empty());  // recovery opened the map: no map dialog
    const State recovered = StateOf(form);
    int step = killedAfter;
    while (step >= 0 && !(reference[step] == recovered)) --step;
    QVERIFY2(step >= 0, "the recovered session is none of the scripted session's states");
    if (waitedForTheDisk) QCOMPARE(step, killedAfter);
  }

  void theJournalGoesWithASaveAQuitAndADeclinedRecovery() {
    Form1Fixture f;
    const QString journals = QString::fromStdString(velmaro::StateFolder());
    const auto count = [&] { return QDir(journals).entryList(QDir::Files).size(); };
    OpenWhole(*f.form, map);
    f.form->Picture1_MouseDown(1, 0, 1500, 1500);
    f.form->journal().waitUntilWritten();
    QCOMPARE(count(), 1);
    f.form->Text6->setText(folder.filePath("points.txt"));
    f.form->Command3_Click();
    f.form->journal().waitUntilWritten();
    QCOMPARE(count(), 0);  // saved: nothing to bring back
    f.form->UndoPointChange();
    f.form->journal().waitUntilWritten();
    QCOMPARE(count(), 1);  // unsaved again
    f.form->Command5_Click();
    QCOMPARE(count(), 0);  // Quit saves nothing, and leaves nothing to recover

    f.form->RedoPointChange();
    f.form->journal().waitUntilWritten();
    f.form.reset();  // as if killed: the journal stays
    velmaro::platform::FakePlatform platform;
    platform.queueAnswer(velmaro::platform::Answer::No);
    velmaro::ui::Form1 declined(platform);
    declined.Form_Load();
    QCOMPARE(count(), 0);
    QCOMPARE(declined.PointCount(), 1);
  }

  void aJournalThatCannotBeWrittenIsSaidOnce() {
    QTemporaryDir home;
    QFile blocker(home.filePath("state"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));  // a file where the folder should be: even root cannot write there
    qputenv("XDG_STATE_HOME", blocker.fileName().toLocal8Bit());
    velmaro::platform::FakePlatform platform;
    velmaro::ui::Form1 form(platform);
    OpenWhole(form, map);
    for (const double x : {1500.0, 3000.0, 4500.0}) {
      form.Picture1_MouseDown(1, 0, x, 600);
      form.journal().waitUntilWritten();
      QTest::qWait(300);  // the window looks at the journal a moment after each change
    }
    QCOMPARE(platform.messages().size(), std::size_t{1});
    QVERIFY(QString::fromStdString(platform.messages()[0].text).contains("cannot be kept"));
    QCOMPARE(form.PointCount(), 4);  // the session goes on
  }

  void aChangedMapBringsBackTheTableAlone() {
    const QString changed = WriteMap(folder.filePath("changed.jpg"));
    Form1Fixture f;
    OpenWhole(*f.form, changed);
    for (const double x : {1500.0, 3000.0}) f.form->Picture1_MouseDown(1, 0, x, 600);
    const auto rows = f.form->pointTable().rows();
    f.form->journal().waitUntilWritten();
    f.form.reset();
    QImage(50, 50, QImage::Format_RGB32).save(changed, "JPG");
    velmaro::platform::FakePlatform platform;
    velmaro::ui::Form1 form(platform);
    form.Form_Load();
    QVERIFY(QString::fromStdString(platform.messages().at(0).text).contains("has changed"));
    QVERIFY(form.pointTable().rows() == rows);
    QCOMPARE(form.Picture1->picture().isNull(), true);  // the old map's points, not drawn on a new picture
    QCOMPARE(form.Picture1->size(), QSize(600, 300));
  }
};

// The child: the scripted session, killed by itself after the given step, without a word to the journal.
int ChildMain(const QString& map, unsigned seed, int killedAfter, bool waitForTheDisk) {
  velmaro::platform::FakePlatform platform;
  velmaro::ui::Form1 form(platform);
  OpenWhole(form, map);
  for (int i = 0; i < killedAfter; ++i) Step(form, map, seed, i);
  if (waitForTheDisk) form.journal().waitUntilWritten();
  std::raise(SIGKILL);
  return 1;
}

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc == 6 && QByteArray(argv[1]) == "--child")
    return ChildMain(argv[2], QByteArray(argv[3]).toUInt(), QByteArray(argv[4]).toInt(), QByteArray(argv[5]) == "wait");
  Form1RecoveryTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "form1_recovery_test.moc"
