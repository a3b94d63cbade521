#include "drawing/scene_drawing.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "drawing/sphere_batch.h"
#include "drawing/trail_image.h"
#include "drawing/trails.h"
#include "drawing/view3d_frame.h"
#include "placement/view_mapping.h"
#include "sim/bodies.h"
#include "sim/frames.h"
#include "sim/simulation.h"

// Set by the 3D view window; read here and by the interactive view.
int view3d_started = 0;
double view3d_aspect = 1.0;
int interactive_frame_count = 0;
float* interactive_frame_x = nullptr;
float* interactive_frame_y = nullptr;
double interactive_frame_centre_x = 0.0;
double interactive_frame_centre_y = 0.0;

namespace {

constexpr GLfloat SHININESS = 100.0f;
constexpr GLfloat GLOW_LIGHT_DIRECTION[4] = {0.0f, -10.0f, 0.0f, 0.0f};
constexpr GLfloat VIEW3D_LIGHT_AMBIENT[4] = {0.0f, 0.0f, 0.0f, 1.0f};
constexpr GLfloat VIEW3D_LIGHT_DIFFUSE[4] = {0.7f, 0.7f, 0.7f, 1.0f};
constexpr GLfloat VIEW3D_LIGHT_SPECULAR[4] = {1.0f, 1.0f, 1.0f, 1.0f};
constexpr GLfloat INTERACTIVE_LIGHT_AMBIENT[4] = {0.1f, 0.1f, 0.1f, 1.0f};
constexpr GLfloat INTERACTIVE_LIGHT_DIFFUSE[4] = {0.7f, 0.7f, 0.7f, 1.0f};
constexpr GLfloat INTERACTIVE_LIGHT_SPECULAR[4] = {1.0f, 1.0f, 1.0f, 1.0f};
constexpr GLfloat INTERACTIVE_EYE_DISTANCE = -64.0f;
constexpr GLfloat PLACEMENT_LIFT = 8.0f;
constexpr int INTERACTIVE_RUN_SUBDIVISION = 10;

// Half the length of each arm of the centre-of-mass marker, GL units.
constexpr GLfloat CM_MARKER_ARM = 0.4f;
constexpr GLfloat CM_MARKER_COLOUR[3] = {1.0f, 1.0f, 1.0f};

int interactive_frame_capacity = 0;

int view3d_viewport_width = 0;
int view3d_viewport_height = 0;

// The subdivision a sphere is drawn with: the scene's counts, kept between
// the coarsest closed sphere and one finer than any view can show, so that
// a count typed as 0, -4 or 100000 neither empties nor stalls the drawing.
constexpr int MIN_SLICES = 3, MIN_STACKS = 2, MAX_SUBDIVISION = 100;
int drawn_count(int count, int least) {
    return count < least ? least : count > MAX_SUBDIVISION ? MAX_SUBDIVISION : count;
}
int drawn_slices() { return drawn_count(sphere_slices, MIN_SLICES); }
int drawn_stacks() { return drawn_count(sphere_stacks, MIN_STACKS); }

const GLfloat* white_material() { return material_colours[WHITE]; }
const GLfloat* black_material() { return material_colours[BLACK_MATERIAL]; }

// The arrays a 3D frame is drawn from exist: the run has been set up and
// at least one frame was handed over.
int view3d_frame_ready() {
    return view3d_frame_count > 0 && draw_material != nullptr && draw_radius != nullptr;
}

// Start of both 3D drawings: projection, cleared buffers, camera.
void begin_view3d_frame(Window window) {
    gl_make_current(window);
    apply_view3d_projection();
    if (view3d_viewport_width > 0 && view3d_viewport_height > 0)
        glViewport(0, 0, view3d_viewport_width, view3d_viewport_height);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, camera_translate);
    glRotatef(camera_rotate, 1.0f, 0.0f, 0.0f);
    // Trails lie under the spheres: a sphere covers every line it overlaps.
    if (view3d_frame_ready()) draw_trails();
}

