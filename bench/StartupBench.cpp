// Start-up to window shown, and memory once shown, for two programs under the same X server:
//   pwm20_startup_bench RUNS PROGRAM FLOOR
// "Shown" is the X server mapping the program's first window; memory is its resident set one
// second later. The runs alternate between the programs so that both see the same machine.
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

struct Sample
{
    double startupMs = 0;
    double residentMiB = 0;
};

double residentMiB(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtod(line.c_str() + 6, nullptr) / 1024.0;
    }
    return 0;
}

bool waitForMap(xcb_connection_t *connection, std::chrono::steady_clock::time_point deadline)
{
    pollfd watched{xcb_get_file_descriptor(connection), POLLIN, 0};
    while (std::chrono::steady_clock::now() < deadline) {
        while (xcb_generic_event_t *event = xcb_poll_for_event(connection)) {
            const bool mapped = (event->response_type & ~0x80) == XCB_MAP_NOTIFY;
            std::free(event);
            if (mapped)
                return true;
        }
        ::poll(&watched, 1, 10);
    }
    return false;
}

Sample measure(xcb_connection_t *connection, const char *program)
{
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::execl(program, program, static_cast<char *>(nullptr));
        std::_Exit(127);
    }
    Sample sample;
    if (waitForMap(connection, start + std::chrono::seconds(20))) {
        sample.startupMs =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        std::this_thread::sleep_for(std::chrono::seconds(1));
        sample.residentMiB = residentMiB(pid);
    }
    ::kill(pid, SIGTERM);
    ::waitpid(pid, nullptr, 0);
    return sample;
}

double median(std::vector<double> values)
{
    std::ranges::sort(values);
    return values[values.size() / 2];
}

void report(const char *what, const char *unit, const std::vector<double> &program,
            const std::vector<double> &floor)
{
    const auto [programLow, programHigh] = std::ranges::minmax(program);
    const auto [floorLow, floorHigh] = std::ranges::minmax(floor);
    std::printf("%-24s pwm20 median %7.1f %s (min %7.1f, max %7.1f)  floor median %7.1f %s "
                "(min %7.1f, max %7.1f)  ratio %.3f\n",
                what, median(program), unit, programLow, programHigh, median(floor), unit, floorLow,
                floorHigh, median(program) / median(floor));
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: pwm20_startup_bench RUNS PROGRAM FLOOR\n");
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "no X display\n");
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);

    // One run each first, unmeasured, so both find the shared libraries in the page cache.
    measure(connection, argv[2]);
    measure(connection, argv[3]);
    std::vector<double> programStartup, floorStartup, programMemory, floorMemory;
    for (int run = 0; run < runs; ++run) {
        const Sample program = measure(connection, argv[2]);
        const Sample floor = measure(connection, argv[3]);
        programStartup.push_back(program.startupMs);
        programMemory.push_back(program.residentMiB);
        floorStartup.push_back(floor.startupMs);
        floorMemory.push_back(floor.residentMiB);
    }
    report("start-up to window shown", "ms", programStartup, floorStartup);
    report("memory once shown (RSS)", "MiB", programMemory, floorMemory);
    xcb_disconnect(connection);
    return 0;
}
