#include "ui/tab_control.h"

#include <QResizeEvent>

namespace velmaro::ui {

TabControl::TabControl(const QStringList& captions, QWidget* parent) : QWidget(parent), bar_(new QTabBar(this)) {
  setObjectName("SSTab1");
  bar_->setExpanding(true);
  bar_->setDrawBase(true);
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
}

void TabControl::showPage(int index) {
  for (std::size_t i = 0; i < pages_.size(); ++i) pages_[i]->setVisible(static_cast<int>(i) == index);
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
