#include "ui/calibration_dialog.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <charconv>
#include <cmath>
#include <optional>

#include "core/number_text.h"
#include "ui/utf8_text.h"

namespace velmaro::ui {

namespace {

enum Column { kX, kY, kKnownX, kKnownY, kResidualX, kResidualY, kResidualPixels, kUsed, kColumns };

constexpr TransformModel kModels[] = {TransformModel::Edges, TransformModel::Helmert, TransformModel::Affine,
                                      TransformModel::Projective};
constexpr const char* kModelNames[] = {"Edges: X from left to right, Y from top to bottom",
                                       "Helmert: shift, rotation, one scale (2 points or more)",
                                       "Affine: rotation, skew, two scales (3 points or more)",
                                       "Projective: a photograph taken at an angle (4 points or more)"};

// Map units with enough decimals to show a second of arc in degrees and a millimetre in metres.
QString MapUnits(double value, NotationChoice notation) {
  char text[400];
  const int decimals = notation == CoordinateType::Meters ? 3 : 8;
  const auto done = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
  return QString::fromLatin1(text, static_cast<qsizetype>(done.ptr - text));
}

QString Pixels(double value) { return MapUnits(value, CoordinateType::Meters).chopped(1); }

QTableWidgetItem* ReadOnlyItem(const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(Qt::ItemIsEnabled);
  return item;
}

QString Points(const std::vector<int>& indices) {
  QStringList numbers;
  for (const int index : indices) numbers << QString::number(index + 1);
  return (numbers.size() == 1 ? "Point " : "Points ") + numbers.join(", ");
}

// Why a model cannot be fitted, in the user's words.
std::string RefusalText(const FitRefusal& refusal, TransformModel model) {
  const QString unit = refusal.space == FitRefusal::Space::Picture ? " pixels" : " map units";
  const QString name = model == TransformModel::Helmert ? "A Helmert model"
                       : model == TransformModel::Affine ? "An affine model"
                                                         : "A projective model";
  switch (refusal.kind) {
    case FitRefusalKind::NotFittedHere: return {};
    case FitRefusalKind::NotANumber:
      return (Points(refusal.points) + ": the known values are no number.").toStdString();
    case FitRefusalKind::TooFewPoints:
      return QString("%1 needs %2 points or more; %3 are used.")
          .arg(name).arg(refusal.limit).arg(refusal.value).toStdString();
    case FitRefusalKind::RepeatedPoints:
      return (Points(refusal.points) + " lie at the same place (" + Pixels(refusal.value) + unit +
              " apart): press each reference point once.").toStdString();
    case FitRefusalKind::CollinearPoints:
      return (Points(refusal.points) + " lie on one line (within " + Pixels(refusal.value) + unit + "): " + name +
              " needs points spread over the map.").toStdString();
    case FitRefusalKind::IllConditioned:
      return QString("The points cannot fix %1 soundly (condition number %2, at most %3): spread them over the map.")
          .arg(name.toLower(), QString::number(refusal.value, 'g', 3), QString::number(refusal.limit, 'g', 3))
          .toStdString();
    case FitRefusalKind::HorizonInPicture:
      return QString("The photograph's horizon would cross the map (at pixels %1, %2 and %3, %4): check the points.")
          .arg(Pixels(refusal.horizon[0].x), Pixels(refusal.horizon[0].y), Pixels(refusal.horizon[1].x),
               Pixels(refusal.horizon[1].y))
          .toStdString();
  }
  return {};
}

}  // namespace

CalibrationDialog::CalibrationDialog(std::function<NotationChoice()> notation, std::function<CanvasSize()> canvas,
                                     std::function<double()> twipsPerPixel, QWidget* parent)
    : QDialog(parent), notation_(std::move(notation)), canvas_(std::move(canvas)), twipsPerPixel_(std::move(twipsPerPixel)) {
  setWindowTitle(QString::fromUtf8("Calibrate from points\u2026"));
  setModal(false);
  auto* explanation = new QLabel(
      "Press reference points on the map, then type their known X and Y as in the frame fields.", this);
  explanation->setWordWrap(true);
  Model = new QComboBox(this);
  for (const char* name : kModelNames) Model->addItem(name);
  Points = new QTableWidget(0, kColumns, this);
  Points->setHorizontalHeaderLabels(
      {"x (twips)", "y (twips)", "Known X", "Known Y", "Residual X", "Residual Y", "Residual (pixels)", "Used"});
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
  auto* model = new QHBoxLayout;
  model->addWidget(new QLabel("&Model:", this));
  model->addWidget(Model, 1);
  qobject_cast<QLabel*>(model->itemAt(0)->widget())->setBuddy(Model);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(explanation);
  layout->addLayout(model);
  layout->addWidget(Points);
  layout->addWidget(Report);
  layout->addLayout(buttons);
  resize(900, 340);
  connect(Points, &QTableWidget::itemChanged, this, [this] {
    if (!refitting_) refit();
  });
  connect(Model, &QComboBox::currentIndexChanged, this, [this] { refit(); });
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
  for (int column : {kResidualX, kResidualY, kResidualPixels}) Points->setItem(row, column, ReadOnlyItem({}));
  auto* used = new QTableWidgetItem;
  used->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
  used->setCheckState(Qt::Checked);
  Points->setItem(row, kUsed, used);
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

TransformModel CalibrationDialog::model() const { return kModels[std::max(Model->currentIndex(), 0)]; }

std::vector<KnownPoint> CalibrationDialog::knownPoints() const {
  // A point whose known values cannot be read takes no part, as one switched off.
  std::vector<KnownPoint> points;
  const NotationChoice notation = notation_();
  for (int row = 0; row < Points->rowCount(); ++row) {
    const auto [x, y] = places_[static_cast<std::size_t>(row)];
    const std::optional<double> mapX = ReadReferenceValue(Points->item(row, kKnownX)->text().toStdString(), notation);
    const std::optional<double> mapY = ReadReferenceValue(Points->item(row, kKnownY)->text().toStdString(), notation);
    const bool used = Points->item(row, kUsed)->checkState() == Qt::Checked;
    points.push_back({x, y, mapX.value_or(0), mapY.value_or(0), used && mapX && mapY});
  }
  return points;
}

CalibrationDialog::Fit CalibrationDialog::fitEdges() {
  // The edges are fitted from the texts as typed, each axis on its own, from the points in use.
  const NotationChoice notation = notation_();
  std::vector<ReferencePoint> used;
  std::vector<int> rows;
  for (int row = 0; row < Points->rowCount(); ++row) {
    if (Points->item(row, kUsed)->checkState() != Qt::Checked) continue;
    const auto [x, y] = places_[static_cast<std::size_t>(row)];
    used.push_back({x, y, Points->item(row, kKnownX)->text().toStdString(), Points->item(row, kKnownY)->text().toStdString()});
    rows.push_back(row);
  }
  const Calibration calibration = Calibrate(used, notation, canvas_());
  Fit fit{calibration.refusal, calibration.edges, std::nullopt, {}, calibration.largestResidual, calibration.roundingShift};
  fit.residuals.points.resize(static_cast<std::size_t>(Points->rowCount()));
  if (calibration.refusal) return fit;
  const auto read = [&](std::size_t i) { return ReadEdgeValue(calibration.edges[i], notation); };
  const MapTransform edges = EdgesTransform(read(0), read(1), read(2), read(3), canvas_());
  fit.residuals = MeasureResiduals(edges, knownPoints(), twipsPerPixel_());
  // The map residuals are the axis fits' own, known minus fitted, one axis without the other where only
  // one value was typed.
  for (std::size_t i = 0; i < rows.size(); ++i) {
    std::optional<Residual>& residual = fit.residuals.points[static_cast<std::size_t>(rows[i])];
    if (!residual) residual = Residual{};
    residual->map = {calibration.xResiduals[i].value_or(std::nan("")), calibration.yResiduals[i].value_or(std::nan("")), 0};
  }
  return fit;
}

CalibrationDialog::Fit CalibrationDialog::fitModel() {
  const ModelFit fitted = FitModel(model(), knownPoints(), FitSettings{twipsPerPixel_(), canvas_(), Handedness::Map});
  Fit fit{std::nullopt, {}, std::nullopt, fitted.residuals, 0, 0};
  if (fitted.refusal) {
    fit.refusal = RefusalText(*fitted.refusal, model());
    fit.residuals.points.assign(static_cast<std::size_t>(Points->rowCount()), std::nullopt);
  } else {
    fit.model = fitted.transform;
  }
  return fit;
}

CalibrationDialog::Fit CalibrationDialog::refit() {
  const Fit fit = model() == TransformModel::Edges ? fitEdges() : fitModel();
  showResiduals(fit.residuals);
  const NotationChoice notation = notation_();
  if (fit.refusal) {
    Report->setText(Utf8(*fit.refusal));
  } else if (model() == TransformModel::Edges) {
    Report->setText(QString("Edges: left %1, right %2, top %3, bottom %4. Largest residual %5 map units, RMS %6 "
                            "pixels. Rounding the edge texts moves the frame by at most %7 map units.")
                        .arg(Utf8(fit.edges[0]), Utf8(fit.edges[1]), Utf8(fit.edges[2]), Utf8(fit.edges[3]),
                             MapUnits(fit.largestResidual, notation), Pixels(fit.residuals.rmsPixels),
                             MapUnits(fit.roundingShift, notation)));
  } else {
    Report->setText(QString("RMS %1 map units, %2 pixels. The edge fields will show the closest axis-parallel frame.")
                        .arg(MapUnits(fit.residuals.rmsMap, notation), Pixels(fit.residuals.rmsPixels)));
  }
  return fit;
}

void CalibrationDialog::showResiduals(const Residuals& residuals) {
  const NotationChoice notation = notation_();
  refitting_ = true;  // writing the residuals must not refit again
  for (int row = 0; row < Points->rowCount(); ++row) {
    // A value not typed yet has nothing to compare with: the edges fit each axis on its own, every other
    // model needs both values of a point, and so does its place on the picture.
    const bool x = ReadReferenceValue(Points->item(row, kKnownX)->text().toStdString(), notation).has_value();
    const bool y = ReadReferenceValue(Points->item(row, kKnownY)->text().toStdString(), notation).has_value();
    const bool shown = model() == TransformModel::Edges ? x || y : x && y;
    std::optional<Residual> residual = shown ? residuals.points.at(static_cast<std::size_t>(row)) : std::nullopt;
    if (residual && !(x && y)) residual->pixels.reset();
    const auto show = [&](int column, std::optional<double> value, bool pixels) {
      const bool known = value && !std::isnan(*value);
      Points->item(row, column)->setText(known ? (pixels ? Pixels(*value) : MapUnits(*value, notation)) : QString());
    };
    show(kResidualX, residual ? std::optional(residual->map.x) : std::nullopt, false);
    show(kResidualY, residual ? std::optional(residual->map.y) : std::nullopt, false);
    show(kResidualPixels, residual && residual->pixels ? std::optional(residual->pixels->length) : std::nullopt, true);
  }
  refitting_ = false;
}

void CalibrationDialog::Apply() {
  const Fit fit = refit();
  if (fit.refusal) return;  // the report says why; the frame stays as it is
  if (fit.model) {
    if (applyModel_) applyModel_(*fit.model, knownPoints());
  } else if (apply_) {
    apply_(fit.edges);
  }
  close();
}

}  // namespace velmaro::ui
