// The platform layer: windows driven by window procedures, message queues,
// threads, events, modal interactions, and the GUI pieces the windows use.
//
// Two halves implement it. platform/core (standard library only) provides
// everything in the "core" sections and runs headless; platform/qt provides
// the "GUI" sections and installs a GuiBackend into the core, so that window
// creation, message boxes and file dialogs reach real widgets. Code outside
// platform/ includes only this header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// ---------------------------------------------------------------- messages

using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

constexpr unsigned WM_CREATE = 0x0001;
constexpr unsigned WM_DESTROY = 0x0002;
constexpr unsigned WM_MOVE = 0x0003;
constexpr unsigned WM_SIZE = 0x0005;
constexpr unsigned WM_PAINT = 0x000F;
constexpr unsigned WM_CLOSE = 0x0010;
constexpr unsigned WM_QUIT = 0x0012;
constexpr unsigned WM_NOTIFY = 0x004E;
constexpr unsigned WM_INITDIALOG = 0x0110;
constexpr unsigned WM_COMMAND = 0x0111;
constexpr unsigned WM_SYSCOMMAND = 0x0112;
constexpr unsigned WM_MOUSEMOVE = 0x0200;  // the pointer moved over the client area
constexpr unsigned WM_LBUTTONDOWN = 0x0201;
constexpr unsigned WM_LBUTTONUP = 0x0202;
constexpr unsigned WM_RBUTTONDOWN = 0x0204;
constexpr unsigned WM_MBUTTONDOWN = 0x0207;
constexpr unsigned WM_MBUTTONUP = 0x0208;
constexpr unsigned WM_MOUSEWHEEL = 0x020A;
constexpr unsigned WM_DROPFILES = 0x0233;
constexpr unsigned WM_MOUSELEAVE = 0x02A3;  // the pointer left the client area
constexpr unsigned WM_USER = 0x0400;
constexpr unsigned WM_DRAW_FRAME = WM_USER + 1;
constexpr unsigned WM_VIEWING_CHANGED = WM_USER + 2;
constexpr unsigned WM_RENDERING_CHANGED = WM_USER + 3;

// System commands (wparam of WM_SYSCOMMAND).
constexpr unsigned SC_CLOSE = 0xF060;
constexpr unsigned SC_MINIMIZE = 0xF020;
constexpr unsigned SC_RESTORE = 0xF120;

// WM_NOTIFY codes (NotifyHeader::code).
constexpr int TCN_SELCHANGE = -551;  // tab control: selection changed
constexpr int TTN_NEEDTEXT = -520;   // tooltip text request

// Buttons held during WM_MOUSEMOVE (its wparam).
constexpr WPARAM MK_LBUTTON = 0x0001;
constexpr WPARAM MK_MBUTTON = 0x0010;
// One notch of the mouse wheel: WM_MOUSEWHEEL carries the turn in the high
// word of wparam (signed, positive away from the user) and, unlike the
// other mouse messages of some systems, the pointer's client position in
// lparam, as every mouse message here does.
constexpr int WHEEL_DELTA = 120;

constexpr unsigned low_word(std::uintptr_t v) { return static_cast<unsigned>(v & 0xFFFF); }
constexpr unsigned high_word(std::uintptr_t v) { return static_cast<unsigned>((v >> 16) & 0xFFFF); }
constexpr LPARAM make_lparam(unsigned lo, unsigned hi) {
    return static_cast<LPARAM>((lo & 0xFFFFu) | ((hi & 0xFFFFu) << 16));
}

// A window handle. 0 is no window. Handles are never reused, so a handle
// kept after its window is gone simply refers to nothing: messages to it do
// nothing and return 0.
enum Window : std::uint32_t { NO_WINDOW = 0 };

using WindowProc = LRESULT (*)(Window window, unsigned message, WPARAM wparam, LPARAM lparam);

// WM_NOTIFY carries a pointer to this in lparam.
struct NotifyHeader {
    Window from;
    int id_from;  // child id of the sender, or the command id a tooltip is for
    int code;
    char text[80];  // TTN_NEEDTEXT: the procedure writes the tooltip here
};

