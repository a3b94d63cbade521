// Keys: shortcuts of menu items and of windows, pictures written as PNG, and
// key presses made as the user makes them (tests).
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QKeySequence>
#include <QShortcut>
#include <QWidget>
#include <QWindow>

#include <cstring>

#include "platform/qt/qt_state.h"

// Qt's own entry for a key press that should first reach the shortcuts, as
// the window system delivers it (the same one its test library uses).
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* object, ulong timestamp, int key,
                                               Qt::KeyboardModifiers modifiers, const QString& text,
                                               bool autorepeat, ushort count);

void add_window_shortcut(Window window, const char* keys, int command_id) {
    QtWindow* record = qt_window(window);
    if (record == nullptr || record->widget == nullptr || keys == nullptr) return;
    auto* shortcut = new QShortcut(QKeySequence(QString::fromUtf8(keys)), record->widget);
    shortcut->setContext(Qt::WindowShortcut);
    // The key repeats while held, like the button clicked again and again.
    shortcut->setAutoRepeat(true);
    QObject::connect(shortcut, &QShortcut::activated, shortcut, [window, command_id] {
        send_message(window, WM_COMMAND, static_cast<WPARAM>(command_id), 0);
    });
}

int press_keys(Window window, const char* keys) {
    QtWindow* record = qt_window(window);
    if (record == nullptr || record->widget == nullptr || keys == nullptr) return 0;
    const QKeySequence sequence(QString::fromUtf8(keys));
    if (sequence.isEmpty()) return 0;
    // Keys go to the active window: make this one active first.
    QWidget* top = record->widget->window();
    top->activateWindow();
    QApplication::setActiveWindow(top);
    QObject* target = top->focusWidget() != nullptr ? static_cast<QObject*>(top->focusWidget()) : top;
    const QKeyCombination combination = sequence[0];
    const int key = combination.key();
    const Qt::KeyboardModifiers modifiers = combination.keyboardModifiers();
    const QString text = (modifiers & ~Qt::ShiftModifier) == Qt::NoModifier && key < 0x80
                             ? QString(QChar(key)).toLower()
                             : QString();
    if (qt_sendShortcutOverrideEvent(target, 0, key, modifiers, text, false, 1)) return 1;
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QCoreApplication::sendEvent(target, &release);
    return 1;
}

int save_png(const char* path, const unsigned char* rgba, int width, int height) {
    if (path == nullptr || rgba == nullptr || width <= 0 || height <= 0) return 0;
    const QImage image(rgba, width, height, width * 4, QImage::Format_RGBA8888);
    // Opaque: the drawing's alpha is whatever the clear left, not coverage.
    return image.convertToFormat(QImage::Format_RGB888).save(QString::fromUtf8(path), "PNG") ? 1 : 0;
}

int read_png(const char* path, std::vector<unsigned char>* rgba, int* width, int* height) {
    if (path == nullptr || rgba == nullptr) return 0;
    QImage image;
    if (!image.load(QString::fromUtf8(path), "PNG")) return 0;
    image = image.convertToFormat(QImage::Format_RGBA8888);
    *width = image.width();
    *height = image.height();
    rgba->assign(static_cast<std::size_t>(image.sizeInBytes()), 0);
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(rgba->data() + static_cast<std::size_t>(y) * image.width() * 4, image.constScanLine(y),
                    static_cast<std::size_t>(image.width()) * 4);
    return 1;
}
