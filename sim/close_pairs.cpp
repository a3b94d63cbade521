// Close pairs and plunges.
//
// Why. Near another body the step criterion sqrt(eta |F| / |S|) fails in
// two ways. Inside a few softening lengths the second derivative S of the
// softened force passes through zero (near 1.1 softening lengths), so now
// and then a step comes out long enough to cross the whole core. And a body
// that falls in from far away arrives with a kinetic energy up to a million
// times the scene's total energy, so the scheme's small relative errors,
// magnified that much, throw the pair out at absurd speed or sink it into
// an orbit too fast to step through. Both happen in most scenes people
// build: bodies placed at rest fall into each other, and every cluster has
// close passes and eccentric binaries.
//
// What is done, from near to far:
//  - Two bodies closer than 20 softening lengths become a passing pair:
//    their centre of mass takes the leader's place in the scheme, with the
//    leader's steps and the force of all other bodies on it, and the
//    companion is predicted where the leader is and not stepped. Their
//    relative motion follows the pair's own pull alone, on the pair's own
//    time scale, with its energy and angular momentum kept exactly
//    (sim/pair_orbit.cpp). It is followed at once until the two are 40
//    softening lengths apart and separating; the leader's step ends there
//    and both go back into the scheme, started afresh from their forces and
//    derivatives as at the start of a run.
//  - Two bodies bound to each other whose pair feels almost nothing of the
//    rest of the scene (no other body within 20 times the farthest they get
//    apart) become a lasting pair in the same way, which ends only when
//    another body comes within 15 times that distance.
//  - A body that mostly feels one other body within 10000 world units and
//    plunges towards it (the motion's kinetic energy well above its total
//    energy, its pericentre deep) takes a step shortened by that energy
//    ratio to the power 1/4; within 2000 units a body that mostly feels one
//    other takes at most twice its last step, and half its step when not
//    plunging. So the error of an approach stays that of an ordinary orbit.
//
// Why it is sound. Within 20 softening lengths (4.5 world units) the pull of
// any body farther than about 90 units, the nearest a passing pair allows,
// changes the pair's relative motion by less than a part in ten thousand
// over a passage that lasts about a nanosecond of simulated time, and the
// other bodies feel the pair as its total mass at its centre of mass to the
// same order; a lasting pair's neighbours are farther than 15 times its
// size, so its tidal pull on them and theirs on it stay below a part in a
// thousand. The centre of mass moves exactly as the scheme moves any body,
// and the relative motion keeps its energy and angular momentum, so a
// passage neither gains nor loses energy and costs a few thousand cheap
// steps of one pair instead of an unbounded number of full body steps. A
// body that meets a body already in a pair stays in the scheme, its step
// cut to a small fraction of the close pull's time scale and to twice its
// last step, which bounds its passage and keeps the run moving.
// Scenes in which no two bodies come within 10000 units never reach this
// code: the only cost there is the largest q the force sum keeps.
#include "sim/close_pairs.h"

#include <cmath>
#include <limits>

#include "sim/bodies.h"
#include "sim/integrator.h"

int* pair_of = nullptr;
ClosePair* close_pairs = nullptr;
int close_pair_count = 0;