struct Message {
    Window window;
    unsigned message;
    WPARAM wparam;
    LPARAM lparam;
};

// ------------------------------------------------------ core: windows

// Window styles (bit flags; the GUI half maps them onto its widgets).
constexpr unsigned WS_CAPTION_SYSMENU_MINIMIZE = 0x1;  // fixed size, caption, system menu, minimise box
constexpr unsigned WS_OVERLAPPED_WINDOW = 0x2;         // ordinary resizable top-level window
constexpr unsigned WS_CHILD = 0x4;

constexpr int DEFAULT_POSITION = INT32_MIN;  // let the window system choose

struct WindowClass {
    const char* name;
    WindowProc proc;
    int background_black;   // 1: black background, 0: light grey
    const char* menu_name;  // class menu resource name, or nullptr
};

// Registers a class; returns 0 when the name is empty or already taken.
int register_window_class(const WindowClass& window_class);
// 1 when the class was registered with a black background.
int window_class_background_black(const char* class_name);

// Creates a window of a registered class on the calling thread; the window's
// procedure runs on that thread. WM_CREATE is sent before this returns.
// menu is an opaque menu handle (GUI half) or 0. Returns NO_WINDOW when the
// class is unknown or the procedure's WM_CREATE returned -1.
Window create_window(const char* class_name, const char* title, unsigned style, int x, int y,
                     int width, int height, Window parent, std::uintptr_t menu);

// Sends WM_DESTROY (on the window's thread) and removes the window. Pending
// sends to it are released without effect first.
void destroy_window(Window window);

int is_window(Window window);

// Calls the procedure directly when the caller is the window's thread;
// otherwise queues the message to that thread and waits until the procedure
// has returned. Released with result 0 when the window is destroyed (or
// begins to be) before the procedure ran. A message to NO_WINDOW or to a
// window that is gone returns 0 at once.
LRESULT send_message(Window window, unsigned message, WPARAM wparam, LPARAM lparam);

// Queues the message for the window's thread and returns at once. Returns 0
// when the window is gone.
int post_message(Window window, unsigned message, WPARAM wparam, LPARAM lparam);

// Posts WM_QUIT to the calling thread's queue.
void post_quit_message(int exit_code);

// The message loop of the calling thread. get_message blocks until a message
// is available (serving cross-thread sends meanwhile) and returns 0 for
// WM_QUIT. peek_message does not block.
int get_message(Message* out);
int peek_message(Message* out);
LRESULT dispatch_message(const Message& message);
int run_message_loop();  // get and dispatch until WM_QUIT; returns its code

// Runs every cross-thread send waiting for the calling thread (the GUI half
// calls this from the toolkit's event loop).
void serve_sent_messages();
// How many cross-thread sends wait for the calling thread to serve them (a
// test awaits a worker that is blocked in its send this way).
int sent_messages_waiting();

// What the default procedure does for the messages the system handles
// itself (WM_SYSCOMMAND minimise/restore, WM_CLOSE -> destroy, ...).
LRESULT default_window_proc(Window window, unsigned message, WPARAM wparam, LPARAM lparam);

// Per-window text (title) and user data; the GUI half mirrors the title.
void set_window_text(Window window, const char* text);
int get_window_text(Window window, char* buffer, int capacity);

// ------------------------------------------------------ core: threads

struct Thread;  // opaque
using ThreadEntry = int (*)();

enum ThreadPriority { PRIORITY_BELOW_NORMAL = -1, PRIORITY_NORMAL = 0, PRIORITY_ABOVE_NORMAL = 1 };

