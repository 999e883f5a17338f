#include "ui/map_loader.h"

#include <QTimer>

#include "map_picture/map_decode.h"
#include "map_picture/map_picture_loader.h"
#include "ui/decode_progress_line.h"
#include "ui/map_canvas.h"
#include "ui/preview_image.h"

namespace velmaro::ui {

namespace {
// Two huge maps at once may not fit in memory: a larger old picture is let go before a new one is decoded.
constexpr qsizetype kKeepOldPictureBytes = qsizetype{64} * 1024 * 1024;
// How often the window looks at a running decode: often enough that the rows seem to flow in.
constexpr int kFollowMilliseconds = 40;
}  // namespace

MapLoader::MapLoader(MapCanvas& canvas, PreviewImage& preview, QWidget& viewport, QObject* parent)
    : QObject(parent),
      canvas_(canvas),
      preview_(preview),
      followTimer_(new QTimer(this)),
      progressLine_(new DecodeProgressLine(&viewport)) {
  followTimer_->setInterval(kFollowMilliseconds);
  connect(followTimer_, &QTimer::timeout, this, &MapLoader::followDecode);
}

MapLoader::~MapLoader() = default;

bool MapLoader::load(const QString& path) {
  bool roomMade = false, interrupted = false;
  std::unique_ptr<map_picture::MapDecode> decode;
  // The end is shown at once rather than at the next tick: the user would wait up to a tick longer for the
  // last rows, and a short open has little to hide it in. A wake-up for a decode let go meanwhile finds it
  // gone, or finds the next one running, and does nothing.
  const auto showEnd = [this] { QMetaObject::invokeMethod(this, &MapLoader::followDecode, Qt::QueuedConnection); };
  const auto beginning = map_picture::MapDecode::Begin(
      path, preview_.size(), decode,
      [&] {
        roomMade = true;
        interrupted = makeRoomForMap();
      },
      showEnd);
  if (beginning == map_picture::MapDecode::Beginning::NotForMe) return loadPictureAtOnce(path);
  if (beginning == map_picture::MapDecode::Beginning::Refused) {
    if (interrupted)
      showPreviousMap();  // not the half-decoded map it stopped
    else if (roomMade)
      forgetPreviousMap();  // the map shown stays; only a large one was let go to make room
    return false;
  }
  canvas_.setLoadingPicture(decode->takePicture());
  preview_.setLoadingPicture(decode->takePreview());
  decode_ = std::move(decode);
  progressLine_->showProgress(0, decode_->height());
  followTimer_->start();
  return true;
}

bool MapLoader::makeRoomForMap() {
  // A map still decoding is stopped at once; the map to go back to stays the one shown before it.
  const bool interrupted = decode_ != nullptr;
  if (interrupted) {
    cancelMapDecode();
  } else {
    previousPreview_ = preview_.picture();
    previousCanvasSize_ = canvas_.unzoomedSize();
  }
  if (canvas_.picture().sizeInBytes() > kKeepOldPictureBytes) canvas_.dropPicture();
  if (!interrupted) previousPicture_ = canvas_.picture();
  return interrupted;
}

bool MapLoader::loadPictureAtOnce(const QString& path) {
  std::optional<QImage> full = map_picture::LoadFull(path);
  if (!full) return false;
  std::optional<QImage> preview = map_picture::PreviewOf(*full, preview_.size());
  if (!preview) return false;
  if (decode_) cancelMapDecode();
  forgetPreviousMap();
  preview_.setPicture(std::move(*preview));
  canvas_.setPicture(std::move(*full));
  return true;
}

void MapLoader::followDecode() {
  if (!decode_) return;
  // The state first: rows read after it has ended are all the rows there will be.
  const map_picture::MapDecode::State state = decode_->state();
  canvas_.setDecodedRows(decode_->readyRows(), decode_->settledRows());
  preview_.setReadyRows(decode_->previewRows());
  progressLine_->showProgress(decode_->readyRows(), decode_->height());
  if (state == map_picture::MapDecode::State::Running) return;
  const int previewDivisor = decode_->previewDivisor();
  cancelMapDecode();
  if (state != map_picture::MapDecode::State::Decoded) {
    showPreviousMap();  // part way through, the map turned out damaged
    emit reverted();
    return;
  }
  forgetPreviousMap();
  // The preview of a large map is the canvas's first reduced copy already: zooming out costs no pass over the map.
  canvas_.offerReduced(preview_.picture(), previewDivisor);
}

void MapLoader::cancelMapDecode() {
  followTimer_->stop();
  progressLine_->hide();
  decode_.reset();  // stops it and waits for its threads
}

void MapLoader::showPreviousMap() {
  preview_.setPicture(previousPreview_);
  if (previousPicture_.isNull()) {
    canvas_.dropPicture();
    canvas_.resize(previousCanvasSize_);
  } else {
    canvas_.setPicture(previousPicture_);
  }
  forgetPreviousMap();
}

void MapLoader::forgetPreviousMap() {
  previousPicture_ = QImage();
  previousPreview_ = QImage();
}

void MapLoader::waitForMap() {
  if (!decode_) return;
  decode_->wait();
  followDecode();
}

}  // namespace velmaro::ui
