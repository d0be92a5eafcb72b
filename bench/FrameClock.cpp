#include "FrameClock.h"

#include <poll.h>
#include <pthread.h>
#include <sched.h>
#include <unistd.h>
#include <utility>

FrameClock::FrameClock(int fd) : m_fd(fd), m_thread([this] { listen(); }) {}

FrameClock::~FrameClock()
{
    m_stop = true;
    m_thread.join();
}

std::vector<std::chrono::steady_clock::time_point> FrameClock::take()
{
    std::vector<std::chrono::steady_clock::time_point> starts;
    for (const Arrival &arrival : takeFrames())
        starts.push_back(arrival.at);
    return starts;
}

std::vector<Arrival> FrameClock::takeFrames()
{
    const std::lock_guard lock(m_mutex);
    return std::exchange(m_frames, {});
}

void FrameClock::listen()
{
    // The board answers at once: ahead of everything else on the machine, where that is allowed.
    sched_param realtime{};
    realtime.sched_priority = 1;
    pthread_setschedparam(pthread_self(), SCHED_FIFO, &realtime);
    std::size_t bytes = 0;
    while (!m_stop) {
        pollfd watched{m_fd, POLLIN, 0};
        if (::poll(&watched, 1, 20) <= 0)
            continue;
        const auto now = std::chrono::steady_clock::now();
        char chunk[4096];
        const ssize_t got = ::read(m_fd, chunk, sizeof chunk);
        const std::lock_guard lock(m_mutex);
        for (ssize_t i = 0; i < got; ++i) {
            const auto byte = static_cast<unsigned char>(chunk[i]);
            if (bytes % 4 == 0)
                m_frames.push_back({now});
            else if (bytes % 4 == 1)
                m_frames.back().channel = byte;
            else if (bytes % 4 == 2)
                m_frames.back().value = byte;
            ++bytes;
        }
    }
}
