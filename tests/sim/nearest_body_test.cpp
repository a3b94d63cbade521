// The nearest body found in vector lanes is the one a scan in index order
// finds: the first body with the largest q, ties, NaNs and bodies left out
// included.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "sim/integrator.h"

TEST(NearestBody, LanesFindTheFirstBodyAnIndexOrderScanFinds) {
    std::uint64_t state = 7;
    auto next = [&state] {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<int>(state >> 40);
    };
    for (const int count : {0, 1, 31, 32, 33, 95, 1000}) {
        std::vector<double> q(count + 1);
        for (int round = 0; round < 40; ++round) {
            for (double& v : q) v = next() % 8;  // many ties, and zeros
            if (count > 3) {
                q[next() % count] = std::nan("");
                q[next() % count] = -1.0;
            }
            const int left_out = count > 0 ? next() % count : -1;
            int expected = -1;
            double best = 0.0;
            for (int k = 0; k < count; ++k)
                if (k != left_out && q[k] > best) {
                    best = q[k];
                    expected = k;
                }
            body_q = q.data();
            run_body_count = count;
            double found = -1.0;
            EXPECT_EQ(nearest_in_body_q(-1, left_out, -1, 0.0, &found), expected) << count;
            EXPECT_EQ(found, best);
            if (left_out >= 0) {
                EXPECT_EQ(q[left_out], 0.0);
            }
            EXPECT_EQ(nearest_in_body_q(-1, -1, -1, best, &found), -1) << "only a q above the limit counts";
        }
    }
    body_q = nullptr;
    run_body_count = 0;
}