namespace {

// Per body: steps to go before it searches for a lasting pair again.
int* search_pause = nullptr;

// Steps of the relative motion allowed to find where a pair ends: far more
// than any passage or bound orbit takes (about 2000 and 3000).
constexpr long END_SEARCH_STEPS = 200000;
// Steps a lasting pair's relative motion takes per published frame. Beyond
// them its phase lags behind, which no one can see (a pair that fast is a
// few units across) and which changes neither its energy nor its angular
// momentum.
constexpr long BOUND_PAIR_STEPS = 4000;
// The step of a body close to a body it cannot pair with: at most this
// fraction of the free-fall time of the two and twice its last step.
constexpr double CLOSE_STEP_FRACTION = 0.005;
// A bound pair lasts while no other body comes within 15 times its largest
// separation (its apocentre, bounded by M / |E|); it forms only where none
// is within 20 times.
constexpr double LASTING_PAIR_ISOLATION = 20.0;
constexpr double LASTING_PAIR_END_ISOLATION = 15.0;
// A lasting pair is looked for only where the pull of all other bodies on
// the body is below this part of its partner's...
constexpr double LASTING_PAIR_REST_PULL = 0.01;
// ...and a search that finds another body too near is not repeated for this
// many of the body's next steps (a search costs as much as a step).
constexpr int SEARCH_PAUSE_STEPS = 32;
// A passing pair forms and goes on only while no other body is within 10
// times the separation at which it ends (90 world units): nearer, the other
// body would feel the pair as one mass noticeably wrongly over the passage.
constexpr double PASSING_PAIR_ISOLATION = 10.0;
// The largest kinetic-to-total energy ratio a plunging step is shortened by
// (a step at least 1/32 of the scheme's): a parabolic meeting has no total
// energy to compare with.
constexpr double MAX_PLUNGE_RATIO = 1048576.0;
// Below this ratio the motion is no plunge: an orbit near a circle (1), or
// two bodies passing fast or drifting past each other (about 1).
constexpr double MIN_PLUNGE_RATIO = 2.0;
// A plunge goes deeper than this (world units, 100 times the close
// distance): the two-body orbit's pericentre lies there.
constexpr double PLUNGE_PERICENTRE = 447.0;
// A body that mostly feels one other within NEAR_DISTANCE and does not
// plunge takes this fraction of its step: a binary's orbit, bent by its
// neighbours, needs more steps than the criterion gives to keep its energy.
constexpr double PAIR_STEP_DIVISOR = 2.0;
// A body's nearest body within APPROACH_DISTANCE steps again within this
// many of the body's steps.
constexpr double HOLD_BACK_STEPS = 4.0;

// Every body's prediction polynomial at a time, and its first three
// derivatives: the positions, velocities, forces and jerks from which a body
// is started afresh. Also the masses the fresh start sees.
struct Snapshot {
    double *x, *y, *vx, *vy, *fx, *fy, *jx, *jy, *m;
};
Snapshot snapshot{};

double* allocate_doubles(int count) { return static_cast<double*>(alloc_zeroed(count, sizeof(double))); }

void take_snapshot(double t) {
    for (int k = 0; k < run_body_count; ++k) {
        const Predicted p = predict_full_order(k, t);
        snapshot.x[k] = p.x;
        snapshot.y[k] = p.y;
        snapshot.vx[k] = p.vx;
        snapshot.vy[k] = p.vy;
        // The polynomial's second and third derivatives: force and jerk.
        const double tau = t - t0[k];
        const double s = (t0[k] - t1[k]) + (t0[k] - t2[k]);
        const double px = diff2_x[k] + s * diff3_x[k];
        const double py = diff2_y[k] + s * diff3_y[k];
        snapshot.fx[k] = 2.0 * half_force_x[k] + tau * (6.0 * sixth_jerk_x[k] + tau * (px + tau * diff3_x[k]));
        snapshot.fy[k] = 2.0 * half_force_y[k] + tau * (6.0 * sixth_jerk_y[k] + tau * (py + tau * diff3_y[k]));
        snapshot.jx[k] = 6.0 * sixth_jerk_x[k] + tau * (2.0 * px + tau * (3.0 * diff3_x[k]));
        snapshot.jy[k] = 6.0 * sixth_jerk_y[k] + tau * (2.0 * py + tau * (3.0 * diff3_y[k]));
        snapshot.m[k] = body_masses[k];
    }
}

// The mass a body moves with: its pair's when it is in one.
double unit_mass(int i) { return pair_of[i] >= 0 ? close_pairs[pair_of[i]].mass : body_masses[i]; }

// A plunge: a body's step is shortened by the ratio of the kinetic energy
// of its motion relative to its nearest body to the energy of that motion,
// to the power -1/4. The scheme's error over a stretch of the orbit falls as
// the fourth power of the step, and the kinetic energy multiplies it into
// the scene's energy; the ratio is that multiplier (the apocentre over the
// separation for a radial fall), so the energy error of a plunge stays that
// of an ordinary orbit. A circular orbit has the ratio 1 and keeps its step.
// The motion of j relative to i at i's newest time (j predicted to third
// order), with the mass that pulls them together.
struct Meeting {
    double dx, dy, dvx, dvy, mass;
};

Meeting meeting(int i, int j) {
    const Predicted p = predict_third_order(j, t0[i]);
    return {p.x - pos_x[i], p.y - pos_y[i], p.vx - vel_x[i], p.vy - vel_y[i], unit_mass(i) + unit_mass(j)};
}

double meeting_energy(const Meeting& m) {
    return 0.5 * (m.dvx * m.dvx + m.dvy * m.dvy) - m.mass / std::sqrt(m.dx * m.dx + m.dy * m.dy + softening2);
}

// The divisor of a plunging body's step, 1 for any other motion.
double plunge_divisor(const Meeting& m) {
    const double kinetic = 0.5 * (m.dvx * m.dvx + m.dvy * m.dvy);
    const double energy = meeting_energy(m);
    const double ratio = std::fmin(kinetic / std::fabs(energy), MAX_PLUNGE_RATIO);
    if (!(ratio > MIN_PLUNGE_RATIO) || !(m.mass > 0.0)) return 1.0;
    // The pericentre of the two-body orbit: only a plunge that goes deep
    // gains the kinetic energy that magnifies the error.
    const double momentum = m.dx * m.dvy - m.dy * m.dvx;
    const double semi_latus = momentum * momentum / m.mass;
    const double eccentricity = std::sqrt(std::fmax(0.0, 1.0 + 2.0 * energy * semi_latus / m.mass));
    if (!(semi_latus / (1.0 + eccentricity) < PLUNGE_PERICENTRE)) return 1.0;
    return std::sqrt(std::sqrt(ratio));
}

void shorten_step(int i, double divisor) {
    const double shorter = step[i] / divisor;
    if (t0[i] + shorter > t0[i]) step[i] = shorter;
}


// Starts the given bodies afresh at time t from the snapshot (where their
// own rows hold their new states): forces and jerks of all of them first,
// then the higher derivatives, the step lengths and the differences. Two
// rows are a pair just ended: each one's first step is that of a plunge
// relative to the other.
void start_afresh(const int* rows, int count, double t) {
    double out[5];
    for (int r = 0; r < count; ++r) {
        const int i = rows[r];
        force_and_jerk(run_body_count, i, snapshot.x, snapshot.y, snapshot.vx, snapshot.vy, snapshot.m, out);
        snapshot.fx[i] = out[0];
        snapshot.fy[i] = out[1];
        snapshot.jx[i] = out[2];
        snapshot.jy[i] = out[3];
        step[i] = out[4];  // the force's scale until the criterion below
    }
    for (int r = 0; r < count; ++r) {
        const int i = rows[r];
        force_derivatives(run_body_count, i, snapshot.x, snapshot.y, snapshot.vx, snapshot.vy, snapshot.m,
                          snapshot.fx, snapshot.fy, snapshot.jx, snapshot.jy, out);
        const double derivatives[8] = {snapshot.fx[i], snapshot.fy[i], snapshot.jx[i], snapshot.jy[i],
                                       out[0],         out[1],         out[2],         out[3]};
        const double h = force_vanishes(derivatives[0], derivatives[1], step[i])
                             ? NO_STEP
                             : criterion_step(derivatives[0], derivatives[1], derivatives[4], derivatives[5]);
        step[i] = usable_step(i, t, h);
        if (count == 2) {
            const int j = rows[1 - r];
            const Meeting m = {snapshot.x[j] - snapshot.x[i], snapshot.y[j] - snapshot.y[i],
                               snapshot.vx[j] - snapshot.vx[i], snapshot.vy[j] - snapshot.vy[i],
                               snapshot.m[i] + snapshot.m[j]};
            const double divisor = plunge_divisor(m);
            const double shorter = step[i] / divisor;
            if (t + shorter > t) step[i] = shorter;
        }
        pos_x[i] = snapshot.x[i];
        pos_y[i] = snapshot.y[i];
        vel_x[i] = snapshot.vx[i];
        vel_y[i] = snapshot.vy[i];
        take_start_derivatives(i, t, derivatives);
    }
}

// The companion goes wherever the leader's polynomial takes it and is never
// stepped itself.
void shadow_leader(const ClosePair& p) {
    const int i = p.leader, j = p.companion;
    pos_x[j] = pos_x[i];
    pos_y[j] = pos_y[i];
    vel_x[j] = vel_x[i];
    vel_y[j] = vel_y[i];
    half_force_x[j] = half_force_x[i];
    half_force_y[j] = half_force_y[i];
    sixth_jerk_x[j] = sixth_jerk_x[i];
    sixth_jerk_y[j] = sixth_jerk_y[i];
    diff1_x[j] = diff1_x[i];
    diff1_y[j] = diff1_y[i];
    diff2_x[j] = diff2_x[i];
    diff2_y[j] = diff2_y[i];
    diff3_x[j] = diff3_x[i];
    diff3_y[j] = diff3_y[i];
    t0[j] = t0[i];
    t1[j] = t1[i];
    t2[j] = t2[i];
    t3[j] = t3[i];
    step[j] = std::numeric_limits<double>::infinity();
    update_step_queue(j);
}

// The leader's step ends no later than the pair does.
void cut_step_to_end(const ClosePair& p) {
    const int i = p.leader;
    const double remaining = p.end_time - t0[i];
    if (remaining < step[i]) step[i] = remaining;
}

// The relative motion of a pair at time t. Moving forward, the pair keeps
// the state reached, so that each frame integrates only the span since the
// last one. (The leader's steps do not move it: a lone pair's centre of
// mass may step a thousand time units at once.)
PairState relative_at(ClosePair& p, double t) {
    const long budget = std::isfinite(p.end_time) ? END_SEARCH_STEPS : BOUND_PAIR_STEPS;
    PairState s = p.rel;
    const double advanced = advance_pair(p.mass, p.energy, p.angular_momentum, &s, t - p.time, budget);
    if (t > p.time) {
        p.rel = s;
        p.time += advanced;
        if (advanced != t - p.time) p.time = t;  // a bound pair whose phase lags (see BOUND_PAIR_STEPS)
    }
    return s;
}

// Makes i and j a pair at time t, the time of both their latest steps. A
// lasting pair stays one until another body comes near; any other ends
// when the two have separated.
void form_pair(int i, int j, double t, bool lasting) {
    const double mi = body_masses[i], mj = body_masses[j];
    const double mass = mi + mj;
    if (!(mass > 0.0)) return;  // massless bodies do not pull each other
    take_snapshot(t);
    ClosePair& p = close_pairs[close_pair_count];
    p.leader = i;
    p.companion = j;
    p.mass = mass;
    p.time = t;
    p.rel = {snapshot.x[j] - snapshot.x[i], snapshot.y[j] - snapshot.y[i], snapshot.vx[j] - snapshot.vx[i],
             snapshot.vy[j] - snapshot.vy[i]};
    p.energy = pair_energy(mass, p.rel);
    p.angular_momentum = pair_angular_momentum(p.rel);
    p.apocentre = p.energy < 0.0 ? mass / -p.energy : std::numeric_limits<double>::infinity();
    p.end_rel = p.rel;
    const double span = lasting ? -1.0
                                : advance_pair_to_separation(mass, p.energy, p.angular_momentum, &p.end_rel,
                                                             PAIR_END_DISTANCE, END_SEARCH_STEPS);
    p.end_time = span >= 0.0 ? t + span : std::numeric_limits<double>::infinity();


    // The centre of mass in the leader's row, the companion's mass left out
    // of its fresh start (the two are one body now).
    const double wi = mi / mass, wj = mj / mass;
    snapshot.x[i] = wi * snapshot.x[i] + wj * snapshot.x[j];
    snapshot.y[i] = wi * snapshot.y[i] + wj * snapshot.y[j];
    snapshot.vx[i] = wi * snapshot.vx[i] + wj * snapshot.vx[j];
    snapshot.vy[i] = wi * snapshot.vy[i] + wj * snapshot.vy[j];
    snapshot.m[j] = 0.0;
    start_afresh(&i, 1, t);
    pair_of[i] = pair_of[j] = close_pair_count++;
    cut_step_to_end(p);
    shadow_leader(p);
}

// The two bodies of a pair that has ended go back into the scheme at time
// t, the leader's: each at the centre of mass plus its share of the relative
// motion.
void end_pair(int index, double t) {
    ClosePair& pair = close_pairs[index];
    PairState rel = pair.end_rel;
    if (t >= pair.end_time)
        advance_pair(pair.mass, pair.energy, pair.angular_momentum, &rel, t - pair.end_time, END_SEARCH_STEPS);
    else
        rel = relative_at(pair, t);
    const ClosePair p = pair;
    const int i = p.leader, j = p.companion;
    take_snapshot(t);
    const double wi = body_masses[i] / p.mass, wj = body_masses[j] / p.mass;
    const double cx = snapshot.x[i], cy = snapshot.y[i], cvx = snapshot.vx[i], cvy = snapshot.vy[i];
    snapshot.x[i] = cx - wj * rel.x;
    snapshot.y[i] = cy - wj * rel.y;
    snapshot.vx[i] = cvx - wj * rel.vx;
    snapshot.vy[i] = cvy - wj * rel.vy;
    snapshot.x[j] = cx + wi * rel.x;
    snapshot.y[j] = cy + wi * rel.y;
    snapshot.vx[j] = cvx + wi * rel.vx;
    snapshot.vy[j] = cvy + wi * rel.vy;
    pair_of[i] = pair_of[j] = -1;
    close_pairs[index] = close_pairs[--close_pair_count];
    if (index < close_pair_count) pair_of[close_pairs[index].leader] = pair_of[close_pairs[index].companion] = index;
    const int rows[2] = {i, j};
    start_afresh(rows, 2, t);
    update_step_queue(i);
    update_step_queue(j);
}

// The body nearest to i at i's newest time, other than i's companion and
// the body left out.
int nearest_body(int i, int left_out, double* q_out) {
    const int companion = pair_of[i] >= 0 ? close_pairs[pair_of[i]].companion : -1;
    measure_body_q(t0[i], pos_x[i], pos_y[i]);
    return nearest_in_body_q(i, companion, left_out, 0.0, q_out);
}

// Steps body j to time t with the scheme's corrector, so that a pair starts
// from two corrected states rather than from one of them predicted.
bool synchronising = false;

void synchronise(int j, double t) {
    const double h = t - t0[j];
    if (!(t0[j] + h > t0[j])) return;
    synchronising = true;
    step[j] = h;
    step_body(j);
    synchronising = false;
}

// Whether a body at q = 1 / (d^2 + softening2) from a pair's centre of mass
// is nearer than isolation times the pair's largest separation.
bool disturbed(double apocentre, double q, double isolation) {
    const double reach = isolation * apocentre;
    return q > 0.0 && 1.0 / q - softening2 < reach * reach;
}

// Whether i and its nearest body j, meeting as m, are bound to each other
// and no other body comes within LASTING_PAIR_ISOLATION times the farthest
// they can get apart. Asked only deep in the plunge (within a tenth of the
// apocentre and NEAR_DISTANCE), so that the search for the next nearest
// body runs a few times per orbit, not at every step.
bool bound_and_alone(int i, int j, const Meeting& m) {
    const double energy = meeting_energy(m);
    if (!(energy < 0.0)) return false;
    const double apocentre = m.mass / -energy;
    const double r2 = m.dx * m.dx + m.dy * m.dy;
    if (!(r2 < NEAR_DISTANCE * NEAR_DISTANCE)) return false;
    // The pull of all the other bodies on i is a small part of j's (a pair
    // alone), or no search is needed.
    const double q = 1.0 / (r2 + softening2);
    const double g = unit_mass(j) * q * std::sqrt(q);
    const double rest_x = 2.0 * half_force_x[i] - g * m.dx, rest_y = 2.0 * half_force_y[i] - g * m.dy;
    if (!(rest_x * rest_x + rest_y * rest_y < LASTING_PAIR_REST_PULL * LASTING_PAIR_REST_PULL * g * g * r2))
        return false;
    if (search_pause[i] > 0) {
        --search_pause[i];
        return false;
    }
    double third_q = 0.0;
    nearest_body(i, j, &third_q);
    if (!disturbed(apocentre, third_q, LASTING_PAIR_ISOLATION)) return true;
    search_pause[i] = SEARCH_PAUSE_STEPS;
    return false;
}

// Whether a body at q from a pair's centre of mass is too near for the pair
// to go on as one.
bool disturbed_pair(const ClosePair& p, double q) {
    return std::isfinite(p.end_time) ? disturbed(PAIR_END_DISTANCE, q, PASSING_PAIR_ISOLATION)
                                     : disturbed(p.apocentre, q, LASTING_PAIR_END_ISOLATION);
}

// Whether no body but j comes within PASSING_PAIR_ISOLATION times the
// distance at which a passing pair of i and j ends.
bool alone_in_passing(int i, int j) {
    double q = 0.0;
    nearest_body(i, j, &q);
    return !disturbed(PAIR_END_DISTANCE, q, PASSING_PAIR_ISOLATION);
}

// Whether j pulls i with at least half the force i feels in all: the two
// move mostly as a pair of their own, not each along an orbit that others
// shape (neighbours in a disc or on one orbit about a star).
bool pulled_mostly_by(int i, int j, double q) {
    const double d2 = 1.0 / q - softening2;
    const double pull = unit_mass(j) * q * q * q * unit_mass(j) * (d2 > 0.0 ? d2 : 0.0);  // squared
    return pull >= half_force_x[i] * half_force_x[i] + half_force_y[i] * half_force_y[i];  // half the force, squared
}

// Brings body j's next step forward to time `latest` when it lies later:
// a body on a long step does not notice another that comes at it fast, and
// would step across the whole meeting at once.
void hold_back(int j, double latest) {
    if (!(t0[j] + step[j] > latest) || !(latest > t0[j])) return;
    step[j] = latest - t0[j];
    update_step_queue(j);
}

// A body close to one it cannot pair with: its step bounded by the close
// pull's free-fall time and by twice its last step.
void bound_close_step(int i, int j, double q, double last_step) {
    const double mass = body_masses[i] + (pair_of[j] >= 0 ? close_pairs[pair_of[j]].mass : body_masses[j]);
    double bound = 2.0 * last_step;
    if (mass > 0.0) bound = std::fmin(bound, CLOSE_STEP_FRACTION * std::sqrt(1.0 / (q * std::sqrt(q) * mass)));
    if (bound < step[i] && t0[i] + bound > t0[i]) step[i] = bound;
}

// The leader of a pair has stepped; q is that of the nearest body other
// than its companion.
void follow_pair(int i, double q) {
    ClosePair& p = close_pairs[pair_of[i]];
    const double t = t0[i];
    const double remaining = p.end_time - t;
    const bool separated = !(remaining > 16.0 * std::numeric_limits<double>::epsilon() * std::fabs(t));
    if (separated || disturbed_pair(p, q)) {
        end_pair(pair_of[i], t);
        return;
    }
    cut_step_to_end(p);
    shadow_leader(p);
}

}  // namespace

