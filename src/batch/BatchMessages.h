#pragma once

#include "BatchPlan.h"
#include "BatchScript.h"
#include "channels/ChannelTable.h"

#include <QString>

namespace pwm20 {

// What is wrong with a batch line, on its own, as the shell prints it
// after FILE:LINE.
QString batchProblemText(const BatchError &error, const ChannelTable &table);
// The window's message: the line number, the line, and what is wrong with it.
QString batchErrorMessage(const BatchError &error, const ChannelTable &table);

// A move that takes longer than written, as the shell prints it after FILE:LINE: its time, the
// time written, and the channel and limit that hold it back.
QString stretchedMoveText(const StretchedMove &move, const ChannelTable &table);
// The same for the window's message line, for every such move, with their line numbers.
QString stretchedMovesMessage(const std::vector<StretchedMove> &moves, const ChannelTable &table);

} // namespace pwm20
