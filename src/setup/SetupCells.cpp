#include "SetupCells.h"

#include <utility>

namespace pwm20 {
namespace {

constexpr std::string_view sectionPrefix = "channel";

} // namespace

SetupCells SetupCells::of(const ChannelTable &table)
{
    SetupCells cells;
    for (int number = 1; number <= ChannelTable::channelCount; ++number) {
        const ChannelTable::Channel &channel = table.channel(number);
        const auto limit = [](int value) { return value ? QString::number(value) : QString(); };
        cells.rows[std::size_t(number - 1)] = {QString::fromStdString(channel.name),
                                               QString::number(channel.min),
                                               QString::number(channel.max),
                                               QString::number(channel.home),
                                               limit(channel.speed),
                                               limit(channel.accel)};
    }
    cells.stopPose = table.stopPose();
    return cells;
}

SetupCells SetupCells::ofText(std::string_view text)
{
    SetupCells cells = of({});
    std::array<std::array<bool, fieldCount>, ChannelTable::channelCount> seen{};
    bool stopPoseSeen = false;
    for (const SetupEntry &entry : setupEntries(text)) {
        for (int field = 0; entry.channel != 0 && field < fieldCount; ++field) {
            bool &first = seen[std::size_t(entry.channel - 1)][std::size_t(field)];
            if (entry.key == keys[std::size_t(field)] && !std::exchange(first, true))
                cells.rows[std::size_t(entry.channel - 1)][std::size_t(field)] =
                    QString::fromStdString(entry.value);
        }
        if (!entry.batch || entry.key != "on_stop" || std::exchange(stopPoseSeen, true))
            continue;
        using Pose = ChannelTable::StopPose;
        for (const Pose pose : {Pose::None, Pose::Home, Pose::Off})
            if (QString::fromStdString(entry.value)
                    .compare(QLatin1StringView(stopPoseName(pose)), Qt::CaseInsensitive) == 0)
                cells.stopPose = pose;
    }
    return cells;
}

CellReading readCells(const SetupCells &cells, CellPlace edited)
{
    std::string text;
    for (int number = 1; number <= ChannelTable::channelCount; ++number) {
        text.append("[").append(sectionPrefix).append(std::to_string(number)).append("]\n");
        for (int field = 0; field < SetupCells::fieldCount; ++field) {
            QString cell = cells.rows[std::size_t(number - 1)][std::size_t(field)];
            // A pasted line break must not start a line of its own; a blank is as wrong there.
            cell.replace(u'\n', u' ').replace(QChar(0), u' ');
            // No name is no name line, no speed or acceleration no limit: empty ones would be
            // refused.
            if ((field == SetupCells::Name || field >= SetupCells::Speed) &&
                cell.trimmed().isEmpty())
                continue;
            text.append(SetupCells::keys[std::size_t(field)])
                .append("=")
                .append(cell.toStdString())
                .append("\n");
        }
    }
    text.append("[batch]\non_stop=").append(stopPoseName(cells.stopPose)).append("\n");

    SetupReading reading = readSetup(text);
    CellReading result{reading.table, reading.error, {}};
    if (!result.error)
        return result;
    const std::string_view section = result.error->section;
    if (section.starts_with(sectionPrefix))
        result.place.channel = QString::fromUtf8(section.substr(sectionPrefix.size())).toInt();
    for (int field = 0; field < SetupCells::fieldCount; ++field)
        if (result.error->key == SetupCells::keys[std::size_t(field)])
            result.place.field = SetupCells::Field(field);
    using Problem = SetupError::Problem;
    const bool limits = result.error->problem == Problem::MinAboveMax ||
                        result.error->problem == Problem::HomeOutside;
    const SetupCells::Field lastInvolved =
        result.error->problem == Problem::MinAboveMax ? SetupCells::Max : SetupCells::Home;
    if (limits && edited.channel == result.place.channel && edited.field >= SetupCells::Min &&
        edited.field <= lastInvolved)
        result.place.field = edited.field;
    return result;
}

} // namespace pwm20
