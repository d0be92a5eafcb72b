#pragma once

#include "SetupText.h"

#include <QString>

#include <array>
#include <optional>

namespace pwm20 {

// The setup as the channel setup dialog shows it: per channel the text of each cell, as typed,
// and the stop pose.
struct SetupCells
{
    enum Field { Name, Min, Max, Home, fieldCount };
    // Each field's key in a setup file.
    static constexpr std::array<const char *, fieldCount> keys{"name", "min", "max", "home"};
    using Row = std::array<QString, fieldCount>;

    std::array<Row, ChannelTable::channelCount> rows;
    ChannelTable::StopPose stopPose = ChannelTable::StopPose::None;

    static SetupCells of(const ChannelTable &table);
};

// The table the cells stand for, or the first fault with the channel and field it lies in.
struct CellReading
{
    ChannelTable table; // the defaults while there is a fault
    std::optional<SetupError> error;
    int channel = 0;
    SetupCells::Field field = SetupCells::Name;
};

// Reads the cells as a setup file with every key written would be read, so the dialog refuses
// exactly what a file would, in the same order: a cell that is not a number is a fault too.
CellReading readCells(const SetupCells &cells);

} // namespace pwm20
