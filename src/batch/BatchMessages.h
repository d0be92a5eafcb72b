#pragma once

#include "BatchScript.h"
#include "channels/ChannelTable.h"

#include <QString>

namespace pwm20 {

// What is wrong with a batch line, on its own, as the shell prints it
// after FILE:LINE.
QString batchProblemText(const BatchError &error, const ChannelTable &table);
// The window's message: the line number, the line, and what is wrong with it.
QString batchErrorMessage(const BatchError &error, const ChannelTable &table);

} // namespace pwm20
