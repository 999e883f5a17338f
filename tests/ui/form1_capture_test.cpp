// Captures and removals on a real Form1: the press becomes a row, a disc and a count.

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "form1_fixture.h"
#include "ui/edge_field.h"
#include "ui/point_grid.h"
#include "ui/preview_image.h"

using velmaro::testing::Form1Fixture;

namespace {

QStringList RowCells(const velmaro::ui::PointGrid* grid, int row) {
  QStringList cells;
  for (int column = 0; column < 5; ++column) cells << grid->cellText(row, column);
  return cells;
}

}  // namespace

class Form1CaptureTest : public QObject {
  Q_OBJECT

 private slots:
  void pressFillsTheNextRow_data() {
    QTest::addColumn<int>("notation");  // 0 Meters, 1 DegMinSec, 2 DecimalDegrees
    QTest::addColumn<QStringList>("edges");
    QTest::addColumn<QPoint>("pixel");
    QTest::addColumn<QStringList>("expected");
    // 600 x 300 pixels = 9000 x 4500 twips.
    QTest::newRow("meters centre, design captions give W and S")
        << 0 << QStringList{"10000", "15000", "30000", "25000"} << QPoint(300, 150)
        << QStringList{"Pt 1", "W", "12500", "S", "27500"};
    QTest::newRow("meters top-left corner") << 0 << QStringList{"10000", "15000", "30000", "25000"} << QPoint(0, 0)
                                            << QStringList{"Pt 1", "W", "10000", "S", "30000"};
    QTest::newRow("degrees minutes seconds centre")
        << 1 << QStringList{"8:00:00", "9:00:00", "47:00:00", "46:00:00"} << QPoint(300, 150)
        << QStringList{"Pt 1", "W", "8:30:00", "S", "46:30:00"};
    QTest::newRow("decimal degrees cut to five decimals")
        << 2 << QStringList{"8", "9", "47", "46"} << QPoint(100, 100)
        << QStringList{"Pt 1", "W", "8.16666", "S", "46.66666"};
    QTest::newRow("unreadable edge repeats the unset cursor") << 0 << QStringList{"", "15000", "", "25000"}
                                                              << QPoint(300, 150)
                                                              << QStringList{"Pt 1", "W", "0", "S", "0"};
  }

  void pressFillsTheNextRow() {
    QFETCH(int, notation);
    QFETCH(QStringList, edges);
    QFETCH(QPoint, pixel);
    QFETCH(QStringList, expected);
    Form1Fixture f;
    f.givePicture(600, 300);
    f.form->setNotation(static_cast<velmaro::CoordinateType>(notation));
    velmaro::MapFrame frame = f.form->mapFrame();
    frame.left = edges[0].toStdString();
    frame.right = edges[1].toStdString();
    frame.top = edges[2].toStdString();
    frame.bottom = edges[3].toStdString();
    f.form->setMapFrame(frame);

    f.pressCanvas(pixel);

    QCOMPARE(RowCells(f.form->XY_Grid, 1), expected);
    QCOMPARE(f.form->PointCount(), 2);
    QVERIFY(f.form->Command3->isEnabled());
    QCOMPARE(f.form->XY_Grid->currentRow(), 1);
    QCOMPARE(f.form->XY_Grid->currentColumn(), 0);
    QCOMPARE(RowCells(f.form->XY_Grid, 2), QStringList({"", "", "", "", ""}));
  }

  void captureDrawsARedDiscOfTwoPixels() {
    Form1Fixture f;
    f.givePicture(100, 100);
    f.pressCanvas({50, 50});
    QCOMPARE(f.canvasPixel({50, 50}), QColor(255, 0, 0));
    QCOMPARE(f.canvasPixel({52, 50}), QColor(255, 0, 0));
    QCOMPARE(f.canvasPixel({54, 50}), QColor(250, 250, 240));
  }

