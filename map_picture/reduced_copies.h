#pragma once
// The copies of a map picture reduced for zooming out: the first by 8 (block means of the picture itself),
// each further one halving the one before. They are made once, from a whole picture, and kept up to date
// by refresh after anything drew into the picture; a copy offered from elsewhere (the preview of a large
// map is the copy reduced by 8 already) saves the pass over the map. Down to 1/8 a view is scaled from the
// picture itself, which reads only the pixels it samples.

#include <QImage>
#include <QRect>
#include <vector>

namespace velmaro::map_picture {

class ReducedCopies {
 public:
  static constexpr int kFirstReduction = 8;

  // A new or dropped picture: every copy, and every change remembered for a copy to come, is gone.
  void clear();

  // `picture` changed inside `area` (picture pixels): the copies made so far follow. Before any copy
  // exists the area is remembered, so that a copy offered later gets the change too.
  void refresh(const QImage& picture, const QRect& area);

  // `reduced`, `picture` reduced by `divisor`, becomes the first copy when it is the one this would make
  // and there is none yet; the changes remembered are applied to it, and the smaller copies made at once,
  // while the map has just arrived rather than on the first zoom out.
  void offer(const QImage& picture, QImage reduced, int divisor);

  // What to draw `picture` from at `zoom`, and the scale of that source to the picture: the picture
  // itself (scale 1) down to 1/8, below that the smallest copy still at least as large as the view,
  // made on first need.
  const QImage& sourceFor(const QImage& picture, double zoom, double& scale);

 private:
  std::vector<QImage> copies_;  // [k] is the picture at 1 / 2^(k+3)
  std::vector<QRect> changedBeforeFirstCopy_;
};

}  // namespace velmaro::map_picture
