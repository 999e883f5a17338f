// Undo and redo against a session without the slips, and the calibration dialog writing the frame.
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>

#include "form1_fixture.h"
#include "ui/calibration_dialog.h"
#include "ui/edge_field.h"
#include "ui/point_grid.h"

using velmaro::testing::Form1Fixture;

class Form1UndoTest : public QObject {
  Q_OBJECT
  // Captures three points, slipping on the way when asked, then saves; returns the XY file's bytes.
  static QByteArray Session(Form1Fixture& f, const QString& folder, bool slips) {
    f.givePicture(200, 100);
    f.form->show();
    if (!QTest::qWaitForWindowActive(f.form.get())) return "inactive";
    if (slips) {
      f.pressCanvas({20, 20});  // a wrong capture on an empty table, taken back by Ctrl+Z
      QTest::keyClick(f.form.get(), Qt::Key_Z, Qt::ControlModifier);
      if (f.form->PointCount() != 1 || f.form->Command3->isEnabled() || f.form->cursor().computed) return "undo";
    }
    f.pressCanvas({50, 30});
    f.pressCanvas({100, 60});
    f.pressCanvas({150, 40});
    if (slips) {
      f.pressCanvas({100, 60}, Qt::RightButton);  // removes the middle point, renumbering the last
      f.form->UndoPointChange();
      QTest::keyClick(f.form.get(), Qt::Key_Y, Qt::ControlModifier);
      QTest::keyClick(f.form.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);  // nothing to redo
      f.form->UndoPointChange();
      f.form->XY_Grid->makeCurrent(1, 0);
      f.form->XY_Grid_MouseDown(2, 0, 0, 0);
      f.form->UndoPointChange();
    }
    f.form->Text6->setText(folder + "/points.txt");
    f.form->Text8->setText(folder + "/points.info");
    f.form->Command3_Click();
    QFile file(folder + "/points.txt");
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("unwritten");
  }

 private slots:
  void slipsTakenBackLeaveTheSameFileAndCanvas() {
    QTemporaryDir plain, slipped;
    Form1Fixture a, b;
    const QByteArray expected = Session(a, plain.path(), false);
    QCOMPARE(Session(b, slipped.path(), true), expected);
    QVERIFY(b.form->Picture1->picture() == a.form->Picture1->picture());
    QCOMPARE(b.form->cursor().x, a.form->cursor().x);
    a.form->hide(), b.form->hide();  // a shown Form1's grid reads the table while the window is destroyed
  }

  void calibrationFromTwoPointsWritesTheFrame() {
    Form1Fixture f;
    f.givePicture(600, 300);  // 9000 x 4500 twips
    f.form->setNotation(velmaro::CoordinateType::DegMinSec);
    f.form->CalibrateFromPoints();
    velmaro::ui::CalibrationDialog* dialog = f.form->calibrationDialog();
    const char* known[][2] = {{"6:50:00", "46:46:40"}, {"6:55:00", "46:43:20"}};
    for (int i = 0; i < 2; ++i) {
      f.pressCanvas({200 * (i + 1), 100 * (i + 1)});
      dialog->Points->item(i, 2)->setText(known[i][0]);
      dialog->Points->item(i, 3)->setText(known[i][1]);
      if (i == 0) dialog->Apply();  // one point: refused, the frame stays
    }
    QCOMPARE(f.form->Text2->text(), QString("10000"));
    dialog->Apply();
    QCOMPARE(f.form->PointCount(), 1);
    const QStringList frame{f.form->Text2->text(), f.form->Text3->text(), f.form->Text4->text(), f.form->Text5->text()};
    QCOMPARE(frame, QStringList({"6:45:00", "7:00:00", "46:50:00", "46:40:00"}));
    QCOMPARE(f.form->Label1->text() + f.form->Label2->text(), QString("X Coord. EASTY Coord. NORTH"));
  }
};

QTEST_MAIN(Form1UndoTest)
#include "form1_undo_test.moc"
