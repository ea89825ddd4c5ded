#pragma once

// The service through which the Curator turns a link into a post, and the ways a fetch fails.

#include "Capture/Post.h"
#include "Capture/PostLink.h"

#include <QCoro/QCoroTask>
#include <QNetworkReply>
#include <QString>

#include <expected>
#include <variant>

namespace sw {

// Failures of the fetch itself, compared by case.
enum class FetchFailure {
    notFound,     // the API's code is not 200, or its reply holds no post
    unreadable,   // a web page's body could not be read as text
};

// The network's own error: no connection, time-out, a failing proxy, cancellation.
struct TransportError {
    QNetworkReply::NetworkError code = QNetworkReply::UnknownNetworkError;
    QString description;
    friend bool operator==(const TransportError &, const TransportError &) = default;
};

// The API's reply is not a status document: not JSON, a required key missing, a wrong type.
struct DecodingError {
    QString description;
    friend bool operator==(const DecodingError &, const DecodingError &) = default;
};

// Any error of a fetch. The Curator treats them alike; the connection test shows the description.
struct FetchError {
    std::variant<FetchFailure, TransportError, DecodingError> value;

    FetchError(FetchFailure failure) : value(failure) {}
    FetchError(TransportError error) : value(std::move(error)) {}
    FetchError(DecodingError error) : value(std::move(error)) {}

    const FetchFailure *failure() const { return std::get_if<FetchFailure>(&value); }
    const TransportError *transport() const { return std::get_if<TransportError>(&value); }
    const DecodingError *decoding() const { return std::get_if<DecodingError>(&value); }

    // A plain description of the error (the transport's or decoder's own text, or the failure's).
    QString description() const;

    friend bool operator==(const FetchError &, const FetchError &) = default;
};

class PostFetching {
public:
    virtual ~PostFetching() = default;
    // A post for the link, or the error that stopped the fetch. Runs on the main thread.
    virtual QCoro::Task<std::expected<Post, FetchError>> fetch(PostLink link) = 0;
};

}  // namespace sw
