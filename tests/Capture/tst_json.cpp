#include "Capture/Json.h"

#include <QRandomGenerator>
#include <QTest>

#include <simdjson.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>

using namespace sw;

namespace {
QByteArray written(const JsonValue &v)
{
    return QByteArray::fromStdString(v.toJson());
}

QString failureOf(const std::function<void()> &f)
{
    try {
        f();
    } catch (const JsonError &e) {
        return e.message();
    }
    return QString();
}
}  // namespace

class TestJson : public QObject {
    Q_OBJECT
private slots:
    void writesCanonically_data();
    void writesCanonically();
    void doubles_data();
    void doubles();
    void doublesRoundTrip_data();
    void doublesRoundTrip();
    void stringsRoundTrip_data();
    void stringsRoundTrip();
    void malformedUtf8IsRepaired();
    void utf16WritesAsUtf8_data();
    void utf16WritesAsUtf8();
    void rejectsMalformedDocuments_data();
    void rejectsMalformedDocuments();
    void unitsAtEveryPlaceOfABlock_data();
    void unitsAtEveryPlaceOfABlock();
    void loneSurrogateEscapes_data();
    void loneSurrogateEscapes();
    void integers_data();
    void integers();
    void typeMismatchesThrow_data();
    void typeMismatchesThrow();
    void requiredAndOptionalKeys();
    void oneCase_data();
    void oneCase();
    void largeDocumentsParseAsAFreshParserDoes_data();
    void largeDocumentsParseAsAFreshParserDoes();
    void elementsVisitedInOrder_data();
    void elementsVisitedInOrder();
    void longArraysAreCountedExactly();
    void fieldsFindWhatKeysFind_data();
    void fieldsFindWhatKeysFind();
};

void TestJson::writesCanonically_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("expected");

    auto row = [](const char *name, const JsonValue &v, const char *expected) {
        QTest::newRow(name) << written(v) << QByteArray(expected);
    };
    JsonValue inner = JsonValue::object();
    inner.set("zeta", 1).set("alpha", 2).set("mid", JsonValue::array());
    JsonValue outer = JsonValue::object();
    outer.set("b", inner).set("a", JsonValue::array().push(JsonValue::object().set("y", true).set("x", nullptr)));
    row("keys sorted at every depth", outer, R"({"a":[{"x":null,"y":true}],"b":{"alpha":2,"mid":[],"zeta":1}})");
    row("setting a key again replaces it", JsonValue::object().set("k", 1).set("k", 2), R"({"k":2})");
    row("byte order of keys", JsonValue::object().set("b", 1).set("B", 2).set("a", 3).set("ab", 4),
        R"({"B":2,"a":3,"ab":4,"b":1})");
    row("slash escaped", JsonValue("https://x.com/a"), R"("https:\/\/x.com\/a")");
    row("quotes and backslash", JsonValue("a\"b\\c"), R"("a\"b\\c")");
    row("named control escapes", JsonValue("\b\f\n\r\t"), R"("\b\f\n\r\t")");
    row("other control characters", JsonValue(std::string("\x01\x1f\x00", 3)), R"("\u0001\u001f\u0000")");
    row("non-ASCII written as UTF-8", JsonValue(QStringLiteral("é日😀")), "\"\xc3\xa9\xe6\x97\xa5\xf0\x9f\x98\x80\"");
    row("int64 extremes", JsonValue::array().push(std::numeric_limits<std::int64_t>::min()).push(std::numeric_limits<std::int64_t>::max()),
        "[-9223372036854775808,9223372036854775807]");
    row("uint64 max", JsonValue(std::numeric_limits<std::uint64_t>::max()), "18446744073709551615");
    row("empty object and array", JsonValue::object().set("o", JsonValue::object()).set("a", JsonValue::array()),
        R"({"a":[],"o":{}})");
    row("tagged case", JsonValue::tagged("web", JsonValue::object().set("_0", "u")), R"({"web":{"_0":"u"}})");
    row("raw fragment verbatim", JsonValue::object().set("k", JsonValue::raw(R"({"z":1,"a":2})")), R"({"k":{"z":1,"a":2}})");
}

