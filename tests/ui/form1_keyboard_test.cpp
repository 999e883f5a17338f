// Form1 from the keyboard, one session per line of keyboard/cases.txt: real key presses (and an
// input method's text) go to whichever control has the focus in the active window; the test compares
// where the focus went after each key and the window's state at the end.

#include <QPushButton>
#include <QScrollBar>
#include <QTextEdit>

#include "form1_fixture.h"
#include "tests/common/case_table.h"
#include "ui/edge_field.h"
#include "ui/map_canvas.h"
#include "ui/tab_control.h"

using velmaro::testing::Case;
using velmaro::testing::Form1Fixture;
Q_DECLARE_METATYPE(Case)

static QString Focused(const Form1Fixture& f) {
  const QWidget* focus = QApplication::focusWidget();
  return focus == f.form->SSTab1->tabBar() ? QString("SSTab1") : focus ? focus->objectName() : QString("none");
}

// Tab, bar values, canvas left and top (twips), zoom, Text2, beeps, the face colour of "Save XY File" (in the
// middle of its left edge, clear of the text), and the manual's text once loaded.
static QString State(const Form1Fixture& f) {
  const velmaro::ui::Form1& w = *f.form;
  const QColor face = w.Command3->grab().toImage().pixelColor(4, w.Command3->height() / 2);
  return QString("%1 %2 %3 %4 %5 %6 %7 %8 %9 %10")
      .arg(QString::number(w.SSTab1->currentIndex()), QString::number(w.HScroll1->value()),
           QString::number(w.VScroll1->value()), QString::number(w.viewport().canvasLeft()),
           QString::number(w.viewport().canvasTop()), QString::number(w.Picture1->zoom()), w.Text2->text(),
           QString::number(f.platform.beepCount()), face.name(), w.RichTextBox1->toPlainText())
      .trimmed();
}

// A key chord as a key sequence names it, "ime:text" (an input method commits the text) or "key:text"
// (one key press carrying the whole text).
static void Send(const QString& step) {
  const QKeyCombination chord = QKeySequence(step)[0];
  if (!step.contains(':')) return QTest::keyClick(QApplication::focusWidget(), chord.key(), chord.keyboardModifiers());
  QInputMethodEvent commit;
  commit.setCommitString(step.mid(4));
  QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, step.mid(4));
  QApplication::sendEvent(QApplication::focusWidget(), step.startsWith("ime:") ? static_cast<QEvent*>(&commit) : &key);
}

class Form1KeyboardTest : public QObject {
  Q_OBJECT

 private slots:
  void sessions_data() {
    QTest::addColumn<Case>("c");
    for (const Case& c : velmaro::testing::ReadCases(VELMARO_KEYBOARD_DIR "/cases.txt")) QTest::newRow(c.name.c_str()) << c;
  }

  void sessions() {
    QFETCH(Case, c);
    Form1Fixture f;
    f.platform.setApplicationFolder(VELMARO_KEYBOARD_DIR);  // holds the manual
    f.givePicture(600, 600);
    f.form->SSTab1->setCurrentIndex(c.integer(0));
    f.form->Command3->setEnabled(true);
    f.form->show();
    QApplication::setActiveWindow(f.form.get());
    QVERIFY(QTest::qWaitForWindowActive(f.form.get()));
    f.form->Picture2->resize(5865 / 15, 5625 / 15);  // the design's viewport, whatever the window's frame
    for (QScrollBar* bar : {f.form->HScroll1, f.form->VScroll1}) bar->setValue(50);
    f.form->findChild<QWidget*>(QString::fromStdString(c[1]))->setFocus();
    QStringList after;
    for (const QString& step : QString::fromStdString(c[2]).split(' '))
      for (int i = 0; i < qMax(1, step.section('*', 1).toInt()); ++i, after << Focused(f)) Send(step.section('*', 0, 0));
    QCOMPARE(after.join(' '), QString::fromStdString(c[3]));
    QCOMPARE(State(f), QString::fromStdString(c[4]));
  }
};

QTEST_MAIN(Form1KeyboardTest)
#include "form1_keyboard_test.moc"
