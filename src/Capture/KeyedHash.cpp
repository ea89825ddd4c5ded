#include "Capture/KeyedHash.h"

#include <QRandomGenerator>

#include <cstddef>

namespace sw::hash {

namespace {
struct ProcessKey {
    std::uint64_t k0;
    std::uint64_t k1;
    std::uint64_t textSeed;
};

const ProcessKey &processKey()
{
    static const ProcessKey key = [] {
        QRandomGenerator *source = QRandomGenerator::system();
        return ProcessKey{source->generate64(), source->generate64(), source->generate64()};
    }();
    return key;
}
}  // namespace

std::uint64_t keyed(std::uint64_t word) noexcept
{
    const ProcessKey &key = processKey();
    return sip<1, 3>(word, key.k0, key.k1);
}

std::uint64_t keyed(std::string_view bytes) noexcept
{
    const ProcessKey &key = processKey();
    return sip<1, 3>(bytes, key.k0, key.k1);
}

std::size_t textSeed() noexcept
{
    return std::size_t(processKey().textSeed);
}

}  // namespace sw::hash