void TestJson::writesCanonically()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, expected);
    QCOMPARE(text, expected);
}

void TestJson::doubles_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("integral, no .0") << 1.0 << QByteArray("1");
    QTest::newRow("zero") << 0.0 << QByteArray("0");
    // "-0" would read back as the integer 0 and be written "0" the next time.
    QTest::newRow("negative zero") << -0.0 << QByteArray("0");
    QTest::newRow("half") << 12.5 << QByteArray("12.5");
    QTest::newRow("negative") << -0.25 << QByteArray("-0.25");
    QTest::newRow("shortest") << 0.1 << QByteArray("0.1");
    QTest::newRow("a date") << 786297600.123 << QByteArray("786297600.123");
    QTest::newRow("largest exact integer") << 9007199254740991.0 << QByteArray("9007199254740991");
    QTest::newRow("large") << 1e16 << QByteArray("1e+16");
    QTest::newRow("small") << 0.00001 << QByteArray("1e-05");
    QTest::newRow("smallest fixed") << 0.0001 << QByteArray("0.0001");
    QTest::newRow("max") << std::numeric_limits<double>::max() << QByteArray("1.7976931348623157e+308");
    QTest::newRow("NaN is written as a readable number") << std::nan("") << QByteArray("0");
    QTest::newRow("infinity is written as a readable number") << std::numeric_limits<double>::infinity()
                                                              << QByteArray("1.7976931348623157e+308");
}

void TestJson::doubles()
{
    QFETCH(double, value);
    QFETCH(QByteArray, expected);
    QCOMPARE(written(JsonValue(value)), expected);
}

void TestJson::doublesRoundTrip_data()
{
    QTest::addColumn<double>("value");
    for (double d : {0.1, 1.0 / 3.0, -2.0 / 7.0, 786297600.5876543, 5e-324, 2.2250738585072014e-308, 1e300,
                     123456789012345.67, -9007199254740993.0, 4.35e-5})
        QTest::addRow("%.17g", d) << d;
}

void TestJson::doublesRoundTrip()
{
    QFETCH(double, value);
    const std::string text = JsonValue(value).toJson();
    JsonDocument doc(text);
    const double back = doc.root().number();
    QVERIFY2(std::memcmp(&back, &value, sizeof value) == 0, text.c_str());
    QVERIFY2(text.find(".0") != text.size() - 2, text.c_str());
}

void TestJson::stringsRoundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("controls and escapes") << QStringLiteral("a\nb\t\"/\\\x01 \x7f");
    QTest::newRow("non-ASCII") << QStringLiteral("Café 日本語 😀 \u0301");
    QTest::newRow("a URL") << QStringLiteral("https://example.com/a?b=c&d=%20#e");
}

void TestJson::stringsRoundTrip()
{
    QFETCH(QString, text);
    JsonDocument doc(JsonValue(text).toJson());
    QCOMPARE(doc.root().string(), text);
}

void TestJson::malformedUtf8IsRepaired()
{
    // A document that could not be read back must never be written.
    const std::string bad("a\xff" "b\xc3", 4);
    const std::string text = JsonValue(bad).toJson();
    JsonDocument doc(text);
    QCOMPARE(doc.root().string(), QStringLiteral("a\uFFFDb\uFFFD"));
    // Met after escapes and past a block of plain bytes, into text already written: what came
    // before stays, and the string is written repaired as a whole.
    for (const std::string &bad : {std::string("x\"/y\xff"), std::string("abcdefghijklmnopqrstuvwxyz/\xc3"),
                                   std::string("caf\xc3\xa9 \xe2\x82")}) {
        std::string out = "[1,";
        writeJsonString(out, bad);
        out += ']';
        QVERIFY2(out.starts_with("[1,\""), out.c_str());
        const JsonDocument read(out);
        const QString back = read.root().elements().at(1).string();
        QCOMPARE(back, QString::fromUtf8(bad.data(), qsizetype(bad.size())));
        QVERIFY(back.contains(QChar(0xFFFD)));
    }
}

