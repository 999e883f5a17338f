// Form1: construction, start-up, layout on resize, and the window values the handlers share.

#include "ui/form1.h"
#include "ui/utf8_text.h"

#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTextEdit>
#include <algorithm>

#include "platform/platform.h"
#include "ui/arrow_picture.h"
#include "ui/calibration_dialog.h"
#include "ui/edge_field.h"
#include "ui/map_canvas.h"
#include "ui/map_georeference.h"
#include "ui/map_loader.h"
#include "ui/map_viewport.h"
#include "ui/point_editor.h"
#include "ui/point_grid.h"
#include "ui/session_journal.h"
#include "ui/preview_image.h"
#include "ui/tab_control.h"
#include "ui/twips.h"
#include "ui/window_icon.h"

namespace velmaro::ui {

namespace {
constexpr double kDesignClientWidth = 18180;
constexpr double kDesignClientHeight = 11895;
constexpr double kMinimumOuterWidth = 18000;
// The lowest control (Command8) ends 11055 twips below the tab control's top, and the tab control is
// 800 twips lower than the window: 11855 twips at least, rounded up.
constexpr double kMinimumOuterHeight = 12000;
constexpr int kParametersTab = 1;

}  // namespace

Form1::Form1(platform::Platform& platform, QWidget* parent) : QWidget(parent), platform_(platform) {
  setObjectName("Form1");
  setWindowIcon(WindowIcon());
  InstallFontSubstitutes();
  QFont windowFont("MS Sans Serif");
  windowFont.setStyleHint(QFont::SansSerif);
  windowFont.setPointSizeF(8.25);
  setFont(windowFont);
  const double tpp = TwipsPerPixel(this);
  resize(ToPixels(kDesignClientWidth, tpp), ToPixels(kDesignClientHeight, tpp));
  setupUi(*this, table_);
  SSTab1->setCurrentIndex(kParametersTab);
  viewport_ = std::make_unique<MapViewport>(*Picture1, *Picture2, *HScroll1, *VScroll1,
                                            [this](double x, double y) { return readoutAt(x, y); }, nullptr);
  loader_ = std::make_unique<MapLoader>(*Picture1, *Image1, *Picture2, nullptr);
  editor_ = std::make_unique<PointEditor>(table_, cursor_, *Picture1, *XY_Grid, *Command3);
  georef_ = std::make_unique<MapGeoreference>(platform_);
  setUpJournal();
  // Beside the frame fields, between the X caption and the right edge's field: shown only with a model.
  modelNote_ = new QLabel(SSTab1->page(kParametersTab));
  modelNote_->setObjectName("ModelNote");
  modelNote_->setWordWrap(true);
  modelNote_->setGeometry(ToPixelRect({6240, 1980, 2220, 500}, tpp));
  modelNote_->hide();
  // Typing in an edge field returns to the edges: the typed value is one of them.
  for (EdgeField* field : {Text2, Text3, Text4, Text5})
    connect(field, &QLineEdit::textEdited, this, [this] { setModel(std::nullopt); });
  connectHandlers();
  installShortcuts();
}

Form1::~Form1() {
  // The grid shows the table that this window owns; it goes first, so that closing the window never
  // asks a view about points that are already gone.
  delete XY_Grid;
}

void Form1::Form_Load(const std::optional<std::string>& startMap) {
  const platform::Version version = platform_.version();
  setWindowTitle(QString(" VELMARO  Version %1.%2.%3").arg(version.major).arg(version.minor).arg(version.revision));
  Picture1->move(0, 0);
  XY_Grid->setCellText(0, 2, Utf8(kXHeader));
  XY_Grid->setCellText(0, 4, Utf8(kYHeader));
  XY_Grid->makeCurrent(0, 4);
  show();
  table_ = PointTable{};
  // A session that ended without saving comes back first, if the user wants it, in place of a new start.
  if (offerRecovery()) return;
  if (startMap) {
    openMap(*startMap);
    return;
  }
  std::string Fichier;
  Select_File(Fichier);
}

void Form1::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Form_Resize();
}

