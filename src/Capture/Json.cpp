#include "Capture/Json.h"

#include "Capture/StringPool.h"
#include "Capture/Text.h"

#include <simdjson.h>


#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <new>
#include <utility>
#include <vector>

#include <sys/mman.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace sw {

namespace dom = simdjson::dom;

// ---- writing -------------------------------------------------------------------------------

JsonValue JsonValue::tagged(std::string caseName, JsonValue payload)
{
    JsonValue v = object();
    v.set(std::move(caseName), std::move(payload));
    return v;
}

JsonValue &JsonValue::set(std::string key, JsonValue value)
{
    if (!std::holds_alternative<Object>(m_v))
        m_v = Object{};
    auto &members = std::get<Object>(m_v);
    auto it = std::lower_bound(members.begin(), members.end(), key,
                               [](const Member &m, const std::string &k) { return m.first < k; });
    if (it != members.end() && it->first == key)
        it->second = std::move(value);
    else
        members.insert(it, Member{std::move(key), std::move(value)});
    return *this;
}

JsonValue &JsonValue::push(JsonValue value)
{
    if (!std::holds_alternative<Array>(m_v))
        m_v = Array{};
    std::get<Array>(m_v).push_back(std::move(value));
    return *this;
}

namespace {
// Writes at `w` the escape of an ASCII character that JSON does not take as it is (a quote, a
// backslash, a slash or a control character); gives where it ends. At most six bytes.
char *writeEscape(char *w, unsigned char c)
{
    static constexpr char hex[] = "0123456789abcdef";
    *w++ = '\\';
    switch (c) {
    case '"': *w++ = '"'; break;
    case '\\': *w++ = '\\'; break;
    case '/': *w++ = '/'; break;
    case '\b': *w++ = 'b'; break;
    case '\f': *w++ = 'f'; break;
    case '\n': *w++ = 'n'; break;
    case '\r': *w++ = 'r'; break;
    case '\t': *w++ = 't'; break;
    default:
        std::memcpy(w, "u00", 3);
        w[3] = hex[c >> 4];
        w[4] = hex[c & 0xF];
        w += 5;
    }
    return w;
}

// How many bytes at the start of p[0, n) need no escape, copying them to `w` as it goes (sixteen
// at a time, plain or not: the caller's room holds six bytes a byte, and only the plain ones are
// counted). Bytes from 0x80 up are plain once the text is known to be
// well-formed UTF-8 (`highPlain`); before, they stop the run to have it checked. An address is
// mostly plain bytes.
std::size_t plainBytes(const char *p, std::size_t n, char *w, bool highPlain)
{
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i below = _mm_set1_epi8(0x20);
    const __m128i quote = _mm_set1_epi8('"');
    const __m128i backslash = _mm_set1_epi8('\\');
    const __m128i slash = _mm_set1_epi8('/');
    const __m128i zero = _mm_setzero_si128();
    const __m128i highTaken = highPlain ? _mm_set1_epi8(char(0xFF)) : zero;
    for (; i + 16 <= n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(w + i), v);
        // Signed: bytes from 0x80 up count as below 0x20, and are then taken out again when
        // they are plain.
        __m128i special = _mm_cmplt_epi8(v, below);
        special = _mm_andnot_si128(_mm_and_si128(highTaken, _mm_cmplt_epi8(v, zero)), special);
        special = _mm_or_si128(special, _mm_cmpeq_epi8(v, quote));
        special = _mm_or_si128(special, _mm_cmpeq_epi8(v, backslash));
        special = _mm_or_si128(special, _mm_cmpeq_epi8(v, slash));
        if (const int mask = _mm_movemask_epi8(special))
            return i + std::size_t(__builtin_ctz(unsigned(mask)));
    }
#endif
    for (; i < n; ++i) {
        const auto c = static_cast<unsigned char>(p[i]);
        if (c < 0x20 || (c >= 0x80 && !highPlain) || c == '"' || c == '\\' || c == '/')
            return i;
        w[i] = char(c);
    }
    return n;
}
}  // namespace

