// The widgets behind a top-level window: the frame widget (menu bar, close
// box, moves, drops) and its client area (sizes, painting, mouse presses).
#pragma once

#include <QWidget>

#include "platform/platform.h"

class TopLevelWidget : public QWidget {
public:
    explicit TopLevelWidget(Window owner);
    Window owner;

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};

class ClientArea : public QWidget {
public:
    ClientArea(Window owner, QWidget* parent);
    Window owner;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};

// Sends WM_SIZE with the client size in device pixels and the kind of
// change (0 restored, 1 minimised, 2 maximised).
void qt_send_size(Window window);
// Sends WM_MOVE with the client area's screen position.
void qt_send_move(Window window);
// Where a top-level window asked to have its client area there actually
// goes: no larger than the screen, and moved back onto the screen when its
// title bar would lie off every screen (nobody could move it then).
QRect qt_reachable_client(const QRect& client);
// Places a top-level widget's client area; a window the window system has
// not been told where to put keeps being placed by it when only its size
// changes.
void qt_place_top_level(QWidget* top, const QRect& client);
