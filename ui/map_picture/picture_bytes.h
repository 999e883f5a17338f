#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <limits>
#include <optional>

namespace velmaro::map_picture {

// The bytes of a picture file, read with one pass into one buffer. The compressed file is small beside its
// pixels, and a private copy cannot change under the decoder the way a mapped file can when another program
// rewrites it (a shrinking mapped file ends in SIGBUS).
//
// `maxBytes` caps how much is read: a longer file gives only its first `maxBytes` bytes (used to read a
// header). nullopt when `path` does not name a regular file (missing, a folder, a device or pipe), when the
// file is empty, when it cannot be opened or read, or when a whole read would not fit into memory.
std::optional<QByteArray> ReadPictureBytes(const QString& path,
                                           std::int64_t maxBytes = std::numeric_limits<std::int64_t>::max());

}  // namespace velmaro::map_picture