// A cross of three short lines at the centre of mass, unlit.
void draw_cm_marker() {
    if (!view3d_show_cm || !view3d_frame_has_cm) return;
    const float x = view3d_frame_cm_x, y = view3d_frame_cm_y;
    const GLboolean lit = glIsEnabled(GL_LIGHTING);
    glDisable(GL_LIGHTING);
    glColor3fv(CM_MARKER_COLOUR);
    glBegin(GL_LINES);
    glVertex3f(x - CM_MARKER_ARM, y, 0.0f);
    glVertex3f(x + CM_MARKER_ARM, y, 0.0f);
    glVertex3f(x, y - CM_MARKER_ARM, 0.0f);
    glVertex3f(x, y + CM_MARKER_ARM, 0.0f);
    glVertex3f(x, y, -CM_MARKER_ARM);
    glVertex3f(x, y, CM_MARKER_ARM);
    glEnd();
    if (lit) glEnable(GL_LIGHTING);
}

void end_view3d_frame(Window window) {
    draw_cm_marker();
    gl_swap_buffers(window);
}

// One sphere in a single surface colour (ambient and diffuse), centred at
// (x, y, z) of the current model-view frame.
void draw_coloured_sphere(GLUquadric* quadric, GLfloat x, GLfloat y, GLfloat z, const float* material,
                          double radius, int slices, int stacks) {
    glPushMatrix();
    glTranslatef(x, y, z);
    glMaterialfv(GL_FRONT, GL_AMBIENT, material);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, material);
    gluSphere(quadric, radius, slices, stacks);
    glPopMatrix();
}

void set_light_colours(GLenum light, const GLfloat* ambient, const GLfloat* diffuse,
                       const GLfloat* specular) {
    glLightfv(light, GL_AMBIENT, ambient);
    glLightfv(light, GL_DIFFUSE, diffuse);
    glLightfv(light, GL_SPECULAR, specular);
}

// ------------------------------------------------------------ 3D frame spheres
//
// The spheres of a 3D frame are drawn in groups that share their material
// and lights, one batch each, instead of one sphere at a time. Each body
// is still drawn under exactly the lights and material it would get in
// list order: those depend only on whether it glows, its colours and, for
// a glowing body, whether a reflective body came before it (which places
// the lights again); only the order of the spheres changes, which the depth
// test makes invisible.

// A body's lights and material in the lit drawing. A glowing body is lit
// from GLOW_LIGHT_DIRECTION and shines with its emission; a reflective one
// is lit from the frame's light positions, given in the plane's own
// coordinates (the model-view matrix holds the camera alone) so that the
// lights move with the bodies.
void set_lit_body_state(int i) {
    if (draw_glowing[i]) {
        glLightfv(GL_LIGHT0, GL_POSITION, GLOW_LIGHT_DIRECTION);
        glMaterialfv(GL_FRONT, GL_DIFFUSE, draw_material[i]);
        glMaterialfv(GL_FRONT, GL_SPECULAR, black_material());
        glMaterialfv(GL_FRONT, GL_AMBIENT, black_material());
        glMaterialfv(GL_FRONT, GL_EMISSION, draw_emission[i]);
    } else {
        for (int k = 0; k < view3d_run_lights; ++k)
            glLightfv(static_cast<GLenum>(GL_LIGHT0 + k), GL_POSITION, view3d_frame_lights[k]);
        glMaterialfv(GL_FRONT, GL_DIFFUSE, draw_material[i]);
        glMaterialfv(GL_FRONT, GL_SPECULAR, white_material());
        glMaterialfv(GL_FRONT, GL_AMBIENT, draw_material[i]);
        glMaterialfv(GL_FRONT, GL_EMISSION, black_material());
    }
    glMaterialf(GL_FRONT, GL_SHININESS, SHININESS);
}

// The plain drawing sets the surface colour alone.
void set_plain_body_state(int i) {
    glMaterialfv(GL_FRONT, GL_AMBIENT, draw_material[i]);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, draw_material[i]);
}

// What decides a sphere's look. In the lit drawing, glowing bodies before
// the first reflective one keep the light positions the last frame left,
// those after it see the frame's own.
struct SphereGroup {
    int stage;  // lit: 0 glowing before any reflective body, 1 reflective, 2 glowing after; plain: 0
    std::uintptr_t material, emission;
    bool operator==(const SphereGroup&) const = default;
    auto operator<=>(const SphereGroup&) const = default;
};

