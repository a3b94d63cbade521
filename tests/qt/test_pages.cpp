// Dialog pages and modal dialogs from control tables.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/qt/qt_test_support.h"

namespace {

const DialogControl rendering_controls[] = {
    {1, CONTROL_DEFAULT_BUTTON, "Apply", 28, 135, 50, 14},
    {5, CONTROL_DEFAULT_BUTTON, "Defaults", 103, 135, 50, 14},
    {-1, CONTROL_STATIC, "Max radius", 27, 20, 35, 8},
    {1000, CONTROL_EDIT, "", 85, 18, 69, 13},
    {1006, CONTROL_CHECKBOX, "Smooth Shading", 27, 94, 112, 10},
};
const DialogTemplate rendering_page = {112, nullptr, 4, 21, 181, 156, "MS Sans Serif", 8,
                                       rendering_controls, 5};

std::vector<std::string> page_events;
LRESULT page_proc(Window page, unsigned message, WPARAM wparam, LPARAM) {
    if (message == WM_INITDIALOG) {
        page_events.push_back("init");
        set_dialog_item_text(page, 1000, "0.5");
        set_dialog_check(page, 1006, 1);
    } else if (message == WM_COMMAND) {
        char text[20];
        get_dialog_item_text(page, 1000, text, sizeof text);
        page_events.push_back("command " + std::to_string(low_word(wparam)) + " " + text + " " +
                              std::to_string(get_dialog_check(page, 1006)));
    }
    return 0;
}

}  // namespace

TEST(DialogPages, InitAtCreationThenButtonsAndFieldsAsTheUserSeesThem) {
    page_events.clear();
    const Window window = make_recorder("pages", WS_CAPTION_SYSMENU_MINIMIZE, 300, 352);
    const Window page = create_dialog_page(rendering_page, window, page_proc);
    ASSERT_NE(page, NO_WINDOW);
    EXPECT_EQ(page_events, std::vector<std::string>{"init"});
    char text[32];
    EXPECT_EQ(get_dialog_item_text(page, 1000, text, sizeof text), 3);
    EXPECT_STREQ(text, "0.5");
    EXPECT_EQ(get_dialog_check(page, 1006), 1);

    set_dialog_item_text(page, 1000, "  2.5e-4xyz");
    click_dialog_button(page, 1);
    click_dialog_button(page, 1006);  // a check box toggles, then reports
    click_dialog_button(page, 5);
    EXPECT_EQ(page_events, (std::vector<std::string>{"init", "command 1   2.5e-4xyz 1", "command 1006   2.5e-4xyz 0",
                                                     "command 5   2.5e-4xyz 0"}));
    // A field longer than the reader's buffer comes back cut, terminated.
    set_dialog_item_text(page, 1000, "12345678901234567890123");
    EXPECT_EQ(get_dialog_item_text(page, 1000, text, 20), 19);
    EXPECT_STREQ(text, "1234567890123456789");
    // Unknown ids read as empty and are ignored.
    EXPECT_EQ(get_dialog_item_text(page, 4242, text, sizeof text), 0);
    EXPECT_EQ(get_dialog_check(page, 4242), 0);
    click_dialog_button(page, 4242);
    EXPECT_EQ(page_events.size(), 4u);

    // The page sits at its dialog-unit origin inside the parent's client
    // area, right of and below the parent's corner.
    int cx, cy, cw, ch, px, py, pw, ph;
    get_client_rect(window, &cx, &cy, &cw, &ch);
    get_window_rect(page, &px, &py, &pw, &ph);
    EXPECT_GT(px, cx);
    EXPECT_GT(py, cy + 20);
    EXPECT_GT(pw, 181);  // a dialog unit is more than a pixel across
    EXPECT_GT(ph, 156);

    show_window(page, SHOW_HIDE);
    EXPECT_FALSE(is_window_visible(page));
    destroy_window(window);
    EXPECT_FALSE(is_window(page));
}

namespace {

const DialogControl about_controls[] = {
    {-1, CONTROL_STATIC, "Stelo3d v2.0.002", 10, 10, 100, 8},
    {1, CONTROL_DEFAULT_BUTTON, "OK", 60, 40, 50, 14},
};
const DialogTemplate about_dialog = {111, "About Stelo3D", 0, 0, 170, 62, "MS Sans Serif", 8, about_controls, 2};

int about_commands = 0;
LRESULT about_proc(Window dialog, unsigned message, WPARAM wparam, LPARAM) {
    if (message == WM_COMMAND && low_word(wparam) == 1) {
        ++about_commands;
        end_dialog(dialog, 1);
    }
    return 0;
}
std::string seen_title;
void press_ok(Window dialog) {
    char title[64];
    get_window_text(dialog, title, sizeof title);
    seen_title = title;
    click_dialog_button(dialog, 1);
}
void walk_away(Window) {}

}  // namespace

TEST(ModalDialog, TheHookActsAsTheUserAndTheCodeComesFromEndDialog) {
    const Window owner = make_recorder();
    set_modal_dialog_hook(press_ok);
    EXPECT_EQ(run_modal_dialog(about_dialog, owner, about_proc), 1);
    EXPECT_EQ(about_commands, 1);
    EXPECT_EQ(seen_title, "About Stelo3D");
    set_modal_dialog_hook(walk_away);
    EXPECT_EQ(run_modal_dialog(about_dialog, owner, about_proc), IDCANCEL);
    set_modal_dialog_hook(nullptr);
    destroy_window(owner);
}