// Creates a thread that starts suspended (suspension count 1) when
// start_suspended is set. Returns nullptr on failure.
Thread* create_thread(ThreadEntry entry, int start_suspended);
void set_thread_priority(Thread* thread, ThreadPriority priority);
// Counted, cooperative suspension: suspend adds one, resume takes one away
// (never below zero) and returns the previous count. The thread waits at its
// next suspension point while the count is above zero.
int suspend_thread(Thread* thread);
int resume_thread(Thread* thread);
void resume_thread_fully(Thread* thread);
// Called by a thread at its safe points: waits while its count is above zero.
void suspension_point();
// 1 while the thread has not returned from its entry.
int thread_running(Thread* thread);
// Waits for the thread to end and returns its exit code.
int join_thread(Thread* thread);
// Releases the handle; joins first if the thread still runs (an orderly end:
// the caller must have woken it).
void close_thread(Thread* thread);

// ------------------------------------------------------ core: events, sleep

struct Event;  // opaque, auto-reset
Event* create_event(int initially_signalled);
void set_event(Event* event);
// Waits until the event is signalled and resets it. Returns 1.
int wait_event(Event* event);
// Returns 1 when signalled within the time, 0 on time-out.
int wait_event_ms(Event* event, int milliseconds);
void close_event(Event* event);

void sleep_ms(int milliseconds);

// Shows the text (message box when the GUI is up, standard error otherwise)
// and ends the process at once with status 1.
[[noreturn]] void fatal_exit(const char* text);

// ------------------------------------------------------ core: modal interactions

constexpr unsigned MB_OK = 0x0;
constexpr unsigned MB_OKCANCEL = 0x1;
constexpr unsigned MB_SAVEDISCARDCANCEL = 0x3;  // buttons Save, Discard and Cancel
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDSAVE = 6;
constexpr int IDDISCARD = 7;

// Shows a message box owned by owner (NO_WINDOW: no owner). caption nullptr
// gives the system's default caption "Error". Without a GUI the text goes to
// standard error and the answer is IDOK (IDCANCEL to the Save, Discard and
// Cancel question: with no one to ask, nothing is given up).
int message_box(Window owner, const char* text, const char* caption, unsigned buttons);

struct FileDialogRequest {
    Window owner;
    int save;                  // 0: Open dialog, 1: Save As dialog
    const char* title;
    const char* filter;        // pairs "label\0pattern\0...\0\0"
    const char* default_extension;
    int must_exist;            // the file and its path must exist (Open)
    const char* folder = nullptr;  // where the dialog starts; nullptr: the working directory
};

// Shows the Open or Save As dialog. On a choice writes the full path into
// path (at most capacity - 1 characters) and returns 1; returns 0 when
// cancelled. Without a GUI returns 0.
int file_dialog(const FileDialogRequest& request, char* path, std::size_t capacity);

// Tests replace modal interactions with scripted answers. A hook returns the
// answer; for file dialogs it fills path as the user would.
using MessageBoxHook = int (*)(Window owner, const char* text, const char* caption, unsigned buttons);
using FileDialogHook = int (*)(const FileDialogRequest& request, char* path, std::size_t capacity);
void set_message_box_hook(MessageBoxHook hook);  // nullptr restores the real one
void set_file_dialog_hook(FileDialogHook hook);

// ------------------------------------------------------ core: GUI backend

// Installed by the GUI half. Every member may be null.
struct GuiBackend {
    // A window was created (before WM_CREATE is sent) / is being destroyed
    // (after WM_DESTROY ran).
    void (*window_created)(Window window, const char* class_name, const char* title,
                           unsigned style, int x, int y, int width, int height, Window parent,
                           std::uintptr_t menu);
    void (*window_destroyed)(Window window);
    void (*window_text_changed)(Window window, const char* text);
    // Default handling of system commands, close, etc.
    LRESULT (*default_proc)(Window window, unsigned message, WPARAM wparam, LPARAM lparam);
    int (*message_box)(Window owner, const char* text, const char* caption, unsigned buttons);
    int (*file_dialog)(const FileDialogRequest& request, char* path, std::size_t capacity);
    // Wakes the toolkit's event loop of the main thread so it serves the queue.
    void (*wake_main_thread)();
};
void install_gui_backend(const GuiBackend* backend);
// The thread that created the first window or installed the backend.
int is_main_thread();

// ====================================================== GUI half (platform/qt)

