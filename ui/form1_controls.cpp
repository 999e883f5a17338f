// The controls of Form1 as the window is designed: one table gives every control its name, kind,
// container, design text, place (twips, measured from its container), tab order, font and colour.
// The window is built from that table alone, and so is its tab order.

#include "ui/form1_controls.h"

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QFocusEvent>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextEdit>
#include <algorithm>
#include <optional>
#include <type_traits>
#include <vector>

#include "ui/arrow_picture.h"
#include "ui/edge_field.h"
#include "core/point_table.h"
#include "core/scroll.h"
#include "ui/design_colours.h"
#include "ui/map_canvas.h"
#include "ui/point_grid.h"
#include "ui/preview_image.h"
#include "ui/scroll_bar.h"
#include "ui/tab_control.h"
#include "ui/twips.h"

namespace velmaro::ui {

namespace {

enum class Kind { Tabs, PictureBox, Canvas, HScrollBar, VScrollBar, Arrow, Button, TextBox, FrameField, Label, Image,
                  Grid, Frame, Option, RichText };

// The fonts of the design: Window is the window's own font, inherited; Caption bold 12 point, Sans 9.75
// point and SansBold the same in bold, all "MS Sans Serif"; Arial 11.25 point.
enum class Face { Window, Caption, Arial, Sans, SansBold };

// The colours of the design; StyleColour leaves the style's own colours.
enum class Colour { StyleColour, LightGrey, Silver, ActiveBorder, Red };

using enum Kind;
using enum Face;
using enum Colour;

struct ControlDesign {
  const char* name;
  Kind kind;
  const char* container;  // nullptr: the window; a tab's caption: that page of SSTab1; else a control
  const char* text;       // design text; for the tab control, the tab captions separated by '|'
  TwipRect place;
  int tabOrder;  // -1: not in the tab order
  Face font;
  Colour colour;
  void (*bind)(Form1Controls& controls, QWidget* control);
};

// Hands the created control to the member of the same name, typed as that member.
template <auto Member>
void Bind(Form1Controls& controls, QWidget* control) {
  using Control = std::remove_pointer_t<std::remove_reference_t<decltype(controls.*Member)>>;
  controls.*Member = qobject_cast<Control*>(control);
  Q_ASSERT(controls.*Member);
}

// Containers come before what they hold. The file dialog (cmDialog2) is the platform's, not a control.
// Arrow pictures take their direction from their design text.
const ControlDesign kDesign[] = {
    {"SSTab1", Tabs, nullptr, "Map|Parameters|Infos", {120, 120, 17895, 11655}, 0, Window, StyleColour, Bind<&Form1Controls::SSTab1>},
    // Map
    {"Picture2", PictureBox, "Map", "", {720, 1200, 5865, 5625}, 3, Window, LightGrey, Bind<&Form1Controls::Picture2>},
    {"Picture1", Canvas, "Picture2", "", {0, 0, 1245, 1440}, 4, Window, LightGrey, Bind<&Form1Controls::Picture1>},
    {"HScroll1", HScrollBar, "Map", "", {720, 960, 5865, 255}, 5, Window, StyleColour, Bind<&Form1Controls::HScroll1>},
    {"VScroll1", VScrollBar, "Map", "", {480, 1200, 300, 5610}, 6, Window, StyleColour, Bind<&Form1Controls::VScroll1>},
    {"Picture3", Arrow, "Map", "up", {1440, 120, 375, 375}, 32, Window, ActiveBorder, Bind<&Form1Controls::Picture3>},
    {"Picture4", Arrow, "Map", "down", {1440, 540, 375, 375}, 33, Window, Silver, Bind<&Form1Controls::Picture4>},
    {"Picture5", Arrow, "Map", "left", {960, 360, 375, 375}, 34, Window, Silver, Bind<&Form1Controls::Picture5>},
    {"Picture6", Arrow, "Map", "right", {1920, 360, 375, 375}, 35, Window, Silver, Bind<&Form1Controls::Picture6>},
    // Parameters
    {"Command1", Button, "Parameters", "Map selection", {840, 600, 1215, 270}, 2, Window, StyleColour, Bind<&Form1Controls::Command1>},
    {"Text1", TextBox, "Parameters", "", {2280, 600, 4215, 285}, 1, Window, StyleColour, Bind<&Form1Controls::Text1>},
    {"Command2", Button, "Parameters", "XY File name", {840, 960, 1215, 255}, 16, Window, StyleColour, Bind<&Form1Controls::Command2>},
    {"Text6", TextBox, "Parameters", "", {2280, 960, 4215, 285}, 15, Window, StyleColour, Bind<&Form1Controls::Text6>},
    {"Label3", Label, "Parameters", "Info file", {1200, 1320, 1215, 375}, 21, Window, StyleColour, Bind<&Form1Controls::Label3>},
    {"Text8", TextBox, "Parameters", "", {2280, 1320, 4215, 315}, 20, Window, StyleColour, Bind<&Form1Controls::Text8>},
    {"Text2", FrameField, "Parameters", "10000", {840, 2040, 1095, 375}, 7, Window, StyleColour, Bind<&Form1Controls::Text2>},
    {"Text3", FrameField, "Parameters", "15000", {8520, 2040, 1095, 375}, 8, Window, StyleColour, Bind<&Form1Controls::Text3>},
    {"Text4", FrameField, "Parameters", "30000", {9720, 2520, 1095, 375}, 9, Window, StyleColour, Bind<&Form1Controls::Text4>},
    {"Text5", FrameField, "Parameters", "25000", {9720, 9000, 1095, 375}, 10, Window, StyleColour, Bind<&Form1Controls::Text5>},
    {"Label1", Label, "Parameters", "X Coord. NORTH", {3720, 2040, 2415, 375}, 17, Caption, StyleColour, Bind<&Form1Controls::Label1>},
    {"Label2", Label, "Parameters", "Y Coord. EAST", {9720, 5040, 1335, 855}, 18, Caption, StyleColour, Bind<&Form1Controls::Label2>},
    {"Image1", Image, "Parameters", "", {840, 2520, 8805, 6915}, -1, Window, StyleColour, Bind<&Form1Controls::Image1>},
    {"XY_Grid", Grid, "Parameters", "", {11640, 2520, 4575, 7095}, 19, Arial, StyleColour, Bind<&Form1Controls::XY_Grid>},
    {"Frame1", Frame, "Parameters", "Coordinate type", {840, 9600, 5655, 1455}, 11, Window, StyleColour, Bind<&Form1Controls::Frame1>},
    {"Option1", Option, "Frame1", "Meters, UTM (Integer values)", {360, 240, 3495, 435}, 12, Sans, StyleColour, Bind<&Form1Controls::Option1>},
    {"Option2", Option, "Frame1", "Deg:Min:Sec (Separator colon :)", {360, 600, 3735, 375}, 13, Sans, StyleColour, Bind<&Form1Controls::Option2>},
    {"Option3", Option, "Frame1", "Degree and decimals (6 decimals)", {360, 960, 4695, 375}, 14, Sans, StyleColour, Bind<&Form1Controls::Option3>},
    {"Command6", Button, "Parameters", "Decimal degree to deg. Min. Sec", {6720, 9720, 2895, 375}, 28, Window, StyleColour, Bind<&Form1Controls::Command6>},
    {"Text7", TextBox, "Parameters", "11.36334", {6720, 10200, 1455, 375}, 30, Window, StyleColour, Bind<&Form1Controls::Text7>},
    {"Text9", TextBox, "Parameters", "OutPut", {8280, 10200, 1455, 375}, 31, Window, StyleColour, Bind<&Form1Controls::Text9>},
    {"Command8", Button, "Parameters", "Deg. Min. Sec to decimal degree", {6720, 10680, 3015, 375}, 29, Window, StyleColour, Bind<&Form1Controls::Command8>},
    {"Frame2", Frame, "Parameters", "", {11280, 720, 4935, 1455}, 23, Window, StyleColour, Bind<&Form1Controls::Frame2>},
    {"Command5", Button, "Frame2", "Quit VELMARO", {240, 240, 1935, 375}, 26, Window, StyleColour, Bind<&Form1Controls::Command5>},
    {"Command7", Button, "Frame2", "Contact Tessaro / L.Ambrel", {2400, 240, 2295, 375}, 27, Window, StyleColour, Bind<&Form1Controls::Command7>},
    {"Command3", Button, "Frame2", "Save XY File", {240, 720, 1935, 495}, 24, SansBold, Red, Bind<&Form1Controls::Command3>},
    {"Command4", Button, "Frame2", "Coordinates Transform", {2400, 720, 2295, 495}, 25, SansBold, StyleColour, Bind<&Form1Controls::Command4>},
    // Infos
    {"RichTextBox1", RichText, "Infos", "", {720, 1320, 13335, 8415}, 22, Window, StyleColour, Bind<&Form1Controls::RichTextBox1>},
};

// "MS Sans Serif" (or "Arial") where it is installed, otherwise the closest sans-serif at the same size.
QFont DesignFont(const char* family, double points, bool bold) {
  QFont font(family);
  font.setStyleHint(QFont::SansSerif);
  font.setPointSizeF(points);
  font.setBold(bold);
  return font;
}

std::optional<QFont> FontOf(Face face) {
  switch (face) {
    case Face::Window: return std::nullopt;
    case Face::Caption: return DesignFont("MS Sans Serif", 12, true);
    case Face::Arial: return DesignFont("Arial", 11.25, false);
    case Face::Sans: return DesignFont("MS Sans Serif", 9.75, false);
    case Face::SansBold: return DesignFont("MS Sans Serif", 9.75, true);
  }
  return std::nullopt;
}

QColor ColourOf(Colour colour, const QWidget* window) {
  switch (colour) {
    case Colour::StyleColour: return {};
    case Colour::LightGrey: return kLightGrey;
    case Colour::Silver: return kSilver;
    case Colour::ActiveBorder: return window->palette().color(QPalette::Mid);
    case Colour::Red: return kDesignRed;
  }
  return {};
}

ArrowDirection DirectionOf(const QString& text) {
  if (text == "up") return ArrowDirection::Up;
  if (text == "down") return ArrowDirection::Down;
  if (text == "left") return ArrowDirection::Left;
  return ArrowDirection::Right;
}

QScrollBar* Bar(Qt::Orientation orientation, QWidget* parent) {
  auto* bar = new ScrollBar(orientation, parent);
  bar->setRange(kScrollMin, kScrollMax);
  return bar;
}

QLabel* MakeLabel(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setWordWrap(true);
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return label;
}

QWidget* CreateControl(Kind kind, const QString& text, QColor colour, const PointTable& table, QWidget* parent) {
  switch (kind) {
    case Kind::Tabs: return new TabControl(text.split('|'), parent);
    case Kind::PictureBox: return new QWidget(parent);
    case Kind::Canvas: return new MapCanvas(parent);
    case Kind::HScrollBar: return Bar(Qt::Horizontal, parent);
    case Kind::VScrollBar: return Bar(Qt::Vertical, parent);
    case Kind::Arrow: return new ArrowPicture(DirectionOf(text), colour, parent);
    case Kind::Button: return new QPushButton(text, parent);
    case Kind::TextBox: return new QLineEdit(text, parent);
    case Kind::FrameField: {
      auto* field = new EdgeField(parent);
      field->setText(text);
      return field;
    }
    case Kind::Label: return MakeLabel(text, parent);
    case Kind::Image: return new PreviewImage(parent);
    case Kind::Grid: return new PointGrid(table, parent);
    case Kind::Frame: return new QGroupBox(text, parent);
    case Kind::Option: return new QRadioButton(text, parent);
    case Kind::RichText: {
      auto* box = new QTextEdit(parent);
      box->setReadOnly(true);
      return box;
    }
  }
  return nullptr;
}

void SetBackground(QWidget* widget, QColor colour) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Window, colour);
  palette.setColor(QPalette::Button, colour);
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

// A button's design colour over its whole face. A style that shades the face into a gradient would
// turn pure red into pinks, so the face is drawn flat; a disabled button keeps the red under dimmed text.
void SetFlatFace(QPushButton* button, QColor colour) {
  const QString face = colour.name();
  const QString edge = colour.darker(170).name();
  button->setStyleSheet(QString("QPushButton { background-color: %1; border: 1px solid %2; border-radius: 2px; }"
                                "QPushButton:focus { border: 2px solid %3; }"
                                "QPushButton:pressed { border: 2px inset %2; }"
                                "QPushButton:disabled { color: %2; }")
                            .arg(face, edge, "black"));
}

void ApplyColour(QWidget* control, Kind kind, QColor colour) {
  if (!colour.isValid()) return;
  if (kind == Kind::Button) {
    SetFlatFace(qobject_cast<QPushButton*>(control), colour);
  } else if (kind == Kind::Canvas) {
    // The canvas shows its background through a blank picture of its own size until a map arrives.
    QImage blank(control->size(), QImage::Format_RGB32);
    blank.fill(colour);
    qobject_cast<MapCanvas*>(control)->setPicture(blank);
  } else if (kind != Kind::Arrow) {
    SetBackground(control, colour);
  }
}

// Tab into the notation options lands on the selected one from either side (the toolkit does so only
// going forwards); the arrow keys move among them.
class CheckedOptionTakesFocus : public QObject {
 public:
  explicit CheckedOptionTakesFocus(QButtonGroup* group) : QObject(group), group_(group) {
    for (QAbstractButton* option : group->buttons()) option->installEventFilter(this);
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::FocusIn) return false;
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    QAbstractButton* checked = group_->checkedButton();
    if ((reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) && checked && checked != watched)
      checked->setFocus(reason);
    return false;
  }

