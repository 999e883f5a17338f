#pragma once
// The controls of Form1, named as the user knows them, in one struct as a designer's form class holds
// them. setupUi builds every control from one design table (name, kind, container, design text, place in
// twips, tab order, font and colour), and then the states and links between controls the table does not
// hold. The window owns the controls through Qt's parent chain; these are views of them.

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTextEdit;
class QWidget;

namespace velmaro {
class PointTable;
}

namespace velmaro::ui {

class ArrowPicture;
class EdgeField;
class MapCanvas;
class PointGrid;
class PreviewImage;
class TabControl;

// Where "MS Sans Serif" or "Arial" is not installed, the closest sans-serif faces take their place.
void InstallFontSubstitutes();

struct Form1Controls {
  TabControl* SSTab1 = nullptr;
  QWidget* Picture2 = nullptr;
  MapCanvas* Picture1 = nullptr;
  QScrollBar* HScroll1 = nullptr;
  QScrollBar* VScroll1 = nullptr;
  ArrowPicture* Picture3 = nullptr;
  ArrowPicture* Picture4 = nullptr;
  ArrowPicture* Picture5 = nullptr;
  ArrowPicture* Picture6 = nullptr;
  QPushButton* Command1 = nullptr;
  QLineEdit* Text1 = nullptr;
  QPushButton* Command2 = nullptr;
  QLineEdit* Text6 = nullptr;
  QLabel* Label3 = nullptr;
  QLineEdit* Text8 = nullptr;
  EdgeField* Text2 = nullptr;
  EdgeField* Text3 = nullptr;
  EdgeField* Text4 = nullptr;
  EdgeField* Text5 = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  PreviewImage* Image1 = nullptr;
  PointGrid* XY_Grid = nullptr;
  QGroupBox* Frame1 = nullptr;
  QRadioButton* Option1 = nullptr;
  QRadioButton* Option2 = nullptr;
  QRadioButton* Option3 = nullptr;
  QPushButton* Command6 = nullptr;
  QLineEdit* Text7 = nullptr;
  QLineEdit* Text9 = nullptr;
  QPushButton* Command8 = nullptr;
  QGroupBox* Frame2 = nullptr;
  QPushButton* Command5 = nullptr;
  QPushButton* Command7 = nullptr;
  QPushButton* Command3 = nullptr;
  QPushButton* Command4 = nullptr;
  QTextEdit* RichTextBox1 = nullptr;
  // Option1..Option3 as one exclusive choice.
  QButtonGroup* notationGroup = nullptr;

  // Every control into `window`, at its design place and in the design's tab order; the grid shows `table`.
  void setupUi(QWidget& window, const PointTable& table);
};

}  // namespace velmaro::ui
