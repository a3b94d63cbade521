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
