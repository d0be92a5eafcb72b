#include "BatchScript.h"

#include "BatchLines.h"

#include <algorithm>
#include <array>
#include <span>
#include <utility>

namespace pwm20 {
namespace {

using Problem = BatchError::Problem;

// The text from its first word to the end of its last.
std::string_view spanOf(const std::vector<std::string_view> &words)
{
    if (words.empty())
        return {};
    return {words.front().data(), words.back().data() + words.back().size()};
}

// A plain decimal integer: digits, a minus sign before them at most (so that a negative number
// is told its range, not that it is no number). Past ten digits is out of every range anyway.
std::optional<std::int64_t> plainNumber(std::string_view word)
{
    const bool negative = word.starts_with('-');
    const std::string_view digits = word.substr(negative ? 1 : 0);
    if (digits.empty() || !std::ranges::all_of(digits, [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    std::int64_t value = 0;
    for (char digit : digits)
        value = std::min<std::int64_t>(value * 10 + (digit - '0'), 99'999'999'999);
    return negative ? -value : value;
}

class LineReader
{
public:
    LineReader(int line, std::string_view lineText, const ChannelTable &table)
        : m_line(line), m_lineText(lineText), m_table(table)
    {}

    const ChannelTable &table() const { return m_table; }

    BatchError fail(Problem problem, std::string_view word = {}, int channel = 0) const
    {
        return {m_line, std::string(m_lineText), problem, std::string(word), channel};
    }

    // A frame that the channel's limits allow, or the error.
    std::optional<BatchError> add(BatchStep &step, std::int64_t channel, std::int64_t value,
                                  std::string_view word)
    {
        if (!m_table.accepts(int(channel), int(value)))
            return fail(Problem::OutsideLimits, word, int(channel));
        step.frames.push_back({int(channel), int(value)});
        return std::nullopt;
    }

private:
    int m_line;
    std::string_view m_lineText;
    const ChannelTable &m_table;
};

struct Range
{
    std::int64_t low;
    std::int64_t high;
    Problem outside;
};

constexpr Range channelRange{1, ChannelTable::channelCount, Problem::ChannelRange};
constexpr Range valueRange{ChannelTable::lowestValue, ChannelTable::highestValue,
                           Problem::ValueRange};

// The number in `word`, within `range`; otherwise the problem to report.
std::optional<Problem> readNumber(std::string_view word, Range range, std::int64_t &number)
{
    const std::optional<std::int64_t> parsed = plainNumber(word);
    if (!parsed)
        return Problem::NotANumber;
    if (*parsed < range.low || *parsed > range.high)
        return range.outside;
    number = *parsed;
    return std::nullopt;
}

std::optional<BatchError> readFrame(const std::vector<std::string_view> &words, LineReader &reader,
                                    BatchStep &step)
{
    if (words.size() != 4 || !sameWord(words[3], "e"))
        return reader.fail(Problem::BadFrame);
    std::int64_t channel = 0;
    std::int64_t value = 0;
    // A number out of range needs no naming: the line holds one frame.
    if (const auto problem = readNumber(words[1], channelRange, channel))
        return reader.fail(*problem, *problem == Problem::NotANumber ? words[1] : "");
    if (const auto problem = readNumber(words[2], valueRange, value))
        return reader.fail(*problem, *problem == Problem::NotANumber ? words[2] : "");
    return reader.add(step, channel, value, "");
}

std::optional<BatchError> readPose(const std::vector<std::string_view> &words, LineReader &reader,
                                   BatchStep &step)
{
    for (std::string_view word : words) {
        const std::size_t equals = word.find('=');
        if (equals == std::string_view::npos || equals == 0 ||
            !plainNumber(word.substr(equals + 1)))
            return reader.fail(Problem::BadPair, word);
        const std::string_view channelWord = word.substr(0, equals);
        std::int64_t channel = 0;
        std::int64_t value = 0;
        if (!plainNumber(channelWord)) {
            const std::optional<int> named = reader.table().channelNamed(channelWord);
            if (!named)
                return reader.fail(Problem::UnknownChannel, channelWord);
            channel = *named;
        } else if (const auto problem = readNumber(channelWord, channelRange, channel)) {
            return reader.fail(*problem, word);
        }
        if (const auto problem = readNumber(word.substr(equals + 1), valueRange, value))
            return reader.fail(*problem, word);
        if (auto error = reader.add(step, channel, value, word))
            return error;
    }
    return std::nullopt;
}

// `move n=v ... in t [smooth]`: targets as in a pose, then the time and the curve.
std::optional<BatchError> readMove(const std::vector<std::string_view> &words, LineReader &reader,
                                   BatchStep &step)
{
    const auto in =
        std::ranges::find_if(words, [](std::string_view word) { return sameWord(word, "in"); });
    if (in == words.begin() + 1)
        return reader.fail(Problem::MoveWithoutTargets);
    if (in == words.end() || in + 1 == words.end())
        return reader.fail(Problem::MoveWithoutTime);
    if (auto error = readPose({words.begin() + 1, in}, reader, step))
        return error;
    // Each channel glides to one target: a second one is most likely a typo for another joint.
    std::array<bool, ChannelTable::channelCount + 1> named{};
    for (const ChannelValue &target : step.frames) {
        if (std::exchange(named[std::size_t(target.channel)], true))
            return reader.fail(Problem::ChannelTwice, {}, target.channel);
    }
    if (const auto problem =
            readNumber(in[1], {0, longestWaitMs, Problem::MoveTimeRange}, step.amount))
        return reader.fail(*problem, in[1]);
    auto rest = in + 2;
    step.smooth = rest != words.end() && sameWord(*rest, "smooth");
    if (step.smooth)
        ++rest;
    if (rest != words.end())
        return reader.fail(Problem::ExtraWords, *rest);
    return std::nullopt;
}

// `wait t` and `repeat [k]`: the keyword, then at most one number.
std::optional<BatchError> readAmount(const std::vector<std::string_view> &words, LineReader &reader,
                                     Range range, bool optional, BatchStep &step)
{
    if (words.size() > 2)
        return reader.fail(Problem::ExtraWords, words[2]);
    if (words.size() == 1)
        return optional ? std::nullopt : std::optional(reader.fail(Problem::MissingTime));
    if (const auto problem = readNumber(words[1], range, step.amount))
        return reader.fail(*problem, words[1]);
    return std::nullopt;
}

std::optional<BatchError> readStep(const std::vector<std::string_view> &words, LineReader &reader,
                                   BatchStep &step)
{
    const std::string_view first = words.front();
    using Kind = BatchStep::Kind;
    if (sameWord(first, "s"))
        return readFrame(words, reader, step);
    if (first.find('=') != std::string_view::npos || plainNumber(first.substr(0, 1)))
        return readPose(words, reader, step);
    if (sameWord(first, "move")) {
        step.kind = Kind::Move;
        return readMove(words, reader, step);
    }
    if (sameWord(first, "wait")) {
        step.kind = Kind::Wait;
        return readAmount(words, reader, {0, longestWaitMs, Problem::WaitRange}, false, step);
    }
    if (sameWord(first, "repeat")) {
        step.kind = Kind::Repeat;
        return readAmount(words, reader, {1, mostRepeats, Problem::RepeatRange}, true, step);
    }
    if (sameWord(first, "off"))
        step.kind = Kind::Off;
    else if (sameWord(first, "centre") || sameWord(first, "center"))
        step.kind = Kind::Centre;
    else if (sameWord(first, "end"))
        step.kind = Kind::End;
    else
        return reader.fail(Problem::UnknownWord, first);
    if (words.size() > 1)
        return reader.fail(Problem::ExtraWords, words[1]);
    return std::nullopt;
}

// Whether a step sends a frame or holds a wait: a loop of nothing else would only spin.
bool sendsOrWaits(const BatchStep &step)
{
    using Kind = BatchStep::Kind;
    return step.kind == Kind::Frames || step.kind == Kind::Off || step.kind == Kind::Centre ||
           step.kind == Kind::Move || (step.kind == Kind::Wait && step.amount > 0);
}

} // namespace

BatchScript parseBatch(std::string_view text, const ChannelTable &table)
{
    BatchScript script;
    std::vector<std::size_t> openRepeats;
    std::vector<std::string_view> repeatLines;
    // The last step that sends or waits: a loop is empty unless it comes after the loop's repeat.
    std::optional<std::size_t> lastActive;
    int line = 0;
    for (const TextLine &textLine : splitLines(text)) {
        ++line;
        const std::vector<std::string_view> words =
            splitWords(textLine.text.substr(0, textLine.text.find('#')));
        if (words.empty())
            continue;
        const std::string_view content = spanOf(words);

        LineReader reader(line, content, table);
        BatchStep step;
        step.line = line;
        if (auto error = readStep(words, reader, step)) {
            script.error = std::move(error);
            break;
        }
        const std::size_t index = script.steps.size();
        if (step.kind == BatchStep::Kind::Repeat) {
            openRepeats.push_back(index);
            repeatLines.push_back(content);
        } else if (step.kind == BatchStep::Kind::End) {
            if (openRepeats.empty()) {
                script.error = reader.fail(Problem::EndWithoutRepeat);
                break;
            }
            const std::size_t repeat = openRepeats.back();
            step.partner = repeat;
            script.steps[repeat].partner = index;
            if (!lastActive || *lastActive < repeat) {
                script.error = LineReader(script.steps[repeat].line, repeatLines.back(), table)
                                   .fail(Problem::EmptyLoop);
                break;
            }
            openRepeats.pop_back();
            repeatLines.pop_back();
        }
        if (sendsOrWaits(step))
            lastActive = index;
        script.steps.push_back(std::move(step));
    }
    if (!script.error && !openRepeats.empty()) {
        const BatchStep &repeat = script.steps[openRepeats.front()];
        script.error =
            LineReader(repeat.line, repeatLines.front(), table).fail(Problem::RepeatWithoutEnd);
    }
    if (script.error)
        script.steps.clear();
    return script;
}

} // namespace pwm20