void writeJsonString(std::string &out, std::string_view s)
{
    const std::size_t n = s.size();
    const char *p = s.data();
    const std::size_t start = out.size();
    bool malformed = false;
    // At most six bytes a byte (a control character as \u00XX), and the quotes.
    out.resize_and_overwrite(start + 6 * n + 2, [&](char *buffer, std::size_t) {
        char *w = buffer + start;
        *w++ = '"';
        bool validated = false;
        for (std::size_t i = 0; i < n; ++i) {
            const std::size_t plain = plainBytes(p + i, n - i, w, validated);
            w += plain;
            i += plain;
            if (i == n)
                break;
            const auto c = static_cast<unsigned char>(p[i]);
            if (c >= 0x80) {
                // Never write a document that cannot be read back: malformed UTF-8 becomes
                // U+FFFD. A text of ASCII alone (an address) is never looked at twice.
                if (!simdjson::validate_utf8(p, n)) {
                    malformed = true;
                    return start;
                }
                validated = true;
                *w++ = char(c);
                continue;
            }
            // Below 0x80, plainBytes stops only at what must be escaped.
            w = writeEscape(w, c);
        }
        *w++ = '"';
        return std::size_t(w - buffer);
    });
    if (malformed) {
        const std::string repaired = QString::fromUtf8(p, static_cast<qsizetype>(n)).toStdString();
        writeJsonString(out, repaired);
    }
}

namespace {
// How many UTF-16 units at the start of p[0, n) are plain: ASCII that JSON takes as it is (no
// control character, quote, backslash or slash). Looks at eight units at a time: the text of
// posts and every address is mostly such units, and each is written as its one byte.
std::size_t plainRun(const char16_t *p, std::size_t n, char *w)
{
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i below = _mm_set1_epi16(0x20);
    const __m128i above = _mm_set1_epi16(0x7F);
    const __m128i quote = _mm_set1_epi16('"');
    const __m128i backslash = _mm_set1_epi16('\\');
    const __m128i slash = _mm_set1_epi16('/');
    for (; i + 8 <= n; i += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i));
        // Signed comparisons: units from 0x8000 up count as below 0x20, which is as wanted.
        __m128i special = _mm_or_si128(_mm_cmplt_epi16(v, below), _mm_cmpgt_epi16(v, above));
        special = _mm_or_si128(special, _mm_cmpeq_epi16(v, quote));
        special = _mm_or_si128(special, _mm_cmpeq_epi16(v, backslash));
        special = _mm_or_si128(special, _mm_cmpeq_epi16(v, slash));
        // The eight units as bytes, written whether or not all are plain: the caller's room
        // holds six bytes a unit, and only the plain ones are counted.
        _mm_storel_epi64(reinterpret_cast<__m128i *>(w + i), _mm_packus_epi16(v, v));
        if (const int mask = _mm_movemask_epi8(special))
            return i + std::size_t(__builtin_ctz(unsigned(mask)) / 2);
    }
#endif
    for (; i < n; ++i) {
        const char16_t c = p[i];
        if (c < 0x20 || c >= 0x80 || c == '"' || c == '\\' || c == '/')
            return i;
        w[i] = char(c);
    }
    return n;
}
}  // namespace

void writeJsonString(std::string &out, QStringView text)
{
    const std::size_t n = std::size_t(text.size());
    const char16_t *p = text.utf16();
    const std::size_t start = out.size();
    bool loneSurrogate = false;
    // At most six bytes per UTF-16 unit (a control character as \u00XX), and the quotes.
    out.resize_and_overwrite(start + 6 * n + 2, [&](char *buffer, std::size_t) {
        char *w = buffer + start;
        *w++ = '"';
        for (std::size_t i = 0; i < n; ++i) {
            const std::size_t plain = plainRun(p + i, n - i, w);
            w += plain;
            i += plain;
            if (i == n)
                break;
            const char16_t c = p[i];
            if (c < 0x80) {
                // Below 0x80, plainRun stops only at what must be escaped.
                w = writeEscape(w, static_cast<unsigned char>(c));
            } else if (c < 0x800) {
                *w++ = char(0xC0 | (c >> 6));
                *w++ = char(0x80 | (c & 0x3F));
            } else if (c < 0xD800 || c > 0xDFFF) {
                *w++ = char(0xE0 | (c >> 12));
                *w++ = char(0x80 | ((c >> 6) & 0x3F));
                *w++ = char(0x80 | (c & 0x3F));
            } else if (c < 0xDC00 && i + 1 < n && p[i + 1] >= 0xDC00 && p[i + 1] <= 0xDFFF) {
                const char32_t u = 0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(p[i + 1]) - 0xDC00);
                *w++ = char(0xF0 | (u >> 18));
                *w++ = char(0x80 | ((u >> 12) & 0x3F));
                *w++ = char(0x80 | ((u >> 6) & 0x3F));
                *w++ = char(0x80 | (u & 0x3F));
                ++i;
            } else {
                loneSurrogate = true;
                return start;
            }
        }
        *w++ = '"';
        return std::size_t(w - buffer);
    });
    // A lone surrogate: its repair is left to the converter that the canonical form is defined by.
    if (loneSurrogate)
        writeJsonString(out, text.toString().toStdString());
}

