// Close pairs and plunges: two bodies that come within a few softening
// lengths of each other, or a bound pair left alone, move as one unit; a
// body plunging towards another takes shorter steps (sim/close_pairs.cpp
// explains why). Used only by the integrator on the simulation thread.
#pragma once

#include "sim/pair_orbit.h"

// Two bodies become a close pair when their separation falls below
// sqrt(CLOSE_DISTANCE2) world units, 20 softening lengths; the pair ends
// when they are PAIR_END_DISTANCE apart again and separating.
constexpr double CLOSE_DISTANCE2 = 20.0;
constexpr double PAIR_END_DISTANCE = 8.94427190999916;

struct ClosePair {
    int leader;       // carries the pair's centre of mass in the scheme
    int companion;    // not stepped; predicted where the leader is
    double mass;      // sum of the two masses
    double energy;    // kept energy and angular momentum of the relative motion
    double angular_momentum;
    double time;      // time of rel
    PairState rel;    // companion relative to leader
    double apocentre; // M / |E|, the farthest a bound pair gets apart; infinite when unbound
    double end_time;  // when the pair ends; infinite for a lasting pair
    PairState end_rel;
};

// Per body: the index of its pair in close_pairs, or -1.
extern int* pair_of;
extern ClosePair* close_pairs;
extern int close_pair_count;

// Within APPROACH_DISTANCE world units of its nearest body a body's step is
// watched (see after_body_step); farther away nothing changes.
constexpr double APPROACH_DISTANCE = 10000.0;
// Within NEAR_DISTANCE world units of a body it mostly feels, a body's step
// at most doubles from one step to the next (the criterion can jump when the
// force's second derivative passes through zero) and is shortened further
// (see sim/close_pairs.cpp).
constexpr double NEAR_DISTANCE = 2000.0;

// The q = 1 / (d^2 + softening2) above which another body counts as close,
// and above which it counts as approaching.
double close_q();
double approach_q();
double near_q();

void allocate_close_pairs(int count);
void release_close_pairs();

// After body i has stepped to its t0 with its next step chosen (last_step
// is the step it just took), given its nearest body j (-1 when none lies
// within APPROACH_DISTANCE) and that body's q:
//  - a pair leader ends its pair once the two have separated or another body
//    comes too near, and otherwise cuts its step to the pair's end;
//  - a body that comes too near a pair ends it;
//  - a body closer than the close distance becomes a pair with j, or, when
//    either is already in one (or a third body is near), its step is cut to
//    what j's pull allows (at most twice last_step);
//  - a body bound to j and left alone with it becomes a lasting pair;
//  - a body that mostly feels j and plunges towards it (the motion's kinetic
//    energy well above its energy in all: the two fell from far away) takes
//    a shorter step, the kinetic energy it will have when close magnifying
//    every relative error.
// Changes nothing for any other step.
void after_body_step(int i, int j, double nearest_q, double last_step);
// After the set-up: pairs for the bodies that start close to each other.
void pair_close_bodies_at_start();
// The published positions and velocities of pair members at frame time t,
// after every body's prediction polynomial was evaluated into them.
void place_pair_members(double t, double* x, double* y, double* vx, double* vy);
