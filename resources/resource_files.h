// The program's image resources: file names under resources/, found at run
// time with resource_path(). The numbers are the resource ids the images
// stand for.
#pragma once

constexpr const char* ICON_IMAGE = "stelo.png";                            // icon 109
constexpr const char* TAB_IMAGE_STELO = "tab_stelo.png";                   // bitmap 103, 20 x 20
constexpr const char* TAB_IMAGE_VIEWING = "tab_viewing.png";               // bitmap 104, 20 x 20
constexpr const char* TAB_IMAGE_RENDERING = "tab_rendering.png";           // bitmap 107, 20 x 20
constexpr const char* TOOLBAR_3D_IMAGES = "toolbar3d.png";                 // bitmap 105, 10 x 16 x 15
constexpr const char* TOOLBAR_INTERACTIVE_IMAGES = "toolbar_interactive.png";  // bitmap 106, 21 x 16 x 15