// Starts the toolkit on the main thread (argc/argv may be passed through).
// Returns 0 when no display can be opened.
int gui_init(int* argc, char** argv);
// Runs the toolkit's event loop, serving the main thread's message queue,
// until WM_QUIT is dispatched on the main thread; returns its exit code.
int gui_run_message_loop();
void gui_shutdown();

// Show commands.
enum ShowCommand { SHOW_HIDE = 0, SHOW_NORMAL = 1, SHOW_MINIMIZED = 2, SHOW_RESTORE = 9 };
void show_window(Window window, ShowCommand command);
int is_window_visible(Window window);
// Minimising asks the window manager; without one the window stays on the
// screen and is not minimised.
int is_window_minimized(Window window);
// Outer rectangle in screen pixels (position of the frame, size of the frame).
void move_window(Window window, int x, int y, int width, int height, int repaint);
void get_window_rect(Window window, int* x, int* y, int* width, int* height);
void get_client_rect(Window window, int* x, int* y, int* width, int* height);  // client area on screen
// The frame as the window system draws it: its real border and caption,
// known once it has framed the window; the bare window without one.
void get_frame_rect(Window window, int* x, int* y, int* width, int* height);
// The part of the main screen that windows may use (without panels).
void get_screen_work_area(int* x, int* y, int* width, int* height);
void invalidate_window(Window window);
void update_window(Window window);
// Greys Close in the window's system menu: the close box does nothing and
// the window receives no WM_CLOSE from the window system.
void grey_system_close(Window window);
void accept_dropped_files(Window window, int accept);

// Dropped files: WM_DROPFILES carries a drop handle in wparam.
int drop_file_count(WPARAM drop);
int drop_file_path(WPARAM drop, int index, char* buffer, int capacity);
void release_drop(WPARAM drop);

// Menus. A menu table lists popups and items; id 0 with text nullptr is a
// separator; kind MENU_POPUP opens a popup whose items follow until MENU_END.
enum MenuKind { MENU_ITEM = 0, MENU_SEPARATOR = 1, MENU_POPUP = 2, MENU_END = 3 };
struct MenuEntry {
    MenuKind kind;
    int id;
    const char* text;
    int greyed;
};
std::uintptr_t create_menu(const char* name, const MenuEntry* entries, int count);
void enable_menu_item(std::uintptr_t menu, int id, int enabled);
int is_menu_item_enabled(std::uintptr_t menu, int id);
void check_menu_item(std::uintptr_t menu, int id, int checked);
int is_menu_item_checked(std::uintptr_t menu, int id);
int get_menu_item_text(std::uintptr_t menu, int id, char* buffer, int capacity);
void draw_menu_bar(Window window);
// Popup menus: built, tracked (the chosen item becomes WM_COMMAND to owner),
// destroyed. An item with id 0 and text nullptr is a separator.
std::uintptr_t create_popup_menu();
void append_popup_item(std::uintptr_t popup, int id, const char* text, int checked);
void track_popup_menu(std::uintptr_t popup, Window owner, int screen_x, int screen_y);
void destroy_popup_menu(std::uintptr_t popup);
// A window's right-click menu: the items (id 0 and text nullptr a separator)
// built, tracked at the cursor and destroyed in one call.
struct PopupItem {
    int id;
    const char* text;
    int checked;
};
void track_popup_items_at_cursor(Window owner, const PopupItem* items, int count);
// 1 when a WM_COMMAND's lparam names `sender`: a window passing a command
// on marks it with itself (toolbars mark theirs with the toolbar).
inline int command_from(LPARAM lparam, Window sender) {
    return sender != NO_WINDOW && lparam == static_cast<LPARAM>(sender);
}
// Answers a child's request for a tooltip (WM_NOTIFY, TTN_NEEDTEXT) with the
// text `tooltip` gives for its id; 0 when lparam is no such request or the
// id has no tooltip, so the caller passes the message on.
int answer_tooltip_request(LPARAM lparam, const char* (*tooltip)(int id));
// Keys: a shortcut shown beside a menu item ("Ctrl+N", "F1") that chooses it,
// and a key ("Space", "+") that sends WM_COMMAND(command_id) to a window
// while that window is active.
void set_menu_item_shortcut(std::uintptr_t menu, int id, const char* keys);
void add_window_shortcut(Window window, const char* keys, int command_id);
void get_cursor_position(int* screen_x, int* screen_y);

