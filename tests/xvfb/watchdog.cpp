#include "watchdog.h"

#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>

namespace xvfb {
namespace {

using Clock = std::chrono::steady_clock;

struct Watch {
    std::mutex mutex;
    std::condition_variable changed;
    const char* what = nullptr;  // nil: disarmed
    int withinMs = 0;
    Clock::time_point deadline;
};

// Runs on a thread of its own, which touches nothing of the program or of Qt.
[[noreturn]] void Watching(Watch& watch) {
    std::unique_lock lock(watch.mutex);
    for (;;) {
        if (!watch.what) {
            watch.changed.wait(lock);
        } else if (watch.changed.wait_until(lock, watch.deadline) == std::cv_status::timeout &&
                   watch.what && Clock::now() >= watch.deadline) {
            std::fflush(stdout);
            std::fprintf(stderr, "xvfb: gave up after %d s waiting for %s\n", watch.withinMs / 1000,
                         watch.what);
            _exit(1);
        }
    }
}

Watch& TheWatch() {
    static Watch* watch = [] {
        auto* made = new Watch();
        std::thread(Watching, std::ref(*made)).detach();
        return made;
    }();
    return *watch;
}

}  // namespace

void Expect(const char* what, int withinMs) {
    Watch& watch = TheWatch();
    std::lock_guard lock(watch.mutex);
    watch.what = what;
    watch.withinMs = withinMs;
    watch.deadline = Clock::now() + std::chrono::milliseconds(withinMs);
    watch.changed.notify_all();
}

void Disarm() {
    Watch& watch = TheWatch();
    std::lock_guard lock(watch.mutex);
    watch.what = nullptr;
    watch.changed.notify_all();
}

}  // namespace xvfb
