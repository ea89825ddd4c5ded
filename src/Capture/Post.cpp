#include "Capture/Post.h"

#include "Capture/CaptureStrings.h"
#include "Capture/Text.h"

#include <charconv>
#include <limits>

namespace sw {

std::int64_t saturatingAdd(std::int64_t a, std::int64_t b) noexcept
{
    std::int64_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum))
        return b > 0 ? std::numeric_limits<std::int64_t>::max() : std::numeric_limits<std::int64_t>::min();
    return sum;
}

// ---- Quality, Kind ---------------------------------------------------------------------------

QString Quality::rawValue() const
{
    switch (m_value) {
    case original: return QStringLiteral("original");
    case hd: return QStringLiteral("hd");
    case small: return QStringLiteral("small");
    }
    return QString();
}

std::optional<Quality> Quality::fromRawValue(const QString &text)
{
    for (Quality q : allCases())
        if (q.rawValue() == text)
            return q;
    return std::nullopt;
}

std::optional<std::int64_t> Quality::ceiling() const
{
    switch (m_value) {
    case original: return std::nullopt;
    case hd: return 720;
    case small: return 360;
    }
    return std::nullopt;
}

QString Quality::title() const
{
    // Each title is looked up once and kept for the life of the process: a change of language
    // shows after the next start.
    switch (m_value) {
    case original: {
        static const QString title = CaptureStrings::qualityOriginal();
        return title;
    }
    case hd: {
        static const QString title = CaptureStrings::qualityHd();
        return title;
    }
    case small: {
        static const QString title = CaptureStrings::qualitySmall();
        return title;
    }
    }
    return QString();
}

Quality Quality::fromJson(const JsonNode &node)
{
    const QString text = node.string();
    if (auto q = fromRawValue(text))
        return *q;
    throw JsonError("Cannot initialize Quality from invalid String value " + text.toStdString());
}

QString Kind::name() const
{
    switch (m_value) {
    case video: return QStringLiteral("video");
    case images: return QStringLiteral("images");
    case text: return QStringLiteral("text");
    case page: return QStringLiteral("page");
    }
    return QString();
}

JsonValue Kind::toJson() const
{
    return JsonValue::tagged(name().toStdString(), JsonValue::object());
}

Kind Kind::fromJson(const JsonNode &node)
{
    const auto [name, payload] = node.oneCaseOf({"video", "images", "text", "page"});
    if (!payload.isObject())
        throw JsonError("Expected an object for the case \"" + std::string(name) + "\".");
    if (name == "video")
        return video;
    if (name == "images")
        return images;
    if (name == "text")
        return text;
    return page;
}

// ---- Rendition -------------------------------------------------------------------------------

JsonValue Rendition::toJson() const
{
    return JsonValue::object().set("url", url.toJson()).set("height", height).set("bytes", bytes);
}

Rendition Rendition::fromJson(const JsonNode &node)
{
    // Named in the order the archive writes them (see JsonNode::fields), read url first.
    const JsonFields f = node.fields({"bytes", "height", "url"});
    return Rendition{Url::fromJson(f[2]), f[1].int64(), f[0].int64()};
}

std::size_t qHash(const Rendition &r, std::size_t seed) noexcept
{
    seed = qHash(r.url, seed);
    seed = ::qHash(r.height, seed);
    return ::qHash(r.bytes, seed);
}

// ---- Attachment ------------------------------------------------------------------------------

std::int64_t Attachment::bytes() const
{
    return std::visit([](const auto &c) { return c.bytes; }, m_value);
}

const Url &Attachment::remote() const
{
    return std::visit([](const auto &c) -> const Url & { return c.url; }, m_value);
}

QString Attachment::fileExtension() const
{
    switch (m_value.index()) {
    case 0: return QStringLiteral("mp4");
    case 1: return QStringLiteral("jpg");
    default: return QStringLiteral("html");
    }
}

Attachment Attachment::at(Quality quality) const
{
    const Video *v = asVideo();
    if (!v || !v->renditions || v->renditions->empty())
        return *this;
    const auto ceiling = quality.ceiling();
    if (!ceiling)
        return *this;
    const auto &list = *v->renditions;
    const Rendition *chosen = nullptr;
    for (const Rendition &r : list)
        if (r.height <= *ceiling && (!chosen || r.height > chosen->height))
            chosen = &r;
    if (!chosen) {
        for (const Rendition &r : list)
            if (!chosen || r.height < chosen->height)
                chosen = &r;
    }
    return Video{chosen->url, v->length, chosen->bytes, std::nullopt};
}

