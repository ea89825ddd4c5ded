#pragma once

// Decoding many independent values on several threads: a library of a hundred thousand saves is
// read at every start, and each save decodes on its own from the parsed document.

#include "Capture/Json.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <iterator>
#include <limits>
#include <thread>
#include <type_traits>
#include <utility>
#include <vector>

#include <sched.h>

namespace sw {

// The processors this process may run on (its affinity mask, which a caller may narrow); at
// least 1.
inline std::size_t usableCores()
{
    cpu_set_t set;
    CPU_ZERO(&set);
    if (::sched_getaffinity(0, sizeof set, &set) == 0)
        return std::size_t(std::max(1, CPU_COUNT(&set)));
    return std::max(1u, std::thread::hardware_concurrency());
}

// How many threads decodeAllWith() shares `count` values among.
inline std::size_t decodingThreads(std::size_t count)
{
    constexpr std::size_t perThread = 2048;
    return std::clamp<std::size_t>(count / perThread, 1, std::min<std::size_t>(8, usableCores()));
}

namespace detail {

// Runs `task` on one of the process's helper threads: an idle one, or one started for it (up to a
// few; beyond them it waits for the first to be free). Helpers are kept once started: starting and
// ending threads for each step of work cost more than many steps (a search keystroke) took, and
// held up other threads' page faults on the process's memory map. False when no thread could be
// started and none is there.
bool runOnHelper(std::function<void()> task);

}  // namespace detail

// work(part, begin, end) for `parts` contiguous ranges that cover [0, count) in order (none empty
// while count allows; part numbers them from 0): the first on the calling thread, the others
// shared by it and up to parts - 1 helper threads, each taking the next range left until none is
// (the calling thread alone when no helper is to be had), all done before it returns. Gives the
// number of parts. `work` must not throw, and must touch nothing shared but what it only reads or
// changes atomically.
template <typename Work>
std::size_t inParts(std::size_t count, std::size_t parts, Work work)
{
    parts = std::clamp<std::size_t>(parts, 1, std::max<std::size_t>(count, 1));
    const auto part = [&](std::size_t t) { work(t, count * t / parts, count * (t + 1) / parts); };
    if (parts == 1) {
        part(0);
        return 1;
    }
    // Shared with the helpers, which may only come to it once every part is done and this has
    // returned: they then find none left and touch nothing else.
    struct Turns {
        std::atomic<std::size_t> next{1};   // the first part is the calling thread's
        std::mutex mutex;
        std::condition_variable done;
        std::size_t left = 0;
    };
    const auto turns = std::make_shared<Turns>();
    turns->left = parts;
    const auto takeTurns = [turns, parts, &part] {
        for (std::size_t t = turns->next.fetch_add(1); t < parts; t = turns->next.fetch_add(1)) {
            part(t);
            const std::lock_guard lock(turns->mutex);
            if (--turns->left == 0)
                turns->done.notify_all();
        }
    };
    for (std::size_t t = 1; t < parts; ++t) {
        if (!detail::runOnHelper(takeTurns))
            break;
    }
    part(0);
    {
        const std::lock_guard lock(turns->mutex);
        --turns->left;
    }
    takeTurns();
    std::unique_lock lock(turns->mutex);
    turns->done.wait(lock, [&] { return turns->left == 0; });
    return parts;
}

// decode(i, state) for every i in [0, count), in order in the result, with a `State` made
// (default-constructed) for each part, on the thread that takes it, before the part's first call,
// and let go of there after its last. Runs on several threads when there are many. `decode` must
// touch nothing shared but what it only reads. When calls throw, what the first failing index threw is
// rethrown: the failure a loop in order would have stopped at.
template <typename State, typename Decode>
auto decodeAllWith(std::size_t count, Decode decode)
    -> std::vector<std::invoke_result_t<Decode &, std::size_t, State &>>
{
    using T = std::invoke_result_t<Decode &, std::size_t, State &>;
    const std::size_t threads = decodingThreads(count);

    // Each part is a contiguous range, decoded in order until its first failure.
    struct Part {
        std::vector<T> values;
        std::exception_ptr failure;
    };
    std::vector<Part> parts(threads);
    const auto work = [&](std::size_t t) {
        const std::size_t begin = count * t / threads;
        const std::size_t end = count * (t + 1) / threads;
        Part &part = parts[t];
        try {
            State state;
            part.values.reserve(end - begin);
            for (std::size_t i = begin; i < end; ++i)
                part.values.push_back(decode(i, state));
        } catch (...) {
            part.failure = std::current_exception();
        }
    };
    inParts(threads, threads, [&](std::size_t t, std::size_t, std::size_t) { work(t); });

    for (const Part &part : parts)
        if (part.failure)
            std::rethrow_exception(part.failure);
    if (threads == 1)
        return std::move(parts.front().values);
    std::vector<T> all;
    all.reserve(count);
    for (Part &part : parts)
        std::move(part.values.begin(), part.values.end(), std::back_inserter(all));
    return all;
}

// decode(element, state) for every element of a JSON array, in order in the result, as
// decodeAllWith() decodes them. On one thread the array is walked once, each element decoded as
// it is met, without a list of the elements made first. Throws as JsonNode::elements() does
// when `array` is not an array.
template <typename State, typename Decode>
auto decodeElementsWith(const JsonNode &array, Decode decode)
    -> std::vector<std::invoke_result_t<Decode &, const JsonNode &, State &>>
{
    using T = std::invoke_result_t<Decode &, const JsonNode &, State &>;
    const std::size_t count = array.elementCount();
    if (decodingThreads(count) > 1) {
        const std::vector<JsonNode> elements = array.elements();
        return decodeAllWith<State>(elements.size(), [&](std::size_t i, State &state) { return decode(elements[i], state); });
    }
    std::vector<T> values;
    values.reserve(count);
    State state;
    array.forEachElement([&](const JsonNode &element) { values.push_back(decode(element, state)); });
    return values;
}

// Makes the texts of pieces 0 ... count-1 (make(i, out) appends piece i's text to an empty
// string) on up to `threads` threads, the calling one among them, and hands each to take(text)
// on the calling thread in order, as it is ready: the archive's saves are encoded for a write a
// few hundred at a time, while the pieces before are written. At most `buffers.size()` pieces
// (at least 2) are made ahead of the one taken; `buffers` keeps their room from one call to the
// next. take() may empty or keep the text it is handed; answering false stops the making there.
// Answers false when take() did. `make` must touch nothing shared but what it only reads; what
// it or take() throws first is rethrown here, once the threads have stopped.
template <typename Make, typename Take>
bool makeInOrder(std::size_t count, std::size_t threads, std::vector<std::string> &buffers, Make make, Take take)
{
    if (buffers.size() < 2)
        buffers.resize(2);
    const std::size_t window = buffers.size();
    threads = std::clamp<std::size_t>(threads, 1, std::max<std::size_t>(1, std::min(count, window)));

    // What the makers share. A helper may come to it only after this call has returned (the
    // helpers are the process's, and may be busy elsewhere when asked): it then finds the making
    // stopped and touches nothing else. Until then, every helper at work is counted, and this call
    // returns only once none is.
    struct Shared {
        std::mutex mutex;
        std::condition_variable changed;
        std::size_t claimed = 0;   // pieces given to a maker so far
        std::size_t taken = 0;     // pieces handed to take() so far
        std::size_t working = 0;   // helpers inside the making
        bool stop = false;
    };
    const auto shared = std::make_shared<Shared>();
    Shared &s = *shared;
    std::vector<char> ready(window, 0);
    std::exception_ptr failure;

    // Claims the next piece when its buffer is free; answers count when there is none now.
    const auto claim = [&]() -> std::size_t {
        if (s.stop || s.claimed >= count || s.claimed >= s.taken + window)
            return count;
        return s.claimed++;
    };
    // Makes piece i outside the lock, then marks it ready.
    const auto makePiece = [&](std::unique_lock<std::mutex> &lock, std::size_t i) {
        lock.unlock();
        std::string &out = buffers[i % window];
        out.clear();
        std::exception_ptr thrown;
        try {
            make(i, out);
        } catch (...) {
            thrown = std::current_exception();
        }
        lock.lock();
        ready[i % window] = 1;
        if (thrown && !failure) {
            failure = thrown;
            s.stop = true;
        }
        s.changed.notify_all();
    };
    const auto help = [&](std::unique_lock<std::mutex> &lock) {
        for (;;) {
            s.changed.wait(lock, [&] { return s.stop || s.claimed >= count || s.claimed < s.taken + window; });
            const std::size_t i = claim();
            if (i == count) {
                if (s.stop || s.claimed >= count)
                    return;
                continue;
            }
            makePiece(lock, i);
        }
    };

    // Helpers kept by the process rather than threads started for each call: starting and ending
    // a thread costs its stack's mapping and unmapping, which every processor running the process
    // is interrupted for, on every write.
    for (std::size_t t = 1; t < threads; ++t) {
        const bool asked = detail::runOnHelper([shared, &help] {
            std::unique_lock lock(shared->mutex);
            if (shared->stop)
                return;
            ++shared->working;
            help(lock);
            --shared->working;
            shared->changed.notify_all();
        });
        if (!asked)
            break;   // no thread to be had: the others and this one make the pieces
    }
    bool completed = true;
    {
        std::unique_lock lock(s.mutex);
        for (std::size_t k = 0; k < count && !s.stop; ++k) {
            // While piece k is being made elsewhere, this thread makes a later one, if it may.
            while (!ready[k % window] && !s.stop) {
                const std::size_t i = claim();
                if (i != count)
                    makePiece(lock, i);
                else
                    s.changed.wait(lock);
            }
            if (s.stop)
                break;
            lock.unlock();
            bool more = false;
            try {
                more = take(buffers[k % window]);
            } catch (...) {
                lock.lock();
                if (!failure)
                    failure = std::current_exception();
                s.stop = true;
                break;
            }
            lock.lock();
            ready[k % window] = 0;
            ++s.taken;
            if (!more) {
                completed = false;
                s.stop = true;
            }
            s.changed.notify_all();
        }
        s.stop = true;
        s.changed.notify_all();
        // The helpers still making a piece finish it; those yet to come will find the stop.
        s.changed.wait(lock, [&] { return s.working == 0; });
    }
    if (failure)
        std::rethrow_exception(failure);
    return completed;
}

// decode(i) for every i in [0, count), as decodeAllWith without a state.
template <typename Decode>
auto decodeAll(std::size_t count, Decode decode) -> std::vector<std::invoke_result_t<Decode &, std::size_t>>
{
    struct None {};
    return decodeAllWith<None>(count, [&](std::size_t i, None &) { return decode(i); });
}

}  // namespace sw
