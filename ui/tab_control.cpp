#include "ui/tab_control.h"

#include <QApplication>
#include <QKeyEvent>
#include <QResizeEvent>

namespace velmaro::ui {

TabControl::TabControl(const QStringList& captions, QWidget* parent) : QWidget(parent), bar_(new QTabBar(this)) {
  setObjectName("SSTab1");
  bar_->setExpanding(true);
  bar_->setDrawBase(true);
  setFocusProxy(bar_);  // the control's place in the tab order is its strip's
  for (const QString& caption : captions) {
    bar_->addTab(caption);
    auto* page = new QWidget(this);
    page->hide();
    pages_.push_back(page);
  }
  current_ = bar_->currentIndex();
  showPage(current_);
  connect(bar_, &QTabBar::currentChanged, this, [this](int index) {
    const int previous = current_;
    current_ = index;
    showPage(index);
    emit tabSelected(previous);
  });
  // Ctrl+Tab must reach the tabs from every control, even one (a grid, the map) that uses Tab itself.
  qApp->installEventFilter(this);
}

void TabControl::showPage(int index) {
  // The new page shows before the old one hides, so a focus leaving the old page can land on it.
  if (index >= 0) pages_.at(static_cast<std::size_t>(index))->show();
  for (std::size_t i = 0; i < pages_.size(); ++i)
    if (static_cast<int>(i) != index) pages_[i]->hide();
}

int TabSwitchStep(const QKeyEvent& event) {
  const Qt::KeyboardModifiers modifiers = event.modifiers();
  if (!modifiers.testFlag(Qt::ControlModifier) || modifiers.testFlag(Qt::AltModifier)) return 0;
  if (event.key() == Qt::Key_Backtab) return -1;
  if (event.key() != Qt::Key_Tab) return 0;
  return modifiers.testFlag(Qt::ShiftModifier) ? -1 : 1;
}

bool TabControl::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
  if (static_cast<QWidget*>(watched)->window() != window() || !isEnabled()) return false;
  const int step = TabSwitchStep(*static_cast<QKeyEvent*>(event));
  if (step == 0 || count() == 0) return false;
  setCurrentIndex((currentIndex() + step + count()) % count());
  return true;
}

void TabControl::resizeEvent(QResizeEvent* event) {
  const QRect strip(0, 0, event->size().width(), bar_->sizeHint().height());
  bar_->setGeometry(strip);
  bar_->lower();
  for (QWidget* page : pages_) {
    page->setGeometry(0, 0, event->size().width(), event->size().height());
    // The page lies over the strip so that its controls keep their design places; outside those controls
    // the strip must still take the clicks that select a tab.
    QRegion open = QRegion(page->rect()).subtracted(strip);
    for (const QObject* child : page->children()) {
      if (const auto* widget = qobject_cast<const QWidget*>(child)) open += widget->geometry();
    }
    page->setMask(open);
  }
}

}  // namespace velmaro::ui