// Text held as UTF-16 is written straight into the document; the bytes must be those of the
// UTF-8 route, lone surrogates included.
void TestJson::utf16WritesAsUtf8_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("ASCII") << QStringLiteral("plain text 123");
    QTest::newRow("escapes") << QStringLiteral("a \"quote\" \\ back/slash\b\f\n\r\t end");
    QTest::newRow("controls") << QString::fromUtf16(u"\u0001\u001f\u007f");
    QTest::newRow("two bytes") << QStringLiteral("caf\u00e9 \u00df \u07ff");
    QTest::newRow("three bytes") << QString::fromUtf16(u"\u0800 \u6771\u4eac \ud7ff \ue000 \uffff");
    QTest::newRow("surrogate pair") << QString::fromUtf16(u"\U0001F600 \U0010FFFF");
    QTest::newRow("lone high surrogate") << QString(QChar(0xD83D)) + QStringLiteral("x\"/");
    QTest::newRow("lone low surrogate") << QStringLiteral("a\"b/") + QString(QChar(0xDE00)) + QStringLiteral("c");
    QTest::newRow("high surrogate at the end") << QStringLiteral("end") + QString(QChar(0xD83D));
    QTest::newRow("two high surrogates") << QString(QChar(0xD83D)) + QString(QChar(0xD83D)) + QString(QChar(0xDE00));
}

void TestJson::utf16WritesAsUtf8()
{
    QFETCH(QString, text);
    std::string direct = "[";
    writeJsonString(direct, QStringView(text));
    std::string viaUtf8 = "[";
    writeJsonString(viaUtf8, text.toStdString());
    QCOMPARE(QByteArray::fromStdString(direct), QByteArray::fromStdString(viaUtf8));
}

// Plain text is written a block at a time (eight UTF-16 units, sixteen UTF-8 bytes): a unit that
// must be escaped or encoded, at every place of a block and across the next one, in texts on each
// side of a block's length.
void TestJson::unitsAtEveryPlaceOfABlock_data()
{
    QTest::addColumn<QString>("unit");
    QTest::newRow("quote") << QStringLiteral("\"");
    QTest::newRow("backslash") << QStringLiteral("\\");
    QTest::newRow("slash") << QStringLiteral("/");
    QTest::newRow("new line") << QStringLiteral("\n");
    QTest::newRow("first control") << QString(QChar(0x0001));
    QTest::newRow("last control") << QString(QChar(0x001F));
    QTest::newRow("space, the first plain unit") << QStringLiteral(" ");
    QTest::newRow("tilde and delete, the last plain ones") << QString::fromUtf16(u"~\u007f");
    QTest::newRow("first two-byte unit") << QString(QChar(0x0080));
    QTest::newRow("two bytes") << QStringLiteral("\u00e9");
    QTest::newRow("three bytes") << QStringLiteral("\u6771");
    QTest::newRow("top bit set") << QString(QChar(0x8000));
    QTest::newRow("last unit") << QString(QChar(0xFFFF));
    QTest::newRow("surrogate pair") << QString::fromUtf16(u"\U0001F600");
    QTest::newRow("lone high surrogate") << QString(QChar(0xD800));
    QTest::newRow("lone low surrogate") << QString(QChar(0xDFFF));
    // Once a text's UTF-8 is known good its high bytes run with the plain ones: what must be
    // escaped after them is still found.
    QTest::newRow("two bytes, then a slash") << QStringLiteral("\u00e9/");
    QTest::newRow("three bytes, then a control") << QString::fromUtf16(u"\u6771\u0001");
    QTest::newRow("four bytes, then a quote") << QString::fromUtf16(u"\U0001F600\"");
}

