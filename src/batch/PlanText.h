#pragma once

#include "BatchPlan.h"

#include <QString>

namespace pwm20 {

// A plan's moment of arrival as printed: milliseconds with three decimals.
QString planTime(std::int64_t arrivalNs);

// The plan as CSV: the header `time_ms,channel,value,line`, then a row a frame (line 0: a frame
// that comes from no line).
QString planCsv(const BatchPlan &plan);

// The plan as a table for people: time, channel number and name, value, batch line.
QString planTable(const BatchPlan &plan, const ChannelTable &table);

} // namespace pwm20