SphereGroup sphere_group(int i, int lit, int first_reflective) {
    const auto material = reinterpret_cast<std::uintptr_t>(draw_material[i]);
    if (!lit) return {0, material, 0};
    if (!draw_glowing[i]) return {1, material, 0};
    return {i < first_reflective ? 0 : 2, material, reinterpret_cast<std::uintptr_t>(draw_emission[i])};
}

void draw_frame_spheres(int lit) {
    const int n = view3d_frame_count;
    int* order = sphere_order_buffer(n);
    if (order == nullptr || !prepare_sphere_batch(drawn_slices(), drawn_stacks())) return;
    int first_reflective = n;
    if (lit) {
        for (int i = 0; i < n && first_reflective == n; ++i)
            if (!draw_glowing[i]) first_reflective = i;
    }
    for (int i = 0; i < n; ++i) order[i] = i;
    std::sort(order, order + n, [&](int a, int b) {
        const SphereGroup ga = sphere_group(a, lit, first_reflective), gb = sphere_group(b, lit, first_reflective);
        return ga != gb ? ga < gb : a < b;
    });
    for (int start = 0, end = 0; start < n; start = end) {
        const SphereGroup group = sphere_group(order[start], lit, first_reflective);
        for (end = start + 1; end < n && sphere_group(order[end], lit, first_reflective) == group; ++end) {
        }
        if (lit) set_lit_body_state(order[start]);
        else set_plain_body_state(order[start]);
        draw_sphere_batch(order + start, end - start, view3d_frame_x, view3d_frame_y, draw_radius);
    }
    // The GL state as the last body of the list leaves it, which the next
    // frame's first glowing bodies (and a plain drawing after a change of
    // star lighting) are drawn under.
    if (n > 0) {
        if (lit) set_lit_body_state(n - 1);
        else set_plain_body_state(n - 1);
    }
}

// What both views set up alike: back faces culled, depth tested, a black
// background.
void set_view_gl_state() {
    glFrontFace(GL_CCW);
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_DEPTH_TEST);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
}

}  // namespace

void init_view3d_gl() {
    forget_trail_images();
    forget_sphere_buffers();
    set_view_gl_state();
    if (!smooth_shading) glShadeModel(GL_FLAT);
}

void setup_view3d_lights(int n) {
    glEnable(GL_LIGHTING);
    for (int k = 0; k < LIGHT_SLOTS; ++k) {
        if (k > 0 && n <= k) continue;
        const GLenum light = static_cast<GLenum>(GL_LIGHT0 + k);
        set_light_colours(light, VIEW3D_LIGHT_AMBIENT, VIEW3D_LIGHT_DIFFUSE, VIEW3D_LIGHT_SPECULAR);
        glEnable(light);
    }
}

void apply_view3d_projection() {
    const bool usable = field_of_view > 0.0 && field_of_view < 180.0 && near_plane > 0.0 &&
                        far_plane > near_plane && std::isfinite(far_plane) &&
                        std::isfinite(view3d_aspect) && view3d_aspect > 0.0;
    if (!usable) return;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(field_of_view, view3d_aspect, near_plane, far_plane);
}

void set_view3d_viewport(int width, int height) {
    view3d_viewport_width = width;
    view3d_viewport_height = height;
    glViewport(0, 0, width, height);
}

void draw_view3d_plain(Window window) {
    begin_view3d_frame(window);
    if (view3d_frame_ready()) draw_frame_spheres(0);
    end_view3d_frame(window);
}

void draw_view3d_lit(Window window) {
    if (view3d_frame_ready() && (draw_glowing == nullptr || draw_emission == nullptr)) {
        draw_view3d_plain(window);
        return;
    }
    begin_view3d_frame(window);
    if (view3d_frame_ready()) draw_frame_spheres(1);
    end_view3d_frame(window);
}

