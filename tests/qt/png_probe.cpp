// Reads one pixel of a saved screenshot (the only Qt use in the tests).
#include <QImage>

#include "tests/qt/qt_test_support.h"

long png_pixel(const std::string& path, int x, int y) {
    QImage image(QString::fromStdString(path));
    if (image.isNull() || x < 0 || y < 0 || x >= image.width() || y >= image.height()) return -1;
    return static_cast<long>(image.pixel(x, y) & 0xFFFFFFu);
}
