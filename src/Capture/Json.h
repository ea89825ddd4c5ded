#pragma once

// The JSON dialect of the archive: a canonical writer (sorted keys at every depth, compact,
// "\/" for "/", exact 64-bit integers, shortest round-trip doubles) and a strict reader, which
// only reads a lone surrogate escape as U+FFFD.

#include <QString>
#include <QStringView>

#include <array>
#include <concepts>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

namespace simdjson::dom {
class element;
class parser;
}

namespace sw {

// A decoding failure: a missing key, a value of the wrong type, a malformed document.
class JsonError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    QString message() const { return QString::fromUtf8(what()); }
};

// The text of the failure when a tagged union holds no case key or more than one.
inline constexpr const char *kInvalidCaseCount = "Invalid number of keys found, expected one.";

// A value to be written. Objects keep their members sorted by key, so writing is canonical.
class JsonValue {
public:
    struct Raw { std::string text; };   // an already canonical fragment, written verbatim
    using Array = std::vector<JsonValue>;
    using Member = std::pair<std::string, JsonValue>;
    using Object = std::vector<Member>;

    JsonValue() = default;                        // null
    JsonValue(std::nullptr_t) {}
    JsonValue(bool b) : m_v(b) {}
    template <std::signed_integral I>
        requires(!std::same_as<I, bool>)
    JsonValue(I i) : m_v(static_cast<std::int64_t>(i)) {}
    template <std::unsigned_integral U>
        requires(!std::same_as<U, bool>)
    JsonValue(U u) : m_v(static_cast<std::uint64_t>(u)) {}
    JsonValue(double d) : m_v(d) {}
    JsonValue(const char *s) : m_v(std::string(s)) {}
    JsonValue(std::string s) : m_v(std::move(s)) {}
    JsonValue(std::string_view s) : m_v(std::string(s)) {}
    JsonValue(const QString &s) : m_v(s.toStdString()) {}
    JsonValue(Array a) : m_v(std::move(a)) {}
    JsonValue(Raw r) : m_v(std::move(r)) {}

    static JsonValue array() { return JsonValue(Array{}); }
    static JsonValue object() { JsonValue v; v.m_v = Object{}; return v; }
    static JsonValue raw(std::string canonical) { return JsonValue(Raw{std::move(canonical)}); }
    // A one-key object: the form of a tagged union's case.
    static JsonValue tagged(std::string caseName, JsonValue payload);

    // Sets a member of an object (replacing a member of the same key); keeps keys sorted.
    JsonValue &set(std::string key, JsonValue value);
    // Appends to an array.
    JsonValue &push(JsonValue value);

    bool isNull() const { return std::holds_alternative<std::monostate>(m_v); }

    // The canonical text.
    std::string toJson() const;
    void writeTo(std::string &out) const;

private:
    std::variant<std::monostate, bool, std::int64_t, std::uint64_t, double, std::string, Array, Object, Raw> m_v;
};

// Appends a JSON string literal in the canonical escaping.
void writeJsonString(std::string &out, std::string_view utf8);
// The same for UTF-16 text, without an intermediate UTF-8 copy; the bytes are those of
// writeJsonString(out, text.toString().toStdString()).
void writeJsonString(std::string &out, QStringView text);
// Appends a double as the writer does (shortest round-trip, no trailing ".0").
void writeJsonDouble(std::string &out, double d);

class JsonFields;

// A read-only view of one value of a parsed document. Accessors throw JsonError on a wrong type.
class JsonNode {
public:
    explicit JsonNode(const simdjson::dom::element &e);
    JsonNode(const JsonNode &) = default;
    JsonNode &operator=(const JsonNode &) = default;
    ~JsonNode() = default;

    bool isNull() const;
    bool isObject() const;
    bool isArray() const;
    bool isString() const;
    bool isNumber() const;

    // A required member: missing (or not an object) throws.
    JsonNode operator[](std::string_view key) const;
    // An optional member: absent or null gives nothing.
    std::optional<JsonNode> optional(std::string_view key) const;
    bool has(std::string_view key) const;
    std::vector<std::string_view> keys() const;

