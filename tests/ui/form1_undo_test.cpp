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

class Form1UndoTest : public QObject {
  Q_OBJECT
  // Three captures, with slips taken back when asked (keys and calls mixed), then a save: the XY bytes.
  static QByteArray Session(velmaro::testing::Form1Fixture& f, const QString& folder, bool slips) {
    f.givePicture(200, 100);
    if (f.form->show(); !QTest::qWaitForWindowActive(f.form.get())) return "inactive";
    const auto keys = [&](Qt::Key key, Qt::KeyboardModifiers mods) { QTest::keyClick(f.form.get(), key, mods); };
    if (slips) f.pressCanvas({20, 20}), keys(Qt::Key_Z, Qt::ControlModifier);
    if (f.form->PointCount() != 1 || f.form->Command3->isEnabled() || f.form->cursor().computed) return "undo";
    for (QPoint p : {QPoint(50, 30), QPoint(100, 60), QPoint(150, 40)}) f.pressCanvas(p);
    if (slips) {
      f.pressCanvas({100, 60}, Qt::RightButton);  // the middle point: the last one is renumbered
      f.form->UndoPointChange(), keys(Qt::Key_Y, Qt::ControlModifier);
      keys(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier), f.form->UndoPointChange();  // no redo left
      f.form->XY_Grid->makeCurrent(1, 0), f.form->XY_Grid_MouseDown(2, 0, 0, 0), f.form->UndoPointChange();
      for (int i = 0; i < 6; ++i) i < 3 ? f.form->UndoPointChange() : f.form->RedoPointChange();  // back, forth
    }
    f.form->Text6->setText(folder + "/points.txt"), f.form->Text8->setText(folder + "/p.info"), f.form->Command3_Click();
    QFile file(folder + "/points.txt");
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("unwritten");
  }

 private slots:
  void slipsTakenBackLeaveTheSameFileAndCanvas() {
    QTemporaryDir plain, slipped;
    velmaro::testing::Form1Fixture a, b;
    QCOMPARE(Session(b, slipped.path(), true), Session(a, plain.path(), false));
    QVERIFY(b.form->Picture1->picture() == a.form->Picture1->picture() && b.form->cursor().x == a.form->cursor().x);
    a.form->hide(), b.form->hide();  // a shown Form1's grid reads the table while the window is destroyed
  }

  void undoAfterAnotherMapLeavesTheNewPictureAlone() {
    velmaro::testing::Form1Fixture f;
    f.givePicture(50, 50), f.pressCanvas({10, 10}), f.givePicture(50, 50, Qt::blue), f.form->UndoPointChange();
    QVERIFY(f.form->PointCount() == 1 && f.canvasPixel({8, 8}) == QColor(Qt::blue));
  }

  void calibrationFromTwoPointsWritesTheFrame() {
    velmaro::testing::Form1Fixture f;
    // 9000 x 4500 twips; presses with the dialog open make reference points, not captures.
    f.givePicture(600, 300), f.form->setNotation(velmaro::CoordinateType::DegMinSec), f.form->CalibrateFromPoints();
    QTableWidget* points = f.form->calibrationDialog()->Points;
    f.pressCanvas({200, 100});
    points->item(0, 2)->setText("6:50:00"), points->item(0, 3)->setText("46:46:40"), f.form->calibrationDialog()->Apply();
    QCOMPARE(f.form->Text2->text(), QString("10000"));  // one point is refused: the frame stays
    f.pressCanvas({400, 200});
    points->item(1, 2)->setText("6:55:00"), points->item(1, 3)->setText("46:43:20"), f.form->calibrationDialog()->Apply();
    QCOMPARE(QStringList({f.form->Text2->text(), f.form->Text3->text(), f.form->Text4->text(), f.form->Text5->text(),
                          f.form->Label1->text() + f.form->Label2->text(), QString::number(f.form->PointCount())}),
             QStringList({"6:45:00", "7:00:00", "46:50:00", "46:40:00", "X Coord. EASTY Coord. NORTH", "1"}));
  }
};

QTEST_MAIN(Form1UndoTest)
#include "form1_undo_test.moc"
