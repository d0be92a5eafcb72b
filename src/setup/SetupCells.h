#pragma once

#include "SetupText.h"

#include <QString>

#include <array>
#include <optional>

namespace pwm20 {

// The setup as the channel setup dialog shows it: per channel the text of each cell, as typed,
// and the stop pose. An empty speed or acceleration cell is no limit, as a key left out is.
struct SetupCells
{
    enum Field { Name, Min, Max, Home, Speed, Accel, fieldCount };
    // Each field's key in a setup file.
    static constexpr std::array<const char *, fieldCount> keys{"name", "min",   "max",
                                                               "home", "speed", "accel"};
    using Row = std::array<QString, fieldCount>;

    std::array<Row, ChannelTable::channelCount> rows;
    ChannelTable::StopPose stopPose = ChannelTable::StopPose::None;

    static SetupCells of(const ChannelTable &table);
    // What a setup text that may have faults holds: the first value of each key, the defaults
    // for the rest.
    static SetupCells ofText(std::string_view text);

    bool operator==(const SetupCells &) const = default;
};

// A cell of the table: its channel, 1 to 20, and its field.
struct CellPlace
{
    int channel = 0;
    SetupCells::Field field = SetupCells::Name;
};

// The table the cells stand for, or the first fault with the channel and field it lies in.
struct CellReading
{
    ChannelTable table; // the defaults while there is a fault
    std::optional<SetupError> error;
    CellPlace place; // of the fault
};

// Reads the cells as a setup file with every key written (but for an empty name, speed or
// acceleration) would be read, so the dialog refuses exactly what a file would, in the same
// order: a cell that is not a number is a fault too.
// Limits and a home that do not fit each other are the fault of the one among them edited last.
CellReading readCells(const SetupCells &cells, CellPlace edited = {});

} // namespace pwm20
