// Zoom, panning, the loupe and the program's argument on a real Form1. Frame 10000..15000 over 2000 pixels:
// one picture pixel is 2.5 metres, so a press half a pixel off its spot reads a different whole metre.
#include <QScrollBar>
#include <QTemporaryDir>
#include <cmath>

#include "form1_fixture.h"
#include "ui/loupe.h"
#include "ui/point_grid.h"

namespace {
// A map of 2 x 2 blocks, each of its own colour, so that a view halved or enlarged shows whole blocks.
QImage Blocks(QImage::Format format) {
  QImage picture(200, 100, format);
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 200; ++x) picture.setPixelColor(x, y, QColor(x / 2 * 2, y / 2 * 5, (x / 2 + y / 2) % 7 * 30));
  return picture;
}
QColor BlockColour(int bx, int by) { return QColor(bx * 2, by * 5, (bx + by) % 7 * 30); }
}  // namespace

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
  // What the canvas shows: at 2 every picture pixel covers 2 x 2 screen pixels, at 1/2 every block of
  // 2 x 2 is one; through either way of drawing (3 bytes a pixel as JPEG maps are held, and RGB32).
  void theShownMapAtTwiceAndHalf_data() {
    QTest::addColumn<int>("format");
    QTest::addColumn<int>("steps");
    QTest::addColumn<QPoint>("shown");
    QTest::addColumn<QPoint>("block");
    for (const auto& [format, name] : {std::pair{QImage::Format_RGB888, "3 bytes"}, {QImage::Format_RGB32, "RGB32"}}) {
      QTest::newRow((std::string(name) + ", 2, first pixel").c_str()) << int(format) << 2 << QPoint(3, 3) << QPoint(0, 0);
      QTest::newRow((std::string(name) + ", 2, inside").c_str()) << int(format) << 2 << QPoint(45, 21) << QPoint(11, 5);
      QTest::newRow((std::string(name) + ", 2, last pixel").c_str()) << int(format) << 2 << QPoint(399, 199) << QPoint(99, 49);
      QTest::newRow((std::string(name) + ", 1/2, first block").c_str()) << int(format) << -2 << QPoint(0, 0) << QPoint(0, 0);
      QTest::newRow((std::string(name) + ", 1/2, inside").c_str()) << int(format) << -2 << QPoint(37, 13) << QPoint(37, 13);
      QTest::newRow((std::string(name) + ", 1/2, last block").c_str()) << int(format) << -2 << QPoint(99, 49) << QPoint(99, 49);
    }
  }
  void theShownMapAtTwiceAndHalf() {
    QFETCH(int, format);
    QFETCH(int, steps);
    QFETCH(QPoint, shown);
    QFETCH(QPoint, block);
    velmaro::testing::Form1Fixture f;
    f.form->Picture1->setPicture(Blocks(QImage::Format(format)));
    f.form->Picture2->resize(50, 30);  // smaller than the map, so that halving it is a zoom the view allows
    f.form->viewport().zoomBy(steps, QPoint(0, 0));
    QCOMPARE(f.form->Picture1->zoom(), steps > 0 ? 2.0 : 0.5);
    QCOMPARE(f.form->Picture1->grab().toImage().pixelColor(shown), BlockColour(block.x(), block.y()));
    // A repaint of a small part only, as after a disc or a scroll: its first column starts between two
    // source pixels and must be painted all the same.
    QImage part(f.form->Picture1->size(), QImage::Format_RGB32);
    part.fill(Qt::magenta);
    f.form->Picture1->render(&part, shown, QRegion(QRect(shown, QSize(3, 3))));
    QCOMPARE(part.pixelColor(shown), BlockColour(block.x(), block.y()));
  }

  // The loupe under the pointer: its spot in picture pixels, what it shows there six times larger, and the
  // coordinates a press there would capture.
  void theLoupeShowsItsSpotAndItsCoordinates_data() {
    QTest::addColumn<int>("steps");
    QTest::addColumn<QPoint>("pointer");
    QTest::addColumn<QPointF>("spot");
    QTest::addColumn<QString>("coordinates");
    // (41, 31) reads X = 10000 + 615 * 5000 / 30000 = 10102.5 and Y = 30000 - 465 * 5000 / 22500 = 29896.7;
    // (41.5, 31.5) reads 10000 + 622.5 / 6 = 10103.75 and 30000 - 472.5 * 2 / 9 = 29895.
    QTest::newRow("1:1") << 0 << QPoint(41, 31) << QPointF(41, 31) << "X= 10102  Y= 29896";
    QTest::newRow("zoomed 2") << 2 << QPoint(82, 62) << QPointF(41, 31) << "X= 10102  Y= 29896";
    QTest::newRow("zoomed 2, between pixels") << 2 << QPoint(83, 63) << QPointF(41.5, 31.5) << "X= 10103  Y= 29895";
  }
  void theLoupeShowsItsSpotAndItsCoordinates() {
    QFETCH(int, steps);
    QFETCH(QPoint, pointer);
    QFETCH(QPointF, spot);
    QFETCH(QString, coordinates);
    velmaro::testing::Form1Fixture f;
    f.form->Picture1->setPicture(Blocks(QImage::Format_RGB888).scaled(2000, 1500));
    f.form->viewport().zoomBy(steps, QPoint(0, 0));
    f.form->viewport().toggleLoupe();
    f.mouse(QEvent::MouseMove, pointer);
    velmaro::ui::Loupe& loupe = *f.form->viewport().loupe();
    QVERIFY(!loupe.isHidden());
    QCOMPARE(loupe.spot(), spot);
    QCOMPARE(loupe.coordinates(), coordinates);
    // Six screen pixels a picture pixel from the lens's centre, clear of the cross-hair.
    const QImage lens = loupe.grab().toImage();
    for (const QPoint offset : {QPoint(4, 4), QPoint(-4, -4), QPoint(12, 18)}) {
      const QPointF under = spot + QPointF(offset) / velmaro::ui::kLoupeMagnification;
      const QPoint pixel(static_cast<int>(std::floor(under.x())), static_cast<int>(std::floor(under.y())));
      QCOMPARE(lens.pixelColor(QPoint(80, 80) + offset), f.form->Picture1->picture().pixelColor(pixel));
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