  void middleButtonCapturesLikeTheLeft() {
    Form1Fixture f;
    f.givePicture(100, 100);
    f.pressCanvas({10, 10}, Qt::MiddleButton);
    QCOMPARE(f.form->PointCount(), 2);
  }

  void columnWidthsAreSetByACapture() {
    Form1Fixture f;
    f.givePicture(100, 100);
    f.pressCanvas({10, 10});
    const int expected[] = {500 / 15, 1200 / 15, 500 / 15, 1200 / 15};
    for (int column = 1; column <= 4; ++column) QCOMPARE(f.form->XY_Grid->columnWidth(column), expected[column - 1]);
  }

  void tenthCaptureIsPt10() {
    Form1Fixture f;
    f.givePicture(100, 100);
    for (int i = 0; i < 10; ++i) f.pressCanvas({i * 5, 10});
    QCOMPARE(f.form->XY_Grid->cellText(10, 0), QString("Pt 10"));
    QCOMPARE(f.form->PointCount(), 11);
  }

  void the251stPressIsRefusedButStillMarked() {
    Form1Fixture f;
    f.givePicture(400, 400);
    for (int i = 0; i < 250; ++i) f.form->Picture1_MouseDown(1, 0, 15.0 * (i % 200), 15.0);
    QCOMPARE(f.form->XY_Grid->cellText(250, 0), QString("Pt 250"));
    QCOMPARE(f.form->PointCount(), 251);
    QVERIFY(f.platform.messages().empty());

    f.pressCanvas({300, 300});

    QCOMPARE(f.form->PointCount(), 251);
    QCOMPARE(f.canvasPixel({300, 300}), QColor(255, 0, 0));
    QCOMPARE(f.platform.messages().size(), std::size_t{1});
    const auto& message = f.platform.messages().front();
    QCOMPARE(QString::fromStdString(message.text), QString("Maximum 250 points"));
    QVERIFY(message.icon == velmaro::platform::Icon::Stop);
    QVERIFY(message.buttons == velmaro::platform::Buttons::Ok);
    QCOMPARE(QString::fromStdString(message.title.value_or("")), QString("Tessaro"));

    // A removal frees the last row for the next capture.
    f.pressCanvas({0, 1}, Qt::RightButton);
    QCOMPARE(f.form->PointCount(), 250);
    f.pressCanvas({300, 300});
    QCOMPARE(f.form->PointCount(), 251);
    QCOMPARE(f.form->XY_Grid->cellText(250, 0), QString("Pt 250"));
  }

  void rightPressRemovesTheNearestAndMarksGreen() {
    Form1Fixture f;
    f.givePicture(600, 300);
    for (QPoint p : {QPoint(10, 10), QPoint(200, 100), QPoint(400, 200), QPoint(590, 290)}) f.pressCanvas(p);
    const QString third = f.form->XY_Grid->cellText(3, 2);

    f.pressCanvas({201, 101}, Qt::RightButton);

    QCOMPARE(f.form->PointCount(), 4);
    QCOMPARE(f.form->XY_Grid->cellText(1, 0), QString("Pt 1"));
    QCOMPARE(f.form->XY_Grid->cellText(2, 0), QString("Pt 2"));
    QCOMPARE(f.form->XY_Grid->cellText(2, 2), third);
    QCOMPARE(f.form->XY_Grid->cellText(3, 0), QString("Pt 3"));
    QCOMPARE(f.form->XY_Grid->cellText(4, 0), QString());
    QCOMPARE(f.canvasPixel({201, 101}), QColor(0, 255, 0));
    QCOMPARE(f.canvasPixel({201 + 2, 101}), QColor(0, 255, 0));
    QCOMPARE(f.form->Picture1->fillColor(), QColor(0, 255, 0));
  }

  void rightPressOnAnEmptyTableOnlyMarks() {
    Form1Fixture f;
    f.givePicture(100, 100);
    f.pressCanvas({50, 50}, Qt::RightButton);
    QCOMPARE(f.form->PointCount(), 1);
    QCOMPARE(f.canvasPixel({50, 50}), QColor(0, 255, 0));
  }

