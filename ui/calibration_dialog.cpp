#include "ui/calibration_dialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <charconv>
#include <optional>

#include "core/number_text.h"
#include "ui/utf8_text.h"

namespace velmaro::ui {

namespace {

enum Column { kX, kY, kKnownX, kKnownY, kResidualX, kResidualY, kColumns };

// Map units with enough decimals to show a second of arc in degrees and a millimetre in metres.
QString MapUnits(double value, NotationChoice notation) {
  char text[64];
  const int decimals = notation == CoordinateType::Meters ? 3 : 8;
  const auto done = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
  return QString::fromLatin1(text, static_cast<qsizetype>(done.ptr - text));
}

QTableWidgetItem* ReadOnlyItem(const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(Qt::ItemIsEnabled);
  return item;
}

}  // namespace

CalibrationDialog::CalibrationDialog(std::function<NotationChoice()> notation, std::function<CanvasSize()> canvas,
                                     QWidget* parent)
    : QDialog(parent), notation_(std::move(notation)), canvas_(std::move(canvas)) {
  setWindowTitle(QString::fromUtf8("Calibrate from points\u2026"));
  setModal(false);
  auto* explanation = new QLabel(
      "Press reference points on the map, then type their known X and Y as in the frame fields.", this);
  explanation->setWordWrap(true);
  Points = new QTableWidget(0, kColumns, this);
  Points->setHorizontalHeaderLabels({"x (twips)", "y (twips)", "Known X", "Known Y", "Residual X", "Residual Y"});
  Points->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  Report = new QLabel(this);
  Report->setWordWrap(true);
  ApplyButton = new QPushButton("&Apply", this);
  CancelButton = new QPushButton("&Cancel", this);
  ApplyButton->setAutoDefault(false);
  CancelButton->setAutoDefault(false);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ApplyButton);
  buttons->addWidget(CancelButton);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(explanation);
  layout->addWidget(Points);
  layout->addWidget(Report);
  layout->addLayout(buttons);
  resize(640, 320);
  connect(Points, &QTableWidget::itemChanged, this, [this] {
    if (!refitting_) refit();
  });
  connect(ApplyButton, &QPushButton::clicked, this, &CalibrationDialog::Apply);
  connect(CancelButton, &QPushButton::clicked, this, &QDialog::close);
  refit();
}

void CalibrationDialog::addReferencePoint(double x, double y) {
  const int row = Points->rowCount();
  places_.emplace_back(x, y);
  refitting_ = true;
  Points->insertRow(row);
  Points->setItem(row, kX, ReadOnlyItem(Utf8(NumberText(x))));
  Points->setItem(row, kY, ReadOnlyItem(Utf8(NumberText(y))));
  for (int column : {kKnownX, kKnownY}) Points->setItem(row, column, new QTableWidgetItem);
  for (int column : {kResidualX, kResidualY}) Points->setItem(row, column, ReadOnlyItem({}));
  refitting_ = false;
  refit();
  Points->setCurrentCell(row, kKnownX);
  Points->setFocus();
  Points->editItem(Points->item(row, kKnownX));
  // The press that made the point left the keyboard with the main window; the known values are typed
  // next, so the keyboard comes here. Once more after the press has been handled through, because the
  // window system may hand the activation to the pressed window only then.
  takeKeyboard();
  QTimer::singleShot(0, this, &CalibrationDialog::takeKeyboard);
}

void CalibrationDialog::takeKeyboard() {
  if (!isVisible()) return;
  raise();
  activateWindow();
}

std::vector<ReferencePoint> CalibrationDialog::referencePoints() const {
  std::vector<ReferencePoint> points;
  for (int row = 0; row < Points->rowCount(); ++row) {
    const auto [x, y] = places_[static_cast<std::size_t>(row)];
    points.push_back({x, y, Points->item(row, kKnownX)->text().toStdString(),
                      Points->item(row, kKnownY)->text().toStdString()});
  }
  return points;
}

Calibration CalibrationDialog::refit() {
  const NotationChoice notation = notation_();
  const Calibration fit = Calibrate(referencePoints(), notation, canvas_());
  refitting_ = true;  // writing the residuals must not refit again
  for (int row = 0; row < Points->rowCount(); ++row) {
    const auto show = [&](int column, const std::optional<double>& residual) {
      Points->item(row, column)->setText(residual ? MapUnits(*residual, notation) : QString());
    };
    show(kResidualX, fit.xResiduals[static_cast<std::size_t>(row)]);
    show(kResidualY, fit.yResiduals[static_cast<std::size_t>(row)]);
  }
  refitting_ = false;
  if (fit.refusal) {
    Report->setText(Utf8(*fit.refusal));
  } else {
    Report->setText(QString("Edges: left %1, right %2, top %3, bottom %4. Largest residual %5 map units. "
                            "Rounding the edge texts moves the frame by at most %6 map units.")
                        .arg(Utf8(fit.edges[0]), Utf8(fit.edges[1]), Utf8(fit.edges[2]), Utf8(fit.edges[3]),
                             MapUnits(fit.largestResidual, notation), MapUnits(fit.roundingShift, notation)));
  }
  return fit;
}

void CalibrationDialog::Apply() {
  const Calibration fit = refit();
  if (fit.refusal) return;  // the report says why; the frame fields stay as they are
  if (apply_) apply_(fit.edges);
  close();
}

}  // namespace velmaro::ui
