// Blocks whose size depends on the number of bodies.
#include <cstdint>
#include <cstdlib>

#include "platform/platform.h"
#include "sim/bodies.h"

void* alloc_zeroed(std::size_t count, std::size_t size) {
    // An empty request still gets a distinct block, so null always means failure.
    if (count == 0 || size == 0) count = size = 1;
    if (count > SIZE_MAX / size) fatal_exit("Allocation error");  // the size has no representation
    void* block = std::calloc(count, size);
    if (!block) fatal_exit("Allocation error");
    return block;
}

void free_block(void* block) { std::free(block); }
