// Form1 bringing a map picture onto the canvas and the preview. A JPEG map is decoded in the background:
// the canvas takes the map's size from its header at once, so presses are captured while the rows
// arrive; the canvas and the preview fill in from the top and a thin line shows how far the decode is.
// Other pictures load at once. A map that fails, at once or part way, leaves the canvas and the
// preview as they were before it.

#include <QTimer>

#include "ui/decode_progress_line.h"
#include "ui/form1.h"
#include "ui/loupe.h"
#include "ui/map_canvas.h"
#include "ui/map_picture/map_decode.h"
#include "ui/map_picture/map_picture_loader.h"
#include "ui/preview_image.h"

namespace velmaro::ui {

namespace {
// Two huge maps at once may not fit in memory: a larger old picture is let go before a new one is decoded.
constexpr qsizetype kKeepOldPictureBytes = qsizetype{64} * 1024 * 1024;
// How often the window looks at a running decode: often enough that the rows seem to flow in.
constexpr int kFollowMilliseconds = 40;
}  // namespace

void Form1::setUpMapLoading() {
  progressLine_ = new DecodeProgressLine(Picture2);
  followTimer_ = new QTimer(this);
  followTimer_->setInterval(kFollowMilliseconds);
  connect(followTimer_, &QTimer::timeout, this, &Form1::followDecode);
}

void Form1::loadMapPicture(const QString& path) {
  bool roomMade = false, interrupted = false;
  std::unique_ptr<map_picture::MapDecode> decode;
  const auto beginning = map_picture::MapDecode::Begin(path, Image1->size(), decode, [&] {
    roomMade = true;
    interrupted = makeRoomForMap();
  });
  if (beginning == map_picture::MapDecode::Beginning::NotForMe) {
    loadPictureAtOnce(path);
    return;
  }
  if (beginning == map_picture::MapDecode::Beginning::Refused) {
    if (interrupted)
      showPreviousMap();  // not the half-decoded map it stopped
    else if (roomMade)
      forgetPreviousMap();  // the map shown stays; only a large one was let go to make room
    return;
  }
  loupe_->hide();  // it must not read rows the new decode has yet to write
  Picture1->setLoadingPicture(decode->takePicture());
  Image1->setLoadingPicture(decode->takePreview());
  decode_ = std::move(decode);
  progressLine_->showProgress(0, decode_->height());
  followTimer_->start();
}

bool Form1::makeRoomForMap() {
  // A map still decoding is stopped at once; the map to go back to stays the one shown before it.
  const bool interrupted = decode_ != nullptr;
  if (interrupted) {
    cancelMapDecode();
  } else {
    previousPreview_ = Image1->picture();
    previousCanvasSize_ = Picture1->unzoomedSize();
  }
  if (Picture1->picture().sizeInBytes() > kKeepOldPictureBytes) Picture1->dropPicture();
  if (!interrupted) previousPicture_ = Picture1->picture();
  return interrupted;
}

void Form1::loadPictureAtOnce(const QString& path) {
  std::optional<QImage> full = map_picture::LoadFull(path);
  if (!full) return;
  std::optional<QImage> preview = map_picture::PreviewOf(*full, Image1->size());
  if (!preview) return;
  if (decode_) cancelMapDecode();
  forgetPreviousMap();
  loupe_->hide();
  Image1->setPicture(std::move(*preview));
  Picture1->setPicture(std::move(*full));
}

void Form1::followDecode() {
  if (!decode_) return;
  // The state first: rows read after it has ended are all the rows there will be.
  const map_picture::MapDecode::State state = decode_->state();
  Picture1->setReadyRows(decode_->readyRows());
  Image1->setReadyRows(decode_->previewRows());
  progressLine_->showProgress(decode_->readyRows(), decode_->height());
  if (state == map_picture::MapDecode::State::Running) return;
  const int previewDivisor = decode_->previewDivisor();
  cancelMapDecode();
  if (state != map_picture::MapDecode::State::Decoded) {
    showPreviousMap();  // part way through, the map turned out damaged
    return;
  }
  forgetPreviousMap();
  // The preview of a large map is the canvas's first reduced copy already: zooming out costs no pass over the map.
  Picture1->offerReduced(Image1->picture(), previewDivisor);
}

void Form1::cancelMapDecode() {
  followTimer_->stop();
  progressLine_->hide();
  decode_.reset();  // stops it and waits for its threads
}

void Form1::showPreviousMap() {
  loupe_->hide();
  Image1->setPicture(previousPreview_);
  if (previousPicture_.isNull()) {
    Picture1->dropPicture();
    Picture1->resize(previousCanvasSize_);
  } else {
    Picture1->setPicture(previousPicture_);
  }
  forgetPreviousMap();
}

void Form1::forgetPreviousMap() {
  previousPicture_ = QImage();
  previousPreview_ = QImage();
}

bool Form1::mapLoading() const { return decode_ != nullptr; }

void Form1::waitForMap() {
  if (!decode_) return;
  decode_->wait();
  followDecode();
}

}  // namespace velmaro::ui