double close_q() { return 1.0 / (CLOSE_DISTANCE2 + softening2); }

double approach_q() { return 1.0 / (APPROACH_DISTANCE * APPROACH_DISTANCE + softening2); }

double near_q() { return 1.0 / (NEAR_DISTANCE * NEAR_DISTANCE + softening2); }

void allocate_close_pairs(int count) {
    pair_of = static_cast<int*>(alloc_zeroed(count, sizeof(int)));
    for (int i = 0; i < count; ++i) pair_of[i] = -1;
    search_pause = static_cast<int*>(alloc_zeroed(count, sizeof(int)));
    close_pairs = static_cast<ClosePair*>(alloc_zeroed(count / 2 + 1, sizeof(ClosePair)));
    close_pair_count = 0;
    for (double** block : {&snapshot.x, &snapshot.y, &snapshot.vx, &snapshot.vy, &snapshot.fx, &snapshot.fy,
                           &snapshot.jx, &snapshot.jy, &snapshot.m})
        *block = allocate_doubles(count);
}

void release_close_pairs() {
    free_block(pair_of);
    free_block(close_pairs);
    free_block(search_pause);
    search_pause = nullptr;
    pair_of = nullptr;
    close_pairs = nullptr;
    close_pair_count = 0;
    for (double** block : {&snapshot.x, &snapshot.y, &snapshot.vx, &snapshot.vy, &snapshot.fx, &snapshot.fy,
                           &snapshot.jx, &snapshot.jy, &snapshot.m}) {
        free_block(*block);
        *block = nullptr;
    }
}

