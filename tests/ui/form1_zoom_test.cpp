// Zoom, panning and the program's argument on a real Form1. Frame 10000..15000 over 2000 pixels: one
// picture pixel is 2.5 metres, so a press half a pixel off its spot reads a different whole metre.
#include <QScrollBar>
#include <QTemporaryDir>

#include "form1_fixture.h"
#include "ui/point_grid.h"

class Form1ZoomTest : public QObject {
  Q_OBJECT
 private slots:
  void aSpotReadsAlikeAtEveryZoomAndRemovesItsNearestPoint() {
    const struct { int steps; QPoint pixel; const char* x; } rows[] = {  // picture pixel (41, 30) as shown
        {0, {41, 30}, "10102"}, {2, {82, 60}, "10102"}, {-2, {21, 15}, "10105"}, {8, {656, 480}, "10102"}};
    for (const auto& row : rows) {  // at 1/2 the screen pixel 21 is picture pixel 42
      velmaro::testing::Form1Fixture f;
      f.givePicture(2000, 1500);
      f.pressCanvas(QPoint(100, 30));
      f.form->viewport().zoomBy(row.steps, QPoint(0, 0));
      f.pressCanvas(row.pixel);
      QCOMPARE(f.form->XY_Grid->cellText(2, 2) + f.form->XY_Grid->cellText(2, 4), QString(row.x) + "29900");
      QCOMPARE(f.canvasPixel(QPoint(41, 30)), QColor(Qt::red));  // the disc sits on its spot in the picture
      f.pressCanvas(row.pixel * 1.1, Qt::RightButton);  // nearer Pt 2 (picture 41) than Pt 1 (picture 100)
      QCOMPARE(f.form->XY_Grid->cellText(1, 2) + QString::number(f.form->PointCount()), "102502");
    }
  }
  void wheelAndMiddleDragMoveTheMapAndTheBarsThenTheArgumentOpensAMapWithoutTheDialog() {
    velmaro::testing::Form1Fixture f;
    f.givePicture(2000, 1500);
    f.form->viewport().zoomBy(2, QPoint(0, 0));
    const auto send = [&f](QEvent&& event) { QCoreApplication::sendEvent(f.form->Picture1, &event); };
    send(QWheelEvent({9, 9}, {9, 9}, {}, {0, -120}, {}, {}, Qt::NoScrollPhase, false));
    send(QWheelEvent({9, 9}, {9, 9}, {}, {0, -120}, {}, Qt::ShiftModifier, Qt::NoScrollPhase, false));
    send(QMouseEvent(QEvent::MouseButtonPress, {300, 9}, {300, 9}, Qt::MiddleButton, Qt::MiddleButton, {}));
    send(QMouseEvent(QEvent::MouseMove, {200, 9}, {200, 9}, Qt::NoButton, Qt::MiddleButton, {}));
    send(QMouseEvent(QEvent::MouseButtonRelease, {200, 9}, {200, 9}, Qt::MiddleButton, {}, {}));
    f.pressCanvas(QPoint(300, 300), Qt::MiddleButton);  // a drag captures nothing, a still middle press does
    const QSize overflow = f.form->Picture1->size() - f.form->Picture2->size();
    QCOMPARE(QList<int>() << f.form->Picture1->x() << f.form->Picture1->y() << f.form->PointCount()
                          << f.form->HScroll1->value() << f.form->VScroll1->value(),
             QList<int>() << -148 << -48 << 2 << qRound(14800.0 / overflow.width()) << qRound(4800.0 / overflow.height()));
    f.form->VScroll1->setValue(100);  // the bar's own event puts the zoomed canvas's bottom edge at the viewport's
    QCOMPARE(f.form->Picture1->y(), -overflow.height());
    const QTemporaryDir folder;
    QImage(30, 20, QImage::Format_RGB32).save(folder.filePath("sheet.jpg"));
    f.form->Form_Load(folder.filePath("sheet.jpg").toStdString());
    QCOMPARE(f.form->Picture1->picture().size() + QSize(f.platform.fileDialogs().size(), 0), QSize(30, 20));
  }
};

QTEST_MAIN(Form1ZoomTest)
#include "form1_zoom_test.moc"