void init_interactive_gl() {
    glEnable(GL_LIGHTING);
    set_light_colours(GL_LIGHT0, INTERACTIVE_LIGHT_AMBIENT, INTERACTIVE_LIGHT_DIFFUSE,
                      INTERACTIVE_LIGHT_SPECULAR);
    glEnable(GL_LIGHT0);
    set_view_gl_state();
    glShadeModel(GL_FLAT);
}

void take_interactive_frame() {
    if (interactive_x == nullptr || interactive_y == nullptr || run_body_count <= 0) return;
    if (run_body_count > interactive_frame_capacity) {
        release_interactive_frame();
        const auto n = static_cast<std::size_t>(run_body_count);
        interactive_frame_x = static_cast<float*>(alloc_zeroed(n, sizeof(float)));
        interactive_frame_y = static_cast<float*>(alloc_zeroed(n, sizeof(float)));
        interactive_frame_capacity = run_body_count;
    }
    const auto bytes = static_cast<std::size_t>(run_body_count) * sizeof(float);
    std::memcpy(interactive_frame_x, interactive_x, bytes);
    std::memcpy(interactive_frame_y, interactive_y, bytes);
    interactive_frame_count = run_body_count;
    interactive_frame_centre_x = interactive_centre_x;
    interactive_frame_centre_y = interactive_centre_y;
}

void release_interactive_frame() {
    free_block(interactive_frame_x);
    free_block(interactive_frame_y);
    interactive_frame_x = nullptr;
    interactive_frame_y = nullptr;
    interactive_frame_capacity = 0;
    interactive_frame_count = 0;
    interactive_frame_centre_x = 0.0;
    interactive_frame_centre_y = 0.0;
}

namespace {

// Where a world point of the interactive view goes in GL units, in the plane
// `depth` units in front of the eye: the point that the perspective shows
// at the pixel the view's mapping gives it, so that clicks and drawing
// agree at every zoom, before a run (bodies lifted towards the eye) and
// during one alike.
struct PlaneToGl {
    double per_world;  // GL units per world unit
    double centre_x, centre_y;
    GLfloat x(double wx) const { return static_cast<GLfloat>((wx - centre_x) * per_world); }
    GLfloat y(double wy) const { return static_cast<GLfloat>((wy - centre_y) * per_world); }
};

PlaneToGl plane_to_gl(double depth) {
    const double half_height = depth * std::tan(INTERACTIVE_FIELD_OF_VIEW * M_PI / 360.0);
    return {half_height * plane_view.scale / WORLD_HALF_HEIGHT, plane_view.centre_x, plane_view.centre_y};
}

}  // namespace

void draw_interactive(Window window) {
    // The 3D view of this run is gone, and the run's arrays with it.
    if (view3d_started && frame_thread_handle == nullptr) return;
    gl_make_current(window);
    GLUquadric* quadric = gluNewQuadric();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, INTERACTIVE_EYE_DISTANCE);
    // Bodies keep their radius in GL units, so their size on the screen is
    // the described one at every zoom.
    if (!view3d_started) {
        const PlaneToGl to_gl = plane_to_gl(-INTERACTIVE_EYE_DISTANCE - PLACEMENT_LIFT);
        const Body* body = body_list;
        for (int i = 0; i < body_count && body != nullptr; ++i, body = body->next) {
            draw_coloured_sphere(quadric, to_gl.x(body->x), to_gl.y(body->y), PLACEMENT_LIFT, body->material,
                                 body->radius, drawn_slices(), drawn_stacks());
        }
    } else if (interactive_frame_count > 0 && draw_material != nullptr && draw_radius != nullptr) {
        const PlaneToGl to_gl = plane_to_gl(-INTERACTIVE_EYE_DISTANCE);
        for (int i = 0; i < interactive_frame_count; ++i) {
            draw_coloured_sphere(quadric, to_gl.x(interactive_frame_x[i] / VIEW_SCALE),
                                 to_gl.y(interactive_frame_y[i] / VIEW_SCALE), 0.0f, draw_material[i], draw_radius[i],
                                 INTERACTIVE_RUN_SUBDIVISION, INTERACTIVE_RUN_SUBDIVISION);
        }
    }
    gluDeleteQuadric(quadric);
    gl_swap_buffers(window);
}