// Toolbars. A click sends WM_COMMAND (id) to the parent after the check state
// has changed; a check-group button stays down and releases the others of
// its group (a separator ends a group).
enum ToolKind { TOOL_CHECK_GROUP = 0, TOOL_CHECK = 1, TOOL_PUSH = 2, TOOL_SEPARATOR = 3 };
struct ToolbarEntry {
    int image;  // index in the image strip, -1 for separators
    int id;
    ToolKind kind;
    const char* tooltip;
    int checked;
};
// image_strip: path of a PNG strip of image_count images of 16 x 15 pixels.
Window create_toolbar(Window parent, int child_id, const char* image_strip, int image_count,
                      const ToolbarEntry* entries, int count);
void toolbar_check(Window toolbar, int id, int checked);
int toolbar_is_checked(Window toolbar, int id);
int toolbar_is_enabled(Window toolbar, int id);
void toolbar_enable(Window toolbar, int id, int enabled);
// Clicks a button as the user would (tests).
void toolbar_click(Window toolbar, int id);
// Places the buttons of one toolbar at most pitch pixels apart (logical
// pixels, from one button's left edge to the next one's), for a toolbar
// whose entries must all fit across its window.
void toolbar_set_button_pitch(Window toolbar, int pitch);
// A button's rectangle within the parent's client area, in device pixels
// (the unit of click_client); 0 when there is no such button.
int toolbar_button_rect(Window toolbar, int id, int* x, int* y, int* width, int* height);

// Status bars with one part.
Window create_status_bar(Window parent, int child_id);
void status_bar_set_text(Window status_bar, const char* text);
int status_bar_get_text(Window status_bar, char* buffer, int capacity);
// A status bar's second part, at the right of the first (part 1; part 0 is
// the text above).
void status_bar_set_part_text(Window status_bar, int part, const char* text);
int status_bar_get_part_text(Window status_bar, int part, char* buffer, int capacity);
// Child windows (toolbar, status bar): geometry within the parent's client area.
void set_child_geometry(Window child, int x, int y, int width, int height);

// Tab control: notifications arrive at the parent as WM_NOTIFY with
// TCN_SELCHANGE; tooltips are requested with TTN_NEEDTEXT (id_from = tab index).
Window create_tab_control(Window parent, int child_id, int x, int y, int width, int height);
// image: path of a 20 x 20 PNG, or nullptr.
void tab_insert(Window tab, int index, const char* text, const char* image);
int tab_selected(Window tab);
void tab_select(Window tab, int index);  // as a click: notifies the parent
int tab_count(Window tab);

