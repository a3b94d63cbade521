// Drives the real control window in this process: each test runs in a fresh
// temporary working directory, with scripted answers for message boxes and
// file dialogs, and ends the program through Exit.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"

struct ShownMessage {
    Window owner;
    std::string text;
    std::string caption;  // empty: the default caption
    unsigned buttons;
};

// What the scripted user does.
extern std::vector<ShownMessage> shown_messages;
extern std::vector<FileDialogRequest> file_dialogs;  // title pointers stay valid (literals)
extern std::string next_file_choice;                 // empty: the dialog is cancelled
// The unsaved-changes question is kept apart from the other messages: its
// texts, and the answer given (IDDISCARD unless a test says otherwise).
extern std::vector<std::string> save_questions;
extern int save_answer;

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the control window as the program does (argument: the scene path
    // or nullptr) and lets the loop run until the pages exist.
    Window start(const char* argument = nullptr);
    // Exit from the File menu; returns once the main loop has seen its quit.
    void exit_program();
    LRESULT command(int id);
    // Runs the event loop until the condition holds (gives up after a while
    // and returns what the condition says then).
    bool wait_until(const std::function<bool()>& condition, int limit_ms = 60000);
    // Lets the event loop run for about that long.
    void pump(int milliseconds);

    // Writes a scene file in the working directory.
    void write_file(const std::string& name, const std::string& text);
    std::string read_file(const std::string& name);
    bool file_exists(const std::string& name);

    std::filesystem::path working_directory;

private:
    std::filesystem::path previous_directory;
};

// Whether a window manager runs on the test's display (one that can
// minimise windows); without one a minimised window stays on the screen.
bool under_window_manager();

// A valid scene header with every parameter given; bodies follow.
std::string scene_text(const std::string& header, const std::vector<std::string>& bodies);
// Two glowing bodies at rest: a short, valid scene.
std::string two_body_scene();
