#include "ui/export_dialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/crs_chooser.h"

namespace velmaro::ui {

namespace {
constexpr geo::ExportFormat kFormats[] = {geo::ExportFormat::GeoPackage, geo::ExportFormat::Shapefile,
                                          geo::ExportFormat::GeoJson,    geo::ExportFormat::Gpx,
                                          geo::ExportFormat::Kml,        geo::ExportFormat::Csv};
}  // namespace

const char* FormatName(geo::ExportFormat format) {
  switch (format) {
    case geo::ExportFormat::GeoPackage: return "GeoPackage";
    case geo::ExportFormat::Shapefile: return "ESRI Shapefile";
    case geo::ExportFormat::GeoJson: return "GeoJSON";
    case geo::ExportFormat::Gpx: return "GPX waypoints";
    case geo::ExportFormat::Kml: return "KML";
    case geo::ExportFormat::Csv: return "CSV";
  }
  return "";
}

ExportDialog::ExportDialog(geo::Geo& geo, const std::optional<geo::Crs>& mapCrs, QWidget* parent)
    : QDialog(parent), geo_(geo) {
  setWindowTitle(QString::fromUtf8("Export points\u2026"));
  setModal(false);
  Format = new QComboBox(this);
  for (const geo::ExportFormat format : kFormats) Format->addItem(FormatName(format));
  MapCrsOption = new QRadioButton(mapCrs ? "The map's: " + CrsTitle(*mapCrs) : QString("The map's: none chosen"), this);
  OtherCrsOption = new QRadioButton("Another: none chosen", this);
  ChangeCrs = new QPushButton(QString::fromUtf8("C&hange\u2026"), this);
  MapCrsOption->setChecked(true);
  Note = new QLabel(this);
  Note->setWordWrap(true);
  ExportButton = new QPushButton(QString::fromUtf8("&Export\u2026"), this);
  CancelButton = new QPushButton("&Cancel", this);
  ExportButton->setDefault(true);
  auto* other = new QHBoxLayout;
  other->addWidget(OtherCrsOption, 1);
  other->addWidget(ChangeCrs);
  auto* crs = new QVBoxLayout;
  crs->addWidget(MapCrsOption);
  crs->addLayout(other);
  crs->addWidget(Note);
  auto* form = new QFormLayout;
  form->addRow("&Format:", Format);
  form->addRow("Coordinates:", crs);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ExportButton);
  buttons->addWidget(CancelButton);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addLayout(buttons);
  connect(Format, &QComboBox::currentIndexChanged, this, &ExportDialog::showFormat);
  connect(ChangeCrs, &QPushButton::clicked, this, &ExportDialog::chooseOther);
  connect(ExportButton, &QPushButton::clicked, this, &ExportDialog::Export);
  connect(CancelButton, &QPushButton::clicked, this, &QDialog::close);
  showFormat();
}

CrsChooser* ExportDialog::chooser() const { return chooser_; }

void ExportDialog::showFormat() {
  const bool fixed = geo::FixesWgs84(kFormats[Format->currentIndex()]);
  for (QWidget* control : {static_cast<QWidget*>(MapCrsOption), static_cast<QWidget*>(OtherCrsOption),
                           static_cast<QWidget*>(ChangeCrs)})
    control->setEnabled(!fixed);
  Note->setText(fixed ? "This format is always WGS 84 longitude and latitude." : QString());
}

void ExportDialog::chooseOther() {
  if (!chooser_) {
    chooser_ = new CrsChooser(geo_, "The coordinate system the points are exported in.", other_, this);
    chooser_->setAttribute(Qt::WA_DeleteOnClose);
    chooser_->setChooseHandler([this](const geo::Crs& crs) {
      other_ = crs;
      OtherCrsOption->setText("Another: " + CrsTitle(crs));
      OtherCrsOption->setChecked(true);
    });
  }
  chooser_->show();
  chooser_->raise();
  chooser_->activateWindow();
}

void ExportDialog::Export() {
  Choice choice{kFormats[Format->currentIndex()], std::nullopt};
  if (OtherCrsOption->isChecked()) {
    if (!other_) return chooseOther();
    choice.outputCrs = other_;
  }
  close();
  if (export_) export_(choice);
}

}  // namespace velmaro::ui
