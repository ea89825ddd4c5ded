#include "StashKit/ConnectionCheck.h"

#include "StashKit/LivePostFetcher.h"
#include "StashKit/Network.h"

#include <utility>

namespace sw {

PostLink ConnectionCheck::post()
{
    return PostLink::x(Handle{QStringLiteral("jack")}, StatusID{QStringLiteral("20")});
}

QCoro::Task<std::expected<void, FetchError>> ConnectionCheck::check(Network &network)
{
    return check(network, LivePostFetcher::defaultApiBase());
}

QCoro::Task<std::expected<void, FetchError>> ConnectionCheck::check(Network &network, Url apiBase)
{
    using Result = std::expected<void, FetchError>;
    // The fetcher reads the network's session when the fetch starts; it lives with this task.
    LivePostFetcher fetcher(network, std::move(apiBase));
    auto task = fetcher.fetch(post());
    const auto fetched = co_await task;
    if (!fetched)
        co_return Result(std::unexpected(fetched.error()));
    co_return Result();
}

}  // namespace sw
