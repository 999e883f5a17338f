// A map opened in the window while its rows are still being decoded: presses are captured and taken back at
// once, another map stops the decode, a map that fails part way gives the previous map back, and closing the
// window ends the decode. Until the test hands events to the window, the canvas has no decoded row at all.
#include <QFile>
#include <QLineEdit>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <condition_variable>
#include <mutex>

#include "form1_fixture.h"
#include "map_picture/map_decode.h"
#include "ui/preview_image.h"

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

  // Decoded rows that the preview thread has still to read must not be written: with the preview held back,
  // a press on decoded rows leaves its disc waiting until the preview has read them.
  void aDiscWaitsForTheRowsThePreviewStillReads() {
    std::mutex mutex;
    std::condition_variable changed;
    bool held = true;
    velmaro::map_picture::MapDecode::SetPreviewPauseForTests([&] {
      std::unique_lock lock(mutex);
      changed.wait(lock, [&] { return !held; });
    });
    Form1Fixture f;
    open(f, WriteMap(folder, "held.jpg", big));
    QTRY_VERIFY(f.form->Picture1->readyRect().height() > 1000);
    f.pressCanvas(QPoint(100, 500));
    const bool drawnEarly = IsRed(f.canvasPixel(QPoint(100, 500)));
    {
      const std::lock_guard lock(mutex);
      held = false;
    }
    changed.notify_all();
    f.form->mapLoader().waitForMap();
    velmaro::map_picture::MapDecode::SetPreviewPauseForTests({});
    QVERIFY2(!drawnEarly, "a disc was drawn on rows the preview thread still reads");
    QVERIFY(IsRed(f.canvasPixel(QPoint(100, 500))));
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
    velmaro::testing::OpenWhole(*f.form, WriteMap(folder, "second.jpg", QSize(300, 200)));
    QCOMPARE(f.form->Picture1->picture().size(), QSize(300, 200));
    QCOMPARE(f.form->Text1->text(), folder.filePath("second.jpg"));
  }

  void aMapFailingPartWayGivesThePreviousMapBack() {
    Form1Fixture f;
    velmaro::testing::OpenWhole(*f.form, WriteMap(folder, "good.jpg", QSize(600, 400)));
    f.pressCanvas(QPoint(100, 100));
    const QImage previousPreview = f.form->Image1->picture();
    const QString cut = WriteMap(folder, "cut.jpg", big, 20);
    open(f, cut);
    QCOMPARE(f.form->Picture1->size(), big);
    f.form->mapLoader().waitForMap();
    QCOMPARE(f.form->Picture1->size(), QSize(600, 400));
    QVERIFY(IsRed(f.canvasPixel(QPoint(100, 100))));
    QVERIFY(f.form->Image1->picture() == previousPreview);
    const QImage preview = f.form->Image1->grab().toImage();  // shown whole, not as far as the failed decode got
    QCOMPARE(preview.pixelColor(preview.width() / 2, preview.height() - 2), f.canvasPixel(QPoint(300, 398)));
    QCOMPARE(f.form->Text1->text(), cut);  // the names follow the choice whatever the picture does
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