void TestJson::unitsAtEveryPlaceOfABlock()
{
    QFETCH(QString, unit);
    for (const int length : {0, 1, 7, 8, 9, 15, 16, 17, 24}) {
        const QString plain = QStringLiteral("abcdefghijklmnopqrstuvwxyz").left(length);
        for (int at = 0; at <= length; ++at) {
            const QString text = plain.left(at) + unit + plain.mid(at) + (at % 3 == 0 ? unit : QString());
            std::string direct = "[";
            writeJsonString(direct, QStringView(text));
            std::string viaUtf8 = "[";
            writeJsonString(viaUtf8, text.toStdString());
            QVERIFY2(direct == viaUtf8, qPrintable(QStringLiteral("%1 at %2 of %3").arg(QString::fromStdString(direct)).arg(at).arg(length)));
            // Read back, it is the text (a lone surrogate comes back replaced), and every slash
            // was written escaped.
            direct += ']';
            const JsonDocument read(direct);
            const QString back = read.root().elements().front().string();
            if (!unit.front().isSurrogate() || unit.size() == 2)
                QCOMPARE(back, text);
            QCOMPARE(back.size(), text.size());
            const auto slashes = std::count(direct.begin(), direct.end(), '/');
            QCOMPARE(qsizetype(slashes), text.count(u'/'));
            std::size_t escaped = 0;
            for (std::size_t i = 0; i + 1 < direct.size(); ++i)
                escaped += direct[i] == '\\' && direct[i + 1] == '/';
            QCOMPARE(qsizetype(escaped), text.count(u'/'));
        }
    }
}

void TestJson::rejectsMalformedDocuments_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("not JSON") << QByteArray("hello");
    QTest::newRow("truncated") << QByteArray(R"({"a":[1,2)");
    QTest::newRow("trailing comma") << QByteArray(R"({"a":1,})");
    QTest::newRow("bad UTF-8") << QByteArray("\"\xff\"");
    QTest::newRow("NaN literal") << QByteArray("NaN");
    // The reader holds integers in 64 bits; our writer never writes a longer integer literal.
    QTest::newRow("integer beyond 64 bits") << QByteArray("18446744073709551616");
    // Lone surrogates are read as U+FFFD only when escaped; everything else around them stays refused.
    QTest::newRow("surrogate escape of three digits") << QByteArray(R"(["\ud83"])");
    QTest::newRow("surrogate escape with a non-digit") << QByteArray(R"(["\ud83g"])");
    QTest::newRow("lone surrogate in an unterminated string") << QByteArray(R"(["\ud83d])");
    QTest::newRow("lone surrogate escape outside a string") << QByteArray(R"([\ud83d])");
    QTest::newRow("lone surrogate beside a bad escape") << QByteArray(R"(["\ud83d\x"])");
    QTest::newRow("surrogate as raw bytes") << QByteArray("[\"\xed\xa0\xbd\"]");
}

void TestJson::rejectsMalformedDocuments()
{
    QFETCH(QByteArray, bytes);
    QVERIFY_THROWS_EXCEPTION(JsonError, JsonDocument(std::string_view(bytes.constData(), bytes.size())));
}

