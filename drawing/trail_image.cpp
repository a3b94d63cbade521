#include "drawing/trail_image.h"

#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

// -1 not yet asked, 0 no, 1 yes.
int usable = -1;
GLuint framebuffers[2] = {0, 0};
GLuint colour_buffers[2] = {0, 0};
PixelRect touched[2] = {};
int shown = 0;    // index of the shown picture in the arrays above
int drawing = 0;  // index of the picture being drawn
int image_width = 0, image_height = 0;
GLint previous_draw = 0;

// Framebuffer objects are core from OpenGL 3.0 and offered before that as
// an extension.
int gl_offers_framebuffers() {
    const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    if (version != nullptr && std::atoi(version) >= 3) return 1;
    const auto* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    return extensions != nullptr && std::strstr(extensions, "GL_ARB_framebuffer_object") != nullptr;
}

void clear_gl_errors() {
    for (int k = 0; k < 16 && glGetError() != GL_NO_ERROR; ++k) {
    }
}

void give_up() {
    usable = 0;
    image_width = image_height = 0;
}

}  // namespace

int size_trail_images(int width, int height) {
    if (usable < 0) usable = gl_offers_framebuffers();
    if (!usable || width <= 0 || height <= 0) return 0;
    if (width == image_width && height == image_height) return 1;
    // Names are made once per context (forget_trail_images starts afresh).
    if (framebuffers[0] == 0) {
        glGenFramebuffers(2, framebuffers);
        glGenRenderbuffers(2, colour_buffers);
    }
    GLint draw = 0, read = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &draw);
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &read);
    int complete = 1;
    for (int k = 0; k < 2; ++k) {
        glBindRenderbuffer(GL_RENDERBUFFER, colour_buffers[k]);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGB8, width, height);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffers[k]);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour_buffers[k]);
        if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) complete = 0;
        glClear(GL_COLOR_BUFFER_BIT);
        touched[k] = PixelRect{};
    }
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(draw));
    glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(read));
    if (!complete) {
        give_up();
        return 0;
    }
    image_width = width;
    image_height = height;
    return 2;
}

void begin_trail_image(TrailImage image, int clear) {
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &previous_draw);
    drawing = image == SHOWN_TRAIL_IMAGE ? shown : 1 - shown;
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffers[drawing]);
    if (clear) {
        glClear(GL_COLOR_BUFFER_BIT);
        touched[drawing] = PixelRect{};
    }
}

void mark_trail_image(PixelRect more) {
    PixelRect& rect = touched[drawing];
    more.left = std::max(more.left, 0);
    more.bottom = std::max(more.bottom, 0);
    more.right = std::min(more.right, image_width);
    more.top = std::min(more.top, image_height);
    if (more.right <= more.left || more.top <= more.bottom) return;
    if (rect.right <= rect.left) {
        rect = more;
        return;
    }
    rect.left = std::min(rect.left, more.left);
    rect.bottom = std::min(rect.bottom, more.bottom);
    rect.right = std::max(rect.right, more.right);
    rect.top = std::max(rect.top, more.top);
}

void end_trail_image() { glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(previous_draw)); }

void swap_trail_images() { shown = 1 - shown; }

int show_trail_image() {
    const PixelRect& rect = touched[shown];
    if (rect.right <= rect.left) return 1;
    clear_gl_errors();
    GLint previous_read = 0;
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &previous_read);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffers[shown]);
    glBlitFramebuffer(rect.left, rect.bottom, rect.right, rect.top, rect.left, rect.bottom, rect.right, rect.top,
                      GL_COLOR_BUFFER_BIT, GL_NEAREST);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(previous_read));
    // A multisampled or otherwise unlike target refuses the copy.
    if (glGetError() == GL_NO_ERROR) return 1;
    give_up();
    return 0;
}

void forget_trail_images() {
    usable = -1;
    framebuffers[0] = framebuffers[1] = 0;
    colour_buffers[0] = colour_buffers[1] = 0;
    shown = drawing = 0;
    touched[0] = touched[1] = PixelRect{};
    image_width = image_height = 0;
}
