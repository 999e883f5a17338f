// The map's coordinate system and the export on a real Form1, with the real PROJ and GDAL module from the
// build: the CRS chosen in the chooser is kept in the map's side file and read back when the map opens
// again, the read-out shows WGS 84 latitude and longitude, and Export points… writes GPX, asks before it
// replaces a file, and refuses without a CRS. Expected degrees come from PROJ's own cs2cs:
//   echo 437000 5262000 | cs2cs -f "%.6f" EPSG:32632 EPSG:4326   ->   47.508378  8.163360
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <cmath>

#include "form1_fixture.h"
#include "ui/calibration_dialog.h"
#include "ui/crs_chooser.h"
#include "ui/export_dialog.h"
#include "ui/map_georeference.h"

using velmaro::platform::Answer;
using velmaro::testing::Form1Fixture;
using velmaro::testing::OpenWhole;

class Form1GeoTest : public QObject {
  Q_OBJECT
  QTemporaryDir folder;

  // The sample sheet beside a new window whose application folder holds the module.
  QString openSample(Form1Fixture& f) {
    const QString map = folder.filePath("sheet.jpg");
    QFile::remove(map + ".aux.xml");
    if (!QFile::exists(map)) QFile::copy(VELMARO_SAMPLES_DIR "/sample-sheet.jpg", map);
    f.platform.setApplicationFolder(VELMARO_BIN_DIR);
    OpenWhole(*f.form, map);
    f.form->setMapFrame({"435500", "445500", "5262600", "5255100", "X Coord. EAST", "Y Coord. NORTH"});
    return map;
  }

  static void exportAs(Form1Fixture& f, int format, const QString& file) {
    f.form->ExportPoints();
    f.form->exportDialog()->Format->setCurrentIndex(format);
    f.platform.queueFileName(file.toStdString());
    f.form->exportDialog()->Export();
  }

 private slots:
  void aChosenCrsIsKeptWithTheMapAndGivesDegrees() {
    QString map;
    {
      Form1Fixture f;
      map = openSample(f);
      f.form->CoordinateSystem();
      f.form->crsChooser()->Search->setText("32632");
      QTRY_VERIFY(f.form->crsChooser() && f.form->crsChooser()->Candidates->topLevelItemCount() > 0);
      f.form->crsChooser()->Choose();
      QVERIFY(QFile::exists(map + ".aux.xml"));
    }
    Form1Fixture f;
    f.platform.setApplicationFolder(VELMARO_BIN_DIR);
    OpenWhole(*f.form, map);  // read back from the side file
    QCOMPARE(f.form->georeference().crs()->code, std::string("32632"));
    f.form->setMapFrame({"435500", "445500", "5262600", "5255100", "X Coord. EAST", "Y Coord. NORTH"});
    f.pressCanvas({600, 240});  // the crossing 437000 mE 5262000 mN
    f.form->Picture1_MouseMove({600, 240});
    QCOMPARE(f.form->Picture1->toolTip(),
             QString::fromUtf8("X= 437000  Y= 5262000\n47.508378\u00b0 N  8.163360\u00b0 E"));
  }

  void exportWithoutACrsIsRefusedAndAGpxAsksBeforeReplacing() {
    Form1Fixture f;
    openSample(f);
    f.pressCanvas({600, 240});
    f.pressCanvas({1000, 240});
    const QString gpx = folder.filePath("points.gpx");
    exportAs(f, 3, gpx);
    QVERIFY(!QFile::exists(gpx));
    QVERIFY(QString::fromStdString(f.platform.messages().back().text).contains("no coordinate system"));

    QVERIFY(!f.form->georeference().choose(f.form->Text1->text().toStdString(), *f.form->georeference().geo()->crs("EPSG:32632").crs));
    exportAs(f, 3, gpx);
    QVERIFY(QString::fromStdString(f.platform.messages().back().text).startsWith("2 points exported"));
    QFile written(gpx);
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QByteArray bytes = written.readAll();
    QVERIFY(bytes.contains("lat=\"47.5083778") && bytes.contains("lon=\"8.1633601") && bytes.contains("Pt 2"));

    f.platform.queueAnswer(Answer::No);  // "... exists already. Replace it?"
    f.pressCanvas({1400, 240});
    exportAs(f, 3, gpx);
    written.seek(0);
    QCOMPARE(written.readAll(), bytes);
  }

  // Four crossings of the sample sheet with a picture turned by 1 degree about its top-left corner: the
  // affine model applied writes map.jgw, and every picture position is placed exactly as GDAL's own
  // gdaltransform places it from that world file (1e-6 map units), and so is what a reopening reads.
  void anAffineModelPlacesPressesAsGdalDoesFromItsWorldFile() {
    Form1Fixture f;
    const QString map = openSample(f);
    f.form->CalibrateFromPoints();
    velmaro::ui::CalibrationDialog& dialog = *f.form->calibrationDialog();
    dialog.Model->setCurrentIndex(2);
    const double turn = 1 * M_PI / 180;
    for (const auto& [e, n] : {std::pair{437000, 5262000}, {444000, 5262000}, {437000, 5256000}, {444000, 5256000}}) {
      const double column = (e - 435500) / 2.5, row = (5262600 - n) / 2.5;
      f.pressCanvas(QPoint(qRound(column * std::cos(turn) - row * std::sin(turn)), qRound(column * std::sin(turn) + row * std::cos(turn))));
      const int last = dialog.Points->rowCount() - 1;
      dialog.Points->item(last, 2)->setText(QString::number(e));
      dialog.Points->item(last, 3)->setText(QString::number(n));
    }
    dialog.Apply();
    QVERIFY(QFile::exists(map.chopped(4) + ".jgw"));
    const QStringList pixels = {"0 0", "123.5 77.25", "3999 2999", "2000.125 1500.875"};
    QProcess gdal;
    gdal.start("gdaltransform", {map});
    gdal.write((pixels.join('\n') + '\n').toUtf8());
    gdal.closeWriteChannel();
    QVERIFY(gdal.waitForFinished(30000));
    const QStringList lines = QString::fromUtf8(gdal.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), pixels.size());
    Form1Fixture reopened;
    reopened.platform.setApplicationFolder(VELMARO_BIN_DIR);
    OpenWhole(*reopened.form, map);
    for (const velmaro::MapTransform& transform : {f.form->calibration().transform(), reopened.form->calibration().transform()}) {
      for (int i = 0; i < pixels.size(); ++i) {
        const double px = pixels[i].section(' ', 0, 0).toDouble(), py = pixels[i].section(' ', 1).toDouble();
        const velmaro::MapPosition placed = velmaro::PictureToMap(transform, px * 15, py * 15);
        QVERIFY(std::abs(*placed.x - lines[i].section(' ', 0, 0).toDouble()) < 1e-6);
        QVERIFY(std::abs(*placed.y - lines[i].section(' ', 1, 1).toDouble()) < 1e-6);
      }
    }
    QVERIFY(reopened.form->findChild<QLabel*>("ModelNote")->isVisibleTo(reopened.form.get()));
  }
};

QTEST_MAIN(Form1GeoTest)
#include "form1_geo_test.moc"
