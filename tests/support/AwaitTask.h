#pragma once

// Drives a coroutine to its end on the test's event loop, with a limit so that a task that never
// ends fails the test instead of hanging it. The fixtures (servers, proxies) run on the same loop.

#include <QCoro/QCoroTask>
#include <QEventLoop>
#include <QTimer>

#include <chrono>
#include <exception>
#include <memory>
#include <optional>

namespace sw::test {

namespace detail {

template <typename T>
struct AwaitState {
    std::optional<T> result;
    std::exception_ptr error;
    bool done = false;
    QEventLoop *loop = nullptr;
};

template <>
struct AwaitState<void> {
    std::exception_ptr error;
    bool done = false;
    QEventLoop *loop = nullptr;
};

template <typename T>
QCoro::Task<> drive(QCoro::Task<T> task, std::shared_ptr<AwaitState<T>> state)
{
    try {
        if constexpr (std::is_void_v<T>)
            co_await task;
        else
            state->result.emplace(co_await task);
    } catch (...) {
        state->error = std::current_exception();
    }
    state->done = true;
    if (state->loop)
        state->loop->quit();
}

template <typename T>
std::shared_ptr<AwaitState<T>> run(QCoro::Task<T> task, std::chrono::milliseconds limit)
{
    auto state = std::make_shared<AwaitState<T>>();
    drive(std::move(task), state);
    if (!state->done) {
        QEventLoop loop;
        state->loop = &loop;
        QTimer::singleShot(limit, &loop, &QEventLoop::quit);
        loop.exec();
        state->loop = nullptr;
    }
    if (state->error)
        std::rethrow_exception(state->error);
    return state;
}

}  // namespace detail

// The task's result, or none when it did not end within the limit. An exception it throws is
// thrown on.
template <typename T>
std::optional<T> awaitTask(QCoro::Task<T> task, std::chrono::milliseconds limit = std::chrono::seconds(10))
{
    auto state = detail::run(std::move(task), limit);
    return std::move(state->result);
}

// True when the task ended within the limit.
inline bool awaitTask(QCoro::Task<void> task, std::chrono::milliseconds limit = std::chrono::seconds(10))
{
    return detail::run(std::move(task), limit)->done;
}

}  // namespace sw::test
