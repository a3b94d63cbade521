#include "shell_fixture.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "app_state/settings.h"
#include "shell/shell.h"
#include "sim/bodies.h"

std::vector<ShownMessage> shown_messages;
std::vector<FileDialogRequest> file_dialogs;
std::string next_file_choice;
std::vector<std::string> save_questions;
int save_answer = IDDISCARD;

namespace {

int record_message(Window owner, const char* text, const char* caption, unsigned buttons) {
    if (buttons == MB_SAVEDISCARDCANCEL) {
        save_questions.push_back(text ? text : "");
        return save_answer;
    }
    shown_messages.push_back({owner, text ? text : "", caption ? caption : "", buttons});
    return IDOK;
}

int scripted_file_dialog(const FileDialogRequest& request, char* path, std::size_t capacity) {
    file_dialogs.push_back(request);
    if (next_file_choice.empty()) return 0;
    std::snprintf(path, capacity, "%s", next_file_choice.c_str());
    return 1;
}

int directory_number = 0;

}  // namespace

void ShellTest::SetUp() {
    previous_directory = std::filesystem::current_path();
    working_directory = std::filesystem::temp_directory_path() /
                        ("stelo-gui-" + std::to_string(getpid()) + "-" + std::to_string(++directory_number));
    std::filesystem::remove_all(working_directory);
    std::filesystem::create_directories(working_directory);
    std::filesystem::current_path(working_directory);

    reset_scene_defaults();
    cw_left = cw_top = rv_left = rv_top = iv_left = iv_top = 0;
    rv_width = rv_height = iv_width = iv_height = 0;
    geometry_known = 0;
    shown_messages.clear();
    file_dialogs.clear();
    next_file_choice.clear();
    save_questions.clear();
    save_answer = IDDISCARD;
    set_message_box_hook(record_message);
    set_file_dialog_hook(scripted_file_dialog);
}

void ShellTest::TearDown() {
    save_answer = IDDISCARD;
    if (is_window(control_window)) exit_program();
    set_message_box_hook(nullptr);
    set_file_dialog_hook(nullptr);
    set_modal_dialog_hook(nullptr);
    std::filesystem::current_path(previous_directory);
    std::filesystem::remove_all(working_directory);
}

Window ShellTest::start(const char* argument) {
    // The program passes the words after its name joined: empty when none.
    Window window = start_control_window(argument != nullptr ? argument : "");
    EXPECT_NE(window, NO_WINDOW);
    EXPECT_TRUE(wait_until([] { return page_rendering != NO_WINDOW; }));
    pump(0);
    return window;
}

void ShellTest::exit_program() {
    command(CMD_EXIT);
    gui_run_message_loop();
}

LRESULT ShellTest::command(int id) { return send_message(control_window, WM_COMMAND, static_cast<WPARAM>(id), 0); }

bool ShellTest::wait_until(const std::function<bool()>& condition, int limit_ms) {
    for (int waited = 0; waited < limit_ms; waited += 10) {
        if (condition()) return true;
        gui_process_events(10);
    }
    return condition();
}

void ShellTest::pump(int milliseconds) { gui_process_events(milliseconds); }

void ShellTest::write_file(const std::string& name, const std::string& text) {
    std::ofstream out(working_directory / name, std::ios::binary);
    out << text;
}

std::string ShellTest::read_file(const std::string& name) {
    std::ifstream in(working_directory / name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

bool ShellTest::file_exists(const std::string& name) { return std::filesystem::exists(working_directory / name); }

bool under_window_manager() { return std::getenv("STELO_TEST_WINDOW_MANAGER") != nullptr; }

std::string scene_text(const std::string& header, const std::vector<std::string>& bodies) {
    std::string text = header + "\n";
    for (const std::string& body : bodies) text += body + "\n";
    return text;
}

std::string two_body_scene() {
    return scene_text("2.0.002 0.002 2 1 5 6 40006 -20 -80 60 0.2 40 0.7 12 14 0 1",
                      {"0 0.5 0 0 0 0 8.16701e+19 16384 1", "2 0.3 300000 0 0 2000 8.16701e+15 0 0"});
}
