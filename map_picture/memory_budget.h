#pragma once

#include <QSize>

#include <cstdint>
#include <optional>

namespace velmaro::map_picture {

// The largest side the loader accepts, in pixels. Larger sides are refused before any pixel memory is taken:
// they are far beyond any scanned sheet and would push window and canvas sizes towards the toolkit's limits.
inline constexpr int kMaxPictureSide = 65000;

// Bytes of 32-bit pixels for a picture of `size` (width x height x 4); 0 for an empty or negative size.
std::int64_t PixelBytes(QSize size);
// Bytes of 24-bit pixels (width x height x 3), as the JPEG decoder writes them; 0 for an empty size.
std::int64_t RgbBytes(QSize size);

// Memory that a new allocation may take now, in bytes: 80 % of what the system reports as available
// (MemAvailable of /proc/meminfo, or free pages from sysconf where that file is missing), lowered to the room
// left under the process's cgroup limit when one is set. nullopt when no source answers.
std::optional<std::int64_t> AllocatableBytes();

// True when both sides of `size` lie in 1..kMaxPictureSide.
bool SidesInRange(QSize size);

// True when a picture of `size` has both sides in 1..kMaxPictureSide and `neededBytes` fits into
// `allocatableBytes`. Pure: the caller passes the budget, so it can be tested without touching the system.
bool FitsBudget(QSize size, std::int64_t neededBytes, std::int64_t allocatableBytes);

// FitsBudget against AllocatableBytes(); false when the available memory cannot be read.
bool FitsInMemory(QSize size, std::int64_t neededBytes);

}  // namespace velmaro::map_picture