 private:
  QButtonGroup* group_;
};

// The widget that takes the focus for a control: a composite control hands it to its focus proxy.
QWidget* FocusTaker(QWidget* control) {
  while (control->focusProxy()) control = control->focusProxy();
  return control;
}

void PlaceInTwips(QWidget* control, const TwipRect& place, double twipsPerPixel) {
  control->setGeometry(ToPixelRect(place, twipsPerPixel));
}

void ChainTabOrder(std::vector<std::pair<int, QWidget*>> controls) {
  // Labels, frames and the plain picture boxes hold a place in the order but never take the focus.
  std::sort(controls.begin(), controls.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<QWidget*> stops;
  for (const auto& [order, control] : controls) {
    QWidget* taker = FocusTaker(control);
    if (taker->focusPolicy() & Qt::TabFocus) stops.push_back(taker);
  }
  for (std::size_t i = 1; i < stops.size(); ++i) QWidget::setTabOrder(stops[i - 1], stops[i]);
}

}  // namespace

void InstallFontSubstitutes() {
  // Metric-compatible or close sans-serif faces stand in for the fonts the layout was drawn with.
  QFont::insertSubstitutions("MS Sans Serif", {"Microsoft Sans Serif", "Liberation Sans", "Arimo", "DejaVu Sans"});
  QFont::insertSubstitutions("Arial", {"Liberation Sans", "Arimo", "DejaVu Sans"});
}

