// Tells what a rectangle of a PNG picture holds: "<lit> <digest>", the number
// of pixels that are not near black and a digest of all its pixels, so a
// script can tell whether something is drawn there and whether it changed.
#include <QImage>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: png_region FILE X Y WIDTH HEIGHT\n");
        return 2;
    }
    const QImage image = QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_RGB32);
    if (image.isNull()) {
        std::fprintf(stderr, "png_region: cannot read %s\n", argv[1]);
        return 1;
    }
    const int x0 = std::atoi(argv[2]), y0 = std::atoi(argv[3]);
    const int width = std::atoi(argv[4]), height = std::atoi(argv[5]);
    long lit = 0;
    unsigned long long digest = 1469598103934665603ull;
    for (int y = std::max(0, y0); y < std::min(image.height(), y0 + height); ++y) {
        for (int x = std::max(0, x0); x < std::min(image.width(), x0 + width); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qRed(pixel) + qGreen(pixel) + qBlue(pixel) > 60) ++lit;
            digest = (digest ^ (pixel & 0xFFFFFFu)) * 1099511628211ull;
        }
    }
    std::printf("%ld %llx\n", lit, digest);
    return 0;
}
