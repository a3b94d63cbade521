// Toolbars, status bars, menus, popup menus, message boxes, tab control.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include "tests/qt/qt_test_support.h"

namespace {

const ToolbarEntry view_tools[] = {
    {0, 40002, TOOL_CHECK_GROUP, "Stop", 1},
    {1, 40003, TOOL_CHECK_GROUP, "Run", 0},
    {-1, 0, TOOL_SEPARATOR, nullptr, 0},
    {8, 40038, TOOL_PUSH, "Decrease timestep", 0},
    {-1, 0, TOOL_SEPARATOR, nullptr, 0},
    {2, 40004, TOOL_CHECK, "Show CM", 0},
    {-1, 0, TOOL_SEPARATOR, nullptr, 0},
    {3, 40005, TOOL_CHECK_GROUP, "Fixed Frame", 1},
    {4, 40006, TOOL_CHECK_GROUP, "CM Frame", 0},
    {5, 40007, TOOL_CHECK_GROUP, "Rotating Frame", 0},
};
constexpr int view_tool_count = sizeof view_tools / sizeof view_tools[0];

std::vector<int> commands_of(Window window) {
    std::vector<int> ids;
    for (const Received& r : received) {
        if (r.window == window && r.message == WM_COMMAND) ids.push_back(static_cast<int>(low_word(r.wparam)));
    }
    return ids;
}

}  // namespace

TEST(Toolbar, CheckGroupsEndAtSeparatorsAndClicksReachTheParentAfterTheChange) {
    received.clear();
    const Window window = make_recorder();
    const Window bar = create_toolbar(window, 105, nullptr, 10, view_tools, view_tool_count);
    ASSERT_NE(bar, NO_WINDOW);
    EXPECT_TRUE(toolbar_is_checked(bar, 40002));
    EXPECT_TRUE(toolbar_is_checked(bar, 40005));

    toolbar_click(bar, 40003);  // Run releases Stop, not the frame group
    EXPECT_TRUE(toolbar_is_checked(bar, 40003));
    EXPECT_FALSE(toolbar_is_checked(bar, 40002));
    EXPECT_TRUE(toolbar_is_checked(bar, 40005));

    toolbar_click(bar, 40007);
    EXPECT_TRUE(toolbar_is_checked(bar, 40007));
    EXPECT_FALSE(toolbar_is_checked(bar, 40005));
    EXPECT_TRUE(toolbar_is_checked(bar, 40003));

    toolbar_click(bar, 40007);  // pressing a pressed group button keeps it down
    EXPECT_TRUE(toolbar_is_checked(bar, 40007));

    toolbar_click(bar, 40004);  // a check button toggles on its own
    EXPECT_TRUE(toolbar_is_checked(bar, 40004));
    toolbar_click(bar, 40004);
    EXPECT_FALSE(toolbar_is_checked(bar, 40004));

    toolbar_click(bar, 40038);  // a push button never stays down
    EXPECT_FALSE(toolbar_is_checked(bar, 40038));

    EXPECT_EQ(commands_of(window), (std::vector<int>{40003, 40007, 40007, 40004, 40004, 40038}));
    destroy_window(window);
}

// The parent sees the new state when the command arrives.
namespace {
Window state_bar = NO_WINDOW;
int run_checked_at_command = -1;
LRESULT state_reader(Window window, unsigned message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_COMMAND && low_word(wparam) == 40003) run_checked_at_command = toolbar_is_checked(state_bar, 40003);
    return default_window_proc(window, message, wparam, lparam);
}
}  // namespace

TEST(Toolbar, ProgrammaticCheckFollowsGroupsAndDisabledButtonsIgnoreClicks) {
    register_window_class(WindowClass{"qt_test_state_reader", state_reader, 1, nullptr});
    const Window window = create_window("qt_test_state_reader", "t", WS_OVERLAPPED_WINDOW, 0, 0, 300, 200, NO_WINDOW, 0);
    state_bar = create_toolbar(window, 105, nullptr, 10, view_tools, view_tool_count);
    toolbar_click(state_bar, 40003);
    EXPECT_EQ(run_checked_at_command, 1);

    toolbar_check(state_bar, 40002, 1);  // as from the other view: Stop shown checked
    EXPECT_TRUE(toolbar_is_checked(state_bar, 40002));
    EXPECT_FALSE(toolbar_is_checked(state_bar, 40003));
    toolbar_check(state_bar, 40002, 0);
    EXPECT_FALSE(toolbar_is_checked(state_bar, 40002));

    run_checked_at_command = -1;
    toolbar_enable(state_bar, 40003, 0);
    toolbar_click(state_bar, 40003);
    EXPECT_EQ(run_checked_at_command, -1);
    EXPECT_FALSE(toolbar_is_checked(state_bar, 40003));
    toolbar_enable(state_bar, 40003, 1);
    toolbar_click(state_bar, 40003);
    EXPECT_EQ(run_checked_at_command, 1);
    EXPECT_FALSE(toolbar_is_checked(state_bar, 99999));
    destroy_window(window);
    EXPECT_FALSE(is_window(state_bar));  // children go with their parent
}

