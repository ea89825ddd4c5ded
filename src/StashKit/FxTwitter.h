#pragma once

// The status document of the FxTwitter JSON API, and its mapping onto a Post with estimated
// media sizes. The records are only decoded, never written: keys are matched exactly, a required
// key must be present with its type, an optional one may be missing or null, others are ignored.

#include "Capture/Json.h"
#include "Capture/Post.h"
#include "StashKit/PostFetching.h"
#include "Capture/PostLink.h"
#include "Capture/Url.h"

#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <expected>
#include <optional>
#include <vector>

namespace sw::FxTwitter {

// One encoding of a video.
struct Variant {
    std::optional<std::int64_t> bitrate;   // "bitrate", bits per second
    QString url;                           // "url"
    std::optional<QString> contentType;    // "content_type"
    static Variant fromJson(const JsonNode &node);
};

// One media file.
struct Item {
    QString type;                                  // "type": "photo", "video", "gif" or another word
    QString url;                                   // "url"
    std::optional<QString> thumbnailUrl;           // "thumbnail_url"
    std::optional<double> duration;                // "duration", seconds
    std::optional<std::vector<Variant>> variants;  // "variants"
    static Item fromJson(const JsonNode &node);
};

struct Media {
    std::optional<std::vector<Item>> all;   // "all", in the post's order
    static Media fromJson(const JsonNode &node);
};

struct Writer {
    QString name;                        // "name"
    QString screenName;                  // "screen_name"
    std::optional<QString> avatarUrl;    // "avatar_url"
    static Writer fromJson(const JsonNode &node);
};

struct Tweet {
    QString text;                              // "text"
    Writer author;                             // "author"
    std::optional<double> createdTimestamp;    // "created_timestamp", seconds since 1970
    std::optional<Media> media;                // "media"
    static Tweet fromJson(const JsonNode &node);
};

struct Reply {
    std::int64_t code = 0;         // "code", the API's own status
    std::optional<Tweet> tweet;    // "tweet"
    static Reply fromJson(const JsonNode &node);
    // Throws JsonError when the bytes are not a reply document.
    static Reply decode(QByteArrayView bytes);
};

// Size estimates before the real sizes are asked for.
inline constexpr std::int64_t kImageBytes = 400'000;
inline constexpr std::int64_t kVideoBytesPerSecond = 312'500;   // 2.5 million bits per second
inline constexpr std::int64_t kVideoMinimumBytes = 400'000;

// The public API.
Url defaultApiBase();

// The status document's address: the base, "/", the handle lowercased, "/status/", the digits.
// The handle and the digits are each percent-encoded as one path segment.
Url statusUrl(const Url &apiBase, const Handle &handle, const StatusID &status);

// The post of a reply body, for the status that was asked for, with estimated sizes.
std::expected<Post, FetchError> post(QByteArrayView body, const StatusID &requested);

// The attachment of one item, or none for an item of another type or an address that does not
// parse.
std::optional<Attachment> attachment(const Item &item);

// The renditions of a video's variants, lowest first (stable); none when no variant qualifies.
std::optional<std::vector<Rendition>> renditions(const std::vector<Variant> &variants, double duration);

// One MP4 variant with a "/<width>x<height>/" segment in its address, or none.
std::optional<Rendition> rendition(const Variant &variant, double duration);

}  // namespace sw::FxTwitter
