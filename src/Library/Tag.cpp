#include "Tag.h"

#include "Text.h"

#include <QStringList>

namespace sw {

namespace {

// The maximal runs of non-white-space characters. Every white-space character lies in the Basic
// Multilingual Plane, so testing UTF-16 units one by one never splits a surrogate pair.
QStringList words(QStringView s)
{
    QStringList out;
    qsizetype start = -1;
    for (qsizetype i = 0; i <= s.size(); ++i) {
        const bool space = i == s.size() || text::isWhiteSpace(s.at(i).unicode());
        if (space) {
            if (start >= 0)
                out.append(s.sliced(start, i - start).toString());
            start = -1;
        } else if (start < 0) {
            start = i;
        }
    }
    return out;
}

}  // namespace

std::optional<Tag> Tag::fromText(const QString &input)
{
    QStringView view = text::trimmedView(input);
    while (view.startsWith(u'#'))
        view = view.sliced(1);
    const QStringList parts = words(text::lowercased(view.toString()));
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
    return Tag{node["name"].string()};
}

std::size_t qHash(const Tag &tag, std::size_t seed) noexcept
{
    return text::canonicalHash(tag.name, seed);
}

}  // namespace sw
