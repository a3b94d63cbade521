// Which body steps next: the earliest t0 + step, the lowest index among
// equal times, only below TIME_LIMIT. A tournament tree over the bodies'
// next times gives the same choice as a scan in index order, at a cost of
// log2(count) per step instead of count.
#include "sim/bodies.h"
#include "sim/integrator.h"

namespace {

int leaves = 0;                  // a power of two >= count
int* winner = nullptr;           // 2 * leaves nodes; node 1 is the root; -1 is empty
double* next_time = nullptr;     // t0 + step per body

int better(int a, int b) {
    if (a < 0) return b;
    if (b < 0) return a;
    if (next_time[b] < next_time[a]) return b;
    if (next_time[a] < next_time[b]) return a;
    return a < b ? a : b;
}

}  // namespace

void build_step_queue(int count) {
    leaves = 1;
    while (leaves < count) leaves *= 2;
    winner = static_cast<int*>(alloc_zeroed(2 * static_cast<std::size_t>(leaves), sizeof(int)));
    next_time = static_cast<double*>(alloc_zeroed(count, sizeof(double)));
    for (int k = 0; k < leaves; ++k) winner[leaves + k] = k < count ? k : -1;
    for (int i = 0; i < count; ++i) next_time[i] = t0[i] + step[i];
    for (int node = leaves - 1; node >= 1; --node) winner[node] = better(winner[2 * node], winner[2 * node + 1]);
}

void update_step_queue(int i) {
    next_time[i] = t0[i] + step[i];
    for (int node = (leaves + i) / 2; node >= 1; node /= 2)
        winner[node] = better(winner[2 * node], winner[2 * node + 1]);
}

int next_body() {
    if (!winner) return -1;
    int first = leaves > 1 ? winner[1] : winner[leaves];
    if (first < 0 || !(next_time[first] < TIME_LIMIT)) return -1;
    return first;
}

void release_step_queue() {
    free_block(winner);
    free_block(next_time);
    winner = nullptr;
    next_time = nullptr;
    leaves = 0;
}
