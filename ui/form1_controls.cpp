// The controls of Form1 at their design places (twips, measured from their container), with their
// design texts, fonts and colours.

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextEdit>

#include "ui/arrow_picture.h"
#include "ui/edge_field.h"
#include "ui/form1.h"
#include "ui/map_canvas.h"
#include "ui/point_grid.h"
#include "ui/preview_image.h"
#include "ui/tab_control.h"
#include "ui/twips.h"
#include "ui/utf8_text.h"

namespace velmaro::ui {

namespace {

const QColor kLightGrey(224, 224, 224);
const QColor kSilver(192, 192, 192);

// "MS Sans Serif" where it is installed, otherwise the closest sans-serif at the same size and weight.
QFont SansSerif(double points, bool bold) {
  QFont font("MS Sans Serif");
  font.setStyleHint(QFont::SansSerif);
  font.setPointSizeF(points);
  font.setBold(bold);
  return font;
}

void SetBackground(QWidget* widget, QColor colour) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Window, colour);
  palette.setColor(QPalette::Button, colour);
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

template <typename T, typename... Args>
T* Named(const char* name, Args&&... args) {
  T* control = new T(std::forward<Args>(args)...);
  control->setObjectName(name);
  return control;
}

}  // namespace

void InstallFontSubstitutes() {
  // Metric-compatible or close sans-serif faces stand in for the fonts the layout was drawn with.
  QFont::insertSubstitutions("MS Sans Serif", {"Microsoft Sans Serif", "Liberation Sans", "Arimo", "DejaVu Sans"});
  QFont::insertSubstitutions("Arial", {"Liberation Sans", "Arimo", "DejaVu Sans"});
}

void Form1::place(QWidget* control, double left, double top, double width, double height) {
  control->setGeometry(ToPixelRect({left, top, width, height}, twipsPerPixel()));
}

void Form1::buildMapTab(QWidget* tab) {
  Picture2 = Named<QWidget>("Picture2", tab);
  place(Picture2, 720, 1200, 5865, 5625);
  SetBackground(Picture2, kLightGrey);
  Picture1 = new MapCanvas(Picture2);
  place(Picture1, 0, 0, 1245, 1440);
  QImage blank(Picture1->size(), QImage::Format_RGB32);
  blank.fill(kLightGrey);
  Picture1->setPicture(blank);

  HScroll1 = Named<QScrollBar>("HScroll1", Qt::Horizontal, tab);
  place(HScroll1, 720, 960, 5865, 255);
  VScroll1 = Named<QScrollBar>("VScroll1", Qt::Vertical, tab);
  place(VScroll1, 480, 1200, 300, 5610);
  for (QScrollBar* bar : {HScroll1, VScroll1}) bar->setRange(0, 100);

  const QColor activeBorder = palette().color(QPalette::Mid);
  Picture3 = Named<ArrowPicture>("Picture3", ArrowDirection::Up, activeBorder, tab);
  place(Picture3, 1440, 120, 375, 375);
  Picture4 = Named<ArrowPicture>("Picture4", ArrowDirection::Down, kSilver, tab);
  place(Picture4, 1440, 540, 375, 375);
  Picture5 = Named<ArrowPicture>("Picture5", ArrowDirection::Left, kSilver, tab);
  place(Picture5, 960, 360, 375, 375);
  Picture6 = Named<ArrowPicture>("Picture6", ArrowDirection::Right, kSilver, tab);
  place(Picture6, 1920, 360, 375, 375);
}

