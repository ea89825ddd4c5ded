#include "Library/Identifier.h"

#include "Capture/Text.h"

#include <array>

namespace sw {

void appendUuidText(std::string &out, const QUuid &uuid)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    const unsigned char bytes[16] = {
        uchar(uuid.data1 >> 24), uchar(uuid.data1 >> 16), uchar(uuid.data1 >> 8), uchar(uuid.data1),
        uchar(uuid.data2 >> 8),  uchar(uuid.data2),       uchar(uuid.data3 >> 8), uchar(uuid.data3),
        uuid.data4[0], uuid.data4[1], uuid.data4[2], uuid.data4[3],
        uuid.data4[4], uuid.data4[5], uuid.data4[6], uuid.data4[7]};
    char text[36];
    std::size_t at = 0;
    for (int i = 0; i < 16; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10)
            text[at++] = '-';
        text[at++] = digits[bytes[i] >> 4];
        text[at++] = digits[bytes[i] & 0xF];
    }
    out.append(text, sizeof text);
}

std::string uuidStdText(const QUuid &uuid)
{
    std::string out;
    appendUuidText(out, uuid);
    return out;
}

QString uuidText(const QUuid &uuid)
{
    return QString::fromLatin1(uuidStdText(uuid));
}

namespace {
// The value of each byte as a hexadecimal digit, 0xFF for a byte that is none.
constexpr std::array<unsigned char, 256> kHexValues = [] {
    std::array<unsigned char, 256> values{};
    for (int c = 0; c < 256; ++c) {
        const int digit = text::hexDigitValue(char(c));
        values[std::size_t(c)] = digit < 0 ? 0xFF : static_cast<unsigned char>(digit);
    }
    return values;
}();
// Where each of the sixteen bytes is written in the text.
constexpr std::array<unsigned char, 16> kByteAt = {0, 2, 4, 6, 9, 11, 14, 16, 19, 21, 24, 26, 28, 30, 32, 34};
}  // namespace

std::optional<QUuid> parseUuid(std::string_view text)
{
    if (text.size() != 36 || text[8] != '-' || text[13] != '-' || text[18] != '-' || text[23] != '-')
        return std::nullopt;
    // Read straight into the UUID's fields: one is read for every save of the library at start.
    unsigned char bytes[16];
    unsigned bad = 0;
    for (std::size_t b = 0; b < 16; ++b) {
        const unsigned high = kHexValues[static_cast<unsigned char>(text[kByteAt[b]])];
        const unsigned low = kHexValues[static_cast<unsigned char>(text[kByteAt[b] + 1])];
        bad |= high | low;
        bytes[b] = static_cast<unsigned char>(high << 4 | low);
    }
    if (bad & 0xF0)
        return std::nullopt;
    const uint l = uint(bytes[0]) << 24 | uint(bytes[1]) << 16 | uint(bytes[2]) << 8 | uint(bytes[3]);
    const ushort w1 = ushort(bytes[4] << 8 | bytes[5]);
    const ushort w2 = ushort(bytes[6] << 8 | bytes[7]);
    return QUuid(l, w1, w2, bytes[8], bytes[9], bytes[10], bytes[11], bytes[12], bytes[13], bytes[14], bytes[15]);
}

}  // namespace sw