namespace {
LRESULT tooltip_supplier(Window window, unsigned message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NOTIFY) {
        auto* header = reinterpret_cast<NotifyHeader*>(lparam);
        if (header->code == TTN_NEEDTEXT && header->id_from == 40006) {
            std::strcpy(header->text, "CM Frame (from the window)");
            return 0;
        }
        if (header->code == TTN_NEEDTEXT && header->id_from == 1) {
            std::strcpy(header->text, "Viewing/Perspective Parameters");
            return 0;
        }
        received.push_back(Received{window, message, wparam, static_cast<LPARAM>(header->code), {}});
        return 0;
    }
    return default_window_proc(window, message, wparam, lparam);
}
}  // namespace

TEST(Toolbar, TooltipsAreAskedOfTheParentWithTheEntryTextAsFallback) {
    register_window_class(WindowClass{"qt_test_tooltips", tooltip_supplier, 0, nullptr});
    const Window window = create_window("qt_test_tooltips", "t", WS_OVERLAPPED_WINDOW, 0, 0, 300, 200, NO_WINDOW, 0);
    const Window bar = create_toolbar(window, 105, nullptr, 10, view_tools, view_tool_count);
    char text[80];
    toolbar_tooltip(bar, 40006, text, sizeof text);
    EXPECT_STREQ(text, "CM Frame (from the window)");
    toolbar_tooltip(bar, 40007, text, sizeof text);
    EXPECT_STREQ(text, "Rotating Frame");
    destroy_window(window);
}

TEST(StatusBar, KeepsItsTextAndLiesAcrossTheBottom) {
    const Window window = make_recorder("status", WS_OVERLAPPED_WINDOW, 408, 327);
    const Window status = create_status_bar(window, 1401);
    const Window bar = create_toolbar(window, 105, nullptr, 10, view_tools, view_tool_count);
    show_window(window, SHOW_NORMAL);
    gui_process_events(50);
    char text[128];
    EXPECT_EQ(status_bar_get_text(status, text, sizeof text), 0);
    status_bar_set_text(status, "Rotating reference frame centered at Center of Mass");
    status_bar_get_text(status, text, sizeof text);
    EXPECT_STREQ(text, "Rotating reference frame centered at Center of Mass");
    char small[9];
    EXPECT_EQ(status_bar_get_text(status, small, sizeof small), 8);
    EXPECT_STREQ(small, "Rotating");

    int cx, cy, cw, ch, sx, sy, sw, sh, tx, ty, tw, th;
    move_window(window, 50, 50, 608, 427, 1);
    gui_process_events(50);
    get_client_rect(window, &cx, &cy, &cw, &ch);
    set_child_geometry(status, 0, 0, cw, 20);
    set_child_geometry(bar, 0, 0, cw, 20);
    get_window_rect(status, &sx, &sy, &sw, &sh);
    get_window_rect(bar, &tx, &ty, &tw, &th);
    EXPECT_EQ(sw, cw);
    EXPECT_EQ(sy + sh, cy + ch);
    EXPECT_GE(sh, 20);
    EXPECT_EQ(tw, cw);
    EXPECT_EQ(ty, cy);

    show_window(status, SHOW_HIDE);
    EXPECT_FALSE(is_window_visible(status));
    show_window(status, SHOW_NORMAL);
    EXPECT_TRUE(is_window_visible(status));
    destroy_window(window);
}

namespace {
const MenuEntry file_menu[] = {
    {MENU_POPUP, 0, "&File", 0},
    {MENU_ITEM, 40036, "&New", 0},
    {MENU_ITEM, 40037, "&Close", 1},
    {MENU_SEPARATOR, 0, nullptr, 0},
    {MENU_ITEM, 40042, "Save &As...", 1},
    {MENU_END, 0, nullptr, 0},
    {MENU_POPUP, 0, "&Help", 0},
    {MENU_ITEM, 40033, "&About", 0},
    {MENU_END, 0, nullptr, 0},
};
}  // namespace