void after_body_step(int i, int j, double nearest_q, double last_step) {
    if (synchronising) return;
    if (pair_of[i] >= 0) {
        follow_pair(i, nearest_q);
        if (pair_of[i] < 0) return;
    }
    if (j < 0) return;
    const bool close = nearest_q > close_q();
    if (pair_of[j] >= 0 && pair_of[i] < 0 && disturbed_pair(close_pairs[pair_of[j]], nearest_q)) {
        end_pair(pair_of[j], t0[i]);  // i comes too near a pair: the three go on as bodies
    }
    if (pair_of[i] >= 0 || pair_of[j] >= 0) {
        if (close) bound_close_step(i, j, nearest_q, last_step);
        return;
    }
    hold_back(j, t0[i] + HOLD_BACK_STEPS * step[i]);
    const Meeting m = meeting(i, j);
    const bool paired_motion = pulled_mostly_by(i, j, nearest_q);
    const double divisor = paired_motion ? plunge_divisor(m) : 1.0;
    const bool lasting = paired_motion && bound_and_alone(i, j, m);
    if (lasting || (close && alone_in_passing(i, j))) {
        synchronise(j, t0[i]);
        form_pair(i, j, t0[i], lasting);
    } else if (close) {
        bound_close_step(i, j, nearest_q, last_step);
    } else if (paired_motion) {
        shorten_step(i, divisor > 1.0 ? divisor : nearest_q > near_q() ? PAIR_STEP_DIVISOR : 1.0);
        if (nearest_q > near_q() && step[i] > 2.0 * last_step) shorten_step(i, step[i] / (2.0 * last_step));
    }
}

