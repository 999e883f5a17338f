#include "ui/decode_progress_line.h"

#include <QPainter>

namespace velmaro::ui {

namespace {
constexpr int kLinePixels = 3;
const QColor kDone(0, 120, 215);
const QColor kToDo(255, 255, 255, 160);
}  // namespace

DecodeProgressLine::DecodeProgressLine(QWidget* viewport) : QWidget(viewport) {
  setObjectName("DecodeProgressLine");
  setAttribute(Qt::WA_TransparentForMouseEvents);
  hide();
}

void DecodeProgressLine::showProgress(int done, int total) {
  fraction_ = total > 0 ? static_cast<double>(done) / total : 0.0;
  setGeometry(0, 0, parentWidget()->width(), kLinePixels);
  raise();
  show();
  update();
}

void DecodeProgressLine::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  const int doneWidth = static_cast<int>(width() * fraction_);
  painter.fillRect(QRect(0, 0, doneWidth, height()), kDone);
  painter.fillRect(QRect(doneWidth, 0, width() - doneWidth, height()), kToDo);
}

}  // namespace velmaro::ui
