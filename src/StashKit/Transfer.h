#pragma once

// One event of a running media download.

#include <QHashFunctions>

#include <cstddef>
#include <cstdint>
#include <variant>

namespace sw {

class Transfer {
public:
    // Bytes of the file written so far, in total (not an increment).
    struct Progress {
        std::int64_t bytes = 0;
        friend bool operator==(const Progress &, const Progress &) = default;
    };
    // The size in bytes of the finished file at its destination.
    struct Done {
        std::int64_t bytes = 0;
        friend bool operator==(const Done &, const Done &) = default;
    };
    using Value = std::variant<Progress, Done>;

    Transfer(Progress p) : m_value(p) {}
    Transfer(Done d) : m_value(d) {}
    static Transfer progress(std::int64_t bytes) { return Progress{bytes}; }
    static Transfer done(std::int64_t bytes) { return Done{bytes}; }

    const Value &value() const { return m_value; }
    const Progress *asProgress() const { return std::get_if<Progress>(&m_value); }
    const Done *asDone() const { return std::get_if<Done>(&m_value); }
    bool isDone() const { return asDone() != nullptr; }
    // The byte count of either case.
    std::int64_t bytes() const { return std::visit([](const auto &c) { return c.bytes; }, m_value); }

    // Same case and same number.
    friend bool operator==(const Transfer &, const Transfer &) = default;

private:
    Value m_value;
};

// The case's position (0, 1), then the number.
inline std::size_t qHash(const Transfer &transfer, std::size_t seed = 0) noexcept
{
    return qHashMulti(seed, transfer.value().index(), transfer.bytes());
}

}  // namespace sw
