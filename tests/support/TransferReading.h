#pragma once

// Reads a download's events to its end, for the tests of the stream and of the downloader.

#include "StashKit/TransferStream.h"

#include <QCoro/QCoroTask>
#include <QList>

#include <optional>

namespace sw::test {

struct Read {
    QList<Transfer> events;
    std::optional<TransferError> error;
};

inline QCoro::Task<Read> readAll(TransferStream stream)
{
    Read read;
    while (true) {
        const auto next = co_await stream.next();
        if (!next) {
            read.error = next.error();
            break;
        }
        if (!*next)
            break;
        read.events.append(**next);
    }
    co_return read;
}

}  // namespace sw::test
