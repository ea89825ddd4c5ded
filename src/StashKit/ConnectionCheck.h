#pragma once

// The connection test of the network settings: fetches a fixed public post through a network's
// current session with a post fetcher of its own, so that it tests the route set before the call.
// It never fails itself: the result carries the fetcher's error unchanged.

#include "Capture/PostLink.h"
#include "Capture/Url.h"
#include "StashKit/PostFetching.h"

#include <QCoro/QCoroTask>

#include <expected>

namespace sw {

class Network;

class ConnectionCheck {
public:
    // The test against the public API.
    static QCoro::Task<std::expected<void, FetchError>> check(Network &network);
    // The test against another address of the API (tests point it at a local server).
    static QCoro::Task<std::expected<void, FetchError>> check(Network &network, Url apiBase);

    // The fixed public post that the test asks for.
    static PostLink post();
};

}  // namespace sw