  void gridRightPressRemovesThatRowAndKeepsTheTableWhole() {
    Form1Fixture f;
    f.givePicture(600, 300);
    for (int i = 0; i < 4; ++i) f.pressCanvas({100 * i + 10, 20});
    const QString fourthX = f.form->XY_Grid->cellText(4, 2);
    const QRect secondRow = f.form->XY_Grid->visualRect(f.form->XY_Grid->model()->index(1, 2));

    QTest::mousePress(f.form->XY_Grid->viewport(), Qt::RightButton, Qt::NoModifier, secondRow.center());

    QCOMPARE(f.form->PointCount(), 4);
    QCOMPARE(f.form->XY_Grid->cellText(3, 0), QString("Pt 3"));
    QCOMPARE(f.form->XY_Grid->cellText(3, 2), fourthX);
    QCOMPARE(f.form->XY_Grid->cellText(4, 0), QString());
    f.pressCanvas({500, 200});
    QCOMPARE(f.form->XY_Grid->cellText(4, 0), QString("Pt 4"));
  }

  void gridRightPressNeverRemovesTheHeader() {
    Form1Fixture f;
    f.givePicture(100, 100);
    f.pressCanvas({10, 10});
    const QHeaderView* header = f.form->XY_Grid->horizontalHeader();
    QTest::mousePress(header->viewport(), Qt::RightButton, Qt::NoModifier, {header->sectionViewportPosition(2) + 5, 5});
    QCOMPARE(f.form->PointCount(), 2);
    f.form->XY_Grid->setCellText(0, 2, " X coord");
    QCOMPARE(f.form->XY_Grid->cellText(1, 0), QString("Pt 1"));
  }

  void previewMoveRecomputesTheCaptions_data() {
    QTest::addColumn<QStringList>("edges");
    QTest::addColumn<QString>("xCaption");
    QTest::addColumn<QString>("yCaption");
    QTest::newRow("start values") << QStringList{"10000", "15000", "30000", "25000"} << "X Coord. EAST"
                                  << "Y Coord. NORTH";
    QTest::newRow("values growing left and down") << QStringList{"9.8", "9.2", "33.5", "34.2"} << "X Coord. WEST"
                                                  << "Y Coord. SOUTH";
    QTest::newRow("numeric, not text, comparison") << QStringList{"9.8", "10.2", "2", "10"} << "X Coord. EAST"
                                                   << "Y Coord. SOUTH";
  }

  void previewMoveRecomputesTheCaptions() {
    QFETCH(QStringList, edges);
    QFETCH(QString, xCaption);
    QFETCH(QString, yCaption);
    Form1Fixture f;
    f.form->setNotation(velmaro::CoordinateType::DecimalDegrees);
    f.form->Text2->setText(edges[0]);
    f.form->Text3->setText(edges[1]);
    f.form->Text4->setText(edges[2]);
    f.form->Text5->setText(edges[3]);
    QMouseEvent move(QEvent::MouseMove, QPointF(20, 20), QPointF(20, 20), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(f.form->Image1, &move);
    QCOMPARE(f.form->Label1->text(), xCaption);
    QCOMPARE(f.form->Label2->text(), yCaption);
  }

  void canvasMoveShowsTheLastCaptureAsToolTip() {
    Form1Fixture f;
    f.givePicture(600, 300);
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(f.form->Picture1, &move);
    QCOMPARE(f.form->Picture1->toolTip(), QString());
    f.pressCanvas({300, 150});
    QCoreApplication::sendEvent(f.form->Picture1, &move);
    QCOMPARE(f.form->Picture1->toolTip(), QString("X= 12500  Y= 27500"));
  }
};

QTEST_MAIN(Form1CaptureTest)
#include "form1_capture_test.moc"
