// Entry point: the words of the command line are the path of a scene file
// to load and run; --help or --version alone prints and ends.
#include <cstdio>
#include <cstring>

#include "shell/shell.h"

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::printf("Usage: %s [scene.slo]\n"
                    "Opens the Stelo control window; the scene file named by the arguments is\n"
                    "loaded and run. The arguments are joined with single blanks into one path\n"
                    "(so my scene.slo, unquoted, opens \"my scene.slo\"), at most 255 characters.\n",
                    argv[0]);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("Stelo3d v2.0.002\n");
        return 0;
    }
    return stelo_main(argc, argv);
}
