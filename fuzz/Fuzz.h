#pragma once

// What every fuzz target shares: the property checks, which end the process with a message when
// a property fails (libFuzzer then keeps the input), the outcome of the last input for the
// driver that replays the saved inputs, and the test of a plain file name.
//
// Each target defines LLVMFuzzerTestOneInput. Built with clang, libFuzzer calls it; built for the
// tests, Driver.cpp feeds it every file of the folders it is given.

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

namespace sw::fuzz {

// What the last input came to. Saved inputs named "read-..." must be read, and those named
// "refuse-..." refused, so that a fault fixed for one input stays fixed.
enum class Outcome { none, read, refused };
inline Outcome outcome = Outcome::none;
inline const char *inputName = nullptr;   // set by the driver

inline void wasRead() { outcome = Outcome::read; }
inline void wasRefused() { outcome = Outcome::refused; }

[[noreturn]] inline void fail(const char *property, const QString &detail)
{
    std::fprintf(stderr, "property failed: %s\n  %s\n", property, qUtf8Printable(detail));
    if (inputName)
        std::fprintf(stderr, "  input: %s\n", inputName);
    std::abort();
}

inline void check(bool holds, const char *property, const QString &detail = QString())
{
    if (!holds)
        fail(property, detail);
}

inline std::string_view bytesOf(const std::uint8_t *data, std::size_t size)
{
    return std::string_view(reinterpret_cast<const char *>(data), size);
}

inline QString textOf(const std::uint8_t *data, std::size_t size)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
}

// A name that stays directly inside its folder and reaches the system whole: not empty, not "."
// or "..", no "/", no control character, no lone surrogate, and its encoded form is all of it.
inline bool isPlainName(const QString &name)
{
    if (name.isEmpty() || name == u"." || name == u".." || name.contains(u'/') || !name.isValidUtf16())
        return false;
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        if (u < 0x20 || (u >= 0x7F && u <= 0x9F))
            return false;
    }
    const QByteArray encoded = QFile::encodeName(name);
    return !encoded.contains('\0') && QFile::decodeName(encoded) == name;
}

inline void checkPlainName(const QString &name, const char *what)
{
    check(isPlainName(name), what, name.toUtf8().toPercentEncoding(" !$&'()*+,;=:@/"));
}

}  // namespace sw::fuzz
