#include "windows/plot_window.h"

#include <iterator>
#include <string>

#include "app_state/energy_series.h"
#include "drawing/plot_drawing.h"

Window plot_window = NO_WINDOW;

namespace {

void fit_area(Window window) {
    int width = 0, height = 0;
    get_client_rect(window, nullptr, nullptr, &width, &height);
    set_child_geometry(energy_plot_area, 0, 0, width, height);
    invalidate_window(energy_plot_area);
}

void save_readout(Window window) {
    char path[4096] = "";
    const FileDialogRequest request{window, 1, "Save Readout As", "CSV Files (*.csv)\0*.csv\0All Files (*.*)\0*.*\0\0",
                                    "csv", 0};
    if (!file_dialog(request, path, sizeof path)) return;
    if (write_energy_csv(path)) return;
    const std::string text = std::string("Could not write ") + path;
    message_box(window, text.c_str(), nullptr, MB_OK);
}

void show_popup_menu(Window window) {
    const PopupItem items[] = {{CMD_SAVE_READOUT, "Save Readout As...", 0}};
    track_popup_items_at_cursor(window, items, static_cast<int>(std::size(items)));
}

LRESULT plot_window_proc(Window window, unsigned message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_CREATE:
            plot_window = window;
            energy_plot_area = create_window(PLOT_AREA_CLASS, "", WS_CHILD, 0, 0, 0, 0, window, 0);
            fit_area(window);
            return 0;
        case WM_DESTROY:
            if (plot_window == window) plot_window = NO_WINDOW;
            energy_plot_area = NO_WINDOW;
            return 0;
        case WM_SIZE: fit_area(window); return 0;
        case WM_RBUTTONDOWN: show_popup_menu(window); return 0;
        case WM_COMMAND:
            if (low_word(wparam) == CMD_SAVE_READOUT) {
                save_readout(window);
                return 0;
            }
            return default_window_proc(window, message, wparam, lparam);
        default: return default_window_proc(window, message, wparam, lparam);
    }
}

LRESULT plot_area_proc(Window window, unsigned message, WPARAM wparam, LPARAM lparam) {
    if (message != WM_PAINT) return default_window_proc(window, message, wparam, lparam);
    int width = 0, height = 0;
    get_client_rect(window, nullptr, nullptr, &width, &height);
    draw_energy_plot(window, width, height, energy_series_copy());
    return 0;
}

}  // namespace

int register_plot_classes() {
    return register_window_class(WindowClass{PLOT_CLASS, plot_window_proc, 0, nullptr}) &&
           register_window_class(WindowClass{PLOT_AREA_CLASS, plot_area_proc, 0, nullptr});
}

void open_energy_plot(int x, int y, int width, int height) {
    if (!is_window(plot_window))
        plot_window = create_window(PLOT_CLASS, PLOT_TITLE, WS_OVERLAPPED_WINDOW, x, y, width, height, NO_WINDOW, 0);
    if (plot_window == NO_WINDOW) return;
    show_window(plot_window, SHOW_NORMAL);
    update_window(plot_window);
}
