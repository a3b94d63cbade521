// The control window as a person sees it at start: title, size, menu, tabs,
// pages, the About box; and a picture of it for the documentation.
#include <cstdlib>
#include <string>

#include "shell/shell.h"
#include "shell_fixture.h"
#include "tests/support/screen_pixels.h"

namespace {

std::string window_text(Window window) {
    char text[256] = {};
    get_window_text(window, text, sizeof text);
    return text;
}

std::string field(Window page, int id) {
    char text[64] = {};
    get_dialog_item_text(page, id, text, sizeof text);
    return text;
}

struct MenuItem {
    int id;
    const char* caption;
    int enabled_at_start;
};

const MenuItem file_and_help_items[] = {
    {CMD_NEW, "&New", 1},           {CMD_OPEN, "&Open", 1},       {CMD_OPEN_AND_RUN, "Open and &Run", 1},
    {CMD_CLOSE, "&Close", 0},       {CMD_SAVE, "&Save", 0},       {CMD_SAVE_AS, "Save &As...", 0},
    {CMD_EXIT, "E&xit", 1},         {CMD_ABOUT, "&About", 1},
};

}  // namespace

TEST_F(ShellTest, ControlWindowOpensWithItsTitleSizeAndMenu) {
    Window window = start();
    EXPECT_EQ(window_text(window), "Stelo Gravitational Simulation");
    EXPECT_TRUE(is_window_visible(window));

    int x = 0, y = 0, width = 0, height = 0;
    get_client_rect(window, &x, &y, &width, &height);
    EXPECT_EQ(width, 298);
    EXPECT_EQ(height, 312);

    for (const MenuItem& item : file_and_help_items) {
        char caption[64] = {};
        get_menu_item_text(main_menu, item.id, caption, sizeof caption);
        EXPECT_STREQ(caption, item.caption) << item.id;
        EXPECT_EQ(is_menu_item_enabled(main_menu, item.id), item.enabled_at_start) << item.caption;
    }
    EXPECT_FALSE(is_window(view3d_window));
    EXPECT_FALSE(is_window(interactive_window));
}

TEST_F(ShellTest, TabsSwitchPagesAndExplainThemselves) {
    start();
    ASSERT_EQ(tab_count(tab_control), 3);
    const char* tooltips[3] = {"Stelo Numerical Parameters", "Viewing/Perspective Parameters",
                               "Sphere Rendering Parameters"};
    for (int i = 0; i < 3; ++i) {
        char tip[80] = {};
        tab_tooltip(tab_control, i, tip, sizeof tip);
        EXPECT_STREQ(tip, tooltips[i]);
    }

    const Window pages[3] = {page_timestep, page_viewing, page_rendering};
    EXPECT_TRUE(is_window_visible(page_timestep));
    EXPECT_FALSE(is_window_visible(page_viewing));
    EXPECT_FALSE(is_window_visible(page_rendering));
    for (int selected : {1, 2, 0, 2}) {
        tab_select(tab_control, selected);
        pump(0);
        EXPECT_EQ(tab_selected(tab_control), selected);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(is_window_visible(pages[i]), i == selected ? 1 : 0) << selected;
    }
}

TEST_F(ShellTest, PagesShowTheParametersTheyEdit) {
    start();
    EXPECT_EQ(field(page_timestep, 1000), "0.001");
    EXPECT_EQ(field(page_viewing, 1000), "-15");
    EXPECT_EQ(field(page_viewing, 1004), "-85");
    EXPECT_EQ(field(page_viewing, 1003), "70");
    EXPECT_EQ(field(page_viewing, 1002), "0.1");
    EXPECT_EQ(field(page_viewing, 1001), "50");
    EXPECT_EQ(field(page_rendering, 1000), "0.5");
    EXPECT_EQ(field(page_rendering, 1004), "10");
    EXPECT_EQ(field(page_rendering, 1003), "10");
    EXPECT_EQ(get_dialog_check(page_rendering, 1006), 1);
    EXPECT_EQ(get_dialog_check(page_rendering, 1007), 1);
    for (Window page : {page_timestep, page_viewing, page_rendering}) {
        EXPECT_EQ(field(page, 1), "Apply");
        EXPECT_EQ(field(page, 5), "Defaults");
    }
    EXPECT_EQ(field(page_rendering, 1006), "Smooth Shading");
    EXPECT_EQ(field(page_rendering, 1007), "Stars provide the lighting");
}

namespace {
std::string about_caption;
int about_ok_clicked = 0;
Window about_window = NO_WINDOW;
void press_ok_in_about(Window dialog) {
    about_window = dialog;
    about_caption = window_text(dialog);
    char text[32] = {};
    get_dialog_item_text(dialog, 1, text, sizeof text);
    if (std::string(text) == "OK") {
        about_ok_clicked = 1;
        click_dialog_button(dialog, 1);
    }
}
}  // namespace

TEST_F(ShellTest, AboutBoxClosesWithOk) {
    start();
    set_modal_dialog_hook(press_ok_in_about);
    command(CMD_ABOUT);
    EXPECT_EQ(about_caption, "About Stelo3D");
    EXPECT_EQ(about_ok_clicked, 1);
    EXPECT_FALSE(is_window(about_window));
    EXPECT_TRUE(is_window(control_window));
}

// On the screen the control window shows the desktop's light window colours
// with dark text where the tabs' and the page's labels stand. Saves the
// picture used in docs/ (to the path in STELO_SCREENSHOT when set, otherwise
// into the test's directory).
TEST_F(ShellTest, ControlWindowOnScreenAndItsPicture) {
    start();
    const auto looks_right = [](const ScreenPixels& p) {
        return p.count_light(0, 0, p.width, p.height) > p.width * p.height * 3 / 4 &&
               p.count_dark(0, 0, p.width, 30) > 40 && p.count_dark(0, 30, p.width, p.height - 30) > 40;
    };
    const ScreenPixels client = read_screen_when(control_window, looks_right);
    EXPECT_TRUE(looks_right(client)) << client.count_light(0, 0, client.width, client.height) << " light of "
                                     << client.width * client.height << ", dark in the tab row "
                                     << client.count_dark(0, 0, client.width, 30);
    pump(200);
    const char* wanted = std::getenv("STELO_SCREENSHOT");
    std::string path = wanted && wanted[0] ? wanted : (working_directory / "control-window.png").string();
    ASSERT_EQ(save_window_image(control_window, path.c_str()), 1);
    EXPECT_TRUE(std::filesystem::file_size(path) > 0);
}
