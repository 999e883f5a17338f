#pragma once
// Picture3..Picture6: small picture boxes used as buttons, each showing a red triangle pointing one way.

#include <QColor>
#include <QWidget>

namespace velmaro::ui {

enum class ArrowDirection { Up, Down, Left, Right };

class ArrowPicture : public QWidget {
  Q_OBJECT
 public:
  ArrowPicture(ArrowDirection direction, QColor background, QWidget* parent = nullptr);

 signals:
  void clicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  ArrowDirection direction_;
  QColor background_;
};

}  // namespace velmaro::ui
