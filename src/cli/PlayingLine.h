#pragma once

#include "batch/BatchPlayer.h"

#include <QString>

#include <optional>

namespace pwm20 {

// The line `pwm20 run` shows on a terminal while it plays: which line of the file, the pass of
// the loop it is in, and its text, cut to fewer columns than `width` (a wide character takes two)
// so that a carriage return can write over it and the terminal never wraps it.
QString playingLine(int line, const QString &text, std::optional<LoopPass> pass, int width);

} // namespace pwm20
