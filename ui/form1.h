#pragma once
// Form1: the one window. Its controls carry the state the user sees; its handlers read the controls, call
// the tested logic of core/ and files/, write the controls back, and reach the desktop only through the
// platform layer. Handler names follow the control and the event (Picture1_MouseDown). The work behind
// the handlers lives in collaborators with names of their own: the map picture's loading (MapLoader), the
// points and their undo (PointEditor), the viewport's zoom, pan and loupe (MapViewport).

#include <QPointer>
#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/capture.h"
#include "core/coordinate_type.h"
#include "core/map_calibration.h"
#include "core/model_fit.h"
#include "core/map_frame.h"
#include "core/point_table.h"
#include "files/journal_record.h"
#include "ui/export_dialog.h"
#include "ui/form1_controls.h"

namespace velmaro {
struct JournalContents;
struct SessionSnapshot;
}  // namespace velmaro

class QTimer;

namespace velmaro::platform {
class Platform;
}

namespace velmaro::ui {

class CalibrationDialog;
class CrsChooser;
class ExportDialog;
class MapGeoreference;
class MapLoader;
class MapViewport;
class PointEditor;
class SessionJournal;

inline constexpr char kMessageTitle[] = "Tessaro";

class Form1 : public QWidget, public Form1Controls {
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
  void Picture1_MouseMove(QPoint canvasPixel);
  void Image1_MouseMove();
  void XY_Grid_MouseDown(int button, int shift, double x, double y);
  void Remove_Point(double X, double Y);

  // Map selection and the info file.
  void Command1_Click();
  void Select_File(std::string& Fichier);
  void openMap(const std::string& Fichier);
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

  // Undo and redo of the point changes (Ctrl+Z; Ctrl+Shift+Z or Ctrl+Y), and the calibration from
  // reference points (Ctrl+K or the preview's context menu), whose dialog takes the canvas's left presses
  // while it is open.
  void UndoPointChange();
  void RedoPointChange();
  void CalibrateFromPoints();
  CalibrationDialog* calibrationDialog() const;
  // The map's coordinate reference system (Ctrl+R or the preview's context menu), kept in the map's side
  // file, and the export of the points through GDAL (Ctrl+E or the context menu).
  void CoordinateSystem();
  void ExportPoints();
  CrsChooser* crsChooser() const;
  ExportDialog* exportDialog() const;
  MapGeoreference& georeference() const { return *georef_; }

  // The collaborators, for tests and measurements.
  MapViewport& viewport() const { return *viewport_; }
  MapLoader& mapLoader() const { return *loader_; }
  SessionJournal& journal() const { return *journal_; }

  // State shared by the handlers, readable by tests.
  const PointTable& pointTable() const { return table_; }
  std::int16_t PointCount() const { return table_.PointCount(); }
  const Cursor& cursor() const { return cursor_; }
  NotationChoice notation() const;
  void setNotation(NotationChoice notation);
  MapFrame mapFrame() const;
  void setMapFrame(const MapFrame& frame);
  // How presses are placed on the map now: the edges, or the model that takes their place.
  MapCalibration calibration() const;
  // The session as the recovery journal keeps it when a map opens (files/session_snapshot): fields,
  // notation, table, cursor, undo steps, the canvas's fill state and the grid's current cell.
  std::vector<JournalField> sessionSnapshot() const;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // The point changes, journalled; presses, replay and the keys all come through these.
  CaptureOutcome captureAt(double x, double y);
  void removeNearest(double x, double y);
  void removeGridRow(int row);
  void undo();
  void redo();
  // The recovery journal: what each change records, the session as a map opens, bringing a session back.
  void setUpJournal();
  void journalChange(JournalRecord change, bool work = true);
  void journalField(const QString& name, const QString& text);
  void setCaptions(const std::string& xCaption, const std::string& yCaption);
  void mapShown(const std::string& path);
  void restoreSession(const SessionSnapshot& snapshot);
  bool offerRecovery();
  void recover(const JournalContents& journal, bool withMap);
  void replay(const JournalRecord& change);
  void reportJournalFailure();
  // The map's coordinate system and the export; PROJ and GDAL are loaded by the first of these.
  geo::Geo* geoOrSayWhyNot();
  void chooseMapCrs(const geo::Crs& crs);
  void exportAs(const ExportDialog::Choice& choice);
  std::string latitudeLongitude(const Cursor& cursor) const;

  void connectHandlers();
  void installShortcuts();
  void filterFrameKey(std::int16_t& KeyAscii);
  void stepScrollBar(QScrollBar* bar, int delta);
  CanvasSize canvasSize() const;
  QString readoutAt(double xTwips, double yTwips) const;
  QString readoutOf(const Cursor& cursor) const;
  void showReadout();
  void saveInfoFile();
  void setPointer(bool busy);
  void setOuterSizeTwips(double width, double height);
  bool takesReferencePoint(int button, double x, double y);
  void applyCalibration(const std::array<std::string, 4>& edges);
  // A model from reference points takes the edges' place (none: back to the edges); the edge fields show
  // its closest axis-parallel frame, the captions its directions, and a note beside the fields says so.
  void applyModel(const MapTransform& model, const std::vector<KnownPoint>& points);
  void setModel(std::optional<MapTransform> model);
  // The calibration kept with the map for GDAL and QGIS: a world file for the edges, Helmert and affine
  // models, ground control points in the side file for a projective one; read back when the map opens.
  void storeModel(const std::vector<KnownPoint>& points);
  void keepWorldFileInStep();
  void useStoredCalibration(bool infoFileRead);

  platform::Platform& platform_;
  PointTable table_;
  Cursor cursor_;
  std::optional<MapTransform> model_;  // a model fitted from reference points, in place of the edges
  QLabel* modelNote_ = nullptr;
  std::unique_ptr<MapViewport> viewport_;
  std::unique_ptr<MapLoader> loader_;
  std::unique_ptr<PointEditor> editor_;
  std::unique_ptr<SessionJournal> journal_;
  std::unique_ptr<MapGeoreference> georef_;
  QPointer<CrsChooser> crsChooser_;
  QPointer<ExportDialog> exportDialog_;
  QTimer* journalCheck_ = nullptr;
  bool openingMap_ = false;    // field changes now are what opening a map does, not the user's work
  std::string shownMap_;       // the map the canvas shows, and the one before it
  std::string previousMap_;
  QPointer<CalibrationDialog> calibration_;
};

}  // namespace velmaro::ui
