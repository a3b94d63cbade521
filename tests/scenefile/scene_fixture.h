// A scratch folder, captured messages and a fresh scene for every test of
// the scene files.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/platform.h"

struct ShownMessage {
    Window owner;
    std::string text;
    unsigned buttons;
};

class SceneFileTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string path_of(const std::string& name) const;
    void write_text(const std::string& name, const std::string& text) const;
    std::string read_text(const std::string& name) const;
    // Points scene_path at the file and reads it.
    int read_from(const std::string& name);
    int write_to(const std::string& name);

    std::filesystem::path folder;
};

extern std::vector<ShownMessage> shown_messages;

// The body list walked from its head.
struct Body;
std::vector<Body*> list_order();
// The lines of a text, without their ends.
std::vector<std::string> lines_of(const std::string& text);

// A header line with every parameter away from its default, the given body
// count and stored reference body.
std::string header_line(int count, int reference);