void TestJson::loneSurrogateEscapes_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("expected");   // the document's one string, or its one key
    QTest::newRow("lone high") << QByteArray(R"(["a\ud83db"])") << QStringLiteral("a\uFFFDb");
    QTest::newRow("lone low") << QByteArray(R"(["\ude00"])") << QStringLiteral("\uFFFD");
    QTest::newRow("high at the end") << QByteArray(R"(["x\ud83d"])") << QStringLiteral("x\uFFFD");
    QTest::newRow("high before another escape") << QByteArray(R"(["\ud83d\u0041"])") << QStringLiteral("\uFFFDA");
    QTest::newRow("two highs then a low") << QByteArray(R"(["\ud83d\ud83d\ude00"])")
                                          << QStringLiteral("\uFFFD\U0001F600");
    QTest::newRow("low before high") << QByteArray(R"(["\ude00\ud83d"])") << QStringLiteral("\uFFFD\uFFFD");
    QTest::newRow("capital digits") << QByteArray(R"(["\uD83D!"])") << QStringLiteral("\uFFFD!");
    QTest::newRow("escaped backslash before u") << QByteArray(R"(["\\ud83d \ud83d"])")
                                                << QStringLiteral("\\ud83d \uFFFD");
    QTest::newRow("in a key") << QByteArray(R"({"k\udfff":1})") << QStringLiteral("k\uFFFD");
    QTest::newRow("deep, after other strings") << QByteArray(R"([{"a":"\"","b":[1,"\ud800"]}])")
                                               << QStringLiteral("\uFFFD");
}

void TestJson::loneSurrogateEscapes()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, expected);
    const JsonDocument doc(std::string_view(text.constData(), std::size_t(text.size())));
    JsonNode node = doc.root();
    for (;;) {
        if (node.isArray()) {
            node = node.elements().back();
        } else if (node.isObject()) {
            const std::string_view key = node.keys().back();
            if (!node[key].isArray() && !node[key].isObject()) {
                QCOMPARE(QString::fromUtf8(key.data(), qsizetype(key.size())), expected);
                return;
            }
            node = node[key];
        } else {
            break;
        }
    }
    QCOMPARE(node.string(), expected);
}

void TestJson::integers_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("signedOk");
    QTest::addColumn<qint64>("signedValue");
    QTest::addColumn<bool>("unsignedOk");
    QTest::addColumn<quint64>("unsignedValue");
    QTest::newRow("small") << QByteArray("42") << true << qint64(42) << true << quint64(42);
    QTest::newRow("negative") << QByteArray("-1") << true << qint64(-1) << false << quint64(0);
    QTest::newRow("int64 max") << QByteArray("9223372036854775807") << true << std::numeric_limits<qint64>::max()
                               << true << quint64(9223372036854775807ULL);
    QTest::newRow("int64 min") << QByteArray("-9223372036854775808") << true << std::numeric_limits<qint64>::min()
                               << false << quint64(0);
    QTest::newRow("above int64") << QByteArray("9223372036854775808") << false << qint64(0) << true
                                 << quint64(9223372036854775808ULL);
    QTest::newRow("uint64 max") << QByteArray("18446744073709551615") << false << qint64(0) << true
                                << std::numeric_limits<quint64>::max();
    QTest::newRow("integral double") << QByteArray("12.0") << true << qint64(12) << true << quint64(12);
    QTest::newRow("exponent") << QByteArray("1e3") << true << qint64(1000) << true << quint64(1000);
    QTest::newRow("fraction") << QByteArray("12.5") << false << qint64(0) << false << quint64(0);
    QTest::newRow("double at 2^63") << QByteArray("9223372036854775808.0") << false << qint64(0) << true
                                    << quint64(9223372036854775808ULL);
    QTest::newRow("string") << QByteArray("\"1\"") << false << qint64(0) << false << quint64(0);
    QTest::newRow("Boolean") << QByteArray("true") << false << qint64(0) << false << quint64(0);
}

void TestJson::integers()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, signedOk);
    QFETCH(qint64, signedValue);
    QFETCH(bool, unsignedOk);
    QFETCH(quint64, unsignedValue);
    JsonDocument doc(text.toStdString());
    if (signedOk)
        QCOMPARE(doc.root().int64(), signedValue);
    else
        QVERIFY_THROWS_EXCEPTION(JsonError, doc.root().int64());
    if (unsignedOk)
        QCOMPARE(doc.root().uint64(), unsignedValue);
    else
        QVERIFY_THROWS_EXCEPTION(JsonError, doc.root().uint64());
}