void pair_close_bodies_at_start() {
    for (int i = 0; i < run_body_count; ++i) {
        if (pair_of[i] >= 0) continue;
        double q = 0.0;
        const int j = nearest_body(i, -1, &q);
        if (j >= 0 && pair_of[j] < 0 && q > approach_q()) {
            const Meeting m = meeting(i, j);
            const bool lasting = pulled_mostly_by(i, j, q) && plunge_divisor(m) > 1.0 && bound_and_alone(i, j, m);
            if (lasting || (q > close_q() && alone_in_passing(i, j))) form_pair(i, j, t0[i], lasting);
        }
        update_step_queue(i);
    }
}

void place_pair_members(double t, double* x, double* y, double* vx, double* vy) {
    for (int k = 0; k < close_pair_count; ++k) {
        ClosePair& p = close_pairs[k];
        const PairState rel = relative_at(p, t);
        const int i = p.leader, j = p.companion;
        const double wi = body_masses[i] / p.mass, wj = body_masses[j] / p.mass;
        const double cx = x[i], cy = y[i], cvx = vx[i], cvy = vy[i];
        x[i] = cx - wj * rel.x;
        y[i] = cy - wj * rel.y;
        vx[i] = cvx - wj * rel.vx;
        vy[i] = cvy - wj * rel.vy;
        x[j] = cx + wi * rel.x;
        y[j] = cy + wi * rel.y;
        vx[j] = cvx + wi * rel.vx;
        vy[j] = cvy + wi * rel.vy;
    }
}
