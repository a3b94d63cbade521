// Program start: the window classes, the control window with its menu,
// the first posted messages and the main loop.
#include <cstdio>
#include <string>

#include "app_state/settings.h"
#include "platform/platform.h"
#include "resources/resource_files.h"
#include "scenefile/scene_file.h"
#include "shell/commands.h"
#include "shell/control_window_size.h"
#include "shell/shell.h"
#include "shell/shortcuts.h"
#include "windows/bodies_window.h"
#include "windows/interactive_window.h"
#include "windows/plot_window.h"
#include "windows/view3d_window.h"

namespace {

// Menu "IDR_MENU1": Close, Save, Save As and the Edit menu are greyed until a
// scene is open.
const MenuEntry main_menu_entries[] = {
    {MENU_POPUP, 0, "&File", 0},
    {MENU_ITEM, CMD_NEW, "&New", 0},
    {MENU_ITEM, CMD_OPEN, "&Open", 0},
    {MENU_ITEM, CMD_OPEN_AND_RUN, "Open and &Run", 0},
    {MENU_ITEM, CMD_CLOSE, "&Close", 1},
    {MENU_SEPARATOR, 0, nullptr, 0},
    {MENU_ITEM, CMD_SAVE, "&Save", 1},
    {MENU_ITEM, CMD_SAVE_AS, "Save &As...", 1},
    {MENU_SEPARATOR, 0, nullptr, 0},
    {MENU_ITEM, CMD_EXIT, "E&xit", 0},
    {MENU_END, 0, nullptr, 0},
    {MENU_POPUP, 0, "&Edit", 0},
    {MENU_ITEM, CMD_UNDO, "&Undo", 1},
    {MENU_SEPARATOR, 0, nullptr, 0},
    {MENU_ITEM, CMD_BODIES, "&Bodies...", 1},
    {MENU_ITEM, CMD_ZERO_MOMENTUM, "&Zero Momentum", 1},
    {MENU_ITEM, CMD_CENTRE_ON_ORIGIN, "&Centre on Origin", 1},
    {MENU_END, 0, nullptr, 0},
    {MENU_POPUP, 0, "&Help", 0},
    {MENU_ITEM, CMD_ABOUT, "&About", 0},
    {MENU_END, 0, nullptr, 0},
};

const WindowClass window_classes[] = {
    {CONTROL_CLASS, control_window_proc, 0, MAIN_MENU_NAME},
    {VIEW3D_CLASS, view3d_window_proc, 1, nullptr},
    {INTERACTIVE_CLASS, interactive_window_proc, 1, nullptr},
    {BODIES_CLASS, bodies_window_proc, 0, nullptr},
};

// The words after the program name joined with single blanks: a path with
// blanks typed without quotes arrives as several words.
std::string joined_arguments(int argc, char** argv) {
    std::string path;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) path += ' ';
        path += argv[i];
    }
    return path;
}

}  // namespace

int register_window_classes() {
    for (const WindowClass& window_class : window_classes)
        if (!register_window_class(window_class)) return 0;
    return register_plot_classes();
}

Window start_control_window(const char* argument) {
    set_application_icon(resource_path(ICON_IMAGE));
    main_menu = create_menu(MAIN_MENU_NAME, main_menu_entries,
                            static_cast<int>(sizeof main_menu_entries / sizeof main_menu_entries[0]));
    add_menu_shortcuts(main_menu);
    Window window = create_window(CONTROL_CLASS, CONTROL_TITLE, WS_CAPTION_SYSMENU_MINIMIZE,
                                  DEFAULT_POSITION, DEFAULT_POSITION, CONTROL_CLIENT_WIDTH,
                                  CONTROL_CLIENT_HEIGHT, NO_WINDOW, main_menu);
    if (window == NO_WINDOW) return NO_WINDOW;
    // A first start with nothing to open shows the example scenes in Open.
    const int scene_given = argument != nullptr && argument[0] != '\0';
    open_dialog_folder = !scene_given && !geometry_known ? examples_folder() : nullptr;
    show_window(window, SHOW_NORMAL);
    update_window(window);
    // The pages are built once the loop runs; a scene given at start is
    // loaded after them, so the load refreshes pages that exist.
    post_message(window, WM_USER, 0, 0);
    if (accept_argument(argument)) {
        post_message(window, WM_COMMAND, ID_LOAD_SCENE, 0);
        post_message(window, WM_COMMAND, ID_RUN_SCENE, 0);
    }
    return window;
}

int stelo_main(int argc, char** argv) {
    // The toolkit sees only the program name: the arguments are the scene
    // path, whatever they look like.
    static int toolkit_argc = 1;
    static char* toolkit_argv[2] = {argc > 0 ? argv[0] : nullptr, nullptr};
    static char program_name[] = "stelo";
    if (!toolkit_argv[0]) toolkit_argv[0] = program_name;
    if (!gui_init(&toolkit_argc, toolkit_argv)) {
        std::fprintf(stderr, "stelo: no display to open the windows on (is DISPLAY set?)\n");
        return 1;
    }
    if (!register_window_classes()) {
        gui_shutdown();
        return 0;
    }
    int result = 0;
    const std::string argument = joined_arguments(argc, argv);
    if (start_control_window(argument.c_str()) != NO_WINDOW) result = gui_run_message_loop();
    gui_shutdown();
    return result;
}
