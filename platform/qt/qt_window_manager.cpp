// Whether anything on the desktop can take a window off the screen. On X11
// that is the window manager, which owns the selection WM_S0 while it runs;
// without one a minimise request would leave the window on the screen while
// the toolkit took it for minimised (hiding its GL area and dropping its
// size changes), so the window is only shown.
#include <QGuiApplication>

#if STELO_HAVE_XCB && QT_CONFIG(xcb)
#include <xcb/xcb.h>

#include <cstdlib>
#endif

#include "platform/qt/qt_state.h"

int qt_window_manager_present() {
#if STELO_HAVE_XCB && QT_CONFIG(xcb)
    auto* x11 = qApp != nullptr ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (x11 == nullptr || x11->connection() == nullptr) return 1;  // not X11: the compositor decides
    xcb_connection_t* connection = x11->connection();
    static const char name[] = "WM_S0";
    xcb_intern_atom_reply_t* atom =
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 1, sizeof name - 1, name), nullptr);
    if (atom == nullptr) return 1;
    const xcb_atom_t selection = atom->atom;
    std::free(atom);
    if (selection == XCB_ATOM_NONE) return 0;  // nobody ever claimed it
    xcb_get_selection_owner_reply_t* owner =
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, selection), nullptr);
    if (owner == nullptr) return 1;
    const int present = owner->owner != XCB_WINDOW_NONE ? 1 : 0;
    std::free(owner);
    return present;
#else
    return 1;
#endif
}

void qt_minimise(QWidget* top) {
    if (top == nullptr) return;
    if (qt_window_manager_present())
        top->showMinimized();
    else
        top->show();
}
