// The window as it opens and as it follows the user: start-up, design places, resizing, scrolling and
// the key filter of the frame fields.

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTextEdit>

#include "form1_fixture.h"
#include "ui/arrow_picture.h"
#include "ui/edge_field.h"
#include "ui/point_grid.h"
#include "ui/tab_control.h"

using velmaro::testing::Form1Fixture;

namespace {

// A control's place in twips, measured from its container as the layout gives it (15 twips a pixel).
QList<int> TwipsRect(const QWidget* control) {
  const QRect r = control->geometry();
  return {r.x() * 15, r.y() * 15, r.width() * 15, r.height() * 15};
}

// Pixel rounding moves a design value by up to half a pixel (7.5 twips).
bool Near(const QList<int>& actual, const QList<int>& design) {
  for (int i = 0; i < 4; ++i)
    if (std::abs(actual[i] - design[i]) > 8) return false;
  return true;
}

}  // namespace

class Form1WindowTest : public QObject {
  Q_OBJECT

 private slots:
  void startUpShowsTheCaptionAndAsksForTheMap() {
    Form1Fixture f;
    f.form->Form_Load();
    QCOMPARE(f.form->windowTitle(), QString(" VELMARO  Version 1.1.25"));
    QVERIFY(f.form->isVisible());
    QCOMPARE(f.form->SSTab1->currentCaption(), QString("Parameters"));
    QCOMPARE(f.form->XY_Grid->cellText(0, 2), QString(" X coord"));
    QCOMPARE(f.form->XY_Grid->cellText(0, 4), QString(" Y coord"));
    QCOMPARE(f.form->XY_Grid->cellText(0, 1), QString());
    QCOMPARE(f.form->PointCount(), 1);
    QVERIFY(!f.form->Command3->isEnabled());
    QVERIFY(f.form->RichTextBox1->toPlainText().isEmpty());

    QCOMPARE(f.platform.fileDialogs().size(), std::size_t{1});
    const auto& dialog = f.platform.fileDialogs().front();
    QVERIFY(dialog.mode == velmaro::platform::DialogMode::Open);
    QCOMPARE(QString::fromStdString(dialog.filterDescription), QString("File selection All"));
    QCOMPARE(QString::fromStdString(dialog.filterPattern), QString("*.jpg"));
    QCOMPARE(QString::fromStdString(dialog.presetName), QString("*.jpg"));
    // Cancelled: the preset names stand in the three fields.
    QCOMPARE(f.form->Text1->text(), QString("*.jpg"));
    QCOMPARE(f.form->Text6->text(), QString("*.txt"));
    QCOMPARE(f.form->Text8->text(), QString("*.info"));
  }

  void designTextsAndStates() {
    Form1Fixture f;
    const QList<QPair<const QWidget*, QString>> texts = {
        {f.form->Command1, "Map selection"},
        {f.form->Command2, "XY File name"},
        {f.form->Label3, "Info file"},
        {f.form->Text2, "10000"},
        {f.form->Text3, "15000"},
        {f.form->Text4, "30000"},
        {f.form->Text5, "25000"},
        {f.form->Label1, "X Coord. NORTH"},
        {f.form->Label2, "Y Coord. EAST"},
        {f.form->Option1, "Meters, UTM (Integer values)"},
        {f.form->Option2, "Deg:Min:Sec (Separator colon :)"},
        {f.form->Option3, "Degree and decimals (6 decimals)"},
        {f.form->Command6, "Decimal degree to deg. Min. Sec"},
        {f.form->Text7, "11.36334"},
        {f.form->Text9, "OutPut"},
        {f.form->Command8, "Deg. Min. Sec to decimal degree"},
        {f.form->Command5, "Quit VELMARO"},
        {f.form->Command7, "Contact Tessaro / L.Ambrel"},
        {f.form->Command3, "Save XY File"},
        {f.form->Command4, "Coordinates Transform"},
    };
    for (const auto& [control, text] : texts) {
      QString actual;
      if (auto* button = qobject_cast<const QAbstractButton*>(control)) actual = button->text();
      if (auto* label = qobject_cast<const QLabel*>(control)) actual = label->text();
      if (auto* field = qobject_cast<const QLineEdit*>(control)) actual = field->text();
      QCOMPARE(actual, text);
    }
    QVERIFY(f.form->Option1->isChecked());
    QCOMPARE(f.form->Text8->toolTip(), QString("All parameters are saved in the texte file"));
    QVERIFY(f.form->Command3->font().bold());
    QVERIFY(f.form->Command4->font().bold());
    QVERIFY(f.form->Label1->font().bold());
    QCOMPARE(f.form->Label1->font().pointSizeF(), 12.0);
    QCOMPARE(f.form->Option1->font().pointSizeF(), 9.75);
  }

