#pragma once
// Brings a map picture onto the canvas and the preview. A JPEG map is decoded in the background: the
// canvas takes the map's size from its header at once, so presses are captured while the rows arrive; the
// canvas and the preview fill in from the top and a thin line over the viewport shows how far the decode
// is. Other pictures load at once. A map that fails, at once or part way, leaves the canvas and the preview
// as they were before it.

#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>
#include <memory>

class QTimer;

namespace velmaro::map_picture {
class MapDecode;
}

namespace velmaro::ui {

class DecodeProgressLine;
class MapCanvas;
class PreviewImage;

class MapLoader : public QObject {
  Q_OBJECT
 public:
  MapLoader(MapCanvas& canvas, PreviewImage& preview, QWidget& viewport, QObject* parent);
  ~MapLoader() override;

  // The picture at `path` onto the canvas and the preview. True when the canvas took it (whole, or from its
  // header while it decodes); false, with nothing changed, when it cannot be loaded.
  bool load(const QString& path);
  // Whether a map still decodes, and waiting until it is done (for tests and measurements; the window
  // itself never waits).
  bool loading() const { return decode_ != nullptr; }
  void waitForMap();

 signals:
  // A map that was decoding turned out damaged part way: the canvas shows the map before it again.
  void reverted();

 private:
  bool makeRoomForMap();
  bool loadPictureAtOnce(const QString& path);
  void followDecode();
  void cancelMapDecode();
  void showPreviousMap();
  void forgetPreviousMap();

  MapCanvas& canvas_;
  PreviewImage& preview_;
  std::unique_ptr<map_picture::MapDecode> decode_;
  QTimer* followTimer_;
  DecodeProgressLine* progressLine_;
  // What to go back to if the map being decoded fails part way.
  QImage previousPicture_;
  QImage previousPreview_;
  QSize previousCanvasSize_;
};

}  // namespace velmaro::ui