JsonValue Attachment::toJson() const
{
    if (const Video *v = asVideo()) {
        JsonValue payload = JsonValue::object();
        payload.set("_0", v->url.toJson()).set("length", v->length.toJson()).set("bytes", v->bytes);
        if (v->renditions) {
            JsonValue list = JsonValue::array();
            for (const Rendition &r : *v->renditions)
                list.push(r.toJson());
            payload.set("renditions", std::move(list));
        }
        return JsonValue::tagged("video", std::move(payload));
    }
    const char *name = isImage() ? "image" : "page";
    return JsonValue::tagged(name, JsonValue::object().set("_0", remote().toJson()).set("bytes", bytes()));
}

Attachment Attachment::fromJson(const JsonNode &node)
{
    const auto [name, payload] = node.oneCaseOf({"video", "image", "page"});
    if (name == "video") {
        const JsonFields f = payload.fields({"_0", "bytes", "length", "renditions"});
        Url url = Url::fromJson(f[0]);
        const Duration length = Duration::fromJson(f[2]);
        Video v{std::move(url), length, f[1].int64(), std::nullopt};
        if (const auto list = f.optional(3)) {
            std::vector<Rendition> renditions;
            renditions.reserve(list->elementCount());
            list->forEachElement([&](const JsonNode &r) { renditions.push_back(Rendition::fromJson(r)); });
            v.renditions = std::move(renditions);
        }
        return v;
    }
    const JsonFields f = payload.fields({"_0", "bytes"});
    Url url = Url::fromJson(f[0]);
    const std::int64_t bytes = f[1].int64();
    if (name == "image")
        return Image{std::move(url), bytes};
    return Page{std::move(url), bytes};
}

std::size_t qHash(const Attachment &a, std::size_t seed) noexcept
{
    seed = ::qHash(int(a.value().index()), seed);
    seed = qHash(a.remote(), seed);
    if (const auto *v = a.asVideo())
        seed = qHash(v->length, seed);
    seed = ::qHash(a.bytes(), seed);
    if (const auto *v = a.asVideo()) {
        seed = ::qHash(v->renditions.has_value(), seed);
        if (v->renditions) {
            seed = ::qHash(qsizetype(v->renditions->size()), seed);
            for (const Rendition &r : *v->renditions)
                seed = qHash(r, seed);
        }
    }
    return seed;
}

// ---- Author ----------------------------------------------------------------------------------

bool operator==(const Author &a, const Author &b)
{
    return text::canonicallyEqual(a.name, b.name) && a.handle == b.handle && a.avatar == b.avatar;
}

std::size_t qHash(const Author &a, std::size_t seed) noexcept
{
    seed = text::canonicalHash(a.name, seed);
    seed = qHash(a.handle, seed);
    seed = ::qHash(a.avatar.has_value(), seed);
    if (a.avatar)
        seed = qHash(*a.avatar, seed);
    return seed;
}

JsonValue Author::toJson() const
{
    JsonValue v = JsonValue::object();
    v.set("name", name).set("handle", handle.toJson());
    if (avatar)
        v.set("avatar", avatar->toJson());
    return v;
}

Author Author::fromJson(const JsonNode &node)
{
    const JsonFields f = node.fields({"avatar", "handle", "name"});
    // An author's name, handle and avatar come back with each of their posts: pooled.
    QString name = f[2].pooledString();
    Author a{std::move(name), Handle::fromJson(f[1]), std::nullopt};
    if (const auto avatar = f.optional(0))
        a.avatar = Url::fromPooledJson(*avatar);
    return a;
}

// ---- Post ------------------------------------------------------------------------------------

Kind Post::kind() const
{
    bool video = false;
    for (const Attachment &a : attachments) {
        if (a.isPage())
            return Kind::page;
        video = video || a.isVideo();
    }
    if (video)
        return Kind::video;
    return attachments.empty() ? Kind::text : Kind::images;
}

std::int64_t Post::mediaBytes() const
{
    std::int64_t sum = 0;
    for (const Attachment &a : attachments)
        sum = saturatingAdd(sum, a.bytes());
    return sum;
}

std::int64_t Post::mediaBytes(Quality quality) const
{
    std::int64_t sum = 0;
    for (const Attachment &a : attachments)
        sum = saturatingAdd(sum, a.at(quality).bytes());
    return sum;
}

