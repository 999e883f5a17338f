// Form1 and the files beside the map: choosing and loading the map, its info file, the XY file and
// the KML export.

#include <QLineEdit>
#include <QTextEdit>

#include "files/file_exists.h"
#include "files/info_file.h"
#include "files/kml_file.h"
#include "files/map_file_names.h"
#include "files/xy_file.h"
#include "platform/platform.h"
#include "ui/form1.h"
#include "ui/map_loader.h"
#include "ui/session_journal.h"
#include "ui/utf8_text.h"
#include "ui/rich_text/rich_text_loader.h"

namespace velmaro::ui {

namespace {
std::string Text(const QLineEdit* field) { return field->text().toStdString(); }
}  // namespace

void Form1::Command1_Click() {
  setPointer(true);
  std::string Fichier;
  Select_File(Fichier);
  setPointer(false);
}

void Form1::Select_File(std::string& Fichier) {
  // The canvas keeps the current map while the dialog is open, so a cancel leaves the window as it was.
  Fichier = platform_.chooseFile({platform::DialogMode::Open, "File selection All", "*.jpg", "*.jpg"});
  openMap(Fichier);
}

void Form1::openMap(const std::string& Fichier) {
  const QString path = Utf8(Fichier);
  setPointer(true);
  const bool shown = loader_->load(path);
  if (shown) mapShown(Fichier);
  // What follows is what opening a map does by itself: journalled for a replay, but no work to save.
  const bool wasOpening = std::exchange(openingMap_, true);
  Text1->setText(path);
  Text6->setText(Utf8(XyFileName(Fichier)));
  const std::string infoName = InfoFileName(Fichier);
  Text8->setText(Utf8(infoName));
  const bool infoFileRead = FileExists(infoName) == 1;
  if (infoFileRead) Affiche_Parametres(infoName);
  if (shown) useStoredCalibration(infoFileRead);
  openingMap_ = wasOpening;
  setPointer(false);
}

void Form1::Affiche_Parametres(const std::string& Info_Fichier) {
  const InfoFileValues values = ReadInfoFile(Info_Fichier);
  setNotation(values.notation);
  Text1->setText(Utf8(values.mapPath));
  setMapFrame(values.frame);
}

void Form1::Command2_Click() {
  Text6->setText(Utf8(platform_.chooseFile({platform::DialogMode::Save, "File selection All", "*.txt", "*.txt"})));
}

void Form1::Command3_Click() {
  // Only a written XY file is confirmed; a failed one shows nothing, and the info file and the KML
  // question follow all the same.
  const std::string xyName = Text(Text6);
  const bool written = !WriteXyFile(xyName, table_).has_value();
  if (written) journal_->saved();
  if (written) {
    platform_.showMessage(
        {xyName + " has been saved", platform::Buttons::Ok, platform::Icon::Information, kMessageTitle});
  }
  saveInfoFile();
  keepWorldFileInStep();
  const NotationChoice current = notation();
  if (current != CoordinateType::DegMinSec && current != CoordinateType::DecimalDegrees) return;
  const platform::Answer answer = platform_.showMessage(
      {"Display the points on GOOGLES EARTH?", platform::Buttons::YesNo, platform::Icon::None, kMessageTitle});
  if (answer == platform::Answer::Yes) ExportKml();
}

void Form1::saveInfoFile() {
  // The calibration is saved quietly: a name no file can have (a cancelled map dialog) is simply skipped.
  WriteInfoFile(Text(Text8), InfoFileValues{notation(), Text(Text1), mapFrame()});
}

void Form1::ExportKml() {
  const std::string kmlPath = KmlFileName(Text(Text1));
  const CoordinateType kmlNotation =
      notation() == CoordinateType::DegMinSec ? CoordinateType::DegMinSec : CoordinateType::DecimalDegrees;
  if (!kmlPath.empty()) {
    WriteKmlFile(kmlPath, table_, mapFrame(), kmlNotation);
    LoadRichTextFile(*RichTextBox1, Utf8(kmlPath));
  }
  const std::string folder = platform_.applicationFolder();
  if (!platform_.shellOpen({platform::LaunchKind::Document, kmlPath, std::string(), folder}))
    platform_.showMessage({"Unable to launch Google Earth ", platform::Buttons::Ok, platform::Icon::None, {}});
  const platform::Answer answer = platform_.showMessage(
      {"Display KML Code ?", platform::Buttons::YesNo, platform::Icon::None, kMessageTitle});
  if (answer == platform::Answer::No) return;
  if (!platform_.shellOpen({platform::LaunchKind::TextEditor, kmlPath, std::nullopt, folder}))
    platform_.showMessage({"Unable to launch NOTEPAD ", platform::Buttons::Ok, platform::Icon::None, {}});
}

}  // namespace velmaro::ui
