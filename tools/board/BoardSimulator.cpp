// pwm20-board: stands in for the servo controller board on a pseudo-terminal, so pwm20 can be
// tried without hardware. It shows every frame the program sends and can answer each one.
#include "FrameReader.h"

#include <array>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <span>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void requestStop(int)
{
    stopRequested = 1;
}

struct Options
{
    std::string link;
    std::string reply;
    bool table = false;
    bool stay = false;
};

// A pseudo-terminal has no baud rate: bytes pass as soon as pwm20 writes them, and a read says
// nothing of when each of its bytes came. So the times shown are those of the reads, taken as
// each read returns, and frames that came in one read are shown as such rather than given
// made-up gaps.
const char *const timesNote =
    "Times are between the reads that brought the frames, as they arrive here: a pseudo-terminal\n"
    "has no baud rate, so they are not the line's time at 9600 baud. Frames that came in one read\n"
    "(pwm20 wrote them at once, or this machine was too busy to read between) show \"same read\".";

void printUsage(std::FILE *to)
{
    std::fprintf(to,
                 "usage: pwm20-board [--link PATH] [--table] [--reply TEXT] [--stay]\n"
                 "  --link PATH   make PATH a symlink to the board's pseudo-terminal\n"
                 "  --table       show all twenty channels as a table instead of one line a frame\n"
                 "  --reply TEXT  send TEXT back after every frame\n"
                 "  --stay        wait for pwm20 to open the port again instead of ending\n"
                 "Point pwm20 at it with PWM20_COM1=PATH (or the printed device).\n"
                 "%s\n",
                 timesNote);
}

bool parseOptions(int argc, char *argv[], Options &options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        const bool hasValue = i + 1 < argc;
        if (argument == "--link" && hasValue)
            options.link = argv[++i];
        else if (argument == "--reply" && hasValue)
            options.reply = argv[++i];
        else if (argument == "--table")
            options.table = true;
        else if (argument == "--stay")
            options.stay = true;
        else
            return false;
    }
    return true;
}

void showTable(const std::array<int, 20> &values, const std::string &status)
{
    std::string screen = "\x1b[H\x1b[2J";
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 5; ++column) {
            const int channel = row * 5 + column + 1;
            char cell[24];
            const int value = values[static_cast<std::size_t>(channel - 1)];
            if (value < 0)
                std::snprintf(cell, sizeof cell, "ch%-2d    -   ", channel);
            else
                std::snprintf(cell, sizeof cell, "ch%-2d  %3d   ", channel, value);
            screen += cell;
        }
        screen += '\n';
    }
    screen += status + '\n';
    std::fputs(screen.c_str(), stdout);
}

void showGarbage(const pwm20board::LineEvent &run, std::string &status, std::string &lines)
{
    status = pwm20board::describe(run);
    lines += status + '\n';
}

} // namespace

int main(int argc, char *argv[])
{
    Options options;
    if (!parseOptions(argc, argv, options)) {
        printUsage(stderr);
        return 2;
    }
    std::setvbuf(stdout, nullptr, _IOLBF, 0);

    int master = -1;
    int slave = -1;
    std::array<char, 256> device{};
    if (::openpty(&master, &slave, device.data(), nullptr, nullptr) != 0) {
        std::fprintf(stderr, "pwm20-board: no pseudo-terminal: %s\n", std::strerror(errno));
        return 1;
    }
    // Raw, so the bytes pass unchanged before pwm20 opens its side.
    termios raw{};
    ::tcgetattr(slave, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(slave, TCSANOW, &raw);
    ::close(slave);

    if (!options.link.empty()) {
        struct stat existing
        {
        };
        if (::lstat(options.link.c_str(), &existing) == 0 && S_ISLNK(existing.st_mode))
            ::unlink(options.link.c_str());
        if (::symlink(device.data(), options.link.c_str()) != 0) {
            std::fprintf(stderr, "pwm20-board: cannot link %s: %s\n", options.link.c_str(),
                         std::strerror(errno));
            return 1;
        }
    }
    std::printf("pwm20-board: board on %s%s%s\n%s\n", device.data(),
                options.link.empty() ? "" : ", linked as ", options.link.c_str(), timesNote);

    struct sigaction onStop
    {
    };
    onStop.sa_handler = requestStop;
    ::sigaction(SIGINT, &onStop, nullptr);
    ::sigaction(SIGTERM, &onStop, nullptr);

    pwm20board::FrameReader reader;
    std::array<int, 20> values;
    values.fill(-1);
    std::string status = "waiting for pwm20 to open the port";
    if (options.table)
        showTable(values, status);
    bool programConnected = false;
    const char *why = "stopped";

    // Shows what a read brought once the board has answered all of it, so that printing never
    // delays a reply or the next read.
    const auto show = [&](const std::string &lines) {
        if (options.table)
            showTable(values, status);
        else
            std::fputs(lines.c_str(), stdout);
    };
    const auto handleBytes = [&](std::span<const std::uint8_t> bytes,
                                 pwm20board::FrameReader::Clock::time_point readAt) {
        std::string lines;
        for (const auto &event : reader.feed(bytes, readAt)) {
            if (event.kind == pwm20board::LineEvent::Kind::Garbage) {
                showGarbage(event, status, lines);
                continue;
            }
            if (!options.reply.empty() &&
                ::write(master, options.reply.data(), options.reply.size()) < 0)
                std::fprintf(stderr, "pwm20-board: reply lost: %s\n", std::strerror(errno));
            values[static_cast<std::size_t>(event.channel - 1)] = event.value;
            const std::string frame = pwm20board::describe(event);
            status = "last: " + frame;
            lines += frame + '\n';
        }
        show(lines);
    };

    while (!stopRequested) {
        pollfd watched{master, POLLIN, 0};
        const int ready = ::poll(&watched, 1, 200);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            why = "the line failed";
            break;
        }
        const bool hungUp = ready > 0 && (watched.revents & POLLHUP);
        if (!hungUp)
            programConnected = true;
        if (ready > 0 && (watched.revents & POLLIN)) {
            std::array<std::uint8_t, 4096> chunk{};
            const ssize_t count = ::read(master, chunk.data(), chunk.size());
            const auto readAt = pwm20board::FrameReader::Clock::now();
            if (count > 0) {
                handleBytes({chunk.data(), static_cast<std::size_t>(count)}, readAt);
                continue;
            }
        }
        if (hungUp) {
            // Until the program opens its side the line reads as hung up: wait without spinning.
            if (programConnected && !options.stay) {
                why = "pwm20 closed the port";
                break;
            }
            if (programConnected)
                std::printf("pwm20-board: pwm20 closed the port; waiting for it to open again\n");
            programConnected = false;
            ::usleep(5'000); // short, so the first frame's time is near enough
            continue;
        }
        if (ready == 0) {
            if (const auto run = reader.endGarbageRun()) {
                std::string lines;
                showGarbage(*run, status, lines);
                show(lines);
            }
        }
    }

    if (const auto run = reader.endGarbageRun()) {
        std::string lines;
        showGarbage(*run, status, lines);
        std::fputs(lines.c_str(), stdout);
    }
    if (!options.link.empty())
        ::unlink(options.link.c_str());
    ::close(master);
    std::printf("pwm20-board: %s\n", why);
    return 0;
}
