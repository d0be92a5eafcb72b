#pragma once

#include "batch/BatchPlan.h"

#include <QString>

#include <cstdint>

class QWidget;

namespace pwm20 {

class MessagePresenter;

inline constexpr std::int64_t secondNs = 1'000'000'000;
// A batch that never ends by itself is shown for this long.
inline constexpr std::int64_t endlessPlanNs = 60 * secondNs;
// Any other is shown to its end, up to this: a few loops nested deep can run for years, and
// ten minutes at the line's pace are some 144,000 frames, planned in a blink.
inline constexpr std::int64_t longestPlanNs = 600 * secondNs;

// How long a plan of these steps is made for, when the window shows one.
std::int64_t shownPlanNs(const std::vector<BatchStep> &steps);

// Asks for a file, starting at `folder` (or a file name in it), and writes the plan to it as
// `pwm20 plan --csv` prints it: true once written; a file that cannot be written is told.
bool exportPlanCsv(QWidget *parent, const BatchPlan &plan, const QString &folder,
                   MessagePresenter &messages);

} // namespace pwm20