    std::string_view stringView() const;
    std::string stdString() const { return std::string(stringView()); }
    QString string() const;
    // The same text, taken from the string pool open on this thread (StringPool), if any: for
    // texts that many values of a document repeat.
    QString pooledString() const;
    bool boolean() const;
    std::int64_t int64() const;    // an integer, or a double with an exact integral value in range
    std::uint64_t uint64() const;
    double number() const;         // any number
    std::vector<JsonNode> elements() const;  // array elements
    // The same elements visited in order, without a list of them made; the count of them first.
    // Both throw as elements() does when this is not an array.
    std::size_t elementCount() const;
    template <typename Visit>
    void forEachElement(Visit &&visit) const
    {
        forEachElementOf(&visit, [](void *v, const JsonNode &e) { (*static_cast<std::remove_reference_t<Visit> *>(v))(e); });
    }
    std::size_t size() const;                // array length or member count

    // The one case key of a tagged union among `cases`; other keys are ignored.
    // None or more than one throws JsonError(kInvalidCaseCount).
    std::pair<std::string_view, JsonNode> oneCaseOf(std::initializer_list<std::string_view> cases) const;

    // The raw text of this value as it appears in the document.
    std::string rawJson() const;

    // The members of this object that a decoder will read (at most JsonFields::capacity names),
    // found in one pass over its members: each the first of its name, as operator[] finds it.
    // Throws, as operator[] does, when this is not an object.
    JsonFields fields(std::initializer_list<std::string_view> names) const;


private:
    void forEachElementOf(void *visit, void (*call)(void *, const JsonNode &)) const;
    const simdjson::dom::element &el() const;
    // The simdjson element (two words), held inline so that a node costs no allocation.
    alignas(void *) unsigned char m_storage[2 * sizeof(void *)];
};

// The members of an object that fields() found. Reading one that is missing throws what
// operator[] throws for it, at the moment it is read.
class JsonFields {
public:
    static constexpr std::size_t capacity = 8;

    JsonNode operator[](std::size_t i) const;
    // Absent or null gives nothing.
    std::optional<JsonNode> optional(std::size_t i) const;

private:
    friend class JsonNode;
    JsonFields() = default;
    // Made for every object a decoder reads: only the nodes that m_found marks are ever set.
    std::array<std::string_view, capacity> m_names{};
    union Room {
        Room() {}
        JsonNode node;
    };
    std::array<Room, capacity> m_nodes;
    std::uint32_t m_found = 0;
    std::uint32_t m_count = 0;
};

// The document with every escape of a lone UTF-16 surrogate (\ud83d without its partner)
// inside a string turned into \ufffd; none when it holds no such escape. The reader reads a
// document that its parser refuses once more in this form: a lone surrogate decodes to U+FFFD
// wherever it stands, and nothing else the parser refuses is let through.
std::optional<std::string> replacingLoneSurrogates(std::string_view bytes);

// Asks the system to back the whole 2 MiB pages inside [start, start + length) with huge pages
// when they are first touched: a large buffer filled once then costs a few hundred page faults
// instead of tens of thousands. Only an advice; nothing else changes.
void adviseHugePages(void *start, std::size_t length) noexcept;

// A parsed document. Nodes borrowed from it live as long as it does.
class JsonDocument {
public:
    // How many bytes past a document's end the parser may read (and ignore).
    static constexpr std::size_t padding = 64;
    struct Padded {};   // the bytes are followed by `padding` readable bytes

    // Throws JsonError when the bytes are not JSON.
    explicit JsonDocument(std::string_view bytes);
    // The same, parsing the bytes where they lie: a large document is not copied first.
    JsonDocument(std::string_view bytes, Padded);
    ~JsonDocument();
    JsonDocument(const JsonDocument &) = delete;
    JsonDocument &operator=(const JsonDocument &) = delete;
    JsonNode root() const;

private:
    std::unique_ptr<simdjson::dom::parser> m_parser;
    std::unique_ptr<simdjson::dom::element> m_root;
};

}  // namespace sw
