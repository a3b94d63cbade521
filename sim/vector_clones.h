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
constexpr int PAIR_BLOCK = 64;

// The largest of a block's term magnitudes. A maximum does not depend on the
// order or grouping of its operands, so it is the same however the terms are
// split into blocks and lanes.
inline double largest(double so_far, const double* terms, int len) {
    double lanes[8] = {so_far, so_far, so_far, so_far, so_far, so_far, so_far, so_far};
    int k = 0;
    for (; k + 8 <= len; k += 8)
        for (int l = 0; l < 8; ++l) lanes[l] = lanes[l] < terms[k + l] ? terms[k + l] : lanes[l];
    for (int l = 0; k + l < len; ++l) lanes[l] = lanes[l] < terms[k + l] ? terms[k + l] : lanes[l];
    double result = lanes[0];
    for (int l = 1; l < 8; ++l) result = result < lanes[l] ? lanes[l] : result;
    return result;
}

// The largest of many values and the first index that holds it, taken 32
// at a time in lanes: each lane keeps its largest value and the start of the
// first group of 32 in which it saw it. Values of 0 or less and NaNs count
// as nothing. Written as plain loops over the lanes, which every variant
// turns into vectors of its own width (a 64-byte vector type would be taken
// apart into single values by the baseline variant).
constexpr int MAXIMUM_LANES = 32;

struct LaneMaximum {
    alignas(64) double most[MAXIMUM_LANES] = {};
    alignas(64) double where[MAXIMUM_LANES] = {};

    // Takes values[0..31], which stand at indices start..start+31.
    [[gnu::always_inline]] void take(const double* __restrict values, int start) {
        const double at = start;
        for (int l = 0; l < MAXIMUM_LANES; ++l) {
            const bool larger = most[l] < values[l];
            where[l] = larger ? at : where[l];
            most[l] = larger ? values[l] : most[l];
        }
    }

    // The largest value taken (0 when none is above 0), and in index the
    // first index that holds it (-1 when none is above 0).
    [[gnu::always_inline]] double largest(int* index) const {
        double result = 0.0;
        for (int l = 0; l < MAXIMUM_LANES; ++l) result = result < most[l] ? most[l] : result;
        *index = -1;
        if (!(result > 0.0)) return result;
        for (int l = 0; l < MAXIMUM_LANES; ++l) {
            const int at = static_cast<int>(where[l]) + l;
            if (most[l] == result && (*index < 0 || at < *index)) *index = at;
        }
        return result;
    }

    // The same over everything taken and then values[from..to-1], which
    // stand after all of it.
    [[gnu::always_inline]] double largest(int* index, const double* values, int from, int to) const {
        double result = largest(index);
        for (int k = from; k < to; ++k)
            if (result < values[k]) {
                result = values[k];
                *index = k;
            }
        return result;
    }
};
