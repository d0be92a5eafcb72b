#pragma once

#include <QString>
#include <QStringList>

namespace pwm20 {

// `pwm20 plan`: prints every frame `pwm20 run` would send for a batch on a free line, in order,
// with when it reaches the board, without opening a port; `setupFile` is --setup given before
// `plan`. The exit status: 0, 1 when standard output cannot be written, 2 for a mistake.
int planBatchCommand(const QStringList &arguments, const QString &setupFile);

} // namespace pwm20