void TestJson::typeMismatchesThrow_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("accessor");
    QTest::newRow("number as string") << QByteArray("1") << "string";
    QTest::newRow("null as string") << QByteArray("null") << "string";
    QTest::newRow("string as number") << QByteArray("\"1.5\"") << "number";
    QTest::newRow("string as Boolean") << QByteArray("\"true\"") << "boolean";
    QTest::newRow("number as Boolean") << QByteArray("1") << "boolean";
    QTest::newRow("object as array") << QByteArray("{}") << "elements";
    QTest::newRow("array as object") << QByteArray("[]") << "keys";
    QTest::newRow("member of an array") << QByteArray("[1]") << "member";
    QTest::newRow("string size") << QByteArray("\"ab\"") << "size";
}

void TestJson::typeMismatchesThrow()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, accessor);
    JsonDocument doc(text.toStdString());
    const JsonNode n = doc.root();
    const QString failure = failureOf([&] {
        if (accessor == u"string")
            (void)n.string();
        else if (accessor == u"number")
            (void)n.number();
        else if (accessor == u"boolean")
            (void)n.boolean();
        else if (accessor == u"elements")
            (void)n.elements();
        else if (accessor == u"keys")
            (void)n.keys();
        else if (accessor == u"member")
            (void)n["a"];
        else if (accessor == u"size")
            (void)n.size();
    });
    QVERIFY2(!failure.isEmpty(), qPrintable(accessor));
}

void TestJson::requiredAndOptionalKeys()
{
    JsonDocument doc(std::string(R"({"a":1,"n":null,"s":"x\/y","o":{"deep":[true,false]}})"));
    const JsonNode root = doc.root();
    QCOMPARE(root["a"].int64(), 1);
    QCOMPARE(root["s"].string(), QStringLiteral("x/y"));
    QCOMPARE(root["o"]["deep"].elements().at(1).boolean(), false);
    QVERIFY(root["n"].isNull());

    QVERIFY(!failureOf([&] { (void)root["missing"]; }).isEmpty());
    QVERIFY(!failureOf([&] { (void)root["A"]; }).isEmpty());   // keys match exactly

    QVERIFY(!root.optional("missing"));
    QVERIFY(!root.optional("n"));   // null reads as absent for an optional key
    QVERIFY(root.optional("a"));
    QCOMPARE(root.optional("a")->int64(), 1);
    QVERIFY(root.has("n"));
    QVERIFY(!root.has("missing"));
    QCOMPARE(root.size(), std::size_t(4));

    // A node stays usable after the node it came from is gone.
    std::optional<JsonNode> kept;
    {
        const JsonNode o = root["o"];
        kept = o["deep"];
    }
    QCOMPARE(kept->size(), std::size_t(2));
    QCOMPARE(root["o"].rawJson(), std::string(R"({"deep":[true,false]})"));
}

void TestJson::oneCase_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("expectedCase");   // empty: fails with the case-count message
    QTest::newRow("one case") << QByteArray(R"({"web":{"_0":"u"}})") << "web";
    QTest::newRow("unknown keys ignored") << QByteArray(R"({"junk":1,"x":{},"more":null})") << "x";
    QTest::newRow("no key") << QByteArray("{}") << QString();
    QTest::newRow("only unknown keys") << QByteArray(R"({"X":{},"Web":{}})") << QString();
    QTest::newRow("two cases") << QByteArray(R"({"x":{},"web":{}})") << QString();
}

void TestJson::oneCase()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, expectedCase);
    JsonDocument doc(text.toStdString());
    if (expectedCase.isEmpty()) {
        QCOMPARE(failureOf([&] { (void)doc.root().oneCaseOf({"x", "web"}); }),
                 QStringLiteral("Invalid number of keys found, expected one."));
    } else {
        const auto [name, payload] = doc.root().oneCaseOf({"x", "web"});
        QCOMPARE(QString::fromUtf8(name.data(), name.size()), expectedCase);
        QVERIFY(payload.isObject());
    }
}

