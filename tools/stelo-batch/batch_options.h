// Command line of the headless runner.
#pragma once

struct BatchOptions {
    const char* scene = nullptr;
    double until = 0.0;
    double every = 0.0;  // 0: every frame
    int frame_mode = 0;  // command id of the reference frame
    int energy = 0;
    int stats = 0;
    const char* frame_name = "fixed";  // as given to --frame
    const char* svg = nullptr;         // --svg FILE: the paths as a picture instead of rows
};

enum ParseResult { PARSE_RUN, PARSE_EXIT_OK, PARSE_BAD };

// Fills options from argv; prints --help / --version text to standard
// output (PARSE_EXIT_OK) or a usage line to standard error (PARSE_BAD).
ParseResult parse_batch_options(int argc, char** argv, BatchOptions* options);

extern const char BATCH_USAGE[];