void Form1::Form_Resize() {
  const double tpp = TwipsPerPixel(this);
  const QSize outer = frameGeometry().size();
  const double W = ToTwips(outer.width(), tpp);
  const double H = ToTwips(outer.height(), tpp);
  // A size a control cannot take (negative while the window is tiny) is skipped; the next rules still run.
  const auto sizeTo = [tpp](QWidget* control, double width, double height) {
    if (width >= 0 && height >= 0) control->resize(ToPixels(width, tpp), ToPixels(height, tpp));
  };
  const double tabWidth = W - 500;
  const double tabHeight = H - 800;
  sizeTo(SSTab1, tabWidth, tabHeight);
  sizeTo(RichTextBox1, W - 2000, H - 3000);
  const double viewportWidth = tabWidth - 1000;
  const double viewportHeight = tabHeight - 1500;
  sizeTo(Picture2, viewportWidth, viewportHeight);
  sizeTo(VScroll1, ToTwips(VScroll1->width(), tpp), viewportHeight);
  sizeTo(HScroll1, viewportWidth, ToTwips(HScroll1->height(), tpp));

  if (isMinimized() || isMaximized() || isFullScreen()) return;
  if (W < kMinimumOuterWidth || H < kMinimumOuterHeight)
    setOuterSizeTwips(std::max(W, kMinimumOuterWidth), std::max(H, kMinimumOuterHeight));
}

void Form1::setOuterSizeTwips(double width, double height) {
  const double tpp = TwipsPerPixel(this);
  const QSize decoration = frameGeometry().size() - geometry().size();
  const QSize client(ToPixels(width, tpp) - decoration.width(), ToPixels(height, tpp) - decoration.height());
  setMinimumSize(ToPixels(kMinimumOuterWidth, tpp) - decoration.width(),
                 ToPixels(kMinimumOuterHeight, tpp) - decoration.height());
  resize(client);
}

NotationChoice Form1::notation() const {
  if (Option1->isChecked()) return CoordinateType::Meters;
  if (Option2->isChecked()) return CoordinateType::DegMinSec;
  if (Option3->isChecked()) return CoordinateType::DecimalDegrees;
  return std::nullopt;
}

void Form1::setNotation(NotationChoice choice) {
  // An exclusive group cannot show "none selected" by itself; the info file can ask for exactly that.
  notationGroup->setExclusive(false);
  Option1->setChecked(choice == CoordinateType::Meters);
  Option2->setChecked(choice == CoordinateType::DegMinSec);
  Option3->setChecked(choice == CoordinateType::DecimalDegrees);
  notationGroup->setExclusive(true);
}

MapFrame Form1::mapFrame() const {
  return MapFrame{Text2->text().toStdString(), Text3->text().toStdString(), Text4->text().toStdString(),
                  Text5->text().toStdString(), Label1->text().toStdString(), Label2->text().toStdString()};
}

void Form1::setMapFrame(const MapFrame& frame) {
  Text2->setText(Utf8(frame.left));
  Text3->setText(Utf8(frame.right));
  Text4->setText(Utf8(frame.top));
  Text5->setText(Utf8(frame.bottom));
  setCaptions(frame.xCaption, frame.yCaption);
}

void Form1::setCaptions(const std::string& xCaption, const std::string& yCaption) {
  // Label2 first, as the captions have always been written.
  for (QLabel* label : {Label2, Label1}) {
    const QString caption = Utf8(label == Label1 ? xCaption : yCaption);
    if (label->text() == caption) continue;
    label->setText(caption);
    journalField(label->objectName(), caption);
  }
}

CanvasSize Form1::canvasSize() const { return CanvasSize{Picture1->widthTwips(), Picture1->heightTwips()}; }

void Form1::setPointer(bool busy) {
  if (busy)
    setCursor(Qt::WaitCursor);
  else
    setCursor(Qt::ArrowCursor);
}

}  // namespace velmaro::ui
