#pragma once

// What the system keeps of one X status or one web page.

#include "Capture/Date.h"
#include "Capture/Duration.h"
#include "Capture/Json.h"
#include "Capture/PostLink.h"
#include "Capture/Url.h"

#include <QHashFunctions>
#include <QString>

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace sw {

// The download quality of videos. Coded as its text.
class Quality {
public:
    enum Value : unsigned char { original, hd, small };
    constexpr Quality(Value v = original) : m_value(v) {}
    constexpr operator Value() const { return m_value; }
    static constexpr std::array<Quality, 3> allCases() { return {original, hd, small}; }

    // "original", "hd", "small".
    QString rawValue() const;
    // Exactly one of the three texts (case matters), else none.
    static std::optional<Quality> fromRawValue(const QString &text);

    // The greatest rendition height wanted: none for original, 720 for hd, 360 for small.
    std::optional<std::int64_t> ceiling() const;
    // The localised display name, looked up once per process.
    QString title() const;

    JsonValue toJson() const { return JsonValue(rawValue()); }
    static Quality fromJson(const JsonNode &node);   // any other text fails

private:
    Value m_value;
};
inline std::size_t qHash(Quality q, std::size_t seed = 0) noexcept { return ::qHash(int(Quality::Value(q)), seed); }

// What a post mainly holds.
class Kind {
public:
    enum Value : unsigned char { video, images, text, page };
    constexpr Kind(Value v = text) : m_value(v) {}
    constexpr operator Value() const { return m_value; }
    static constexpr std::array<Kind, 4> allCases() { return {video, images, text, page}; }

    // The case's name, which is also its JSON key.
    QString name() const;

    JsonValue toJson() const;                 // {"video":{}} and so on
    static Kind fromJson(const JsonNode &node);

private:
    Value m_value;
};
inline std::size_t qHash(Kind k, std::size_t seed = 0) noexcept { return ::qHash(int(Kind::Value(k)), seed); }

// Another encoding of a video.
struct Rendition {
    Url url;
    std::int64_t height = 0;   // pixels
    std::int64_t bytes = 0;

    friend bool operator==(const Rendition &, const Rendition &) = default;

    JsonValue toJson() const;
    static Rendition fromJson(const JsonNode &node);
};
std::size_t qHash(const Rendition &rendition, std::size_t seed = 0) noexcept;

// One medium of a post.
class Attachment {
public:
    struct Video {
        Url url;
        Duration length;
        std::int64_t bytes = 0;
        std::optional<std::vector<Rendition>> renditions;
        friend bool operator==(const Video &, const Video &) = default;
    };
    struct Image {
        Url url;
        std::int64_t bytes = 0;
        friend bool operator==(const Image &, const Image &) = default;
    };
    struct Page {
        Url url;
        std::int64_t bytes = 0;
        friend bool operator==(const Page &, const Page &) = default;
    };

    Attachment() = default;   // an empty image
    Attachment(Video v) : m_value(std::move(v)) {}
    Attachment(Image i) : m_value(std::move(i)) {}
    Attachment(Page p) : m_value(std::move(p)) {}

    const std::variant<Video, Image, Page> &value() const { return m_value; }
    const Video *asVideo() const { return std::get_if<Video>(&m_value); }
    const Image *asImage() const { return std::get_if<Image>(&m_value); }
    const Page *asPage() const { return std::get_if<Page>(&m_value); }
    bool isVideo() const { return asVideo() != nullptr; }
    bool isImage() const { return asImage() != nullptr; }
    bool isPage() const { return asPage() != nullptr; }

    // The size the system reckons with for the file, whatever the case.
    std::int64_t bytes() const;
    // The file to fetch, whatever the case.
    const Url &remote() const;
    // "mp4", "jpg" or "html".
    QString fileExtension() const;

    // The form in which the attachment is downloaded at a quality: a video with renditions takes
    // the tallest rendition within the quality's ceiling (or else the shortest one).
    Attachment at(Quality quality) const;

    friend bool operator==(const Attachment &, const Attachment &) = default;

    JsonValue toJson() const;
    static Attachment fromJson(const JsonNode &node);

private:
    std::variant<Video, Image, Page> m_value{Image{}};
};
std::size_t qHash(const Attachment &attachment, std::size_t seed = 0) noexcept;

struct Author {
    QString name;                 // display name, compared exactly (canonical equivalence)
    Handle handle;                // compared without regard to case
    std::optional<Url> avatar;

    friend bool operator==(const Author &a, const Author &b);

    JsonValue toJson() const;
    static Author fromJson(const JsonNode &node);
};
std::size_t qHash(const Author &author, std::size_t seed = 0) noexcept;

struct Post {
    PostLink link;
    Author author;
    QString text;
    Date postedAt;
    std::vector<Attachment> attachments;   // in the post's order
    std::optional<Url> preview;            // the picture that stands for the post

    Kind kind() const;
    bool hasMedia() const { return !attachments.empty(); }
    // Sums of the attachments' sizes; they saturate at the 64-bit range instead of overflowing.
    std::int64_t mediaBytes() const;
    std::int64_t mediaBytes(Quality quality) const;

    friend bool operator==(const Post &a, const Post &b);

    JsonValue toJson() const;
    // The same text as toJson(), appended without building a value tree: the archive writes
    // every post of the library.
    void writeJson(std::string &out) const;
    static Post fromJson(const JsonNode &node);
};
std::size_t qHash(const Post &post, std::size_t seed = 0) noexcept;

// Adds two sizes, saturating at the signed 64-bit range.
std::int64_t saturatingAdd(std::int64_t a, std::int64_t b) noexcept;

}  // namespace sw

template <> struct std::hash<sw::Rendition> {
    std::size_t operator()(const sw::Rendition &v) const noexcept { return sw::qHash(v, 0); }
};
template <> struct std::hash<sw::Attachment> {
    std::size_t operator()(const sw::Attachment &v) const noexcept { return sw::qHash(v, 0); }
};
template <> struct std::hash<sw::Author> {
    std::size_t operator()(const sw::Author &v) const noexcept { return sw::qHash(v, 0); }
};
template <> struct std::hash<sw::Post> {
    std::size_t operator()(const sw::Post &v) const noexcept { return sw::qHash(v, 0); }
};
template <> struct std::hash<sw::Quality> {
    std::size_t operator()(sw::Quality v) const noexcept { return static_cast<std::size_t>(sw::Quality::Value(v)); }
};
template <> struct std::hash<sw::Kind> {
    std::size_t operator()(sw::Kind v) const noexcept { return static_cast<std::size_t>(sw::Kind::Value(v)); }
};
