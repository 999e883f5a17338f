#pragma once

#include <QIcon>

namespace velmaro::ui {

// The window's 32 x 32 icon: a map sheet with a red point on it, drawn rather than shipped.
QIcon WindowIcon();

}  // namespace velmaro::ui
