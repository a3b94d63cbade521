// Blocks whose size depends on the number of bodies.
#include <cstdlib>

#include "platform/platform.h"
#include "sim/bodies.h"

void* alloc_zeroed(std::size_t count, std::size_t size) {
    // An empty request still gets a distinct block, so null always means failure.
    if (count == 0 || size == 0) count = size = 1;
    void* block = std::calloc(count, size);  // calloc also refuses count * size overflow
    if (!block) fatal_exit("Allocation error");
    return block;
}

void free_block(void* block) { std::free(block); }
