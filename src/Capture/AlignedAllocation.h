#pragma once

// Over-aligned blocks taken from the ordinary allocator. glibc serves an aligned request by
// cutting a larger block and giving back its leading and trailing pieces; for a type made by the
// hundred thousand (one per save of a large library), those pieces pile up among the small free
// blocks and are all gathered again at the next large free. Here a block is asked for with room
// to align it, and the distance to its start is kept in the byte just before the aligned
// address; nothing is given back until the block is.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace sw {

// A block of `size` bytes at a multiple of `alignment` (a power of two from 16 to 256). Throws
// std::bad_alloc when there is no memory.
inline void *allocateAligned(std::size_t size, std::size_t alignment)
{
    // malloc's blocks are aligned to 16 at least, so the aligned address lies 16 to `alignment`
    // bytes past the start: never at it, and the distance fits a byte.
    void *raw = std::malloc(size + alignment);
    if (!raw)
        throw std::bad_alloc();
    const std::uintptr_t start = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = (start + alignment) & ~std::uintptr_t(alignment - 1);
    unsigned char *at = reinterpret_cast<unsigned char *>(aligned);
    at[-1] = static_cast<unsigned char>(aligned - start - 1);
    return at;
}

// Gives back a block of allocateAligned(); nothing for null.
inline void releaseAligned(void *block) noexcept
{
    if (!block)
        return;
    unsigned char *at = static_cast<unsigned char *>(block);
    std::free(at - at[-1] - 1);
}

}  // namespace sw
