#pragma once

#include <QString>

namespace velmaro::bench {

class GoalSummary;

// Opening a map of about `megapixels` million pixels: every load case, each `repeat` times in a fresh child
// process of `program` (this benchmark), printed as one table of medians beside libjpeg-turbo's own decode.
// The opening, preview and peak-memory goals go to `summary`. False when the map could not be made or a case
// failed.
bool BenchLoading(const QString& program, int megapixels, int repeat, GoalSummary& summary);

}  // namespace velmaro::bench