// A document of many mebibytes is parsed into buffers the reader sets up itself: it reads, and is
// refused, exactly as by a parser that sets them up on its own (each fault placed near the end,
// past what a small document would hold). A lone surrogate escape still reads as U+FFFD.
void TestJson::largeDocumentsParseAsAFreshParserDoes_data()
{
    QTest::addColumn<QByteArray>("tail");   // what follows the many elements
    QTest::addColumn<bool>("padded");
    for (const bool padded : {false, true}) {
        const QByteArray suffix = padded ? " (padded)" : "";
        QTest::newRow("whole" + suffix) << QByteArray(R"("end"])") << padded;
        QTest::newRow("truncated" + suffix) << QByteArray(R"("end")") << padded;
        QTest::newRow("trailing comma" + suffix) << QByteArray(R"("end",])") << padded;
        QTest::newRow("bad UTF-8" + suffix) << QByteArray("\"\xff\"]") << padded;
        QTest::newRow("bad literal" + suffix) << QByteArray("nul]") << padded;
        QTest::newRow("lone surrogate" + suffix) << QByteArray(R"("\ud83d"])") << padded;
    }
}

void TestJson::largeDocumentsParseAsAFreshParserDoes()
{
    QFETCH(QByteArray, tail);
    QFETCH(bool, padded);
    std::string text = "[";
    const std::string element = R"({"name":"caf\u00e9 \/ 12","n":123456789,"list":[1.5,true,null]},)";
    while (text.size() < (12u << 20))
        text += element;
    const std::size_t elements = (text.size() - 1) / element.size();
    text.append(tail.constData(), std::size_t(tail.size()));

    QString failure;
    std::optional<QString> last;
    std::size_t count = 0;
    try {
        std::string bytes = text;
        bytes.resize(text.size() + JsonDocument::padding, '\0');
        const auto parse = [&] {
            return padded ? std::make_unique<JsonDocument>(std::string_view(bytes.data(), text.size()), JsonDocument::Padded{})
                          : std::make_unique<JsonDocument>(text);
        };
        const auto doc = parse();
        const JsonNode root = doc->root();
        count = root.elementCount();
        QCOMPARE(root.elements()[elements / 2]["name"].string(), QStringLiteral("caf\u00e9 / 12"));
        last = root.elements().back().string();
    } catch (const JsonError &e) {
        failure = e.message();
    }

    simdjson::dom::parser fresh;
    simdjson::dom::element root;
    const simdjson::error_code error = fresh.parse(text).get(root);
    if (tail.contains("\\ud83d")) {
        // Refused by the parser as it stands, read by the reader with the escape replaced.
        QCOMPARE(error, simdjson::STRING_ERROR);
        QCOMPARE(failure, QString());
        QCOMPARE(last, QStringLiteral("\uFFFD"));
    } else if (error != simdjson::SUCCESS) {
        QCOMPARE(failure, QStringLiteral("The data couldn't be read because it isn't in the correct format (%1).")
                              .arg(QString::fromUtf8(simdjson::error_message(error))));
    } else {
        QCOMPARE(failure, QString());
        QCOMPARE(count, elements + 1);
        QCOMPARE(last, QStringLiteral("end"));
    }
}

// Elements visited one by one are those elements() lists, in order; both refuse a non-array alike.
void TestJson::elementsVisitedInOrder_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("empty") << QByteArray("[]");
    QTest::newRow("one") << QByteArray("[1]");
    QTest::newRow("mixed") << QByteArray(R"([1,"two",[3],{"four":4},null,true])");
    QTest::newRow("nested") << QByteArray(R"([[1,2],[],[[3]]])");
    QTest::newRow("object") << QByteArray(R"({"a":1})");
    QTest::newRow("string") << QByteArray(R"("abc")");
    QTest::newRow("number") << QByteArray("7");
}

