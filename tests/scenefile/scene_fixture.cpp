#include "scene_fixture.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "scenefile/scene_file.h"
#include "sim/bodies.h"

std::vector<ShownMessage> shown_messages;

namespace {

int record_message(Window owner, const char* text, const char*, unsigned buttons) {
    shown_messages.push_back({owner, text, buttons});
    return IDOK;
}

}  // namespace

void SceneFileTest::SetUp() {
    folder = std::filesystem::temp_directory_path() /
             ("stelo-scenefile-" + std::to_string(::getpid()) + "-" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    shown_messages.clear();
    set_message_box_hook(record_message);
    scene_dialog_owner = static_cast<Window>(77);
    clear_bodies();
    glow_count = 0;
    reset_scene_defaults();
}

void SceneFileTest::TearDown() {
    clear_bodies();
    glow_count = 0;
    reset_scene_defaults();
    set_message_box_hook(nullptr);
    set_file_dialog_hook(nullptr);
    std::snprintf(scene_path, sizeof scene_path, "stelo.slo");
    scene_body_limit = 0;
    std::filesystem::remove_all(folder);
}

std::string SceneFileTest::path_of(const std::string& name) const { return (folder / name).string(); }

void SceneFileTest::write_text(const std::string& name, const std::string& text) const {
    std::ofstream(path_of(name), std::ios::binary) << text;
}

std::string SceneFileTest::read_text(const std::string& name) const {
    std::ifstream in(path_of(name), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

int SceneFileTest::read_from(const std::string& name) {
    std::snprintf(scene_path, sizeof scene_path, "%s", path_of(name).c_str());
    return read_scene();
}

int SceneFileTest::write_to(const std::string& name) {
    std::snprintf(scene_path, sizeof scene_path, "%s", path_of(name).c_str());
    return write_scene();
}

std::vector<Body*> list_order() {
    std::vector<Body*> order;
    Body* body = body_list;
    for (int i = 0; i < body_count; ++i, body = body->next) order.push_back(body);
    return order;
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::string header_line(int count, int reference) {
    return "2.0.002 0.002 " + std::to_string(count) + " " + std::to_string(reference) +
           " 5 6 40006 -20 -80 60 0.2 40 0.7 12 14 0 0";
}
