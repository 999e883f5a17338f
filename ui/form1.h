#pragma once
// Form1: the one window. Its controls carry the state the user sees; its handlers read the controls,
// call the tested logic of core/ and files/, write the controls back, and reach the desktop only
// through the platform layer. Handler names follow the control and the event (Picture1_MouseDown).

#include <QColor>
#include <QImage>
#include <QPointer>
#include <QWidget>
#include <array>
#include <memory>
#include <optional>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/coordinate_type.h"
#include "core/map_frame.h"
#include "core/point_history.h"
#include "core/point_table.h"

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTextEdit;

namespace velmaro::platform {
class Platform;
}
namespace velmaro::map_picture {
class MapDecode;
}
class QTimer;

namespace velmaro::ui {

class ArrowPicture;
class CalibrationDialog;
class DecodeProgressLine;
class EdgeField;
class Loupe;
class MapCanvas;
class PointGrid;
class PreviewImage;
class TabControl;

inline constexpr char kMessageTitle[] = "Tessaro";

// Where "MS Sans Serif" or "Arial" is not installed, the closest sans-serif faces take their place.
void InstallFontSubstitutes();

class Form1 : public QWidget {
  Q_OBJECT
 public:
  explicit Form1(platform::Platform& platform, QWidget* parent = nullptr);
  ~Form1() override;

  // Start-up: caption, canvas auto-size, grid headers, show, empty table, then the map dialog; given a
  // map (the program's argument), that map as if chosen in the dialog, and no dialog.
  void Form_Load(const std::optional<std::string>& startMap = std::nullopt);
  void Form_Resize();

  // Map canvas and preview.
  void Picture1_MouseDown(int button, int shift, double x, double y);
  void Picture1_MouseMove();
  void Image1_MouseMove();
  void XY_Grid_MouseDown(int button, int shift, double x, double y);
  void Remove_Point(double X, double Y);

  // Map selection and the info file.
  void Command1_Click();
  void Select_File(std::string& Fichier);
  void openMap(const std::string& Fichier);
  // A JPEG map decodes in the background after openMap has returned: whether it still does, and
  // waiting until it is done (for tests and measurements; the window itself never waits).
  bool mapLoading() const;
  void waitForMap();
  void Affiche_Parametres(const std::string& Info_Fichier);

  // Saving.
  void Command2_Click();
  void Command3_Click();
  void ExportKml();

  // Converter, companion program, contact and quit.
  void Command4_Click();
  void Command5_Click();
  void Command6_Click();
  void Command7_Click();
  void Command8_Click();

  // Scrolling.
  void ApplyHorizontalScroll();
  void ApplyVerticalScroll();
  void Picture3_Click();
  void Picture4_Click();
  void Picture5_Click();
  void Picture6_Click();

  // Typing in the frame fields.
  void Text2_KeyPress(std::int16_t& KeyAscii);
  void Text3_KeyPress(std::int16_t& KeyAscii);
  void Text4_KeyPress(std::int16_t& KeyAscii);
  void Text5_KeyPress(std::int16_t& KeyAscii);

  void SSTab1_Click(int previousTab);

  // Zoom, panning and the loupe on the Map tab. Anchors are viewport pixels; the zoom keeps the
  // picture spot under the anchor in place. Pans move the canvas by whole screen pixels and set the
  // bars to their nearest value without letting the bars move the canvas back.
  void zoomBy(int steps, QPoint anchor);
  void zoomToOneToOne(QPoint anchor);
  QPoint viewportCentre() const;
  void panBy(QPoint delta);
  void Picture1_Wheel(QPoint angleDelta, Qt::KeyboardModifiers modifiers, QPoint canvasPixel);
  void toggleLoupe();
  bool loupeOn() const { return loupeOn_; }
  Loupe* loupe() const { return loupe_; }
  // Undo and redo of the point changes (Ctrl+Z; Ctrl+Shift+Z or Ctrl+Y), and the calibration from
  // reference points (Ctrl+K or the preview's context menu), whose dialog takes the canvas's left presses
  // while it is open.
  void UndoPointChange();
  void RedoPointChange();
  void CalibrateFromPoints();
  CalibrationDialog* calibrationDialog() const;

