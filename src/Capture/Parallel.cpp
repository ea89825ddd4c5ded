#include "Capture/Parallel.h"

#include <deque>

namespace sw::detail {

namespace {

// More than a caller shares its work among (at most eight), so that two callers at once (a
// search and the archive's reading) each find helpers.
constexpr std::size_t kMostHelpers = 16;

struct Helpers {
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::function<void()>> tasks;
    std::size_t idle = 0;
    std::size_t started = 0;
};

// Never destroyed: helpers wait on it until the process ends.
Helpers &helpers()
{
    static Helpers *const kept = new Helpers;
    return *kept;
}

void serve(Helpers &h)
{
    std::unique_lock lock(h.mutex);
    for (;;) {
        ++h.idle;
        h.wake.wait(lock, [&] { return !h.tasks.empty(); });
        --h.idle;
        std::function<void()> task = std::move(h.tasks.front());
        h.tasks.pop_front();
        lock.unlock();
        task();
        task = nullptr;   // what it holds is let go of outside the lock
        lock.lock();
    }
}

}  // namespace

bool runOnHelper(std::function<void()> task)
{
    Helpers &h = helpers();
    const std::lock_guard lock(h.mutex);
    if (h.idle <= h.tasks.size() && h.started < kMostHelpers) {
        try {
            std::thread(serve, std::ref(h)).detach();
            ++h.started;
        } catch (...) {
            if (h.started == 0)
                return false;
        }
    }
    h.tasks.push_back(std::move(task));
    h.wake.notify_one();
    return true;
}

}  // namespace sw::detail