void writeJsonDouble(std::string &out, double d)
{
    // JSON has no NaN or infinity; never write a document that cannot be read back. Negative
    // zero is written as 0: "-0" reads back as the integer 0, whose text would then be "0".
    if (std::isnan(d) || d == 0)
        d = 0;
    else if (std::isinf(d))
        d = d > 0 ? std::numeric_limits<double>::max() : std::numeric_limits<double>::lowest();
    char buf[400];
    const double a = std::fabs(d);
    const bool fixed = a == 0 || (a >= 1e-4 && a < 9007199254740992.0);
    auto res = std::to_chars(buf, buf + sizeof buf, d,
                             fixed ? std::chars_format::fixed : std::chars_format::scientific);
    std::string_view text(buf, res.ptr - buf);
    out.append(text);
}

void JsonValue::writeTo(std::string &out) const
{
    struct Visitor {
        std::string &out;
        void operator()(std::monostate) const { out.append("null"); }
        void operator()(bool b) const { out.append(b ? "true" : "false"); }
        void operator()(std::int64_t i) const
        {
            char buf[24];
            auto r = std::to_chars(buf, buf + sizeof buf, i);
            out.append(buf, r.ptr);
        }
        void operator()(std::uint64_t u) const
        {
            char buf[24];
            auto r = std::to_chars(buf, buf + sizeof buf, u);
            out.append(buf, r.ptr);
        }
        void operator()(double d) const { writeJsonDouble(out, d); }
        void operator()(const std::string &s) const { writeJsonString(out, s); }
        void operator()(const Array &a) const
        {
            out.push_back('[');
            bool first = true;
            for (const auto &v : a) {
                if (!first)
                    out.push_back(',');
                first = false;
                v.writeTo(out);
            }
            out.push_back(']');
        }
        void operator()(const Object &o) const
        {
            out.push_back('{');
            bool first = true;
            for (const auto &[k, v] : o) {
                if (!first)
                    out.push_back(',');
                first = false;
                writeJsonString(out, k);
                out.push_back(':');
                v.writeTo(out);
            }
            out.push_back('}');
        }
        void operator()(const Raw &r) const { out.append(r.text); }
    };
    std::visit(Visitor{out}, m_v);
}

std::string JsonValue::toJson() const
{
    std::string out;
    writeTo(out);
    return out;
}

// ---- reading -------------------------------------------------------------------------------

namespace {
[[noreturn]] void fail(std::string what) { throw JsonError(what); }

const char *typeName(dom::element_type t)
{
    switch (t) {
    case dom::element_type::ARRAY: return "an array";
    case dom::element_type::OBJECT: return "an object";
    case dom::element_type::INT64:
    case dom::element_type::UINT64:
    case dom::element_type::DOUBLE: return "a number";
    case dom::element_type::STRING: return "a string";
    case dom::element_type::BOOL: return "a Boolean";
    case dom::element_type::NULL_VALUE: return "null";
    }
    return "a value";
}

[[noreturn]] void mismatch(const dom::element &e, const char *expected)
{
    fail(std::string("Expected ") + expected + " but found " + typeName(e.type()) + " instead.");
}
}  // namespace

static_assert(sizeof(dom::element) <= 2 * sizeof(void *) && alignof(dom::element) <= alignof(void *),
              "JsonNode's inline storage does not fit simdjson::dom::element");

// A node is copied as its bytes (inline, everywhere a decoder passes one on).
static_assert(std::is_trivially_copyable_v<dom::element> && std::is_trivially_destructible_v<dom::element>,
              "JsonNode copies simdjson::dom::element as plain bytes");

// Nodes are made only here: inline, a node is made from the element's two words where they lie.
inline JsonNode::JsonNode(const dom::element &e) { new (m_storage) dom::element(e); }

const dom::element &JsonNode::el() const
{
    return *std::launder(reinterpret_cast<const dom::element *>(m_storage));
}

bool JsonNode::isNull() const { return el().is_null(); }
bool JsonNode::isObject() const { return el().is_object(); }
bool JsonNode::isArray() const { return el().is_array(); }
bool JsonNode::isString() const { return el().is_string(); }
bool JsonNode::isNumber() const { return el().is_number(); }

