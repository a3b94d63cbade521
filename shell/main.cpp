// Entry point: at most one argument, the path of a scene file to load and
// run; --help and --version print and end.
#include <cstdio>
#include <cstring>

#include "shell/shell.h"

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--help") == 0) {
        std::printf("Usage: %s [scene.slo]\n"
                    "Opens the Stelo control window; a scene file given as the one argument\n"
                    "(taken whole as its path, at most 255 characters) is loaded and run.\n",
                    argv[0]);
        return 0;
    }
    if (argc > 1 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("Stelo3d v2.0.002\n");
        return 0;
    }
    return stelo_main(argc, argv);
}
