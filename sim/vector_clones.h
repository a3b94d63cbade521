// Loops over all bodies are compiled for several instruction sets and the
// widest one the processor offers is chosen when the program starts. Every
// variant performs the same correctly rounded operations in the same order
// (no contraction into fused multiply-adds, no reassociation), so all of
// them produce the same results bit for bit.
#pragma once

// (ThreadSanitizer cannot run the dispatching resolver, which runs before
// it is initialised, so its builds use the default variant.)
#if defined(__x86_64__) && !defined(__clang__) && !defined(__SANITIZE_THREAD__)
#define VECTOR_CLONES __attribute__((target_clones("arch=x86-64-v4", "arch=x86-64-v3", "default")))
#else
#define VECTOR_CLONES
#endif

// Bodies handled per block: per-pair terms are computed for a block in
// vector lanes, then added to the sums one by one in index order.
constexpr int PAIR_BLOCK = 256;

// Sum of the magnitudes of a block's terms in eight lanes (term k goes to
// lane k mod 8, in index order within each lane), the same on every
// instruction set. It measures the scale of a sum that may cancel.
inline void add_magnitudes(double lanes[8], const double* terms, int len) {
    int k = 0;
    for (; k + 8 <= len; k += 8)
        for (int l = 0; l < 8; ++l) lanes[l] += terms[k + l];
    for (int l = 0; k + l < len; ++l) lanes[l] += terms[k + l];
}

inline double lane_total(const double lanes[8]) {
    double total = 0.0;
    for (int l = 0; l < 8; ++l) total += lanes[l];
    return total;
}
