#pragma once
// SSTab1: a tab control whose pages share the control's own origin, so that every control on a tab
// stands at its design place measured from the tab control's top-left corner. The tab strip runs along
// the top; the controls of a page are drawn above it where they reach into it. Ctrl+Tab and
// Ctrl+Shift+Tab pressed on any control of the same window select the next and the previous tab
// (wrapping round), through the same change signal as a click on the strip.

#include <QStringList>
#include <QTabBar>
#include <QWidget>

class QKeyEvent;
#include <vector>

namespace velmaro::ui {

// +1 for Ctrl+Tab, -1 for Ctrl+Shift+Tab (or Ctrl+Backtab), 0 for any other key.
int TabSwitchStep(const QKeyEvent& event);

class TabControl : public QWidget {
  Q_OBJECT
 public:
  TabControl(const QStringList& captions, QWidget* parent = nullptr);

  int count() const { return bar_->count(); }
  QString caption(int index) const { return bar_->tabText(index); }
  QWidget* page(int index) const { return pages_.at(static_cast<std::size_t>(index)); }
  int currentIndex() const { return bar_->currentIndex(); }
  void setCurrentIndex(int index) { bar_->setCurrentIndex(index); }
  QString currentCaption() const { return bar_->tabText(bar_->currentIndex()); }
  QTabBar* tabBar() const { return bar_; }

 signals:
  // The tab selected by the user (or by setCurrentIndex); carries the previously current tab.
  void tabSelected(int previousTab);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void showPage(int index);

  QTabBar* bar_;
  std::vector<QWidget*> pages_;
  int current_ = -1;
};

}  // namespace velmaro::ui
