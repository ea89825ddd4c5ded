// The JSON reader and writer. A document that reads is rebuilt as a value and written: the text
// reads back and writes again byte for byte. The string writers write what reads back as a
// string, the UTF-16 writer the same bytes as the UTF-8 one, and a double reads back as itself.

#include "Fuzz.h"

#include "Capture/Json.h"

#include <cmath>
#include <cstring>
#include <optional>

using namespace sw;

namespace {

JsonValue valueOf(const JsonNode &node)
{
    if (node.isNull())
        return JsonValue();
    if (node.isString())
        return JsonValue(node.stdString());
    if (node.isArray()) {
        JsonValue array = JsonValue::array();
        for (const JsonNode &element : node.elements())
            array.push(valueOf(element));
        return array;
    }
    if (node.isObject()) {
        JsonValue object = JsonValue::object();
        // A repeated key: the reader answers with its first value, and so does the copy.
        for (const std::string_view key : node.keys())
            object.set(std::string(key), valueOf(node[key]));
        return object;
    }
    if (node.isNumber()) {
        const std::string raw = node.rawJson();
        if (raw.find_first_of(".eE") != std::string::npos)
            return JsonValue(node.number());
        if (raw.front() == '-')
            return JsonValue(node.int64());
        return JsonValue(node.uint64());
    }
    return JsonValue(node.boolean());
}

std::optional<std::string> canonicalText(std::string_view bytes)
{
    try {
        const JsonDocument document(bytes);
        return valueOf(document.root()).toJson();
    } catch (const JsonError &) {
        return std::nullopt;
    }
}

QString shown(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())).left(400); }

void stringsReadBack(std::string_view bytes)
{
    // Any bytes, malformed UTF-8 included, are written as a string that reads back and that the
    // writer writes again unchanged.
    std::string written;
    writeJsonString(written, bytes);
    std::string again;
    try {
        const JsonDocument document(written);
        writeJsonString(again, document.root().stringView());
    } catch (const JsonError &error) {
        sw::fuzz::fail("a written string reads back", error.message() + u' ' + shown(written));
    }
    sw::fuzz::check(again == written, "a string read back writes as it was written", shown(written));

    // The same bytes as UTF-16 units, lone surrogates and all: the direct writer writes what the
    // writer of the UTF-8 text writes.
    QString units(qsizetype(bytes.size() / 2), Qt::Uninitialized);
    std::memcpy(units.data(), bytes.data(), std::size_t(units.size()) * 2);
    std::string direct;
    writeJsonString(direct, QStringView(units));
    std::string viaUtf8;
    writeJsonString(viaUtf8, units.toStdString());
    sw::fuzz::check(direct == viaUtf8, "UTF-16 text writes as its UTF-8 form does", shown(direct));
}

void doubleReadsBack(std::string_view bytes)
{
    if (bytes.size() < sizeof(double))
        return;
    double d = 0;
    std::memcpy(&d, bytes.data(), sizeof d);
    std::string written;
    writeJsonDouble(written, d);
    try {
        const JsonDocument document(written);
        const double back = document.root().number();
        if (std::isfinite(d))
            sw::fuzz::check(back == d, "a double reads back as itself", shown(written));
    } catch (const JsonError &error) {
        sw::fuzz::fail("a written double reads back", error.message() + u' ' + shown(written));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view bytes = sw::fuzz::bytesOf(data, size);
    stringsReadBack(bytes);
    doubleReadsBack(bytes);

    const std::optional<std::string> first = canonicalText(bytes);
    if (!first) {
        sw::fuzz::wasRefused();
        return 0;
    }
    sw::fuzz::wasRead();
    const std::optional<std::string> second = canonicalText(*first);
    sw::fuzz::check(second.has_value(), "what the writer writes reads back", shown(*first));
    sw::fuzz::check(*second == *first, "what was read back writes byte for byte as before",
                    shown(*first) + QStringLiteral("\n  then ") + shown(*second));
    return 0;
}
