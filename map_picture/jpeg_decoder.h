#pragma once

#include <QSize>
#include <QString>
#include <QtGlobal>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

#include "map_picture/restart_bands.h"

namespace velmaro::map_picture {

// A JPEG file open for reading, shared by the decoders of its bands (each reads it with pread from its own
// place), with what its header says. Closed when the last holder lets it go.
struct JpegFile {
  int descriptor = -1;
  QSize size;
  ScanLayout layout;
  explicit JpegFile(int openDescriptor) : descriptor(openDescriptor) {}
  ~JpegFile();
  JpegFile(const JpegFile&) = delete;
  JpegFile& operator=(const JpegFile&) = delete;
};

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
  // A decoder of band `band` (1 or more) of `bands`, found in `file`: it gives the picture's rows from the
  // band's first row down, from the file's header with the frame's height set to those rows and the coded
  // data after the band's restart marker. `bands` must outlive it. nullptr when libjpeg refuses that header
  // (never for bands of an unchanged file).
  static std::unique_ptr<JpegDecoder> OpenBand(const std::shared_ptr<const JpegFile>& file, const RestartBands& bands,
                                               int band);
  ~JpegDecoder();
  JpegDecoder(const JpegDecoder&) = delete;
  JpegDecoder& operator=(const JpegDecoder&) = delete;

  QSize size() const { return file_->size; }  // of the whole picture, in pixels, as stored (no orientation tag)
  // False for CMYK and YCCK pictures, which the decoder cannot turn into RGB.
  bool decodableToRgb() const { return decodableToRgb_; }
  // Memory the decoder itself needs beside the rows: the coefficient store of a progressive picture (up to
  // 3 components x 64 coefficients x 2 bytes per 8x8 block); nothing for a baseline one.
  std::int64_t workBytes() const;
  const std::shared_ptr<const JpegFile>& file() const { return file_; }
  // The first row this decoder writes: 0 for the whole picture; a band's second row, since the first row of
  // a band needs the chroma row above it for smooth upsampling, which only the decoder of the band above has.
  int firstRow() const { return frameTop_ > 0 ? frameTop_ + 1 : 0; }

  enum class Outcome { Decoded, Failed, Stopped };
  // Decodes rows as 3 bytes a pixel, red first (QImage::Format_RGB888), into the picture at `rows`,
  // `bytesPerLine` apart, with the accurate inverse DCT and smooth chroma upsampling, from firstRow() down,
  // a band of at most 32 rows at a time. `rowsDone` gets the row up to which rows are written, first with
  // firstRow() and then after each band, and answers up to which row the decoder may go on: it stops there
  // (Decoded) without reading further. Whoever answers beyond the next band boundary must let the decoder
  // write the first row of the band below (see firstRow). At the bottom of the picture it reads the file to
  // its end. Any decoder warning fails the decode: a truncated or damaged file is refused rather than shown
  // with grey or smeared rows. `stop` is looked at between bands and while a progressive file's scans are
  // read. Call once.
  Outcome decode(uchar* rows, qsizetype bytesPerLine, const std::atomic<bool>& stop,
                 const std::function<int(int)>& rowsDone);

  struct Session;  // libjpeg's state, known only to the decoder's own file

 private:
  JpegDecoder(std::unique_ptr<Session> session, std::shared_ptr<const JpegFile> file);
  std::unique_ptr<Session> session_;
  std::shared_ptr<const JpegFile> file_;
  bool decodableToRgb_ = true;
  bool progressive_ = false;
  int frameTop_ = 0;  // the picture's row where this decoder's frame starts
};

}  // namespace velmaro::map_picture
