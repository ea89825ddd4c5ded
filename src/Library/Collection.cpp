#include "Library/Collection.h"

#include "Capture/Text.h"



namespace sw {

namespace {

constexpr std::array<std::string_view, 5> kSwatchNames{"amber", "blue", "green", "pink", "violet"};

}  // namespace

std::string_view swatchName(Swatch swatch)
{
    return kSwatchNames[static_cast<std::size_t>(swatch)];
}

std::optional<Swatch> swatchNamed(std::string_view name)
{
    for (Swatch s : allSwatches)
        if (swatchName(s) == name)
            return s;
    return std::nullopt;
}

JsonValue swatchToJson(Swatch swatch)
{
    return JsonValue::tagged(std::string(swatchName(swatch)), JsonValue::object());
}

Swatch swatchFromJson(const JsonNode &node)
{
    const auto [name, payload] = node.oneCaseOf({"amber", "blue", "green", "pink", "violet"});
    if (!payload.isObject())
        throw JsonError("Expected to decode a keyed container for the swatch \"" + std::string(name)
                        + "\" but found another kind of value.");
    return *swatchNamed(name);
}

std::string_view refusalKey(CollectionRefusal refusal)
{
    switch (refusal) {
    case CollectionRefusal::nameEmpty: return "refusal.nameEmpty";
    case CollectionRefusal::nameTaken: return "refusal.nameTaken";
    case CollectionRefusal::noSuchCollection: return "refusal.noSuchCollection";
    }
    return {};
}

bool operator==(const Collection &a, const Collection &b)
{
    return a.id == b.id && a.swatch == b.swatch && text::canonicallyEqual(a.name, b.name);
}

JsonValue Collection::toJson() const
{
    JsonValue v = JsonValue::object();
    v.set("id", id.toJson());
    v.set("name", name);
    v.set("swatch", swatchToJson(swatch));
    return v;
}

Collection Collection::fromJson(const JsonNode &node)
{
    Collection c;
    c.id = ID::fromJson(node["id"]);
    c.name = node["name"].string();
    c.swatch = swatchFromJson(node["swatch"]);
    return c;
}

size_t qHash(const Collection &collection, size_t seed) noexcept
{
    seed = qHashMulti(seed, collection.id);
    seed = text::canonicalHash(collection.name, seed);
    return qHash(collection.swatch, seed);
}

Swatch nextSwatch(std::span<const Collection> collections)
{
    std::array<bool, allSwatches.size()> used{};
    for (const Collection &c : collections)
        used[static_cast<std::size_t>(c.swatch)] = true;
    for (Swatch s : allSwatches)
        if (!used[static_cast<std::size_t>(s)])
            return s;
    return allSwatches[collections.size() % allSwatches.size()];
}

}  // namespace sw
