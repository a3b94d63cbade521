// Parsing of the runner's arguments; every value is checked so that a run
// always ends (finite, non-negative times within the simulation's range).
#include "tools/stelo-batch/batch_options.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "scenefile/scene_file.h"
#include "sim/bodies.h"

const char BATCH_USAGE[] =
    "usage: stelo-batch SCENE --until T [--every DT] [--frame fixed|cm|rotating|moving|orbit] [--energy] [--stats]"
    " [--svg FILE]";

namespace {

// Frame times beyond this are refused: the integrator's time limit lies at
// 1e10 and no body may need to step near it.
constexpr double LONGEST_RUN = 1e9;
// The multiples of --every up to T are counted in whole numbers that must
// stay exact: T / DT above this is refused.
constexpr double MOST_MULTIPLES = 1e15;

const char HELP_TEXT[] =
    "Runs a scene file without a display and prints the motion as CSV.\n"
    "\n"
    "  SCENE          scene file to run (it is only read, never written)\n"
    "  --until T      run up to the published frame nearest to time T (0 <= T <= 1e9)\n"
    "  --every DT     print the frame nearest to each multiple of DT (within half a\n"
    "                 time step; a frame is printed at most once; T / DT at most\n"
    "                 1e15); default: every frame\n"
    "  --frame F      reference frame of the positions: fixed (default, about the\n"
    "                 scene's origin), cm, rotating, moving or orbit (about the scene's\n"
    "                 reference body)\n"
    "  --energy       add a row t,energy,dE per printed frame: the total energy\n"
    "                 (kinetic plus softened potential -m_i m_j / sqrt(r^2 + 0.05) per\n"
    "                 pair, internal mass units) and its error relative to the first\n"
    "                 frame (the difference itself when that energy is 0). Velocities\n"
    "                 are the time derivatives of the same prediction polynomials that\n"
    "                 give the published positions, evaluated at the frame time.\n"
    "  --stats        at the end print to standard error one line\n"
    "                 body_steps=N frames=N wall_s=S (body steps done up to the last\n"
    "                 frame, frames taken, wall time of set-up and integration)\n"
    "  --help, --version\n"
    "\n"
    "Rows: t,i,x,y for every body of a printed frame; t is the frame time (a sum of\n"
    "time steps, printed with 17 significant digits), i the body's index in list\n"
    "order (0 = the last body line of the file), x,y its world position in the\n"
    "chosen frame.\n"
    "\n"
    "Exit status: 0 done; 1 the scene file could not be read, or the simulation\n"
    "cannot go on; 2 bad arguments, or a scene whose time step is not above zero\n"
    "(such a run would never reach T).\n";

int parse_real(const char* text, double* out) {
    if (text == nullptr || *text == '\0') return 0;
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    if (*end != '\0' || !std::isfinite(value)) return 0;
    *out = value;
    return 1;
}

int parse_frame(const char* text, int* out) {
    static const struct {
        const char* name;
        int mode;
    } frames[] = {{"fixed", FRAME_FIXED}, {"cm", FRAME_CM}, {"rotating", FRAME_ROTATING},
                  {"moving", FRAME_MOVING}, {"orbit", FRAME_ORBIT}};
    if (text == nullptr) return 0;
    for (const auto& frame : frames) {
        if (std::strcmp(text, frame.name) == 0) {
            *out = frame.mode;
            return 1;
        }
    }
    return 0;
}

ParseResult bad(const char* why, const char* what) {
    std::fprintf(stderr, "stelo-batch: %s%s%s\n%s\n", why, what != nullptr ? ": " : "", what != nullptr ? what : "",
                 BATCH_USAGE);
    return PARSE_BAD;
}

// The value of an option given as "--name value" or "--name=value".
const char* option_value(const char* arg, const char* name, int argc, char** argv, int* index, int* matched) {
    const std::size_t length = std::strlen(name);
    *matched = 0;
    if (std::strncmp(arg, name, length) != 0) return nullptr;
    if (arg[length] == '=') {
        *matched = 1;
        return arg + length + 1;
    }
    if (arg[length] != '\0') return nullptr;
    *matched = 1;
    if (*index + 1 >= argc) return nullptr;
    return argv[++*index];
}

}  // namespace

ParseResult parse_batch_options(int argc, char** argv, BatchOptions* options) {
    int have_until = 0;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        int matched = 0;
        if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
            std::printf("%s\n\n%s", BATCH_USAGE, HELP_TEXT);
            return PARSE_EXIT_OK;
        }
        if (std::strcmp(arg, "--version") == 0) {
            std::printf("stelo-batch %s\n", SCENE_VERSION);
            return PARSE_EXIT_OK;
        }
        if (std::strcmp(arg, "--energy") == 0) {
            options->energy = 1;
            continue;
        }
        if (std::strcmp(arg, "--stats") == 0) {
            options->stats = 1;
            continue;
        }
        const char* value = option_value(arg, "--until", argc, argv, &i, &matched);
        if (matched) {
            if (!parse_real(value, &options->until) || options->until < 0.0 || options->until > LONGEST_RUN)
                return bad("--until needs a time between 0 and 1e9", value);
            have_until = 1;
            continue;
        }
        value = option_value(arg, "--every", argc, argv, &i, &matched);
        if (matched) {
            if (!parse_real(value, &options->every) || options->every <= 0.0)
                return bad("--every needs a time above 0", value);
            continue;
        }
        value = option_value(arg, "--frame", argc, argv, &i, &matched);
        if (matched) {
            if (!parse_frame(value, &options->frame_mode)) return bad("unknown frame", value);
            options->frame_name = value;
            continue;
        }
        value = option_value(arg, "--svg", argc, argv, &i, &matched);
        if (matched) {
            if (value == nullptr || *value == '\0') return bad("--svg needs a file name", value);
            options->svg = value;
            continue;
        }
        if (arg[0] == '-' && arg[1] != '\0') return bad("unknown option", arg);
        if (options->scene != nullptr) return bad("more than one scene file", arg);
        options->scene = arg;
    }
    if (options->scene == nullptr) return bad("no scene file", nullptr);
    if (!have_until) return bad("--until is required", nullptr);
    if (options->every > 0.0 && !(options->until / options->every <= MOST_MULTIPLES))
        return bad("--every is too small: T / DT must not exceed 1e15", nullptr);
    if (std::strlen(options->scene) >= sizeof scene_path) return bad("scene path too long", options->scene);
    if (options->frame_mode == 0) options->frame_mode = FRAME_FIXED;
    return PARSE_RUN;
}