JsonNode JsonNode::operator[](std::string_view key) const
{
    dom::object obj;
    if (el().get_object().get(obj) != simdjson::SUCCESS)
        mismatch(el(), "an object");
    dom::element child;
    if (obj.at_key(key).get(child) != simdjson::SUCCESS)
        fail("No value associated with key \"" + std::string(key) + "\".");
    return JsonNode(child);
}

std::optional<JsonNode> JsonNode::optional(std::string_view key) const
{
    dom::object obj;
    if (el().get_object().get(obj) != simdjson::SUCCESS)
        mismatch(el(), "an object");
    dom::element child;
    if (obj.at_key(key).get(child) != simdjson::SUCCESS || child.is_null())
        return std::nullopt;
    return JsonNode(child);
}

bool JsonNode::has(std::string_view key) const
{
    dom::object obj;
    if (el().get_object().get(obj) != simdjson::SUCCESS)
        return false;
    dom::element child;
    return obj.at_key(key).get(child) == simdjson::SUCCESS;
}

std::vector<std::string_view> JsonNode::keys() const
{
    dom::object obj;
    if (el().get_object().get(obj) != simdjson::SUCCESS)
        mismatch(el(), "an object");
    std::vector<std::string_view> out;
    out.reserve(obj.size());
    for (auto field : obj)
        out.push_back(field.key);
    return out;
}

std::string_view JsonNode::stringView() const
{
    std::string_view s;
    if (el().get_string().get(s) != simdjson::SUCCESS)
        mismatch(el(), "a string");
    // The parser keeps the strings of a document one after another in its order, and decoders
    // read them in that order, a large document long after they were written there: what lies
    // a couple of values ahead is asked for now.
    __builtin_prefetch(s.data() + 2048);
    __builtin_prefetch(s.data() + 2112);
    return s;
}

