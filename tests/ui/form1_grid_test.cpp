// XY_Grid as a view of the point table, and presses on the map canvas: the header row and the names
// stay in view while the rows scroll, a capture scrolls to its row, a disc lands on a canvas without a
// map, and a double-click is one press.

#include <QHeaderView>
#include <QStyleHints>

#include "form1_fixture.h"
#include "ui/point_grid.h"

class Form1GridTest : public QObject {
  Q_OBJECT

 private slots:
  // As after a map too big to keep while the next one failed to load.
  void captureWithoutAMapDrawsOnTheGreyCanvas() {
    velmaro::testing::Form1Fixture f;
    f.givePicture(120, 100, Qt::white);
    f.form->Picture1->dropPicture();
    f.pressCanvas({20, 30});
    QCOMPARE(f.canvasPixel({20, 30}), QColor(255, 0, 0));
    QCOMPARE(f.canvasPixel({5, 5}), QColor(224, 224, 224));
  }

  void fortiethCaptureScrollsToItsRowUnderFixedHeaders() {
    velmaro::testing::Form1Fixture f;
    f.form->Form_Load();
    f.givePicture(400, 300);
    for (int i = 0; i < 40; ++i) f.pressCanvas({5 * i + 10, 20});
    const velmaro::ui::PointGrid& grid = *f.form->XY_Grid;
    const QRect row40 = grid.visualRect(grid.model()->index(39, 2));
    QVERIFY(grid.viewport()->rect().contains(row40));
    // The names are the vertical header's, level with their rows; the header row is the horizontal header.
    QCOMPARE(grid.verticalHeader()->logicalIndexAt(row40.center().y()), 39);
    QCOMPARE(grid.model()->headerData(39, Qt::Vertical).toString(), QString("Pt 40"));
    QVERIFY(grid.horizontalHeader()->isVisible() && grid.verticalHeader()->isVisible() &&
            grid.horizontalHeader()->geometry().bottom() < grid.viewport()->geometry().top());
  }

  // The second press comes as a double-click, `offset` pixels to the right of the first.
  void doubleClickIsOnePress_data() {
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("captures");
    const int distance = QGuiApplication::styleHints()->mouseDoubleClickDistance();
    QTest::newRow("at the distance") << distance << 1;
    QTest::newRow("one pixel farther") << distance + 1 << 2;
  }
  void doubleClickIsOnePress() {
    QFETCH(int, offset);
    QFETCH(int, captures);
    velmaro::testing::Form1Fixture f;
    f.givePicture(400, 300);
    // The releases are left out: the canvas does nothing on a release.
    for (const auto& [type, x] : {std::pair{QEvent::MouseButtonPress, 100}, {QEvent::MouseButtonDblClick, 100 + offset}})
      f.mouse(type, QPointF(x, 100), Qt::LeftButton, Qt::LeftButton);
    QCOMPARE(f.form->PointCount(), 1 + captures);
  }
};

QTEST_MAIN(Form1GridTest)
#include "form1_grid_test.moc"
