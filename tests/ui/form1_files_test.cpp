// Whole sessions on a real Form1: choose a map, calibrate, capture, remove, save; the files written
// must equal the expected files byte for byte, and the map must reopen calibrated.

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QXmlStreamReader>

#include "form1_fixture.h"
#include "ui/edge_field.h"
#include "ui/preview_image.h"

using velmaro::platform::Answer;
using velmaro::platform::Buttons;
using velmaro::platform::Icon;
using velmaro::platform::LaunchKind;
using velmaro::testing::Form1Fixture;

Q_DECLARE_METATYPE(velmaro::platform::Answer)

namespace {

QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QByteArray Golden(const QString& name) { return ReadBytes(QStringLiteral(VELMARO_GOLDEN_DIR "/") + name); }

// A map of 600 x 300 pixels (9000 x 4500 twips) in a folder whose name has a blank and a comma.
QString MakeMap(const QTemporaryDir& dir, const QString& name = "sheet 12.jpg") {
  QDir(dir.path()).mkpath("maps, west");
  const QString path = dir.path() + "/maps, west/" + name;
  QImage picture(600, 300, QImage::Format_RGB32);
  picture.fill(QColor(240, 235, 220));
  picture.save(path, "JPG");
  return path;
}

void Calibrate(velmaro::ui::Form1& form, int notation, const QStringList& edges) {
  form.setNotation(static_cast<velmaro::CoordinateType>(notation));
  velmaro::MapFrame frame = form.mapFrame();
  frame.left = edges[0].toStdString();
  frame.right = edges[1].toStdString();
  frame.top = edges[2].toStdString();
  frame.bottom = edges[3].toStdString();
  form.setMapFrame(frame);
  form.Image1_MouseMove();  // the pointer crosses the preview: the captions become EAST and NORTH
}

void CaptureFourRemoveOne(Form1Fixture& f) {
  for (QPoint p : {QPoint(300, 150), QPoint(150, 75), QPoint(450, 225), QPoint(20, 280)}) f.pressCanvas(p);
  f.pressCanvas({450, 225}, Qt::RightButton);
}

QString Text(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

class Form1FilesTest : public QObject {
  Q_OBJECT

 private slots:
  void sessionWritesTheExpectedFiles_data() {
    QTest::addColumn<int>("notation");
    QTest::addColumn<QStringList>("edges");
    QTest::addColumn<QString>("golden");
    QTest::newRow("meters") << 0 << QStringList{"500000", "510000", "5200000", "5190000"} << "meters";
    QTest::newRow("decimal degrees") << 2 << QStringList{"6.5", "7.5", "46.5", "46"} << "decimal";
    QTest::newRow("degrees minutes seconds") << 1 << QStringList{"6:45:00", "7:00:00", "46:50:00", "46:40:00"}
                                             << "dms";
  }

  void sessionWritesTheExpectedFiles() {
    QFETCH(int, notation);
    QFETCH(QStringList, edges);
    QFETCH(QString, golden);
    QTemporaryDir dir;
    const QString map = MakeMap(dir);
    const QString base = map.chopped(4);
    Form1Fixture f;
    f.platform.queueFileName(map.toStdString());
    f.form->Command1_Click();
    QCOMPARE(f.form->Text1->text(), map);
    QCOMPARE(f.form->Text6->text(), base + ".txt");
    QCOMPARE(f.form->Text8->text(), base + ".info");
    QCOMPARE(f.form->Picture1->size(), QSize(600, 300));
    Calibrate(*f.form, notation, edges);
    CaptureFourRemoveOne(f);

    const bool degrees = notation != 0;
    f.platform.queueAnswer(Answer::Ok);
    if (degrees) {
      f.platform.queueAnswer(Answer::Yes);
      f.platform.queueAnswer(Answer::No);
    }
    f.form->Command3_Click();

    QCOMPARE(ReadBytes(base + ".txt"), Golden(golden + ".txt"));
    QCOMPARE(ReadBytes(base + ".info"), Golden(golden + ".info").replace("@MAP@", map.toUtf8()));
    const auto& messages = f.platform.messages();
    QCOMPARE(messages.size(), std::size_t{degrees ? 3u : 1u});
    QCOMPARE(Text(messages[0].text), base + ".txt has been saved");
    QVERIFY(messages[0].icon == Icon::Information);
    QCOMPARE(Text(messages[0].title.value_or("")), QString("Tessaro"));
    if (!degrees) {
      QVERIFY(!QFile::exists(base + ".kml"));
      return;
    }
    QCOMPARE(Text(messages[1].text), QString("Display the points on GOOGLES EARTH?"));
    QVERIFY(messages[1].buttons == Buttons::YesNo && messages[1].icon == Icon::None);
    QCOMPARE(Text(messages[2].text), QString("Display KML Code ?"));
    QCOMPARE(Text(messages[2].title.value_or("")), QString("Tessaro"));
    const QByteArray kml = ReadBytes(base + ".kml");
    QCOMPARE(kml, Golden(golden + ".kml"));
    QXmlStreamReader xml(kml);
    while (!xml.atEnd()) xml.readNext();
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QVERIFY(f.form->RichTextBox1->toPlainText().startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<kml"));
    QCOMPARE(f.platform.launches().size(), std::size_t{1});
    const auto& launch = f.platform.launches().front();
    QVERIFY(launch.kind == LaunchKind::Document);
    QCOMPARE(Text(launch.target), base + ".kml");
    QCOMPARE(Text(launch.workingFolder.value_or("?")), QString("/opt/velmaro"));
  }

  void reopenedMapComesBackCalibrated() {
    QTemporaryDir dir;
    const QString map = MakeMap(dir);
    {
      Form1Fixture f;
      f.platform.queueFileName(map.toStdString());
      f.form->Command1_Click();
      Calibrate(*f.form, 1, {"6:45:00", "7:00:00", "46:50:00", "46:40:00"});
      f.platform.queueAnswer(Answer::Ok);
      f.platform.queueAnswer(Answer::No);
      f.form->Command3_Click();
    }
    Form1Fixture again;
    again.platform.queueFileName(map.toStdString());
    again.form->Form_Load();
    QVERIFY(again.form->Option2->isChecked());
    QCOMPARE(again.form->Text2->text(), QString("6:45:00"));
    QCOMPARE(again.form->Text5->text(), QString("46:40:00"));
    QCOMPARE(again.form->mapFrame().xCaption, std::string("X Coord. EAST"));
    QCOMPARE(again.form->mapFrame().yCaption, std::string("Y Coord. NORTH"));
    QCOMPARE(again.form->Text1->text(), map);
  }

  void infoFileTextReplacesTheChosenPath() {
    QTemporaryDir dir;
    const QString map = MakeMap(dir);
    QFile info(map.chopped(4) + ".info");
    QVERIFY(info.open(QIODevice::WriteOnly));
    info.write(" 0 \r\n 0 \r\n 1 \r\nD:\\maps\\sheet12.jpg\r\n6.500000\r\n010\r\nabc\r\n\r\nX Coord. WEST\r\nY Coord. SOUTH\r\n");
    info.close();
    Form1Fixture f;
    f.platform.queueFileName(map.toStdString());
    f.form->Command1_Click();
    QVERIFY(f.form->Option3->isChecked());
    QCOMPARE(f.form->Text1->text(), QString("D:\\maps\\sheet12.jpg"));
    QCOMPARE(f.form->Text2->text(), QString("6.5"));
    QCOMPARE(f.form->Text3->text(), QString("10"));
    QCOMPARE(f.form->Text4->text(), QString("abc"));
    QCOMPARE(f.form->Text5->text(), QString());
  }

  void unloadableNamesKeepThePicture_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");  // "<dir>" makes a folder of that name
    QTest::newRow("missing file") << "absent.jpg" << QByteArray();
    QTest::newRow("zero bytes") << "empty.jpg" << QByteArray("");
    QTest::newRow("text named jpg") << "notes.jpg" << QByteArray("not a picture\n");
    QTest::newRow("folder named jpg") << "folder.jpg" << QByteArray("<dir>");
  }

  void unloadableNamesKeepThePicture() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString path = dir.path() + "/" + name;
    if (bytes == "<dir>") {
      QDir().mkpath(path);
    } else if (!bytes.isNull()) {
      QFile file(path);
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write(bytes);
    }
    Form1Fixture f;
    f.givePicture(123, 45);
    f.platform.queueFileName(path.toStdString());
    f.form->Command1_Click();
    QCOMPARE(f.form->Picture1->size(), QSize(123, 45));
    QCOMPARE(f.form->Text1->text(), path);
    QCOMPARE(f.form->Text6->text(), path.chopped(4) + ".txt");
    QCOMPARE(f.form->Text8->text(), path.chopped(4) + ".info");
  }

  void shortNameHasNoCompanionNames() {
    Form1Fixture f;
    f.platform.queueFileName("a.j");
    f.form->Command1_Click();
    QCOMPARE(f.form->Text1->text(), QString("a.j"));
    QCOMPARE(f.form->Text6->text(), QString());
    QCOMPARE(f.form->Text8->text(), QString());
  }

  void newMapKeepsThePoints() {
    QTemporaryDir dir;
    Form1Fixture f;
    f.givePicture(100, 100);
    f.pressCanvas({10, 10});
    f.platform.queueFileName(MakeMap(dir).toStdString());
    f.form->Command1_Click();
    QCOMPARE(f.form->PointCount(), 2);
  }

  void unwritableXyFileIsNotConfirmedAndTheRestStillRuns() {
    QTemporaryDir dir;
    Form1Fixture f;
    f.form->setNotation(velmaro::CoordinateType::DecimalDegrees);
    f.form->Text6->setText(dir.path() + "/no such folder/points.txt");
    f.form->Text8->setText(dir.path() + "/map.info");
    f.platform.queueAnswer(Answer::No);
    f.form->Command3_Click();
    const auto& messages = f.platform.messages();
    QCOMPARE(messages.size(), std::size_t{1});
    QVERIFY(QFile::exists(dir.path() + "/map.info"));
    QCOMPARE(Text(messages[0].text), QString("Display the points on GOOGLES EARTH?"));
  }

  void launchFailuresAreReported_data() {
    QTest::addColumn<bool>("viewerStarts");
    QTest::addColumn<Answer>("showCode");
    QTest::addColumn<bool>("editorStarts");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("viewer missing, code declined") << false << Answer::No << true
                                                   << QStringList{"Unable to launch Google Earth ", "Display KML Code ?"};
    QTest::newRow("editor missing") << true << Answer::Yes << false
                                    << QStringList{"Display KML Code ?", "Unable to launch NOTEPAD "};
    QTest::newRow("both start") << true << Answer::Yes << true << QStringList{"Display KML Code ?"};
  }

  void launchFailuresAreReported() {
    QFETCH(bool, viewerStarts);
    QFETCH(Answer, showCode);
    QFETCH(bool, editorStarts);
    QFETCH(QStringList, expected);
    QTemporaryDir dir;
    Form1Fixture f;
    f.form->setNotation(velmaro::CoordinateType::DegMinSec);
    f.form->Text1->setText(dir.path() + "/map.jpg");
    f.platform.queueShellResult(viewerStarts);
    f.platform.queueShellResult(editorStarts);
    f.platform.queueAnswer(showCode);
    f.form->ExportKml();
    QStringList shown;
    for (const auto& message : f.platform.messages()) {
      shown << Text(message.text);
      if (message.text.starts_with("Unable")) {
        QVERIFY(!message.title.has_value());
        QVERIFY(message.icon == Icon::None);
      }
    }
    QCOMPARE(shown, expected);
    if (showCode == Answer::Yes) {
      QCOMPARE(f.platform.launches().size(), std::size_t{2});
      QVERIFY(f.platform.launches()[1].kind == LaunchKind::TextEditor);
      QCOMPARE(Text(f.platform.launches()[1].target), dir.path() + "/map.kml");
    }
    QVERIFY(QFile::exists(dir.path() + "/map.kml"));
  }

  void saveAfterACancelledMapDialogWritesNothing() {
    QTemporaryDir dir;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    Form1Fixture f;
    f.form->Form_Load();  // the map dialog is cancelled: *.jpg, *.txt and *.info stand in the fields
    f.form->setNotation(velmaro::CoordinateType::DecimalDegrees);
    f.platform.queueAnswer(Answer::Yes);
    f.platform.queueAnswer(Answer::No);
    f.platform.queueShellResult(false);
    f.form->Command3_Click();
    QDir::setCurrent(previous);
    QStringList shown;
    for (const auto& message : f.platform.messages()) shown << Text(message.text);
    QCOMPARE(shown, QStringList({"Display the points on GOOGLES EARTH?", "Unable to launch Google Earth ",
                                 "Display KML Code ?"}));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
  }

  void cancelledXyDialogLeavesThePreset() {
    Form1Fixture f;
    f.form->Text6->setText("/somewhere/points.txt");
    f.form->Command2_Click();
    QCOMPARE(f.form->Text6->text(), QString("*.txt"));
    const auto& dialog = f.platform.fileDialogs().back();
    QVERIFY(dialog.mode == velmaro::platform::DialogMode::Save);
    QCOMPARE(Text(dialog.filterPattern), QString("*.txt"));
  }
};

QTEST_MAIN(Form1FilesTest)
#include "form1_files_test.moc"
