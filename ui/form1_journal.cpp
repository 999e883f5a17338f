// Form1 and the recovery journal (ui/session_journal): what each change records, the session as a map
// opens, and bringing a session back at start-up after the program died.

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QButtonGroup>
#include <QTimer>

#include "files/session_journal.h"
#include "files/session_snapshot.h"
#include "files/state_folder.h"
#include "platform/platform.h"
#include "ui/edge_field.h"
#include "ui/form1.h"
#include "ui/map_canvas.h"
#include "ui/map_georeference.h"
#include "ui/map_loader.h"
#include "ui/point_editor.h"
#include "ui/point_grid.h"
#include "ui/preview_image.h"
#include "ui/session_journal.h"
#include "ui/twips.h"
#include "ui/utf8_text.h"

namespace velmaro::ui {

namespace {

// A failure of the journal is said a moment after the change that met it, once the writer has tried.
constexpr int kJournalCheckMilliseconds = 250;

// The fields a session snapshot holds, in the order they are put back.
constexpr const char* kSnapshotFields[] = {"Text1", "Text6", "Text8", "Text2", "Text3", "Text4", "Text5", "Label1", "Label2"};

std::string Words(const FileError& error) {
  switch (error.kind) {
    case FileErrorKind::PermissionDenied: return "no permission to write there";
    case FileErrorKind::ReadOnlyFileSystem: return "the disk is read-only";
    case FileErrorKind::DiskFull: return "the disk is full";
    case FileErrorKind::NotFound:
    case FileErrorKind::IsFolder:
    case FileErrorKind::NotRegularFile: return "the folder cannot be made";
    case FileErrorKind::TooLarge: return "the journal has grown too large";
    default: return "system error " + std::to_string(error.systemError);
  }
}

}  // namespace

void Form1::setUpJournal() {
  journal_ = std::make_unique<SessionJournal>(StateFolder());
  journalCheck_ = new QTimer(this);
  journalCheck_->setSingleShot(true);
  journalCheck_->setInterval(kJournalCheckMilliseconds);
  connect(journalCheck_, &QTimer::timeout, this, &Form1::reportJournalFailure);
  for (QLineEdit* field : {Text1, Text6, Text8, static_cast<QLineEdit*>(Text2), static_cast<QLineEdit*>(Text3),
                           static_cast<QLineEdit*>(Text4), static_cast<QLineEdit*>(Text5)}) {
    connect(field, &QLineEdit::textChanged, this, [this, field](const QString& text) { journalField(field->objectName(), text); });
  }
  connect(notationGroup, &QButtonGroup::buttonToggled, this, [this] {
    const NotationChoice chosen = notation();
    journalChange({RecordKind::Notation, {chosen ? static_cast<std::int64_t>(*chosen) + 1 : std::int64_t{0}}}, !openingMap_);
  });
  connect(loader_.get(), &MapLoader::reverted, this, [this] { mapShown(previousMap_); });
}

void Form1::journalChange(JournalRecord change, bool work) {
  journal_->record(std::move(change), work);
  journalCheck_->start();
}

void Form1::journalField(const QString& name, const QString& text) {
  // The frame's edges are calibration, the user's work; names and captions only follow from it or the map.
  const bool edge = name == "Text2" || name == "Text3" || name == "Text4" || name == "Text5";
  journalChange({RecordKind::Field, {name.toStdString(), text.toStdString()}}, edge && !openingMap_);
}

void Form1::reportJournalFailure() {
  const std::optional<FileError> failure = journal_->failure();
  if (!failure) return;
  platform_.showMessage({"The recovery journal cannot be kept in " + journal_->folder() + " (" + Words(*failure) +
                             "). Your work goes on as before, but if VELMARO ends without saving, it cannot be "
                             "brought back.",
                         platform::Buttons::Ok, platform::Icon::Information, std::nullopt});
}

void Form1::mapShown(const std::string& path) {
  previousMap_ = std::exchange(shownMap_, path);
  editor_->setDrawing(true);
  setModel(std::nullopt);  // another picture: its own calibration
  georef_->mapOpened(path);
  journal_->mapOpened(IdentifyMap(path), sessionSnapshot(), Picture1->widthTwips(), Picture1->heightTwips());
}

std::vector<JournalField> Form1::sessionSnapshot() const {
  SessionSnapshot snapshot;
  for (const char* name : kSnapshotFields)
    snapshot.fields.emplace_back(name, findChild<QWidget*>(name)->property("text").toString().toStdString());
  snapshot.fields.emplace_back("Model", model_ ? ModelText(*model_) : std::string());
  snapshot.notation = notation();
  snapshot.rows = table_.rows();
  snapshot.cursor = cursor_;
  snapshot.saveEnabled = Command3->isEnabled();
  snapshot.steps = editor_->steps();
  snapshot.done = editor_->stepsDone();
  snapshot.fillColour = Picture1->fillColor().rgb() & 0xFFFFFFu;
  snapshot.fillSolid = Picture1->fillStyleSolid();
  snapshot.currentRow = XY_Grid->currentRow();
  snapshot.currentColumn = XY_Grid->currentColumn();
  return FlattenSnapshot(snapshot);
}

void Form1::restoreSession(const SessionSnapshot& snapshot) {
  setNotation(snapshot.notation);
  for (const auto& [name, text] : snapshot.fields) replay({RecordKind::Field, {name, text}});
  table_ = PointTable{};
  for (const PointRow& row : snapshot.rows) table_.insertRow(table_.size() + 1, row);
  XY_Grid->showRows(1, kMaxPoints);
  cursor_ = snapshot.cursor;
  Command3->setEnabled(snapshot.saveEnabled);
  editor_->restoreSteps(snapshot.steps, snapshot.done);
  Picture1->setFillColor(QColor::fromRgb(snapshot.fillColour));
  Picture1->setFillStyleSolid(snapshot.fillSolid);
  XY_Grid->makeCurrent(snapshot.currentRow, snapshot.currentColumn);
  showReadout();
}

bool Form1::offerRecovery() {
  for (const SessionJournal::LeftOver& left : journal_->leftOver()) {
    std::string question = "VELMARO ended without saving your work on\n" + left.contents.map->path + "\n\n";
    if (left.mapState == MapState::Unchanged) {
      question += "Bring that session back: the map, its points, the frame and the steps to undo?";
    } else {
      question += std::string(left.mapState == MapState::Gone ? "That map is no longer there" : "That map has changed since") +
                  ", so its points cannot be shown on it.\n\nBring the point table back without the map?";
    }
    const platform::Answer answer =
        platform_.showMessage({question, platform::Buttons::YesNo, platform::Icon::None, std::nullopt});
    if (answer == platform::Answer::Yes) {
      recover(left.contents, left.mapState == MapState::Unchanged);
      return true;
    }
    RemoveJournal(left.path);
  }
  return false;
}

void Form1::recover(const JournalContents& journal, bool withMap) {
  restoreSession(*UnflattenSnapshot(journal.records[0].fields));
  const JournalRecord& opened = journal.records[1];
  const double tpp = TwipsPerPixel(Picture1);
  const QSize canvas(ToPixels(opened.number(3), tpp), ToPixels(opened.number(4), tpp));
  if (withMap && loader_->load(Utf8(opened.text(0))) && Picture1->unzoomedSize() == canvas) {
    mapShown(opened.text(0));
  } else {
    // The points of a map that is not there: the canvas keeps its size for the transform and stays grey.
    Picture1->dropPicture();
    Picture1->resize(canvas);
    Image1->setPicture(QImage());
    previousMap_ = std::exchange(shownMap_, opened.text(0));
    journal_->mapOpened(journal.map, sessionSnapshot(), opened.number(3), opened.number(4));
    editor_->setDrawing(false);
  }
  for (std::size_t i = 2; i < journal.records.size(); ++i) replay(journal.records[i]);
}

void Form1::replay(const JournalRecord& change) {
  switch (change.kind) {
    case RecordKind::Field: {
      const QString name = Utf8(change.text(0)), text = Utf8(change.text(1));
      if (auto* field = findChild<QLineEdit*>(name)) {
        field->setText(text);
      } else if (name == "Label1") {
        setCaptions(change.text(1), Label2->text().toStdString());
      } else if (name == "Label2") {
        setCaptions(Label1->text().toStdString(), change.text(1));
      } else if (name == "Model") {
        setModel(ReadModelText(change.text(1)));
      }
      return;
    }
    case RecordKind::ReferenceModel: setModel(ReadModelText(change.text(0))); return;
    case RecordKind::Notation: {
      const std::int64_t chosen = change.integer(0);
      setNotation(chosen >= 1 && chosen <= 3 ? NotationChoice(static_cast<CoordinateType>(chosen - 1)) : std::nullopt);
      return;
    }
    case RecordKind::Capture: captureAt(change.number(1), change.number(2)); return;
    case RecordKind::RemovalOnMap: removeNearest(change.number(0), change.number(1)); return;
    case RecordKind::RemovalFromGrid:
      // The press on the row made it current before it went.
      XY_Grid->makeCurrent(static_cast<int>(change.integer(0)), static_cast<int>(change.integer(1)));
      removeGridRow(static_cast<int>(change.integer(0)));
      return;
    case RecordKind::Undo: undo(); return;
    case RecordKind::Redo: redo(); return;
    default: return;  // the map and the snapshot start a journal; nothing else changes the session
  }
}

void Form1::closeEvent(QCloseEvent* event) {
  // Closing the window is a deliberate end, unless the desktop session is ending under it (a logout).
  if (!qApp->isSavingSession()) journal_->quit();
  QWidget::closeEvent(event);
}

}  // namespace velmaro::ui
