#pragma once

#include <QSize>
#include <QString>
#include <QtGlobal>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

namespace velmaro::map_picture {

// A JPEG map through libjpeg-turbo's row interface. The file is read in pieces, never held whole; the
// header first, then the rows a band at a time into memory the caller gives, so that a decode can report
// how far it is, be stopped between bands and run on a thread of its own. The kind of file is decided by
// its first bytes, never by its name. One decoder is used by one thread at a time.
class JpegDecoder {
 public:
  enum class Opening {
    Opened,   // a JPEG whose header was read
    NotJpeg,  // a regular file that does not start like a JPEG: for another reader
    Refused   // no regular file, an empty or unreadable one, or a JPEG with a damaged header
  };
  static Opening Open(const QString& path, std::unique_ptr<JpegDecoder>& decoder);
  ~JpegDecoder();
  JpegDecoder(const JpegDecoder&) = delete;
  JpegDecoder& operator=(const JpegDecoder&) = delete;

  QSize size() const { return size_; }  // pixels, as stored (no orientation tag is applied)
  // False for CMYK and YCCK pictures, which the decoder cannot turn into RGB.
  bool decodableToRgb() const { return decodableToRgb_; }
  // Memory the decoder itself needs beside the rows: the coefficient store of a progressive picture (up to
  // 3 components x 64 coefficients x 2 bytes per 8x8 block); nothing for a baseline one.
  std::int64_t workBytes() const;

  enum class Outcome { Decoded, Failed, Stopped };
  // Decodes every row as 3 bytes a pixel, red first (QImage::Format_RGB888), into `rows`, `bytesPerLine`
  // apart, with the accurate inverse DCT and smooth chroma upsampling. After each band `bandDone` gets the
  // number of rows written so far. Any decoder warning fails the decode: a truncated or damaged file is
  // refused rather than shown with grey or smeared rows. `stop` is looked at between bands and while a
  // progressive file's scans are read. Call once.
  Outcome decode(uchar* rows, qsizetype bytesPerLine, const std::atomic<bool>& stop,
                 const std::function<void(int)>& bandDone);

  struct Session;  // libjpeg's state, known only to the decoder's own file

 private:
  explicit JpegDecoder(std::unique_ptr<Session> session);
  std::unique_ptr<Session> session_;
  QSize size_;
  bool decodableToRgb_ = true;
  bool progressive_ = false;
};

}  // namespace velmaro::map_picture