TEST(Menus, ItemsGreyEnableCheckAndKeepTheirText) {
    const std::uintptr_t menu = create_menu("IDR_MENU1", file_menu, sizeof file_menu / sizeof file_menu[0]);
    ASSERT_NE(menu, 0u);
    const Window window = make_recorder("menu", WS_CAPTION_SYSMENU_MINIMIZE, 300, 352, menu);
    ASSERT_NE(window, NO_WINDOW);
    EXPECT_TRUE(is_menu_item_enabled(menu, 40036));
    EXPECT_FALSE(is_menu_item_enabled(menu, 40037));
    EXPECT_FALSE(is_menu_item_enabled(menu, 40042));
    enable_menu_item(menu, 40037, 1);
    enable_menu_item(menu, 40042, 1);
    draw_menu_bar(window);
    EXPECT_TRUE(is_menu_item_enabled(menu, 40037));
    enable_menu_item(menu, 40037, 0);
    EXPECT_FALSE(is_menu_item_enabled(menu, 40037));
    EXPECT_TRUE(is_menu_item_enabled(menu, 40042));
    check_menu_item(menu, 40033, 1);
    EXPECT_TRUE(is_menu_item_checked(menu, 40033));
    char text[32];
    get_menu_item_text(menu, 40042, text, sizeof text);
    EXPECT_STREQ(text, "Save &As...");
    EXPECT_EQ(get_menu_item_text(menu, 12345, text, sizeof text), 0);
    EXPECT_FALSE(is_menu_item_enabled(menu, 12345));
    EXPECT_FALSE(is_menu_item_enabled(menu + 1, 40036));  // not a menu handle

    // The menu bar takes its height from the client area.
    int cx, cy, cw, ch;
    get_client_rect(window, &cx, &cy, &cw, &ch);
    EXPECT_EQ(cw, 292);
    EXPECT_LT(ch, 325);
    destroy_window(window);
}

namespace {
int offered_checked = -1;
int choose_statusbar(std::uintptr_t popup, Window) {
    offered_checked = is_menu_item_checked(popup, 1403);
    return 1403;
}
}  // namespace

TEST(Menus, PopupChoiceBecomesACommandToTheOwner) {
    received.clear();
    const Window window = make_recorder();
    set_popup_menu_hook(choose_statusbar);
    const std::uintptr_t popup = create_popup_menu();
    append_popup_item(popup, 1402, "Show &Toolbar", 1);
    append_popup_item(popup, 1403, "Show &Statusbar", 0);
    EXPECT_TRUE(is_menu_item_checked(popup, 1402));
    track_popup_menu(popup, window, 10, 10);
    destroy_popup_menu(popup);
    set_popup_menu_hook(nullptr);
    EXPECT_EQ(offered_checked, 0);
    EXPECT_EQ(commands_of(window), std::vector<int>{1403});
    destroy_window(window);
}

namespace {
std::string asked_text, asked_caption;
unsigned asked_buttons = 99;
int answer_cancel(Window, const char* text, const char* caption, unsigned buttons) {
    asked_text = text;
    asked_caption = caption != nullptr ? caption : "(none)";
    asked_buttons = buttons;
    return IDCANCEL;
}
}  // namespace

