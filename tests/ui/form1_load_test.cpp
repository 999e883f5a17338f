// A map opened in the window while its rows are still being decoded: presses are captured and taken back at
// once, another map stops the decode, a map that fails part way gives the previous map back, and closing the
// window ends the decode. Until the test hands events to the window, the canvas has no decoded row at all.
#include <QFile>
#include <QLineEdit>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include "form1_fixture.h"
#include "ui/preview_image.h"
#include "map_picture/scaled_pixels.h"

using velmaro::testing::Form1Fixture;

namespace {

const QColor kPaper(240, 235, 220);

QString WriteMap(const QTemporaryDir& folder, const QString& name, QSize size, double keepPercent = 100) {
  QImage map(size, QImage::Format_RGB32);
  map.fill(kPaper);
  QPainter painter(&map);
  for (int y = 0; y < size.height(); y += 9) painter.setPen(QColor(40, 90, y % 200)), painter.drawLine(0, y, 30, y);
  painter.end();
  const QString path = folder.filePath(name);
  QFile file(path);
  if (!map.save(path, "JPG", 90) || !file.open(QIODevice::ReadWrite)) return {};
  file.resize(static_cast<qint64>(file.size() * keepPercent / 100));
  return path;
}

bool IsRed(QColor colour) { return colour.red() > 200 && colour.green() < 60 && colour.blue() < 60; }

}  // namespace

class Form1LoadTest : public QObject {
  Q_OBJECT
  QTemporaryDir folder;
  const QSize big{4000, 3000};

  void open(Form1Fixture& f, const QString& path) { f.form->openMap(path.toStdString()); }

 private slots:
  void pressesAreCapturedAndTakenBackWhileTheMapDecodes() {
    Form1Fixture f;
    open(f, WriteMap(folder, "big.jpg", big));
    QVERIFY(f.form->mapLoader().loading());
    QCOMPARE(f.form->Picture1->size(), big);  // from the header, before any row
    f.pressCanvas(QPoint(3900, 2900));
    f.pressCanvas(QPoint(3700, 2900));
    QCOMPARE(f.form->PointCount(), 3);
    f.form->UndoPointChange();
    QCOMPARE(f.form->PointCount(), 2);
    f.form->mapLoader().waitForMap();
    QVERIFY(!f.form->mapLoader().loading());
    QVERIFY(IsRed(f.canvasPixel(QPoint(3900, 2900))));
    QVERIFY(!IsRed(f.canvasPixel(QPoint(3700, 2900))));
    f.form->UndoPointChange();  // the disc that waited for its rows, taken back after they came
    QCOMPARE(f.canvasPixel(QPoint(3900, 2900)), f.canvasPixel(QPoint(3900, 2800)));
  }

  void aDiscDrawnWhileTheMapDecodesShowsZoomedOut() {
    Form1Fixture f;
    open(f, WriteMap(folder, "sheet.jpg", QSize(4800, 3800)));  // its preview is the copy reduced by 8
    f.pressCanvas(QPoint(2400, 1900));
    f.form->mapLoader().waitForMap();
    f.form->viewport().zoomBy(-7, QPoint(0, 0));  // below 1/8: drawn from the reduced copies
    const double zoom = f.form->Picture1->zoom();
    QVERIFY(zoom < 0.125);
    const QImage shown = f.form->Picture1->grab().toImage();
    int greenest = 255;
    for (const QPoint d : {QPoint(0, 0), QPoint(-1, 0), QPoint(0, -1), QPoint(-1, -1)})
      greenest = std::min(greenest, shown.pixelColor(QPoint(qRound(2400 * zoom), qRound(1900 * zoom)) + d).green());
    QVERIFY2(greenest < 226, "the red disc is missing from the zoomed-out view");  // the paper is 235
  }

  void anotherMapStopsTheDecodeAndTakesItsPlace() {
    Form1Fixture f;
    open(f, WriteMap(folder, "first.jpg", big));
    open(f, WriteMap(folder, "second.jpg", QSize(300, 200)));
    f.form->mapLoader().waitForMap();
    QCOMPARE(f.form->Picture1->picture().size(), QSize(300, 200));
    QCOMPARE(f.form->Text1->text(), folder.filePath("second.jpg"));
  }

  void aMapFailingPartWayGivesThePreviousMapBack() {
    Form1Fixture f;
    open(f, WriteMap(folder, "good.jpg", QSize(600, 400)));
    f.form->mapLoader().waitForMap();
    f.pressCanvas(QPoint(100, 100));
    const QImage previousPreview = f.form->Image1->picture();
    const QString cut = WriteMap(folder, "cut.jpg", big, 60);
    open(f, cut);
    QCOMPARE(f.form->Picture1->size(), big);
    f.form->mapLoader().waitForMap();
    QCOMPARE(f.form->Picture1->size(), QSize(600, 400));
    QVERIFY(IsRed(f.canvasPixel(QPoint(100, 100))));
    QVERIFY(f.form->Image1->picture() == previousPreview);
    QCOMPARE(f.form->Text1->text(), cut);  // the names follow the choice whatever the picture does
  }

  // A zoomed view of a 3-byte map: pixel (x, y) of the 4 x 2 source is (10x, 100 + 10y, 7).
  void zoomedViewsReadTheRightSourcePixels_data() {
    QTest::addColumn<double>("factor");
    QTest::addColumn<QRect>("limit");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QColor>("expected");
    QTest::newRow("enlarged, first pixel") << 2.0 << QRect(0, 0, 4, 2) << QPoint(1, 1) << QColor(0, 100, 7);
    QTest::newRow("enlarged, last pixel") << 2.0 << QRect(0, 0, 4, 2) << QPoint(7, 3) << QColor(30, 110, 7);
    QTest::newRow("enlarged, a block's edge") << 2.0 << QRect(0, 0, 4, 2) << QPoint(3, 2) << QColor(10, 110, 7);
    QTest::newRow("halved, mean of the first 2 x 2") << 0.5 << QRect(0, 0, 4, 2) << QPoint(0, 0) << QColor(5, 105, 7);
    QTest::newRow("halved, mean of the last 2 x 2") << 0.5 << QRect(0, 0, 4, 2) << QPoint(1, 0) << QColor(25, 105, 7);
    QTest::newRow("rows not decoded are never read") << 2.0 << QRect(0, 0, 4, 1) << QPoint(5, 3) << QColor(20, 100, 7);
    QTest::newRow("halved at the ready edge") << 0.5 << QRect(0, 0, 4, 1) << QPoint(0, 0) << QColor(5, 100, 7);
  }
  void zoomedViewsReadTheRightSourcePixels() {
    QFETCH(double, factor);
    QFETCH(QRect, limit);
    QFETCH(QPoint, at);
    QFETCH(QColor, expected);
    QImage source(4, 2, QImage::Format_RGB888);
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 4; ++x) source.setPixelColor(x, y, QColor(10 * x, 100 + 10 * y, 7));
    const QRect shown(QPoint(0, 0), QSize(static_cast<int>(4 * factor), static_cast<int>(2 * factor)));
    QCOMPARE(velmaro::map_picture::ScaledRgb888(source, limit, shown, factor).pixelColor(at), expected);
  }

  void closingTheWindowEndsTheDecode() {
    Form1Fixture f;
    open(f, WriteMap(folder, "closing.jpg", big));
    QVERIFY(f.form->mapLoader().loading());
    f.form.reset();
  }
};

QTEST_MAIN(Form1LoadTest)
#include "form1_load_test.moc"