  void controlsStandAtTheirDesignPlaces_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QList<int>>("design");
    QTest::newRow("SSTab1") << "SSTab1" << QList<int>{120, 120, 17895, 11655};
    QTest::newRow("Picture2") << "Picture2" << QList<int>{720, 1200, 5865, 5625};
    QTest::newRow("Picture1") << "Picture1" << QList<int>{0, 0, 1245, 1440};
    QTest::newRow("HScroll1") << "HScroll1" << QList<int>{720, 960, 5865, 255};
    QTest::newRow("VScroll1") << "VScroll1" << QList<int>{480, 1200, 300, 5610};
    QTest::newRow("Picture3") << "Picture3" << QList<int>{1440, 120, 375, 375};
    QTest::newRow("Picture4") << "Picture4" << QList<int>{1440, 540, 375, 375};
    QTest::newRow("Picture5") << "Picture5" << QList<int>{960, 360, 375, 375};
    QTest::newRow("Picture6") << "Picture6" << QList<int>{1920, 360, 375, 375};
    QTest::newRow("Command1") << "Command1" << QList<int>{840, 600, 1215, 270};
    QTest::newRow("Text1") << "Text1" << QList<int>{2280, 600, 4215, 285};
    QTest::newRow("Text8") << "Text8" << QList<int>{2280, 1320, 4215, 315};
    QTest::newRow("Text3") << "Text3" << QList<int>{8520, 2040, 1095, 375};
    QTest::newRow("Text5") << "Text5" << QList<int>{9720, 9000, 1095, 375};
    QTest::newRow("Label2") << "Label2" << QList<int>{9720, 5040, 1335, 855};
    QTest::newRow("Image1") << "Image1" << QList<int>{840, 2520, 8805, 6915};
    QTest::newRow("XY_Grid") << "XY_Grid" << QList<int>{11640, 2520, 4575, 7095};
    QTest::newRow("Option3 in Frame1") << "Option3" << QList<int>{360, 960, 4695, 375};
    QTest::newRow("Command8") << "Command8" << QList<int>{6720, 10680, 3015, 375};
    QTest::newRow("Command4 in Frame2") << "Command4" << QList<int>{2400, 720, 2295, 495};
    QTest::newRow("RichTextBox1") << "RichTextBox1" << QList<int>{720, 1320, 13335, 8415};
  }

  void controlsStandAtTheirDesignPlaces() {
    QFETCH(QString, name);
    QFETCH(QList<int>, design);
    Form1Fixture f;
    const QWidget* control = f.form->findChild<QWidget*>(name);
    QVERIFY(control);
    QVERIFY2(Near(TwipsRect(control), design), qPrintable(QString("%1 at %2").arg(name).arg(
                                                    [&] {
                                                      QStringList s;
                                                      for (int v : TwipsRect(control)) s << QString::number(v);
                                                      return s.join(',');
                                                    }())));
  }

  void resizeFollowsTheWindowAndSnapsBackTooNarrow_data() {
    QTest::addColumn<int>("width");   // pixels
    QTest::addColumn<int>("height");  // pixels
    QTest::addColumn<int>("expectedWidth");
    QTest::addColumn<int>("expectedHeight");
    QTest::newRow("wider and taller stays") << 1400 << 900 << 1400 << 900;
    QTest::newRow("narrower snaps to 18000 twips") << 1000 << 900 << 1200 << 900;
    QTest::newRow("too low snaps to the height floor") << 1300 << 500 << 1300 << 800;
  }

  void resizeFollowsTheWindowAndSnapsBackTooNarrow() {
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, expectedWidth);
    QFETCH(int, expectedHeight);
    Form1Fixture f;
    f.form->show();
    f.form->resize(width, height);
    // W and H are the outer size, frame included: the snap gives the outer width 18000 twips.
    const QSize frame = f.form->frameGeometry().size() - f.form->size();
    const QSize expectedOuter(expectedWidth == width ? width + frame.width() : expectedWidth,
                              expectedHeight == height ? height + frame.height() : expectedHeight);
    QTRY_COMPARE(f.form->frameGeometry().size(), expectedOuter);
    const double W = expectedOuter.width() * 15.0;
    const double H = expectedOuter.height() * 15.0;
    const auto pixels = [](double twips) { return qRound(twips / 15.0); };
    QCOMPARE(f.form->SSTab1->size(), QSize(pixels(W - 500), pixels(H - 800)));
    QCOMPARE(f.form->RichTextBox1->size(), QSize(pixels(W - 2000), pixels(H - 3000)));
    QCOMPARE(f.form->Picture2->size(), QSize(pixels(W - 500 - 1000), pixels(H - 800 - 1500)));
    QCOMPARE(f.form->HScroll1->width(), f.form->Picture2->width());
    QCOMPARE(f.form->VScroll1->height(), f.form->Picture2->height());
  }

  void scrollPositionsTheCanvas_data() {
    QTest::addColumn<int>("canvasPixels");
    QTest::addColumn<int>("value");
    QTest::addColumn<double>("left");
    QTest::newRow("half of a 9000 canvas") << 600 << 50 << -1567.5;
    QTest::newRow("all of a 9000 canvas") << 600 << 100 << -3135.0;
    QTest::newRow("small canvas moves right") << 4000 / 15 << 100 << 1865.0 + (4000 - 4000 / 15 * 15);
    QTest::newRow("zero") << 600 << 0 << 0.0;
  }

  void scrollPositionsTheCanvas() {
    QFETCH(int, canvasPixels);
    QFETCH(int, value);
    QFETCH(double, left);
    Form1Fixture f;
    f.givePicture(canvasPixels, 100);
    f.form->HScroll1->setValue(value);
    QCOMPARE(f.form->canvasLeft(), left);
    QCOMPARE(f.form->Picture1->x(), qRound(left / 15));
  }

  void arrowsStepByTenAndStopAtTheEnds() {
    Form1Fixture f;
    f.givePicture(1000, 1000);
    for (int i = 0; i < 10; ++i) QTest::mouseClick(f.form->Picture4, Qt::LeftButton);
    QCOMPARE(f.form->VScroll1->value(), 100);
    const double bottom = f.form->canvasTop();
    QTest::mouseClick(f.form->Picture4, Qt::LeftButton);
    QCOMPARE(f.form->VScroll1->value(), 100);
    QCOMPARE(f.form->canvasTop(), bottom);

    f.form->HScroll1->setValue(95);
    f.form->Picture6_Click();
    QCOMPARE(f.form->HScroll1->value(), 95);
    f.form->Picture5_Click();
    QCOMPARE(f.form->HScroll1->value(), 85);
    f.form->HScroll1->setValue(0);
    f.form->Picture5_Click();
    QCOMPARE(f.form->HScroll1->value(), 0);
  }

  void newMapDoesNotMoveTheCanvasUntilTheNextScroll() {
    Form1Fixture f;
    f.givePicture(600, 100);
    f.form->HScroll1->setValue(50);
    const int before = f.form->Picture1->x();
    f.givePicture(1200, 100);
    QCOMPARE(f.form->Picture1->x(), before);
    f.form->HScroll1->setValue(60);
    f.form->HScroll1->setValue(50);
    QVERIFY(f.form->Picture1->x() < before);
  }

  void keyFilter_data() {
    QTest::addColumn<int>("notation");  // -1 none
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("beeps");
    QTest::newRow("meters refuses a letter") << 0 << "12a3" << "123" << 1;
    QTest::newRow("meters refuses colon and stop") << 0 << "1:2.3" << "123" << 2;
    QTest::newRow("dms takes colons") << 1 << "46:30:00" << "46:30:00" << 0;
    QTest::newRow("decimal refuses the colon") << 2 << "46:5" << "465" << 1;
    QTest::newRow("decimal takes any number of stops") << 2 << "1..2" << "1..2" << 0;
    QTest::newRow("minus refused everywhere") << 2 << "-5" << "5" << 1;
    QTest::newRow("no notation takes everything") << -1 << "a-b" << "a-b" << 0;
  }

  void keyFilter() {
    QFETCH(int, notation);
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    QFETCH(int, beeps);
    Form1Fixture f;
    f.form->setNotation(notation < 0 ? velmaro::NotationChoice{}
                                     : velmaro::NotationChoice{static_cast<velmaro::CoordinateType>(notation)});
    f.form->Text2->clear();
    QTest::keyClicks(f.form->Text2, typed);
    QCOMPARE(f.form->Text2->text(), expected);
    QCOMPARE(f.platform.beepCount(), beeps);
  }

  void controlKeysAreRefusedWithABeep_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("beeps");
    QTest::newRow("backspace works") << int(Qt::Key_Backspace) << 0 << "1000" << 0;
    QTest::newRow("enter refused") << int(Qt::Key_Return) << 0 << "10000" << 1;
    QTest::newRow("escape refused") << int(Qt::Key_Escape) << 0 << "10000" << 1;
    QTest::newRow("undo chord refused") << int(Qt::Key_Z) << int(Qt::ControlModifier) << "10000" << 1;
    QTest::newRow("paste chord refused") << int(Qt::Key_V) << int(Qt::ControlModifier) << "10000" << 1;
    QTest::newRow("arrow unfiltered") << int(Qt::Key_Left) << 0 << "10000" << 0;
    QTest::newRow("delete unfiltered") << int(Qt::Key_Delete) << 0 << "10000" << 0;
  }

  void controlKeysAreRefusedWithABeep() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, expected);
    QFETCH(int, beeps);
    Form1Fixture f;
    f.form->Text2->setCursorPosition(5);
    QTest::keyClick(f.form->Text2, static_cast<Qt::Key>(key), static_cast<Qt::KeyboardModifiers>(modifiers));
    QCOMPARE(f.form->Text2->text(), expected);
    QCOMPARE(f.platform.beepCount(), beeps);
  }
};

QTEST_MAIN(Form1WindowTest)
#include "form1_window_test.moc"