TEST(MessageBox, GoesThroughTheHook) {
    set_message_box_hook(answer_cancel);
    EXPECT_EQ(message_box(NO_WINDOW, "This change will kill a running simulation", "Confirm", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(asked_text, "This change will kill a running simulation");
    EXPECT_EQ(asked_caption, "Confirm");
    EXPECT_EQ(asked_buttons, MB_OKCANCEL);
    message_box(NO_WINDOW, "ChoosePixelFormat failed", nullptr, MB_OK);
    EXPECT_EQ(asked_caption, "Error");  // the system's default caption
    set_message_box_hook(nullptr);
}

TEST(MessageBox, TheRealBoxShowsCaptionTextAndButtonsAndAnswers) {
    const Window owner = make_recorder();
    show_window(owner, SHOW_NORMAL);
    answer_message_box(0);
    EXPECT_EQ(message_box(owner, "This change will kill a running simulation", "Confirm", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(last_message_box(), "Confirm|This change will kill a running simulation|2");
    answer_message_box(1);
    EXPECT_EQ(message_box(owner, "Could not open file x.slo", nullptr, MB_OK), IDOK);
    EXPECT_EQ(last_message_box(), "Error|Could not open file x.slo|1");
    // The unsaved-changes question: three labelled buttons, each its answer.
    const std::pair<const char*, int> answers[] = {{"Save", IDSAVE}, {"Discard", IDDISCARD}, {"Cancel", IDCANCEL}};
    for (const auto& [label, id] : answers) {
        answer_message_box_with(label);
        EXPECT_EQ(message_box(owner, "Save changes to stelo.slo?", "Confirm", MB_SAVEDISCARDCANCEL), id) << label;
        const std::string seen = last_message_box();
        EXPECT_EQ(seen.rfind("Confirm|Save changes to stelo.slo?|", 0), 0u) << seen;
        for (const char* button : {"[Save]", "[Discard]", "[Cancel]"}) EXPECT_NE(seen.find(button), std::string::npos) << seen;
        EXPECT_EQ(std::count(seen.begin(), seen.end(), '['), 3) << seen;
    }
    destroy_window(owner);
}

TEST(TabControl, SelectionNotifiesTheParentAndTooltipsAreAsked) {
    received.clear();
    register_window_class(WindowClass{"qt_test_tooltips", tooltip_supplier, 0, nullptr});
    const Window window = create_window("qt_test_tooltips", "t", WS_CAPTION_SYSMENU_MINIMIZE, 0, 0, 300, 352, NO_WINDOW, 0);
    int cx, cy, cw, ch;
    get_client_rect(window, &cx, &cy, &cw, &ch);
    const Window tab = create_tab_control(window, 1400, 0, 0, cw, ch);
    ASSERT_NE(tab, NO_WINDOW);
    tab_insert(tab, 0, "Stelo", nullptr);
    tab_insert(tab, 1, "Viewing", nullptr);
    tab_insert(tab, 2, "Rendering", nullptr);
    EXPECT_EQ(tab_count(tab), 3);
    EXPECT_EQ(tab_selected(tab), 0);
    // Inserting is not a selection change.
    EXPECT_EQ(count_received(window, WM_NOTIFY), 0);
    tab_select(tab, 2);
    EXPECT_EQ(tab_selected(tab), 2);
    ASSERT_EQ(count_received(window, WM_NOTIFY), 1);
    EXPECT_EQ(last_received(window, WM_NOTIFY)->lparam, TCN_SELCHANGE);
    EXPECT_EQ(last_received(window, WM_NOTIFY)->wparam, 1400u);
    tab_select(tab, 2);  // already selected: nothing
    tab_select(tab, 7);  // no such tab: nothing
    EXPECT_EQ(count_received(window, WM_NOTIFY), 1);
    char text[80];
    tab_tooltip(tab, 1, text, sizeof text);
    EXPECT_STREQ(text, "Viewing/Perspective Parameters");
    destroy_window(window);
}

TEST(FileDialog, SaveAsAppendsTheDefaultExtensionAndOpenReturnsTheFullPath) {
    char directory_template[] = "/tmp/stelo_qt_dialog_XXXXXX";
    ASSERT_NE(mkdtemp(directory_template), nullptr);
    const std::string directory = directory_template;
    const char filter[] = "Stelo Files (*.SLO)\0*.slo\0\0";

    char path[256];
    std::snprintf(path, sizeof path, "%s/stelo.slo", directory.c_str());
    answer_file_dialog("newscene");
    const FileDialogRequest save{NO_WINDOW, 1, "Save Scene", filter, "slo", 0};
    ASSERT_EQ(file_dialog(save, path, sizeof path), 1);
    EXPECT_EQ(std::string(path), directory + "/newscene.slo");
    EXPECT_EQ(last_file_dialog(), "Save Scene|Stelo Files (*.SLO)|slo|stelo.slo");

    const std::string existing = directory + "/existing.slo";
    std::fclose(std::fopen(existing.c_str(), "w"));
    std::snprintf(path, sizeof path, "%s/", directory.c_str());
    answer_file_dialog("existing.slo");
    const FileDialogRequest open{NO_WINDOW, 0, "Open Scene", filter, "slo", 1};
    ASSERT_EQ(file_dialog(open, path, sizeof path), 1);
    EXPECT_EQ(std::string(path), existing);
    // A dialog given a folder starts there, not where the last one ended.
    const std::string folder = directory + "/examples";
    mkdir(folder.c_str(), 0700);
    FileDialogRequest save_in_folder = save;
    save_in_folder.folder = folder.c_str();
    char in_folder[256] = "";
    answer_file_dialog("fresh");
    ASSERT_EQ(file_dialog(save_in_folder, in_folder, sizeof in_folder), 1);
    EXPECT_EQ(std::string(in_folder), folder + "/fresh.slo");
    rmdir(folder.c_str());

    // Cancelled, or a choice longer than the buffer: no path, buffer kept.
    answer_file_dialog("");
    EXPECT_EQ(file_dialog(open, path, sizeof path), 0);
    EXPECT_EQ(std::string(path), existing);
    char small[12] = "stelo.slo";
    answer_file_dialog(existing);
    EXPECT_EQ(file_dialog(open, small, sizeof small), 0);
    EXPECT_STREQ(small, "stelo.slo");

    std::remove(existing.c_str());
    std::remove((directory + "/newscene.slo").c_str());
    rmdir(directory.c_str());
}
