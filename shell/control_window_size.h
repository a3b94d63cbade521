// The control window's fixed client area. The window is 300 x 352 pixels
// outside on a desktop whose frame is 1 pixel at the sides and bottom and 39
// pixels at the top (caption and menu bar); restored from the settings it
// is 2 pixels shorter. Here the window system adds its own frame to these
// client sizes.
#pragma once

constexpr int CONTROL_CLIENT_WIDTH = 300 - 2;
constexpr int CONTROL_CLIENT_HEIGHT = 352 - 40;
constexpr int CONTROL_CLIENT_HEIGHT_RESTORED = 350 - 40;

constexpr const char* DEFAULT_SCENE_PATH = "stelo.slo";