// Tables: rows of cells under column titles, shown without being stored: the
// table asks its parent for each cell it shows (WM_NOTIFY, TABLE_CELL_TEXT:
// the parent writes a text cell's text into header.text, or a choice or
// check cell's value into value), so a table of any number of rows costs
// only what is on the screen. A text cell is edited as text and reports
// when the user leaves it; a choice cell offers fixed texts (its value is
// the index chosen); a check cell is a check box (value 0 or 1). Every
// change the user makes arrives as WM_NOTIFY with TABLE_CELL_CHANGED (the
// text typed in typed, or the value chosen in value); the table then asks
// for the cell again, so a refused change shows the value kept. Rows are
// numbered from 0, as their headers show, and can be selected several at a
// time.
constexpr int TABLE_CELL_CHANGED = -1100;
constexpr int TABLE_CELL_TEXT = -1101;
enum TableColumnKind { TABLE_TEXT = 0, TABLE_CHOICE, TABLE_CHECK };
struct TableColumn {
    const char* title;
    TableColumnKind kind;
    int width;                   // logical pixels
    const char* const* choices;  // TABLE_CHOICE: the texts offered
    int choice_count;
};
struct TableNotify {
    NotifyHeader header;
    int row;
    int column;
    int value;
    const char* typed;
};
Window create_table(Window parent, int child_id, const TableColumn* columns, int count);
// Sets the number of rows and asks for every cell shown afresh.
void table_set_row_count(Window table, int rows);
int table_row_count(Window table);
// What a cell shows (asked of the parent as for drawing it).
int table_get_cell_text(Window table, int row, int column, char* buffer, int capacity);
int table_get_cell_value(Window table, int row, int column);
// A read-only table shows its cells but takes no edits.
void table_set_read_only(Window table, int read_only);
int table_is_read_only(Window table);
// The selected rows in ascending order (at most capacity); returns how many
// rows are selected.
int table_selected_rows(Window table, int* rows, int capacity);
void table_select_rows(Window table, const int* rows, int count);
// Edits as the user would (tests): types text into a text cell and leaves
// it, or chooses a value of a choice or check cell; each notifies the parent.
void table_type_cell(Window table, int row, int column, const char* text);
void table_choose_cell(Window table, int row, int column, int value);

// Dialog pages from a control table; rectangles in dialog units (converted
// with the dialog font's metrics). The dialog procedure receives
// WM_INITDIALOG when the page is created and WM_COMMAND for its buttons.
enum ControlKind { CONTROL_DEFAULT_BUTTON = 0, CONTROL_BUTTON, CONTROL_STATIC, CONTROL_EDIT, CONTROL_CHECKBOX };
struct DialogControl {
    int id;  // -1 for statics
    ControlKind kind;
    const char* text;
    int x, y, width, height;
};
struct DialogTemplate {
    int resource_id;
    const char* caption;  // modal dialogs only
    int x, y, width, height;
    const char* font;
    int font_points;
    const DialogControl* controls;
    int control_count;
};
Window create_dialog_page(const DialogTemplate& page, Window parent, WindowProc proc);
// Runs a modal dialog owned by owner; returns the code given to end_dialog.
int run_modal_dialog(const DialogTemplate& dialog, Window owner, WindowProc proc);
void end_dialog(Window dialog, int code);
void set_dialog_item_text(Window dialog, int id, const char* text);
int get_dialog_item_text(Window dialog, int id, char* buffer, int capacity);
void set_dialog_check(Window dialog, int id, int checked);
int get_dialog_check(Window dialog, int id);
void click_dialog_button(Window dialog, int id);  // as the user would (tests)
// Replaces an edit field's text key by key, as the user would (tests).
void type_dialog_item_text(Window dialog, int id, const char* text);

// Painted child windows: a child of a window class of our own (created with
// WS_CHILD inside a top-level window) receives WM_PAINT whenever its area
// needs drawing; while that message is handled these draw on it, in logical
// pixels from its top-left corner. Colours are 0xRRGGBB. Mouse presses
// pass through it to the parent. Outside its WM_PAINT they do nothing.
void paint_fill_rect(Window child, int x, int y, int width, int height, unsigned rgb);
void paint_line(Window child, double x0, double y0, double x1, double y1, unsigned rgb, int pen_width);
// Text with the system's font: align 0 left of x, 1 centred on x, 2 right of
// x; y is the baseline. vertical 1 turns it to read upwards (x the
// baseline). Returns the text's width in pixels.
int paint_text(Window child, int x, int y, const char* text, unsigned rgb, int align, int vertical);
// Height of a line of the system's font in a painted child, in pixels.
int paint_text_height(Window child);

// Window icon for all top-level windows (PNG path).
void set_application_icon(const char* path);

