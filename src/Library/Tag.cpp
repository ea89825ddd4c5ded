#include "Library/Tag.h"

#include "Capture/Text.h"

#include <QStringList>

namespace sw {

std::optional<Tag> Tag::fromText(const QString &input)
{
    QStringView view = text::trimmedView(input);
    while (view.startsWith(u'#'))
        view = view.sliced(1);
    const QStringList parts = text::words(text::lowercased(view.toString()));
    if (parts.isEmpty())
        return std::nullopt;
    return Tag{parts.join(u'-')};
}

bool operator==(const Tag &a, const Tag &b)
{
    return text::canonicallyEqual(a.name, b.name);
}

JsonValue Tag::toJson() const
{
    JsonValue v = JsonValue::object();
    v.set("name", name);
    return v;
}

Tag Tag::fromJson(const JsonNode &node)
{
    // A library uses a few names of tags over and over: pooled.
    return Tag{node["name"].pooledString()};
}

std::size_t qHash(const Tag &tag, std::size_t seed) noexcept
{
    return text::canonicalHash(tag.name, seed);
}

}  // namespace sw