void Form1::buildParametersTab(QWidget* tab) {
  Command1 = Named<QPushButton>("Command1", "Map selection", tab);
  place(Command1, 840, 600, 1215, 270);
  Text1 = Named<QLineEdit>("Text1", tab);
  place(Text1, 2280, 600, 4215, 285);
  Command2 = Named<QPushButton>("Command2", "XY File name", tab);
  place(Command2, 840, 960, 1215, 255);
  Text6 = Named<QLineEdit>("Text6", tab);
  place(Text6, 2280, 960, 4215, 285);
  Label3 = Named<QLabel>("Label3", "Info file", tab);
  place(Label3, 1200, 1320, 1215, 375);
  Label3->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Text8 = Named<QLineEdit>("Text8", tab);
  place(Text8, 2280, 1320, 4215, 315);
  Text8->setToolTip("All parameters are saved in the texte file");

  Text2 = Named<EdgeField>("Text2", tab);
  place(Text2, 840, 2040, 1095, 375);
  Text3 = Named<EdgeField>("Text3", tab);
  place(Text3, 8520, 2040, 1095, 375);
  Text4 = Named<EdgeField>("Text4", tab);
  place(Text4, 9720, 2520, 1095, 375);
  Text5 = Named<EdgeField>("Text5", tab);
  place(Text5, 9720, 9000, 1095, 375);
  Label1 = Named<QLabel>("Label1", Utf8(kXDesignCaption), tab);
  place(Label1, 3720, 2040, 2415, 375);
  Label2 = Named<QLabel>("Label2", Utf8(kYDesignCaption), tab);
  place(Label2, 9720, 5040, 1335, 855);
  for (QLabel* caption : {Label1, Label2}) {
    caption->setFont(SansSerif(12, true));
    caption->setWordWrap(true);
    caption->setTextFormat(Qt::PlainText);
    caption->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  }
  setMapFrame(MapFrame{});

  Image1 = new PreviewImage(tab);
  place(Image1, 840, 2520, 8805, 6915);
  XY_Grid = new PointGrid(table_, tab);
  place(XY_Grid, 11640, 2520, 4575, 7095);
  QFont gridFont("Arial");
  gridFont.setStyleHint(QFont::SansSerif);
  gridFont.setPointSizeF(11.25);
  XY_Grid->setFont(gridFont);

  Frame1 = Named<QGroupBox>("Frame1", "Coordinate type", tab);
  place(Frame1, 840, 9600, 5655, 1455);
  Option1 = Named<QRadioButton>("Option1", "Meters, UTM (Integer values)", Frame1);
  place(Option1, 360, 240, 3495, 435);
  Option2 = Named<QRadioButton>("Option2", "Deg:Min:Sec (Separator colon :)", Frame1);
  place(Option2, 360, 600, 3735, 375);
  Option3 = Named<QRadioButton>("Option3", "Degree and decimals (6 decimals)", Frame1);
  place(Option3, 360, 960, 4695, 375);
  notationGroup_ = new QButtonGroup(this);
  for (QRadioButton* option : {Option1, Option2, Option3}) {
    option->setFont(SansSerif(9.75, false));
    notationGroup_->addButton(option);
  }
  Option1->setChecked(true);

  Command6 = Named<QPushButton>("Command6", "Decimal degree to deg. Min. Sec", tab);
  place(Command6, 6720, 9720, 2895, 375);
  Text7 = Named<QLineEdit>("Text7", "11.36334", tab);
  place(Text7, 6720, 10200, 1455, 375);
  Text9 = Named<QLineEdit>("Text9", "OutPut", tab);
  place(Text9, 8280, 10200, 1455, 375);
  Command8 = Named<QPushButton>("Command8", "Deg. Min. Sec to decimal degree", tab);
  place(Command8, 6720, 10680, 3015, 375);

  Frame2 = Named<QGroupBox>("Frame2", tab);
  place(Frame2, 11280, 720, 4935, 1455);
  Command5 = Named<QPushButton>("Command5", "Quit VELMARO", Frame2);
  place(Command5, 240, 240, 1935, 375);
  Command7 = Named<QPushButton>("Command7", "Contact Tessaro / L.Ambrel", Frame2);
  place(Command7, 2400, 240, 2295, 375);
  Command3 = Named<QPushButton>("Command3", "Save XY File", Frame2);
  place(Command3, 240, 720, 1935, 495);
  Command3->setFont(SansSerif(9.75, true));
  Command3->setStyleSheet("QPushButton { background-color: rgb(255, 0, 0); }");
  Command3->setEnabled(false);
  Command4 = Named<QPushButton>("Command4", "Coordinates Transform", Frame2);
  place(Command4, 2400, 720, 2295, 495);
  Command4->setFont(SansSerif(9.75, true));
}

void Form1::buildInfosTab(QWidget* tab) {
  RichTextBox1 = Named<QTextEdit>("RichTextBox1", tab);
  place(RichTextBox1, 720, 1320, 13335, 8415);
  RichTextBox1->setReadOnly(true);
}

void Form1::setTabOrder() {
  // Design tab order (labels, frames and picture boxes take no focus here): Text1, Command1, the bars,
  // the four frame fields, the notation options, Text6, Command2, the grid, Text8, the manual box, the
  // four main buttons, the converter, then the arrow pictures (which take no focus either).
  const std::vector<QWidget*> order = {Text1,    Command1, HScroll1, VScroll1, Text2,        Text3,
                                       Text4,    Text5,    Option1,  Option2,  Option3,      Text6,
                                       Command2, XY_Grid,  Text8,    RichTextBox1, Command3, Command4,
                                       Command5, Command7, Command6, Command8, Text7,        Text9};
  for (std::size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

}  // namespace velmaro::ui
