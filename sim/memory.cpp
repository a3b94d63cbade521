// Blocks whose size depends on the number of bodies.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/platform.h"
#include "sim/bodies.h"

void* alloc_zeroed(std::size_t count, std::size_t size) {
    // An empty request still gets a distinct block, so null always means failure.
    if (count == 0 || size == 0) count = size = 1;
    if (count > SIZE_MAX / size) fatal_exit("Allocation error");  // the size has no representation
    // Whole cache lines from a line's start: the force loops load the body
    // arrays in 64-byte vectors, which would otherwise each span two lines.
    if (count * size > SIZE_MAX - 63) fatal_exit("Allocation error");
    const std::size_t bytes = (count * size + 63) / 64 * 64;
    void* block = std::aligned_alloc(64, bytes);
    if (!block) fatal_exit("Allocation error");
    std::memset(block, 0, bytes);
    return block;
}

void free_block(void* block) { std::free(block); }
