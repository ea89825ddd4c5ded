#include "StashKit/FxTwitter.h"

#include "Capture/Date.h"
#include "Capture/Duration.h"

#include <QRegularExpression>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <limits>

namespace sw::FxTwitter {

namespace {

constexpr std::int64_t kInt64Max = std::numeric_limits<std::int64_t>::max();
// 2^63, the first double beyond the signed 64-bit range.
constexpr double kBeyondInt64 = 9223372036854775808.0;

// A duration from the network: a NaN or a negative number counts as no duration.
double saneSeconds(double seconds)
{
    return seconds > 0 ? seconds : 0;   // false for NaN
}

// A non-negative double as a 64-bit integer, fraction dropped, saturating at the top.
std::int64_t truncatedSaturating(double value)
{
    if (!(value > 0))
        return 0;
    if (value >= kBeyondInt64)
        return kInt64Max;
    return static_cast<std::int64_t>(value);
}

std::int64_t multipliedSaturating(std::int64_t a, std::int64_t b)
{
    std::int64_t product = 0;
    if (__builtin_mul_overflow(a, b, &product))
        return (a < 0) == (b < 0) ? kInt64Max : std::numeric_limits<std::int64_t>::min();
    return product;
}

// A decimal number written in ASCII digits that fits a signed 64-bit integer.
std::optional<std::int64_t> asciiInteger(QStringView digits)
{
    if (digits.isEmpty())
        return std::nullopt;
    std::int64_t value = 0;
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        const int digit = c.unicode() - u'0';
        if (value > (kInt64Max - digit) / 10)
            return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

std::optional<QString> optionalString(const JsonNode &node, std::string_view key)
{
    if (const auto child = node.optional(key))
        return child->string();
    return std::nullopt;
}

std::optional<double> optionalNumber(const JsonNode &node, std::string_view key)
{
    if (const auto child = node.optional(key))
        return child->number();
    return std::nullopt;
}

template <typename T>
std::vector<T> listOf(const JsonNode &node)
{
    std::vector<T> out;
    for (const JsonNode &element : node.elements())
        out.push_back(T::fromJson(element));
    return out;
}

}  // namespace

// ---- decoding ------------------------------------------------------------------------------

Variant Variant::fromJson(const JsonNode &node)
{
    Variant v;
    if (const auto bitrate = node.optional("bitrate"))
        v.bitrate = bitrate->int64();
    v.url = node["url"].string();
    v.contentType = optionalString(node, "content_type");
    return v;
}

Item Item::fromJson(const JsonNode &node)
{
    Item item;
    item.type = node["type"].string();
    item.url = node["url"].string();
    item.thumbnailUrl = optionalString(node, "thumbnail_url");
    item.duration = optionalNumber(node, "duration");
    if (const auto variants = node.optional("variants"))
        item.variants = listOf<Variant>(*variants);
    return item;
}

Media Media::fromJson(const JsonNode &node)
{
    Media media;
    if (const auto all = node.optional("all"))
        media.all = listOf<Item>(*all);
    return media;
}

Writer Writer::fromJson(const JsonNode &node)
{
    Writer writer;
    writer.name = node["name"].string();
    writer.screenName = node["screen_name"].string();
    writer.avatarUrl = optionalString(node, "avatar_url");
    return writer;
}

Tweet Tweet::fromJson(const JsonNode &node)
{
    Tweet tweet;
    tweet.text = node["text"].string();
    tweet.author = Writer::fromJson(node["author"]);
    tweet.createdTimestamp = optionalNumber(node, "created_timestamp");
    if (const auto media = node.optional("media"))
        tweet.media = Media::fromJson(*media);
    return tweet;
}

Reply Reply::fromJson(const JsonNode &node)
{
    Reply reply;
    reply.code = node["code"].int64();
    if (const auto tweet = node.optional("tweet"))
        reply.tweet = Tweet::fromJson(*tweet);
    return reply;
}

Reply Reply::decode(QByteArrayView bytes)
{
    const JsonDocument document(std::string_view(bytes.data(), std::size_t(bytes.size())));
    return fromJson(document.root());
}

// ---- mapping -------------------------------------------------------------------------------

Url defaultApiBase()
{
    return *Url::parse(QStringLiteral("https://api.fxtwitter.com"));
}

Url statusUrl(const Url &apiBase, const Handle &handle, const StatusID &status)
{
    QByteArray text = apiBase.text().toUtf8();
    while (text.endsWith('/'))
        text.chop(1);
    text += '/' + QUrl::toPercentEncoding(handle.lowercased()) + "/status/" + QUrl::toPercentEncoding(status.digits);
    return Url::fromQUrl(QUrl::fromEncoded(text, QUrl::StrictMode));
}

std::optional<Rendition> rendition(const Variant &variant, double duration)
{
    const bool mp4 = variant.contentType ? variant.contentType->contains(u"mp4")
                                         : variant.url.contains(u".mp4");
    if (!mp4)
        return std::nullopt;
    const auto url = Url::parse(variant.url);
    if (!url)
        return std::nullopt;
    // The picture size is a path segment "<width>x<height>"; the first one found counts.
    static const QRegularExpression size(QStringLiteral(R"(/(\d+)x(\d+)/)"),
                                         QRegularExpression::UseUnicodePropertiesOption);
    const QRegularExpressionMatch match = size.match(variant.url);
    if (!match.hasMatch())
        return std::nullopt;
    const auto height = asciiInteger(match.capturedView(2));
    if (!height)
        return std::nullopt;
    const std::int64_t bytesPerSecond = std::max<std::int64_t>(variant.bitrate.value_or(0) / 8, 0);
    const std::int64_t seconds = truncatedSaturating(saneSeconds(duration));
    return Rendition{*url, *height, multipliedSaturating(bytesPerSecond, seconds)};
}

std::optional<std::vector<Rendition>> renditions(const std::vector<Variant> &variants, double duration)
{
    std::vector<Rendition> out;
    for (const Variant &variant : variants)
        if (auto r = rendition(variant, duration))
            out.push_back(std::move(*r));
    if (out.empty())
        return std::nullopt;
    std::stable_sort(out.begin(), out.end(), [](const Rendition &a, const Rendition &b) { return a.height < b.height; });
    return out;
}

std::optional<Attachment> attachment(const Item &item)
{
    const auto url = Url::parse(item.url);
    if (!url)
        return std::nullopt;
    const double seconds = saneSeconds(item.duration.value_or(0));
    if (item.type == u"video" || item.type == u"gif") {
        Attachment::Video video;
        video.url = *url;
        video.length = Duration::fromMilliseconds(truncatedSaturating(seconds * 1000));
        video.bytes = std::max(truncatedSaturating(seconds * double(kVideoBytesPerSecond)), kVideoMinimumBytes);
        video.renditions = renditions(item.variants.value_or(std::vector<Variant>{}), seconds);
        return Attachment(std::move(video));
    }
    if (item.type == u"photo")
        return Attachment(Attachment::Image{*url, kImageBytes});
    return std::nullopt;
}

std::expected<Post, FetchError> post(QByteArrayView body, const StatusID &requested)
{
    Reply reply;
    try {
        reply = Reply::decode(body);
    } catch (const JsonError &error) {
        return std::unexpected(FetchError(DecodingError{error.message()}));
    }
    if (reply.code != 200 || !reply.tweet)
        return std::unexpected(FetchError(FetchFailure::notFound));
    const Tweet &tweet = *reply.tweet;

    Post post;
    const Handle handle = Handle::fromText(tweet.author.screenName);
    post.link = PostLink::x(handle, requested);
    post.author.name = tweet.author.name;
    post.author.handle = handle;
    if (tweet.author.avatarUrl)
        post.author.avatar = Url::parse(*tweet.author.avatarUrl);
    post.text = tweet.text;
    post.postedAt = Date::fromUnixSeconds(tweet.createdTimestamp.value_or(0));

    static const std::vector<Item> none;
    const std::vector<Item> &items = tweet.media && tweet.media->all ? *tweet.media->all : none;
    for (const Item &item : items)
        if (auto a = attachment(item))
            post.attachments.push_back(std::move(*a));
    if (!items.empty()) {
        const Item &first = items.front();
        const QString &picture = first.type == u"photo" ? first.url : first.thumbnailUrl.value_or(first.url);
        post.preview = Url::parse(picture);
    }
    return post;
}

}  // namespace sw::FxTwitter