bool operator==(const Post &a, const Post &b)
{
    return a.link == b.link && a.author == b.author && text::canonicallyEqual(a.text, b.text)
        && a.postedAt == b.postedAt && a.attachments == b.attachments && a.preview == b.preview;
}

std::size_t qHash(const Post &p, std::size_t seed) noexcept
{
    seed = qHash(p.link, seed);
    seed = qHash(p.author, seed);
    seed = text::canonicalHash(p.text, seed);
    seed = qHash(p.postedAt, seed);
    seed = ::qHash(qsizetype(p.attachments.size()), seed);
    for (const Attachment &a : p.attachments)
        seed = qHash(a, seed);
    seed = ::qHash(p.preview.has_value(), seed);
    if (p.preview)
        seed = qHash(*p.preview, seed);
    return seed;
}

JsonValue Post::toJson() const
{
    JsonValue list = JsonValue::array();
    for (const Attachment &a : attachments)
        list.push(a.toJson());
    JsonValue v = JsonValue::object();
    v.set("link", link.toJson())
        .set("author", author.toJson())
        .set("text", text)
        .set("postedAt", postedAt.toJson())
        .set("attachments", std::move(list));
    if (preview)
        v.set("preview", preview->toJson());
    return v;
}

namespace {

void appendInteger(std::string &out, std::int64_t i)
{
    char digits[24];
    out.append(digits, std::to_chars(digits, digits + sizeof digits, i).ptr);
}

// Keys in sorted order at every level, as the value tree would write them.
void writeAttachment(std::string &out, const Attachment &attachment)
{
    if (const Attachment::Video *v = attachment.asVideo()) {
        out.append(R"({"video":{"_0":)");
        v->url.writeJson(out);
        out.append(R"(,"bytes":)");
        appendInteger(out, v->bytes);
        out.append(R"(,"length":)");
        v->length.writeJson(out);
        if (v->renditions) {
            out.append(R"(,"renditions":[)");
            bool first = true;
            for (const Rendition &r : *v->renditions) {
                out.append(first ? R"({"bytes":)" : R"(,{"bytes":)");
                first = false;
                appendInteger(out, r.bytes);
                out.append(R"(,"height":)");
                appendInteger(out, r.height);
                out.append(R"(,"url":)");
                r.url.writeJson(out);
                out.push_back('}');
            }
            out.push_back(']');
        }
        out.append("}}");
        return;
    }
    out.append(attachment.isImage() ? R"({"image":{"_0":)" : R"({"page":{"_0":)");
    attachment.remote().writeJson(out);
    out.append(R"(,"bytes":)");
    appendInteger(out, attachment.bytes());
    out.append("}}");
}

}  // namespace

void Post::writeJson(std::string &out) const
{
    out.append(R"({"attachments":[)");
    bool first = true;
    for (const Attachment &a : attachments) {
        if (!first)
            out.push_back(',');
        first = false;
        writeAttachment(out, a);
    }
    out.append(R"(],"author":{)");
    if (author.avatar) {
        out.append(R"("avatar":)");
        author.avatar->writeJson(out);
        out.push_back(',');
    }
    out.append(R"("handle":{"name":)");
    writeJsonString(out, QStringView(author.handle.name));
    out.append(R"(},"name":)");
    writeJsonString(out, QStringView(author.name));
    out.append(R"(},"link":)");
    link.writeJson(out);
    out.append(R"(,"postedAt":)");
    postedAt.writeJson(out);
    if (preview) {
        out.append(R"(,"preview":)");
        preview->writeJson(out);
    }
    out.append(R"(,"text":)");
    writeJsonString(out, QStringView(text));
    out.push_back('}');
}

Post Post::fromJson(const JsonNode &node)
{
    // Named in the order the archive writes them (see JsonNode::fields), read link first.
    enum { attachmentsAt, authorAt, linkAt, postedAtAt, previewAt, textAt };
    const JsonFields f = node.fields({"attachments", "author", "link", "postedAt", "preview", "text"});
    Post p;
    p.link = PostLink::fromJson(f[linkAt]);
    p.author = Author::fromJson(f[authorAt]);
    p.text = f[textAt].string();
    p.postedAt = Date::fromJson(f[postedAtAt]);
    const JsonNode attachments = f[attachmentsAt];
    p.attachments.reserve(attachments.elementCount());
    attachments.forEachElement([&](const JsonNode &a) { p.attachments.push_back(Attachment::fromJson(a)); });
    if (const auto preview = f.optional(previewAt))
        p.preview = Url::fromJson(*preview);
    return p;
}

}  // namespace sw
