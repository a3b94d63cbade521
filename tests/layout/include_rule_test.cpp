// Includes point down: every source folder has a level, and a file includes
// only headers of its own folder or of folders below it. Within the windows
// folder a window includes only its own headers (a window's files share the
// first word of their names); windows talk through messages and the shared
// state below them.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// From the platform layer up. Folders of one level do not include each other.
const std::map<std::string, int> LEVELS = {
    {"platform", 0},  {"resources", 0}, {"sim", 1},   {"scenefile", 2}, {"placement", 2},
    {"app_state", 2}, {"drawing", 3},   {"tools", 3}, {"windows", 4},   {"shell", 5},
};

std::string top_folder(const std::string& relative) { return relative.substr(0, relative.find('/')); }

std::string first_word(const std::string& path) {
    const std::string name = fs::path(path).filename().string();
    return name.substr(0, name.find('_'));
}

// The quoted includes of a file.
std::vector<std::string> includes_of(const fs::path& file) {
    std::vector<std::string> found;
    std::ifstream in(file);
    std::string line;
    const std::string mark = "#include \"";
    while (std::getline(in, line)) {
        if (line.rfind(mark, 0) != 0) continue;
        const auto end = line.find('"', mark.size());
        if (end != std::string::npos) found.push_back(line.substr(mark.size(), end - mark.size()));
    }
    return found;
}

// Every breach of the rule in the tree under root, one line each.
std::vector<std::string> breaches(const fs::path& root) {
    std::vector<std::string> out;
    for (const auto& entry : fs::directory_iterator(root)) {
        const std::string folder = entry.path().filename().string();
        if (!entry.is_directory() || folder.rfind("build", 0) == 0 || folder[0] == '.' || folder == "tests" ||
            folder == "bench" || folder == "docs" || folder == "examples" || folder == "packaging" ||
            folder == "scripts")
            continue;
        for (const auto& source : fs::recursive_directory_iterator(entry.path())) {
            const std::string ext = source.path().extension().string();
            if (ext != ".cpp" && ext != ".h") continue;
            const std::string file = fs::relative(source.path(), root).generic_string();
            if (!LEVELS.count(folder)) {
                out.push_back(file + ": folder " + folder + " has no place in the layout");
                continue;
            }
            for (const std::string& included : includes_of(source.path())) {
                const std::string target = top_folder(included);
                if (!LEVELS.count(target)) continue;  // a header beside the file, or a system one
                if (target == folder) {
                    if (folder == "windows" && first_word(included) != first_word(file))
                        out.push_back(file + " includes another window's " + included);
                } else if (LEVELS.at(target) >= LEVELS.at(folder)) {
                    out.push_back(file + " includes " + included + " from a folder not below its own");
                }
            }
        }
    }
    return out;
}

void write(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << text;
}

TEST(Layout, IncludesPointDownAndWindowsKeepToThemselves) {
    const std::vector<std::string> found = breaches(STELO_SOURCE_DIR);
    std::string listing;
    for (const std::string& line : found) listing += line + "\n";
    EXPECT_TRUE(found.empty()) << listing;
}

// The check itself: a tree with each kind of breach reports each of them,
// and nothing of what is allowed.
TEST(Layout, EachKindOfBreachIsReported) {
    const fs::path root = fs::temp_directory_path() / ("stelo-layout-" + std::to_string(::getpid()));
    write(root / "drawing/scene_drawing.cpp", "#include \"drawing/trails.h\"\n#include \"sim/bodies.h\"\n"
                                              "#include \"windows/view3d_window.h\"\n");
    write(root / "windows/interactive_window.cpp", "#include \"windows/interactive_window.h\"\n"
                                                   "#include \"windows/view3d_window.h\"\n#include <GL/gl.h>\n");
    write(root / "placement/placement_math.cpp", "#include \"app_state/settings.h\"\n");
    write(root / "render/old.cpp", "#include \"sim/bodies.h\"\n");
    write(root / "tests/any_test.cpp", "#include \"shell/shell.h\"\n");
    std::vector<std::string> found = breaches(root);
    std::sort(found.begin(), found.end());
    fs::remove_all(root);
    const std::vector<std::string> expected = {
        "drawing/scene_drawing.cpp includes windows/view3d_window.h from a folder not below its own",
        "placement/placement_math.cpp includes app_state/settings.h from a folder not below its own",
        "render/old.cpp: folder render has no place in the layout",
        "windows/interactive_window.cpp includes another window's windows/view3d_window.h",
    };
    EXPECT_EQ(found, expected);
}

}  // namespace
