#include "SetupText.h"

#include <QList>
#include <QString>
#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <charconv>
#include <set>

namespace pwm20 {
namespace {

using Problem = SetupError::Problem;

// The batch language's own words: a channel of that name could not be told from them.
constexpr std::array<std::string_view, 11> batchWords{
    "s", "e", "off", "centre", "center", "wait", "repeat", "end", "move", "in", "smooth"};

std::string_view trim(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string lower(std::string_view text)
{
    std::string result(text);
    std::ranges::transform(result, result.begin(),
                           [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
    return result;
}

// The channel a section such as "channel5" stands for, or 0.
int sectionChannel(std::string_view section)
{
    constexpr std::string_view prefix = "channel";
    if (lower(section.substr(0, prefix.size())) != prefix)
        return 0;
    const std::string_view digits = section.substr(prefix.size());
    int number = 0;
    const auto [end, failure] = std::from_chars(digits.begin(), digits.end(), number);
    if (failure != std::errc() || end != digits.end() || digits.starts_with('0') ||
        !ChannelTable::isChannel(number))
        return 0;
    return number;
}

std::optional<int> plainNumber(std::string_view text)
{
    if (text.empty() || text.size() > 9 ||
        !std::ranges::all_of(text, [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    int number = 0;
    std::from_chars(text.begin(), text.end(), number);
    return number;
}

std::optional<Problem> nameProblem(std::string_view name)
{
    // A letter typed with a combining mark is one letter, as its composed form is.
    const QString text = QString::fromUtf8(name.data(), qsizetype(name.size()))
                             .normalized(QString::NormalizationForm_C);
    const QList<uint> characters = text.toUcs4();
    if (characters.isEmpty())
        return Problem::BadName;
    if (std::size_t(characters.size()) > longestChannelName)
        return Problem::NameTooLong;
    const auto fits = [](uint c) {
        return c == '_' || (c >= '0' && c <= '9') || QChar::isLetter(c);
    };
    if (!std::ranges::all_of(characters, fits) || (characters[0] >= '0' && characters[0] <= '9'))
        return Problem::BadName;
    if (std::ranges::any_of(batchWords,
                            [&](std::string_view word) { return sameName(name, word); }))
        return Problem::ReservedName;
    return std::nullopt;
}

// A line of INI text: blank or a comment, a section's name, a key and its value, or neither.
struct IniLine
{
    enum Kind { Blank, Section, Entry, Bad } kind = Blank;
    std::string_view name; // the section's, without its brackets, or the key
    std::string_view value;
};

IniLine splitLine(std::string_view text)
{
    text = trim(text);
    if (text.empty() || text.starts_with(';') || text.starts_with('#'))
        return {};
    if (text.starts_with('['))
        return text.ends_with(']')
                   ? IniLine{IniLine::Section, trim(text.substr(1, text.size() - 2)), {}}
                   : IniLine{IniLine::Bad, {}, text};
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos)
        return {IniLine::Bad, {}, text};
    return {IniLine::Entry, trim(text.substr(0, equals)), trim(text.substr(equals + 1))};
}

// Calls `read` with each line's number and text, after a byte-order mark, until it returns false.
template <typename Read> void forEachLine(std::string_view text, Read read)
{
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    int line = 0;
    while (!text.empty()) {
        const std::size_t newline = text.find('\n');
        if (!read(++line, text.substr(0, newline)))
            return;
        text = newline == std::string_view::npos ? std::string_view() : text.substr(newline + 1);
    }
}

bool isUtf8(std::string_view text)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    [[maybe_unused]] const QString decoded = decoder.decode(QByteArrayView(text));
    return !decoder.hasError() && text.find('\0') == std::string_view::npos;
}

class SetupReader
{
public:
    std::optional<SetupError> readLine(int line, std::string_view text);
    std::optional<SetupError> finish();
    const ChannelTable &table() const { return m_table; }

private:
    SetupError fail(Problem problem, std::string_view key = {}, std::string_view value = {}) const
    {
        return {m_line, m_section, std::string(key), problem, std::string(value)};
    }
    std::optional<SetupError> setChannelKey(std::string_view key, std::string_view value);
    std::optional<SetupError> checkChannel() const;

    ChannelTable m_table;
    int m_line = 0;
    std::string m_section;
    int m_channel = 0;
    int m_sectionLine = 0;
    std::set<std::string> m_sections;
    std::set<std::string> m_keys; // of the section being read
};

std::optional<SetupError> SetupReader::readLine(int line, std::string_view text)
{
    m_line = line;
    const IniLine split = splitLine(text);
    if (split.kind == IniLine::Blank)
        return std::nullopt;
    if (split.kind == IniLine::Bad)
        return fail(Problem::NotIni, {}, split.value);
    if (split.kind == IniLine::Section) {
        if (const auto error = checkChannel())
            return error;
        m_section = std::string(split.name);
        m_channel = sectionChannel(m_section);
        m_sectionLine = line;
        m_keys.clear();
        if (m_channel == 0 && lower(m_section) != "batch")
            return fail(Problem::UnknownSection);
        if (!m_sections.insert(m_channel ? "channel" + std::to_string(m_channel) : "batch").second)
            return fail(Problem::DuplicateSection);
        return std::nullopt;
    }
    const std::string_view key = split.name;
    const std::string_view value = split.value;
    if (m_section.empty())
        return fail(Problem::UnknownKey, key, value);
    if (!m_keys.insert(lower(key)).second)
        return fail(Problem::DuplicateKey, key, value);
    if (m_channel != 0)
        return setChannelKey(key, value);
    if (lower(key) != "on_stop")
        return fail(Problem::UnknownKey, key, value);
    using Pose = ChannelTable::StopPose;
    for (const Pose pose : {Pose::None, Pose::Home, Pose::Off}) {
        if (lower(value) == stopPoseName(pose)) {
            m_table.setStopPose(pose);
            return std::nullopt;
        }
    }
    return fail(Problem::BadStopPose, key, value);
}

std::optional<SetupError> SetupReader::setChannelKey(std::string_view key, std::string_view value)
{
    ChannelTable::Channel channel = m_table.channel(m_channel);
    const std::string name = lower(key);
    if (name == "name") {
        if (const auto problem = nameProblem(value))
            return fail(*problem, key, value);
        if (const auto other = m_table.channelNamed(value); other && *other != m_channel)
            return fail(Problem::DuplicateName, key, value);
        channel.name = std::string(value);
    } else if (name == "min" || name == "max" || name == "home") {
        const std::optional<int> number = plainNumber(value);
        if (!number)
            return fail(Problem::NotANumber, key, value);
        if (name != "home" && (*number < 1 || *number > ChannelTable::highestValue))
            return fail(Problem::LimitRange, key, value);
        (name == "min" ? channel.min : name == "max" ? channel.max : channel.home) = *number;
    } else if (name == "speed" || name == "accel") {
        const bool speed = name == "speed";
        const std::optional<int> number = plainNumber(value);
        if (!number)
            return fail(Problem::NotANumber, key, value);
        // 0 means no limit inside the table, but a file says so by leaving the key out.
        if (*number < 1 ||
            *number > (speed ? ChannelTable::fastestSpeed : ChannelTable::largestAccel))
            return fail(speed ? Problem::SpeedRange : Problem::AccelRange, key, value);
        (speed ? channel.speed : channel.accel) = *number;
    } else {
        return fail(Problem::UnknownKey, key, value);
    }
    m_table.setChannel(m_channel, std::move(channel));
    return std::nullopt;
}

// A channel's limits and home are checked together once its section is read.
std::optional<SetupError> SetupReader::checkChannel() const
{
    if (m_channel == 0)
        return std::nullopt;
    const ChannelTable::Channel &channel = m_table.channel(m_channel);
    SetupError error{m_sectionLine, m_section, {}, Problem::MinAboveMax, {}};
    if (channel.min > channel.max) {
        error.key = "max";
        error.value = std::to_string(channel.max);
        return error;
    }
    if (channel.home < channel.min || channel.home > channel.max) {
        error.key = "home";
        error.problem = Problem::HomeOutside;
        error.value = std::to_string(channel.home);
        return error;
    }
    return std::nullopt;
}

std::optional<SetupError> SetupReader::finish()
{
    return checkChannel();
}

} // namespace

SetupReading readSetup(std::string_view text)
{
    SetupReading reading;
    if (!isUtf8(text)) {
        reading.error = SetupError{0, {}, {}, Problem::NotUtf8, {}};
        return reading;
    }
    SetupReader reader;
    forEachLine(text, [&](int line, std::string_view lineText) {
        reading.error = reader.readLine(line, lineText);
        return !reading.error;
    });
    if (!reading.error)
        reading.error = reader.finish();
    if (!reading.error)
        reading.table = reader.table();
    return reading;
}

std::vector<SetupEntry> setupEntries(std::string_view text)
{
    std::vector<SetupEntry> entries;
    if (!isUtf8(text))
        return entries;
    std::string_view section;
    forEachLine(text, [&](int, std::string_view lineText) {
        const IniLine split = splitLine(lineText);
        if (split.kind == IniLine::Section)
            section = split.name;
        else if (split.kind == IniLine::Entry)
            entries.push_back({sectionChannel(section), lower(section) == "batch",
                               lower(split.name), std::string(split.value)});
        return true;
    });
    return entries;
}

std::string_view stopPoseName(ChannelTable::StopPose pose)
{
    constexpr std::array<std::string_view, 3> names{"none", "home", "off"};
    return names[static_cast<std::size_t>(pose)];
}

std::string writeSetup(const ChannelTable &table)
{
    std::string text;
    const ChannelTable::Channel plain;
    for (int number = 1; number <= ChannelTable::channelCount; ++number) {
        const ChannelTable::Channel &channel = table.channel(number);
        if (channel == plain)
            continue;
        text += "[channel" + std::to_string(number) + "]\n";
        if (!channel.name.empty())
            text += "name=" + channel.name + "\n";
        text += "min=" + std::to_string(channel.min) + "\nmax=" + std::to_string(channel.max) +
                "\nhome=" + std::to_string(channel.home) + "\n";
        if (channel.speed != 0)
            text += "speed=" + std::to_string(channel.speed) + "\n";
        if (channel.accel != 0)
            text += "accel=" + std::to_string(channel.accel) + "\n";
        text += "\n";
    }
    if (table.stopPose() != ChannelTable::StopPose::None)
        text += "[batch]\non_stop=" + std::string(stopPoseName(table.stopPose())) + "\n";
    return text;
}

} // namespace pwm20
