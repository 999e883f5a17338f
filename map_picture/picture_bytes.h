#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace velmaro::map_picture {

// The bytes of a picture file, read with one pass into one buffer. The compressed file is small beside its
// pixels, and a private copy cannot change under the decoder the way a mapped file can when another program
// rewrites it (a shrinking mapped file ends in SIGBUS).
//
// nullopt when `path` does not name a regular file (missing, a folder, a device or pipe), when the file is
// empty, when it cannot be opened or read, or when the read would not fit into memory.
std::optional<QByteArray> ReadPictureBytes(const QString& path);

}  // namespace velmaro::map_picture
