// Fuzzes the scene reader: every input is written to a scratch file and
// read as a scene. An input the reader accepts must also survive a save and
// a second read with the same number of bodies.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "scenefile/scene_file.h"
#include "sim/bodies.h"

namespace {

int no_message(Window, const char*, const char*, unsigned) { return IDOK; }

std::string scratch_path(const char* suffix) {
    const char* folder = std::getenv("TMPDIR");
    return std::string(folder && *folder ? folder : "/tmp") + "/stelo-fuzz-" + std::to_string(::getpid()) + suffix;
}

int read_from(const std::string& path) {
    std::snprintf(scene_path, sizeof scene_path, "%s", path.c_str());
    return read_scene();
}

const std::string input_path = scratch_path("-input.slo");
const std::string saved_path = scratch_path("-saved.slo");

void remove_scratch_files() {
    std::remove(input_path.c_str());
    std::remove(saved_path.c_str());
}

void clear_scene() {
    clear_bodies();
    glow_count = 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const int cleanup_registered = std::atexit(remove_scratch_files);
    (void)cleanup_registered;
    set_message_box_hook(no_message);

    std::FILE* file = std::fopen(input_path.c_str(), "wb");
    if (!file) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
    std::fclose(file);

    if (read_from(input_path) == 1) {
        const int count = body_count;
        std::snprintf(scene_path, sizeof scene_path, "%s", saved_path.c_str());
        if (write_scene() != 1) std::abort();
        clear_scene();
        if (read_from(saved_path) != 1 || body_count != count) std::abort();
    }
    clear_scene();
    reset_scene_defaults();
    return 0;
}
