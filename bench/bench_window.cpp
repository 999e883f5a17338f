#include "bench/bench_window.h"

#include <QApplication>
#include <QImageReader>

#include <utility>

#include "ui/map_canvas.h"
#include "ui/tab_control.h"

namespace velmaro::bench {
namespace {
constexpr int kMapTab = 0;
}  // namespace

void EnsureApplication() {
  if (QApplication::instance() != nullptr) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "velmaro_bench";
  static char* argv[] = {name, nullptr};
  // Kept for the whole process: widgets made later need it, and the process ends right after the benchmarks.
  static QApplication* application = new QApplication(argc, argv);
  (void)application;
}

BenchWindow::BenchWindow() {
  EnsureApplication();
  form_ = std::make_unique<ui::Form1>(platform_);
  form_->Form_Load();
  form_->SSTab1->setCurrentIndex(kMapTab);
  QCoreApplication::processEvents();
}

BenchWindow::~BenchWindow() = default;

bool BenchWindow::open(const QString& path) {
  const QSize expected = QImageReader(path).size();  // from the header, before the window decodes it
  platform_.queueFileName(path.toStdString());
  std::string Fichier;
  form_->Select_File(Fichier);
  return expected.isValid() && form_->Picture1->picture().size() == expected;
}

bool BenchWindow::waitForFirstRows() {
  while (form_->mapLoader().loading() && form_->Picture1->readyRect().isEmpty())
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  return !form_->Picture1->readyRect().isEmpty();
}

bool BenchWindow::waitForWholeMap() {
  form_->mapLoader().waitForMap();
  QCoreApplication::processEvents();
  return form_->Picture1->readyRect() == form_->Picture1->picture().rect() && !form_->Picture1->picture().isNull();
}

void BenchWindow::resizeClient(QSize size) {
  form_->resize(size);
  QCoreApplication::processEvents();
}

}  // namespace velmaro::bench