  // State shared by the handlers, readable by tests.
  const PointTable& pointTable() const { return table_; }
  std::int16_t PointCount() const { return table_.PointCount(); }
  const Cursor& cursor() const { return cursor_; }
  NotationChoice notation() const;
  void setNotation(NotationChoice notation);
  MapFrame mapFrame() const;
  void setMapFrame(const MapFrame& frame);
  // Canvas offset inside the viewport, twips, as last positioned by a scroll event.
  double canvasLeft() const { return canvasLeft_; }
  double canvasTop() const { return canvasTop_; }

  // The controls, named as the user knows them.
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

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  // Every control from the design table, in its container, with its tab order; then the states and
  // links between controls that the table does not hold.
  void buildControls();
  void chainTabOrder(std::vector<std::pair<int, QWidget*>> controls);
  void finishControls();
  void place(QWidget* control, double left, double top, double width, double height);
  void connectHandlers();
  void setUpZoomAndLoupe();
  void zoomTo(double zoom, QPoint anchor);
  void showLoupe(QPoint canvasPixel);
  void filterFrameKey(std::int16_t& KeyAscii);
  void stepScrollBar(QScrollBar* bar, int delta);
  CanvasSize canvasSize() const;
  void setUpMapLoading();
  void loadMapPicture(const QString& path);
  bool makeRoomForMap();
  void loadPictureAtOnce(const QString& path);
  void followDecode();
  void cancelMapDecode();
  void showPreviousMap();
  void forgetPreviousMap();
  void saveInfoFile();
  void setPointer(bool busy);
  double twipsPerPixel() const;
  void setOuterSizeTwips(double width, double height);

  // What a point change did to the canvas and the grid's current cell, for taking it back. A change
  // without a disc (the grid's own removal) has no pixels.
  struct CanvasPatch {
    double x = 0, y = 0, radius = 0;  // the disc, twips
    QColor colour;
    QPoint topLeft;
    QImage pixels;  // under the disc before it was drawn
    quint64 generation = 0;
    quint64 waitingDisc = 0;  // a disc that waited for its rows to be decoded: the canvas keeps its pixels
    QColor fillBefore;
    bool solidBefore = false;
    int currentRow = 0, currentColumn = 0;
  };
  void installHistoryAndCalibration();
  PointState pointState() const;
  CanvasPatch takePatch(double x, double y, double radius, QColor colour) const;
  void recordPointChange(PointChange::Kind kind, int row, PointRow point, const PointState& before, CanvasPatch patch);
  void paintDisc(double x, double y, double radius, QColor colour);
  void showCapturedRow(int row);
  void showPointChange(const PointChange& change, const PointState& state);
  bool takesReferencePoint(int button, double x, double y);
  void applyCalibration(const std::array<std::string, 4>& edges);

  platform::Platform& platform_;
  QButtonGroup* notationGroup_ = nullptr;
  PointTable table_;
  Cursor cursor_;
  double canvasLeft_ = 0;
  double canvasTop_ = 0;
  bool resizing_ = false;
  Loupe* loupe_ = nullptr;
  bool loupeOn_ = false;
  PointHistory history_;
  std::vector<CanvasPatch> patches_;  // one per step of history_
  QPointer<CalibrationDialog> calibration_;
  // The map being decoded, and what to go back to if it fails part way.
  std::unique_ptr<map_picture::MapDecode> decode_;
  QTimer* followTimer_ = nullptr;
  DecodeProgressLine* progressLine_ = nullptr;
  QImage previousPicture_;
  QImage previousPreview_;
  QSize previousCanvasSize_;
};

}  // namespace velmaro::ui
