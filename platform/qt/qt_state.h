// Shared records of the Qt half: one QtWindow per platform window that has
// a widget, looked up by handle on the main thread.
#pragma once

#include <QPointer>
#include <QWidget>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"

class QAction;
class QDialog;
class QMenu;
class QMenuBar;
class QOpenGLContext;
class QTabBar;
class QLabel;
class QToolBar;
struct GlSurface;

enum class QtKind { TOP_LEVEL, CHILD, TOOLBAR, STATUS_BAR, TAB_CONTROL, DIALOG_PAGE, MODAL_DIALOG, TABLE };

struct ToolButton {
    int id;
    ToolKind kind;
    int group;  // check groups are numbered; a separator starts the next one
    QAction* action;
    std::string tooltip;
};

struct DialogControlRecord {
    int id;
    ControlKind kind;
    QWidget* widget;
};

struct QtWindow {
    Window window = NO_WINDOW;
    QtKind kind = QtKind::CHILD;
    Window parent = NO_WINDOW;
    int child_id = 0;
    // The top-level widget, or the child's own widget.
    QPointer<QWidget> widget;
    // Where children go and what the window procedure calls the client
    // area: below the menu bar of a top-level window; the widget itself
    // for children.
    QPointer<QWidget> client;
    QPointer<QMenuBar> menu_bar;
    std::uintptr_t menu = 0;
    int grey_close = 0;
    int accepts_drops = 0;
    int paint_pending = 0;
    int was_minimized = 0;
    int black_background = 0;
    GlSurface* gl = nullptr;
    // Toolbar and status bar: the height they keep across the top or bottom.
    int bar_height = 20;
    std::vector<ToolButton> tool_buttons;
    QPointer<QToolBar> toolbar;
    QPointer<QLabel> status_label;
    std::string status_text;
    QPointer<QTabBar> tab_bar;
    // Dialog pages and modal dialogs.
    WindowProc dialog_proc = nullptr;
    std::vector<DialogControlRecord> controls;
    QPointer<QDialog> dialog;
    int dialog_ended = 0;
    int dialog_code = 0;
};

// Lookups answer only on the main thread; elsewhere they find nothing, so a
// GUI call from another thread has no effect instead of racing the widgets.
QtWindow* qt_window(Window window);
QtWindow* qt_add_window(Window window, QtKind kind, Window parent);
void qt_remove_window(Window window);
// Creates a child window of one of the platform's own classes inside a
// top-level window's client area; returns its record (nullptr when the
// parent has no client area) and the parent's in *parent_record.
QtWindow* qt_create_child(Window parent, const char* class_name, int child_id, int x, int y, int width,
                          int height, QtWindow** parent_record);
std::vector<Window> qt_children_of(Window parent);
std::vector<Window> qt_all_windows();

// The widget a dialog or message box should be owned by (nullptr: none).
QWidget* qt_owner_widget(Window owner);

// Sends a message to a window's procedure, first making its GL surface
// current when it has one (so drawing in WM_SIZE and WM_PAINT just works).
LRESULT qt_send_gl_aware(Window window, unsigned message, WPARAM wparam, LPARAM lparam);

// Device pixels per logical pixel of a widget's screen.
double qt_pixel_ratio(const QWidget* widget);

// Internal window classes of the children this half builds itself.
extern const char* const QT_TOOLBAR_CLASS;
extern const char* const QT_STATUS_BAR_CLASS;
extern const char* const QT_TAB_CLASS;
extern const char* const QT_DIALOG_CLASS;
extern const char* const QT_TABLE_CLASS;
void qt_register_internal_classes();
// The procedure of every dialog page and modal dialog: hands each message to
// the dialog procedure given when the dialog was made.
LRESULT qt_dialog_class_proc(Window window, unsigned message, WPARAM wparam, LPARAM lparam);

// Pieces called across files.
QWidget* qt_create_top_level(QtWindow* record, const char* title, unsigned style, int x, int y,
                             int width, int height, std::uintptr_t menu);
void qt_attach_menu(QtWindow* record, std::uintptr_t menu);
void qt_layout_client(QtWindow* record);
void qt_place_bars(QtWindow* top);
void qt_release_gl(QtWindow* record);
void qt_paint_window(QtWindow* record);
// The widget of a plain child window: painted through WM_PAINT.
QWidget* qt_create_paint_area(Window owner, QWidget* parent);
void qt_dispatch_drop(QtWindow* record, const std::vector<std::string>& paths);
void qt_free_all_menus();
void qt_free_all_drops();
LRESULT qt_default_proc(Window window, unsigned message, WPARAM wparam, LPARAM lparam);
// 1 when something can take windows off the screen (a window manager or a
// compositor); minimising asks only then.
int qt_window_manager_present();
void qt_minimise(QWidget* top);
int qt_message_box(Window owner, const char* text, const char* caption, unsigned buttons);
int qt_file_dialog(const FileDialogRequest& request, char* path, std::size_t capacity);

// Frame margins of the outer rectangle: the window system draws a border of
// 4 pixels and a caption of 23 above the client area. Used on every platform
// so that a saved outer rectangle brings a window back to the same place.
constexpr int FRAME_LEFT = 4;
constexpr int FRAME_TOP = 23;
constexpr int FRAME_RIGHT = 4;
constexpr int FRAME_BOTTOM = 4;

// Copies text into a caller's buffer (at most capacity - 1 characters);
// returns the number of characters copied.
int qt_copy_text(const std::string& text, char* buffer, int capacity);