void TestJson::elementsVisitedInOrder()
{
    QFETCH(QByteArray, text);
    const JsonDocument doc(std::string_view(text.constData(), std::size_t(text.size())));
    const JsonNode root = doc.root();
    QStringList listed;
    const QString listedFailure = failureOf([&] {
        for (const JsonNode &e : root.elements())
            listed.append(QString::fromStdString(e.rawJson()));
    });
    QStringList visited;
    std::size_t count = 0;
    const QString visitedFailure = failureOf([&] {
        count = root.elementCount();
        root.forEachElement([&](const JsonNode &e) { visited.append(QString::fromStdString(e.rawJson())); });
    });
    QCOMPARE(visitedFailure, listedFailure);
    QCOMPARE(visited, listed);
    QCOMPARE(count, std::size_t(listed.size()));
    if (!root.isArray())
        QVERIFY(!visitedFailure.isEmpty());
}

// The parser keeps counts of elements up to 0xFFFFFF; an array longer than that is still counted
// exactly (an odd number of copies must be told from an even one, whatever their number).
void TestJson::longArraysAreCountedExactly()
{
    const std::size_t count = 0xFFFFFF + 2;
    std::string text;
    text.reserve(2 * count + 1);
    text += '[';
    for (std::size_t i = 0; i < count; ++i)
        text += i ? ",0" : "0";
    text += ']';
    const JsonDocument doc(text);
    std::size_t visited = 0;
    doc.root().forEachElement([&](const JsonNode &) { ++visited; });
    QCOMPARE(visited, count);
    QCOMPARE(doc.root().elementCount(), count);
}

void TestJson::fieldsFindWhatKeysFind_data()
{
    // Members in the order of the names asked for (the archive's) or at random, repeated (the first counts), null,
    // absent; keys that begin others, empty, non-ASCII; three names or the most a decoder may ask for.
    QTest::addColumn<bool>("sorted");
    QTest::newRow("in order") << true;
    QTest::newRow("at random") << false;
}

void TestJson::fieldsFindWhatKeysFind()
{
    QFETCH(bool, sorted);
    QRandomGenerator random(sorted ? 1 : 2);
    std::vector<std::string> names{"", "_0", "a", "ab", "abc", "b", "id", "\u00e9t\u00e9", "missing", "name"};
    for (int round = 0; round < 400; ++round) {
        std::shuffle(names.begin(), names.end(), random);
        const std::size_t n = round % 2 ? 3 : JsonFields::capacity;
        std::vector<std::string> members;
        for (std::size_t k = 0; k < names.size(); ++k)
            for (int r = random.bounded(k < n ? 3 : 2); r > 0; --r)   // each name 0 to 2 times
                members.insert(sorted ? members.end() : members.begin() + random.bounded(int(members.size()) + 1), names[k]);
        std::string text = "{";
        for (std::size_t m = 0; m < members.size(); ++m)
            text += (m ? ",\"" : "\"") + members[m] + "\":" + (random.bounded(6) ? std::to_string(m) : "null");
        const JsonDocument doc(text + "}");
        const JsonNode node = doc.root();
        const std::vector<std::string_view> a(names.begin(), names.end());
        const JsonFields found = n == 3 ? node.fields({a[0], a[1], a[2]})
                                        : node.fields({a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7]});
        for (std::size_t i = 0; i < n; ++i) {
            const auto byKey = node.optional(a[i]), byField = found.optional(i);   // none: absent or null
            if (byKey.has_value() != byField.has_value() || (byKey && byKey->rawJson() != byField->rawJson())
                || node.has(a[i]) != failureOf([&] { (void)found[i]; }).isEmpty())
                QFAIL(qPrintable(QString::fromStdString("\"" + names[i] + "\" in " + text + "}")));
        }
    }
}

QTEST_APPLESS_MAIN(TestJson)
#include "tst_json.moc"
