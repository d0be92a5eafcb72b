#pragma once

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

// A frame as the board read it: when its first byte arrived, its channel and value.
struct Arrival
{
    std::chrono::steady_clock::time_point at;
    int channel = 0;
    int value = 0;
};

// The board: a thread that notes when each frame's first byte arrives on the pseudo-terminal's
// board end.
class FrameClock
{
public:
    explicit FrameClock(int fd);
    ~FrameClock();
    FrameClock(const FrameClock &) = delete;
    FrameClock &operator=(const FrameClock &) = delete;

    // The frames' first bytes since the last take, oldest first.
    std::vector<std::chrono::steady_clock::time_point> take();
    std::vector<Arrival> takeFrames();

private:
    void listen();

    int m_fd;
    std::atomic<bool> m_stop = false;
    std::mutex m_mutex;
    std::vector<Arrival> m_frames;
    std::thread m_thread;
};