QString JsonNode::string() const
{
    const auto s = stringView();
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QString JsonNode::pooledString() const
{
    return StringPool::text(stringView());
}

bool JsonNode::boolean() const
{
    bool b = false;
    if (el().get_bool().get(b) != simdjson::SUCCESS)
        mismatch(el(), "a Boolean");
    return b;
}

std::int64_t JsonNode::int64() const
{
    std::int64_t i = 0;
    if (el().get_int64().get(i) == simdjson::SUCCESS)
        return i;
    if (el().is_double()) {
        const double d = el().get_double().value_unsafe();
        // 2^63 is the first double outside the range.
        if (std::isfinite(d) && d == std::trunc(d) && d >= -9223372036854775808.0 && d < 9223372036854775808.0)
            return static_cast<std::int64_t>(d);
        fail("Number " + std::to_string(d) + " does not fit in a 64-bit integer.");
    }
    if (el().is_uint64())
        fail("Number does not fit in a signed 64-bit integer.");
    mismatch(el(), "an integer");
}

std::uint64_t JsonNode::uint64() const
{
    std::uint64_t u = 0;
    if (el().get_uint64().get(u) == simdjson::SUCCESS)
        return u;
    if (el().is_double()) {
        const double d = el().get_double().value_unsafe();
        if (std::isfinite(d) && d == std::trunc(d) && d >= 0 && d < 18446744073709551616.0)
            return static_cast<std::uint64_t>(d);
        fail("Number does not fit in an unsigned 64-bit integer.");
    }
    if (el().is_int64())
        fail("Negative number where an unsigned integer was expected.");
    mismatch(el(), "an integer");
}

double JsonNode::number() const
{
    double d = 0;
    if (el().get_double().get(d) != simdjson::SUCCESS)
        mismatch(el(), "a number");
    return d;
}

std::vector<JsonNode> JsonNode::elements() const
{
    dom::array arr;
    if (el().get_array().get(arr) != simdjson::SUCCESS)
        mismatch(el(), "an array");
    std::vector<JsonNode> out;
    out.reserve(arr.size());
    for (dom::element e : arr)
        out.emplace_back(e);
    return out;
}

std::size_t JsonNode::elementCount() const
{
    dom::array arr;
    if (el().get_array().get(arr) != simdjson::SUCCESS)
        mismatch(el(), "an array");
    // The tape holds counts up to 0xFFFFFF; a longer array is counted element by element.
    std::size_t count = arr.size();
    if (count >= 0xFFFFFF)
        for (count = 0; [[maybe_unused]] dom::element e : arr)
            ++count;
    return count;
}

void JsonNode::forEachElementOf(void *visit, void (*call)(void *, const JsonNode &)) const
{
    dom::array arr;
    if (el().get_array().get(arr) != simdjson::SUCCESS)
        mismatch(el(), "an array");
    for (dom::element e : arr)
        call(visit, JsonNode(e));
}

std::size_t JsonNode::size() const
{
    dom::array arr;
    if (el().get_array().get(arr) == simdjson::SUCCESS)
        return arr.size();
    dom::object obj;
    if (el().get_object().get(obj) == simdjson::SUCCESS)
        return obj.size();
    mismatch(el(), "an array or an object");
}

std::pair<std::string_view, JsonNode> JsonNode::oneCaseOf(std::initializer_list<std::string_view> cases) const
{
    dom::object obj;
    if (el().get_object().get(obj) != simdjson::SUCCESS)
        mismatch(el(), "an object");
    std::optional<std::pair<std::string_view, dom::element>> found;
    for (auto field : obj) {
        if (std::find(cases.begin(), cases.end(), field.key) == cases.end())
            continue;
        if (found)
            fail(kInvalidCaseCount);
        found.emplace(*std::find(cases.begin(), cases.end(), field.key), field.value);
    }
    if (!found)
        fail(kInvalidCaseCount);
    return {found->first, JsonNode(found->second)};
}

std::string JsonNode::rawJson() const
{
    return simdjson::minify(el());
}

JsonFields JsonNode::fields(std::initializer_list<std::string_view> names) const
{
    dom::object obj;
    if (el().get_object().get(obj) != simdjson::SUCCESS)
        mismatch(el(), "an object");
    JsonFields fields;
    const std::size_t count = std::min(names.size(), JsonFields::capacity);
    std::copy_n(names.begin(), count, fields.m_names.begin());
    fields.m_count = std::uint32_t(count);
    std::size_t missing = count;
    // The archive writes members in sorted order, and decoders list their names in that order:
    // the name after the one found last is tried first, so that each member of a stored object
    // is matched at the first comparison. Any other order is matched all the same.
    std::size_t expected = 0;
    for (auto field : obj) {
        const std::string_view key = field.key;
        for (std::size_t tried = 0, i = expected; tried < count; ++tried, i = i + 1 == count ? 0 : i + 1) {
            const std::string_view name = fields.m_names[i];
            if (!(fields.m_found >> i & 1) && key.size() == name.size()
                && (key.empty() || (key[0] == name[0] && std::memcmp(key.data(), name.data(), key.size()) == 0))) {
                new (&fields.m_nodes[i].node) JsonNode(field.value);
                fields.m_found |= std::uint32_t(1) << i;
                expected = i + 1 == count ? 0 : i + 1;
                --missing;
                break;
            }
        }
        if (missing == 0)
            break;
    }
    return fields;
}

JsonNode JsonFields::operator[](std::size_t i) const
{
    if (i >= m_count || !(m_found >> i & 1))
        fail("No value associated with key \"" + std::string(i < m_count ? m_names[i] : std::string_view()) + "\".");
    return m_nodes[i].node;
}

std::optional<JsonNode> JsonFields::optional(std::size_t i) const
{
    if (i >= m_count || !(m_found >> i & 1) || m_nodes[i].node.isNull())
        return std::nullopt;
    return m_nodes[i].node;
}

namespace {
// The UTF-16 unit of the "\uXXXX" escape at `at`, or none when no such escape stands there.
std::optional<char16_t> escapedUnit(std::string_view bytes, std::size_t at)
{
    if (at + 6 > bytes.size() || bytes[at] != '\\' || bytes[at + 1] != 'u')
        return std::nullopt;
    unsigned unit = 0;
    for (std::size_t k = at + 2; k < at + 6; ++k) {
        const int digit = text::hexDigitValue(bytes[k]);
        if (digit < 0)
            return std::nullopt;
        unit = unit << 4 | unsigned(digit);
    }
    return char16_t(unit);
}

bool isHighSurrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool isLowSurrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }
}  // namespace

