// Paths are kept in world units, so the picture's points are the positions
// the CSV rows print. Memory stays bounded on any run: each path keeps at
// most twice its final number of points, dropping every other one (and
// keeping only every second frame from then on) when it is full; the
// points are thinned evenly to the final number when the file is written.
#include "tools/stelo-batch/batch_svg.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "sim/bodies.h"
#include "sim/frames.h"

namespace {

// Every path together keeps at most this many points (two doubles each).
constexpr long long POINT_BUDGET = 8000000;
constexpr double PICTURE_WIDTH = 800.0;

struct Path {
    std::vector<double> x, y;
    float colour[3];
};

std::vector<Path> paths;
int points_per_path = 0;  // final number of points of a path, at most
long long frames_seen = 0;
long long stride = 1;  // a path keeps every stride-th selected frame
double first_time = 0.0, last_time = 0.0;

void begin(const PublishedFrame& frame) {
    paths.assign(static_cast<std::size_t>(frame.count), Path{});
    const long long budget = POINT_BUDGET / 2 / std::max(1, frame.count);
    points_per_path = static_cast<int>(std::clamp<long long>(budget, 2, SVG_POINTS_PER_BODY));
    for (int i = 0; i < frame.count; ++i) {
        const float* material = draw_material != nullptr ? draw_material[i] : material_colours[WHITE];
        std::copy(material, material + 3, paths[static_cast<std::size_t>(i)].colour);
    }
    first_time = frame.time;
}

void halve(std::vector<double>* values) {
    std::size_t kept = 0;
    for (std::size_t k = 0; k < values->size(); k += 2) (*values)[kept++] = (*values)[k];
    values->resize(kept);
}

// "name" with the characters XML gives a meaning escaped; bytes outside
// printable ASCII become '?' so that any file name makes a valid document.
void write_escaped(FILE* out, const char* text) {
    for (const char* c = text; *c != '\0'; ++c) {
        switch (*c) {
        case '&': std::fputs("&amp;", out); break;
        case '<': std::fputs("&lt;", out); break;
        case '>': std::fputs("&gt;", out); break;
        case '"': std::fputs("&quot;", out); break;
        default: std::fputc(*c >= 0x20 && *c < 0x7f ? *c : '?', out);
        }
    }
}

int colour_byte(float value) { return static_cast<int>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f)); }

// The points of a path written: all of them, or points_per_path of them
// spread evenly from the first to the last.
void write_points(FILE* out, const Path& path) {
    const std::size_t n = path.x.size();
    const std::size_t shown = std::min<std::size_t>(n, static_cast<std::size_t>(points_per_path));
    for (std::size_t k = 0; k < shown; ++k) {
        const std::size_t i = shown > 1 ? (k * (n - 1) + (shown - 1) / 2) / (shown - 1) : 0;
        std::fprintf(out, "%s%.17g,%.17g", k > 0 ? " " : "", path.x[i], path.y[i]);
    }
}

void release_paths() {
    std::vector<Path>().swap(paths);
    frames_seen = 0;
    stride = 1;
}

}  // namespace

void svg_add_frame(const PublishedFrame& frame) {
    if (frames_seen == 0) begin(frame);
    last_time = frame.time;
    if (frames_seen++ % stride != 0) return;
    const int count = std::min(frame.count, static_cast<int>(paths.size()));
    for (int i = 0; i < count; ++i) {
        Path& path = paths[static_cast<std::size_t>(i)];
        double x = frame.x[i], y = frame.y[i];
        frame_position(drawn_transform, frame.x[i], frame.y[i], &x, &y);
        path.x.push_back(x);
        path.y.push_back(y);
    }
    // Full paths keep every second point, and every second frame from now on.
    if (!paths.empty() && paths[0].x.size() >= 2u * static_cast<std::size_t>(points_per_path)) {
        for (Path& path : paths) {
            halve(&path.x);
            halve(&path.y);
        }
        stride *= 2;
    }
}

int svg_path_writable(const char* path) {
    // "r+" opens an existing file for writing without emptying it.
    FILE* out = std::fopen(path, "r+");
    const int existed = out != nullptr || errno != ENOENT;
    if (out == nullptr && !existed) out = std::fopen(path, "w");
    if (out == nullptr) {
        std::fprintf(stderr, "stelo-batch: cannot write %s: %s\n", path, std::strerror(errno));
        return 0;
    }
    std::fclose(out);
    if (!existed) std::remove(path);
    return 1;
}

int write_svg(const char* path, const char* scene, const char* frame_name) {
    double min_x = HUGE_VAL, max_x = -HUGE_VAL, min_y = HUGE_VAL, max_y = -HUGE_VAL;
    for (const Path& p : paths) {
        for (std::size_t k = 0; k < p.x.size(); ++k) {
            if (!std::isfinite(p.x[k]) || !std::isfinite(p.y[k])) continue;
            min_x = std::min(min_x, p.x[k]);
            max_x = std::max(max_x, p.x[k]);
            min_y = std::min(min_y, p.y[k]);
            max_y = std::max(max_y, p.y[k]);
        }
    }
    if (!(min_x <= max_x)) min_x = max_x = min_y = max_y = 0.0;
    // A margin around the paths and a band below them for the caption; a
    // path that never moves still gets a visible area.
    const double span = std::max({max_x - min_x, max_y - min_y, 1.0});
    const double margin = 0.05 * span, caption = 0.08 * span;
    const double left = min_x - margin, top = -max_y - margin;
    const double width = max_x - min_x + 2 * margin, height = max_y - min_y + 2 * margin + caption;

    FILE* out = std::fopen(path, "w");
    if (out == nullptr) {
        std::fprintf(stderr, "stelo-batch: cannot write %s: %s\n", path, std::strerror(errno));
        release_paths();
        return 0;
    }
    const char* name = std::strrchr(scene, '/');
    name = name != nullptr ? name + 1 : scene;
    std::fprintf(out,
                 "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                 "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%.0f\" height=\"%.0f\" "
                 "viewBox=\"%.17g %.17g %.17g %.17g\">\n",
                 PICTURE_WIDTH, std::ceil(PICTURE_WIDTH * height / width), left, top, width, height);
    std::fprintf(out, "<rect x=\"%.17g\" y=\"%.17g\" width=\"%.17g\" height=\"%.17g\" fill=\"black\"/>\n", left, top,
                 width, height);
    // World y grows upwards, picture y downwards.
    std::fputs("<g transform=\"scale(1,-1)\" fill=\"none\" stroke-width=\"1.5\" stroke-linejoin=\"round\">\n", out);
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const Path& p = paths[i];
        std::fprintf(out, "<polyline id=\"body%zu\" vector-effect=\"non-scaling-stroke\" stroke=\"#%02x%02x%02x\" points=\"",
                     i, colour_byte(p.colour[0]), colour_byte(p.colour[1]), colour_byte(p.colour[2]));
        write_points(out, p);
        std::fputs("\"/>\n", out);
    }
    std::fputs("</g>\n", out);
    std::fprintf(out, "<text x=\"%.17g\" y=\"%.17g\" font-family=\"sans-serif\" font-size=\"%.17g\" fill=\"#c0c0c0\">",
                 left + margin, top + height - 0.3 * caption, 0.45 * caption);
    write_escaped(out, name);
    std::fprintf(out, ", %s frame, t = %g to %g</text>\n</svg>\n", frame_name, first_time, last_time);
    const int written = std::ferror(out) == 0;
    if (std::fclose(out) != 0 || !written) {
        std::fprintf(stderr, "stelo-batch: cannot write %s\n", path);
        release_paths();
        return 0;
    }
    release_paths();
    return 1;
}
