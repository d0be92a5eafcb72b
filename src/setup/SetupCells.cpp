#include "SetupCells.h"

namespace pwm20 {
namespace {

constexpr std::string_view sectionPrefix = "channel";

} // namespace

SetupCells SetupCells::of(const ChannelTable &table)
{
    SetupCells cells;
    for (int number = 1; number <= ChannelTable::channelCount; ++number) {
        const ChannelTable::Channel &channel = table.channel(number);
        cells.rows[std::size_t(number - 1)] = {
            QString::fromStdString(channel.name), QString::number(channel.min),
            QString::number(channel.max), QString::number(channel.home)};
    }
    cells.stopPose = table.stopPose();
    return cells;
}

CellReading readCells(const SetupCells &cells)
{
    std::string text;
    for (int number = 1; number <= ChannelTable::channelCount; ++number) {
        text.append("[").append(sectionPrefix).append(std::to_string(number)).append("]\n");
        for (int field = 0; field < SetupCells::fieldCount; ++field) {
            QString cell = cells.rows[std::size_t(number - 1)][std::size_t(field)];
            // A pasted line break must not start a line of its own; a blank is as wrong there.
            cell.replace(u'\n', u' ').replace(QChar(0), u' ');
            // No name is no name line: an empty one would be refused.
            if (field == SetupCells::Name && cell.trimmed().isEmpty())
                continue;
            text.append(SetupCells::keys[std::size_t(field)])
                .append("=")
                .append(cell.toStdString())
                .append("\n");
        }
    }
    text.append("[batch]\non_stop=").append(stopPoseName(cells.stopPose)).append("\n");

    SetupReading reading = readSetup(text);
    CellReading result{reading.table, reading.error};
    if (result.error) {
        const std::string_view section = result.error->section;
        if (section.starts_with(sectionPrefix))
            result.channel = QString::fromUtf8(section.substr(sectionPrefix.size())).toInt();
        for (int field = 0; field < SetupCells::fieldCount; ++field)
            if (result.error->key == SetupCells::keys[std::size_t(field)])
                result.field = SetupCells::Field(field);
    }
    return result;
}

} // namespace pwm20