// OpenGL view surfaces: a double-buffered RGBA surface with a depth buffer of
// at least 16 bits and a stencil buffer covering the window's client area.
// Returns 0 when no such surface can be made.
int gl_create_surface(Window window);
int gl_make_current(Window window);
void gl_swap_buffers(Window window);
void gl_release_surface(Window window);
// Device pixels per logical pixel of the window's screen.
double window_pixel_ratio(Window window);
// Reads the client area's last drawn frame as RGBA rows, top row first;
// returns 0 on failure. width/height receive the size in device pixels.
int gl_read_pixels(Window window, unsigned char* rgba, int capacity, int* width, int* height);
// What the screen shows of a window, read back from the display server:
// a top-level window's client area, or a child window, as RGBA rows (top row
// first, device pixels; windows lying over it show too). Call with rgba
// nullptr for the size; returns 0 when the window is not on screen or the
// buffer is too small.
int read_screen_pixels(Window window, unsigned char* rgba, int capacity, int* width, int* height);
// Saves what the screen shows of a window (a top-level one with its menu
// bar) as PNG.
int save_window_image(Window window, const char* png_path);
// Writes RGBA rows (top row first) as an opaque PNG file; 0 on failure.
int save_png(const char* path, const unsigned char* rgba, int width, int height);
// Reads a PNG file as RGBA rows, top row first; 0 when it cannot be read.
int read_png(const char* path, std::vector<unsigned char>* rgba, int* width, int* height);

// Resources live in resources/; the GUI half finds them relative to the
// executable (or STELO_RESOURCES). Returns the full path of a resource file.
const char* resource_path(const char* file_name);
// The folder of the example scenes: share/stelo/examples of an installed
// program, the source tree's examples/ for a build.
const char* examples_folder();

// Units of the GUI half: WM_SIZE and the mouse messages carry client-area
// sizes and positions in device pixels, the unit of the GL viewport and of
// gl_read_pixels. Every other position and size (window rectangles, child
// geometry, screen positions, the cursor) is in logical pixels;
// window_pixel_ratio converts. Outer rectangles (create_window, move_window,
// get_window_rect) count a frame of 4 pixels at the sides and bottom and 23
// above the client area. Toolbars keep to the top and status bars to the
// bottom of the parent's client area across its whole width;
// set_child_geometry only sets their height (never below what they need).

// ------------------------------------------------------ GUI: tests and tools

// Runs the toolkit's event loop (serving the main thread's queue) for about
// that long; 0 handles only what is waiting.
void gui_process_events(int milliseconds);
// Scripted answers for popup menus (returns the chosen id, 0 for none) and
// modal dialogs (the hook acts as the user, e.g. click_dialog_button; a
// dialog the hook leaves open ends with IDCANCEL). nullptr restores the
// real ones.
using PopupMenuHook = int (*)(std::uintptr_t popup, Window owner);
void set_popup_menu_hook(PopupMenuHook hook);
using ModalDialogHook = void (*)(Window dialog);
void set_modal_dialog_hook(ModalDialogHook hook);
// Drops files on a window as the user would; 0 when it does not accept
// drops. The window receives WM_DROPFILES through its queue.
int drop_files(Window window, const char* const* paths, int count);
// The tooltip a person would see over a toolbar button or a tab (asked of
// the parent with TTN_NEEDTEXT, as the window system does).
int toolbar_tooltip(Window toolbar, int id, char* buffer, int capacity);
int tab_tooltip(Window tab, int index, char* buffer, int capacity);
// Mouse presses and the close box as the user makes them: the press goes
// through the window system to whatever lies at that point of the client
// area (x, y in device pixels, as in WM_LBUTTONDOWN), a toolbar button or
// the window itself.
void click_client(Window window, int x, int y, int right_button);
// The pointer moved to that point of the client area (no button down).
void move_pointer_client(Window window, int x, int y);
// The wheel turned by notches (positive away from the user) with the pointer
// at (x, y), and a drag from (x0, y0) to (x1, y1) with the left or middle
// button held, as the user makes them over a view's drawing surface.
void wheel_client(Window window, int x, int y, int notches);
void drag_client(Window window, int x0, int y0, int x1, int y1, int middle_button);
void press_close_box(Window window);
// Presses keys ("Ctrl+N", "Space") in a window as the user would: the window
// becomes active and the press reaches its shortcuts first, then the widget
// with the focus.
int press_keys(Window window, const char* keys);
