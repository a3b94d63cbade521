// Drives the real interactive view as a person would: presses its toolbar
// buttons and clicks its client area with the mouse, at pixels worked out
// from world points.
#pragma once

#include <string>

#include "platform/platform.h"

// The view's whole client area in device pixels.
void client_size(Window view, int* width, int* height);
// The client pixel nearest to a world point, and the world point a pixel
// stands for, at the view's zoom and pan.
void world_to_pixel(Window view, double wx, double wy, int* px, int* py);
void pixel_to_world(Window view, int px, int py, double* wx, double* wy);
// A left click at the pixel nearest to the world point; returns the world
// point of the pixel clicked.
void click_world(Window view, double wx, double wy, double* clicked_x = nullptr, double* clicked_y = nullptr);
// A mouse click on the middle of a toolbar button of the interactive view.
void press(int id);
bool checked(int id);
bool enabled(int id);
std::string interactive_status();
