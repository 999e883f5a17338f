// XY_Grid as a view of the point table, and presses on the map canvas: the header row and the names
// stay in view while the rows scroll, a capture scrolls to its row, a disc lands on a canvas without a
// map, and a double-click is one press.

#include <QGuiApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QStyleHints>
#include <QTest>

#include "form1_fixture.h"
#include "ui/point_grid.h"

using velmaro::testing::Form1Fixture;

namespace {

QStringList HeaderTexts(const QHeaderView* header, int first, int last) {
  QStringList texts;
  for (int section = first; section <= last; ++section)
    texts << header->model()->headerData(section, header->orientation()).toString();
  return texts;
}

void SendMouse(QWidget* canvas, QEvent::Type type, QPoint pixel) {
  QMouseEvent event(type, QPointF(pixel), canvas->mapToGlobal(QPointF(pixel)), Qt::LeftButton,
                    type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(canvas, &event);
}

}  // namespace

class Form1GridTest : public QObject {
  Q_OBJECT

 private slots:
  // As after a map too big to keep while the next one failed to load.
  void captureWithoutAMapDrawsOnTheGreyCanvas() {
    Form1Fixture f;
    f.givePicture(120, 100, Qt::white);
    f.form->Picture1->dropPicture();
    f.pressCanvas({20, 30});
    QCOMPARE(f.form->PointCount(), 2);
    QCOMPARE(f.form->Picture1->picture().size(), f.form->Picture1->size());
    QCOMPARE(f.canvasPixel({20, 30}), QColor(255, 0, 0));
    QCOMPARE(f.canvasPixel({5, 5}), QColor(224, 224, 224));
  }

  void fortiethCaptureScrollsToItsRowUnderFixedHeaders() {
    Form1Fixture f;
    f.form->Form_Load();
    f.givePicture(400, 300);
    for (int i = 0; i < 40; ++i) f.pressCanvas({5 * i + 10, 20});
    const velmaro::ui::PointGrid& grid = *f.form->XY_Grid;
    QVERIFY(grid.verticalScrollBar()->value() > 0);
    const QRect row40 = grid.visualRect(grid.model()->index(39, 2));
    QVERIFY(grid.viewport()->rect().contains(row40));
    // The names are the vertical header's, level with their rows; the header row is the horizontal header.
    QCOMPARE(grid.verticalHeader()->logicalIndexAt(row40.center().y()), 39);
    QCOMPARE(HeaderTexts(grid.verticalHeader(), 38, 40), QStringList({"Pt 39", "Pt 40", ""}));
    QCOMPARE(HeaderTexts(grid.horizontalHeader(), 0, 4), QStringList({"", "", " X coord", "", " Y coord"}));
    QVERIFY(grid.horizontalHeader()->isVisible() && grid.verticalHeader()->isVisible());
    QVERIFY(grid.horizontalHeader()->geometry().bottom() < grid.viewport()->geometry().top());
  }

  // The second press comes as a double-click, offset by times x the double-click distance + plus pixels.
  void doubleClickIsOnePress_data() {
    QTest::addColumn<int>("times");
    QTest::addColumn<int>("plus");
    QTest::addColumn<int>("captures");
    QTest::newRow("same spot") << 0 << 0 << 1;
    QTest::newRow("at the distance") << 1 << 0 << 1;
    QTest::newRow("one pixel farther") << 1 << 1 << 2;
    QTest::newRow("far apart") << 10 << 0 << 2;
  }
  void doubleClickIsOnePress() {
    QFETCH(int, times);
    QFETCH(int, plus);
    QFETCH(int, captures);
    Form1Fixture f;
    f.givePicture(400, 300);
    const QPoint first(100, 100);
    const QPoint second = first + QPoint(times * QGuiApplication::styleHints()->mouseDoubleClickDistance() + plus, 0);
    for (const auto& [type, pixel] : {std::pair{QEvent::MouseButtonPress, first}, {QEvent::MouseButtonRelease, first},
                                      {QEvent::MouseButtonDblClick, second}, {QEvent::MouseButtonRelease, second}})
      SendMouse(f.form->Picture1, type, pixel);
    QCOMPARE(f.form->PointCount(), 1 + captures);
  }
};

QTEST_MAIN(Form1GridTest)
#include "form1_grid_test.moc"