std::optional<std::string> replacingLoneSurrogates(std::string_view bytes)
{
    // Writers that work in UTF-16 escape a surrogate that has lost its partner as it stands, and
    // such a character in a field nobody reads would otherwise refuse the whole document. Each
    // escape of a lone surrogate becomes "\ufffd", of the same length, so nothing else moves and
    // everything else is left for the parser to judge.
    std::optional<std::string> repaired;
    bool inString = false;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const char c = bytes[i];
        if (!inString) {
            inString = c == '"';
            ++i;
            continue;
        }
        if (c == '"') {
            inString = false;
            ++i;
            continue;
        }
        if (c != '\\') {
            ++i;
            continue;
        }
        const std::optional<char16_t> unit = escapedUnit(bytes, i);
        if (!unit) {
            i += 2;   // any other escape, whole or broken: the parser's to judge
            continue;
        }
        if (isHighSurrogate(*unit)) {
            const std::optional<char16_t> next = escapedUnit(bytes, i + 6);
            if (next && isLowSurrogate(*next)) {
                i += 12;
                continue;
            }
        }
        if (isHighSurrogate(*unit) || isLowSurrogate(*unit)) {
            if (!repaired)
                repaired.emplace(bytes);
            repaired->replace(i + 2, 4, "fffd");
        }
        i += 6;
    }
    return repaired;
}

void adviseHugePages(void *start, std::size_t length) noexcept
{
    // Only whole huge pages inside the range are advised: the rest of the range, and whatever
    // shares its first and last huge page, is left as it is.
    constexpr std::uintptr_t huge = std::uintptr_t(2) << 20;
    const std::uintptr_t begin = (reinterpret_cast<std::uintptr_t>(start) + huge - 1) & ~(huge - 1);
    const std::uintptr_t end = (reinterpret_cast<std::uintptr_t>(start) + length) & ~(huge - 1);
    if (end > begin)
        ::madvise(reinterpret_cast<void *>(begin), end - begin, MADV_HUGEPAGE);
}

namespace {
// A large document fills a few hundred mebibytes of the parser's buffers (the positions of its
// structural characters, the tape of its values, its unescaped strings), once per start and
// with a fresh parser. Taken a small page at a time, the page faults cost the parser twice as
// long as the parse itself; huge pages take them in a few hundred steps. Only what the parse
// touches is ever made resident, as before.
constexpr std::size_t kLargeDocument = 8 << 20;

void allocateForLarge(dom::parser &parser, std::size_t length)
{
    if (length < kLargeDocument || length > parser.max_capacity())
        return;   // a document beyond the parser's limit is refused by the parse, as ever
    // What the parse would allocate first itself: the parser's buffers and its document's.
    if (parser.allocate(length) != simdjson::SUCCESS || !parser.implementation
        || parser.doc.allocate(length) != simdjson::SUCCESS)
        return;   // the parse tries again and reports what fails
    const std::size_t capacity = std::min(parser.capacity(), parser.doc.capacity());
    adviseHugePages(parser.implementation->structural_indexes.get(), capacity * sizeof(std::uint32_t));
    adviseHugePages(parser.doc.tape.get(), capacity * sizeof(std::uint64_t));
    adviseHugePages(parser.doc.string_buf.get(), capacity / 3 * 5);
}

void parse(dom::parser &parser, dom::element &root, std::string_view bytes, bool copy)
{
    allocateForLarge(parser, bytes.size());
    // An empty view may have no address at all, and the parser copies from it: copying from null
    // is undefined even for no bytes, so it is given an empty string of its own instead.
    static constexpr char nothing[1] = {};
    const bool addressed = bytes.data() != nullptr;
    auto err = parser.parse(addressed ? bytes.data() : nothing, bytes.size(), copy || !addressed).get(root);
    // A lone surrogate escape is a string error; only then is the document looked at again. The
    // parsed values lie in the parser's own buffers, so the repaired copy need not outlive it.
    if (err == simdjson::STRING_ERROR) {
        if (const std::optional<std::string> repaired = replacingLoneSurrogates(bytes))
            err = parser.parse(repaired->data(), repaired->size(), true).get(root);
    }
    if (err != simdjson::SUCCESS)
        throw JsonError(std::string("The data couldn't be read because it isn't in the correct format (")
                        + simdjson::error_message(err) + ").");
}
}  // namespace

static_assert(JsonDocument::padding >= simdjson::SIMDJSON_PADDING);

JsonDocument::JsonDocument(std::string_view bytes)
    : m_parser(std::make_unique<dom::parser>()), m_root(std::make_unique<dom::element>())
{
    parse(*m_parser, *m_root, bytes, true);
}

JsonDocument::JsonDocument(std::string_view bytes, Padded)
    : m_parser(std::make_unique<dom::parser>()), m_root(std::make_unique<dom::element>())
{
    parse(*m_parser, *m_root, bytes, false);
}

JsonDocument::~JsonDocument() = default;

JsonNode JsonDocument::root() const { return JsonNode(*m_root); }

}  // namespace sw
