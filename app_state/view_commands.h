// Command ids the two views answer alike (Stop, Run and Space are sent from
// one view to the other, and from the shell to both), and the 3D view's
// toolbar commands the shell sends.
#pragma once

constexpr int CMD_STOP = 40002;
constexpr int CMD_RUN = 40003;
constexpr int CMD_SHOW_CM = 40004;
constexpr int CMD_DECREASE_TIMESTEP = 40038;
constexpr int CMD_INCREASE_TIMESTEP = 40039;
constexpr int CMD_SHOW_TOOLBAR = 1402;
constexpr int CMD_SHOW_STATUSBAR = 1403;
// The Space key: Stop when running, Run when stopped.
constexpr int CMD_TOGGLE_RUN = 40102;
