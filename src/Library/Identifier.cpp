#include "Library/Identifier.h"

#include "Capture/Text.h"

namespace sw {

std::string uuidStdText(const QUuid &uuid)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    const unsigned char bytes[16] = {
        uchar(uuid.data1 >> 24), uchar(uuid.data1 >> 16), uchar(uuid.data1 >> 8), uchar(uuid.data1),
        uchar(uuid.data2 >> 8),  uchar(uuid.data2),       uchar(uuid.data3 >> 8), uchar(uuid.data3),
        uuid.data4[0], uuid.data4[1], uuid.data4[2], uuid.data4[3],
        uuid.data4[4], uuid.data4[5], uuid.data4[6], uuid.data4[7]};
    std::string out(36, '-');
    std::size_t at = 0;
    for (int i = 0; i < 16; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10)
            ++at;
        out[at++] = digits[bytes[i] >> 4];
        out[at++] = digits[bytes[i] & 0xF];
    }
    return out;
}

QString uuidText(const QUuid &uuid)
{
    return QString::fromLatin1(uuidStdText(uuid));
}

std::optional<QUuid> parseUuid(std::string_view text)
{
    if (text.size() != 36)
        return std::nullopt;
    // Read straight into the UUID's fields: one is read for every save of the library at start.
    unsigned char bytes[16];
    int byte = 0;
    for (std::size_t i = 0; i < 36;) {
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            if (text[i] != '-')
                return std::nullopt;
            ++i;
            continue;
        }
        const int high = text::hexDigitValue(text[i]);
        const int low = text::hexDigitValue(text[i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes[byte++] = static_cast<unsigned char>(high << 4 | low);
        i += 2;
    }
    const uint l = uint(bytes[0]) << 24 | uint(bytes[1]) << 16 | uint(bytes[2]) << 8 | uint(bytes[3]);
    const ushort w1 = ushort(bytes[4] << 8 | bytes[5]);
    const ushort w2 = ushort(bytes[6] << 8 | bytes[7]);
    return QUuid(l, w1, w2, bytes[8], bytes[9], bytes[10], bytes[11], bytes[12], bytes[13], bytes[14], bytes[15]);
}

}  // namespace sw