void Form1Controls::setupUi(QWidget& window, const PointTable& table) {
  const double tpp = TwipsPerPixel(&window);
  QHash<QString, QWidget*> containers;
  std::vector<std::pair<int, QWidget*>> tabStops;
  for (const ControlDesign& design : kDesign) {
    QWidget* parent = design.container ? containers.value(design.container) : &window;
    const QColor colour = ColourOf(design.colour, &window);
    QWidget* control = CreateControl(design.kind, QString(design.text), colour, table, parent);
    control->setObjectName(design.name);
    PlaceInTwips(control, design.place, tpp);
    if (const std::optional<QFont> font = FontOf(design.font)) control->setFont(*font);
    ApplyColour(control, design.kind, colour);
    design.bind(*this, control);
    containers.insert(design.name, control);
    if (auto* tabs = qobject_cast<TabControl*>(control)) {
      for (int i = 0; i < tabs->count(); ++i) containers.insert(tabs->caption(i), tabs->page(i));
    }
    if (design.tabOrder >= 0) tabStops.emplace_back(design.tabOrder, control);
  }
  ChainTabOrder(tabStops);

  Text8->setToolTip("All parameters are saved in the texte file");
  notationGroup = new QButtonGroup(&window);
  for (QRadioButton* option : {Option1, Option2, Option3}) notationGroup->addButton(option);
  new CheckedOptionTakesFocus(notationGroup);
  Option1->setChecked(true);
  Command3->setEnabled(false);
  // Tab leaves the grid for the next control instead of walking its cells; the arrow keys still do.
  for (auto* view : XY_Grid->findChildren<QAbstractItemView*>()) view->setTabKeyNavigation(false);
  if (auto* view = qobject_cast<QAbstractItemView*>(XY_Grid)) view->setTabKeyNavigation(false);
}

}  // namespace velmaro::ui
