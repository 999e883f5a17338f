#pragma once
// Picture3..Picture6: small picture boxes used as buttons, each showing a red triangle pointing one way.
// Each is a tab stop: with the focus it shows a focus rectangle, and Space or Enter acts as a click.

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
  void keyPressEvent(QKeyEvent* event) override;

 private:
  ArrowDirection direction_;
  QColor background_;
};

}  // namespace velmaro::ui
