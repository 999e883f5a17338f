#include "ui/crs_chooser.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "ui/utf8_text.h"

namespace velmaro::ui {

namespace {
constexpr std::size_t kMostCandidates = 200;
constexpr int kRetryMilliseconds = 30;

QString AreaText(const geo::AreaOfUse& area) {
  if (!area.known) return Utf8(area.name);
  return QString("%1 (%2\u00b0 to %3\u00b0 east, %4\u00b0 to %5\u00b0 north)")
      .arg(Utf8(area.name), QString::number(area.west, 'f', 2), QString::number(area.east, 'f', 2),
           QString::number(area.south, 'f', 2), QString::number(area.north, 'f', 2));
}
}  // namespace

QString CrsTitle(const geo::Crs& crs) {
  const QString code = crs.authority.empty() ? QString() : Utf8(crs.authority + ":" + crs.code) + " ";
  return code + Utf8(crs.name);
}

CrsChooser::CrsChooser(geo::Geo& geo, const QString& purpose, const std::optional<geo::Crs>& current, QWidget* parent)
    : QDialog(parent), geo_(geo), prepared_(std::async(std::launch::async, [&geo] { geo.prepareSearch(); })) {
  setWindowTitle(QString::fromUtf8("Coordinate system\u2026"));
  setModal(false);
  auto* explanation = new QLabel(purpose, this);
  explanation->setWordWrap(true);
  Current = new QLabel(current ? "Now: " + CrsTitle(*current) : QString("Now: none"), this);
  Search = new QLineEdit(this);
  Search->setPlaceholderText("Name or code, e.g. UTM 32N, 27700, LV95");
  Candidates = new QTreeWidget(this);
  Candidates->setHeaderLabels({"Code", "Name", "Area of use"});
  Candidates->setRootIsDecorated(false);
  Candidates->header()->setSectionResizeMode(QHeaderView::Interactive);
  ChooseButton = new QPushButton("C&hoose", this);
  CancelButton = new QPushButton("&Cancel", this);
  ChooseButton->setDefault(true);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ChooseButton);
  buttons->addWidget(CancelButton);
  auto* layout = new QVBoxLayout(this);
  for (QWidget* widget : {static_cast<QWidget*>(explanation), static_cast<QWidget*>(Current),
                          static_cast<QWidget*>(Search), static_cast<QWidget*>(Candidates)})
    layout->addWidget(widget);
  layout->addLayout(buttons);
  resize(760, 420);
  Candidates->setColumnWidth(0, 110);
  Candidates->setColumnWidth(1, 300);
  retry_ = new QTimer(this);
  retry_->setSingleShot(true);
  retry_->setInterval(kRetryMilliseconds);
  connect(retry_, &QTimer::timeout, this, &CrsChooser::search);
  connect(Search, &QLineEdit::textChanged, this, &CrsChooser::search);
  connect(Search, &QLineEdit::returnPressed, this, &CrsChooser::Choose);
  connect(Candidates, &QTreeWidget::itemDoubleClicked, this, &CrsChooser::Choose);
  connect(ChooseButton, &QPushButton::clicked, this, &CrsChooser::Choose);
  connect(CancelButton, &QPushButton::clicked, this, &QDialog::close);
  Search->setFocus();
}

CrsChooser::~CrsChooser() {
  if (prepared_.valid()) prepared_.wait();  // the list is read by a thread that must not outlive the dialog
}

void CrsChooser::search() {
  if (prepared_.wait_for(std::chrono::seconds(0)) != std::future_status::ready) {
    retry_->start();
    return;
  }
  found_ = geo_.searchCrs(Search->text().toStdString(), kMostCandidates);
  Candidates->clear();
  for (const geo::Crs& crs : found_) {
    auto* item = new QTreeWidgetItem(Candidates, {Utf8(crs.authority + ":" + crs.code), Utf8(crs.name), AreaText(crs.area)});
    item->setToolTip(2, AreaText(crs.area));
  }
  if (!found_.empty()) Candidates->setCurrentItem(Candidates->topLevelItem(0));
}

void CrsChooser::Choose() {
  const int index = Candidates->indexOfTopLevelItem(Candidates->currentItem());
  if (index < 0 || static_cast<std::size_t>(index) >= found_.size()) return;
  const geo::Crs chosen = found_[static_cast<std::size_t>(index)];
  close();
  if (choose_) choose_(chosen);
}

}  // namespace velmaro::ui
