// The settings file "stelo20.ini": client-area places and sizes of the
// three windows, kept between runs.
#pragma once

extern int cw_left, cw_top;
extern int rv_left, rv_top;
extern int iv_left, iv_top;
extern int rv_width, rv_height;
extern int iv_width, iv_height;
extern int geometry_known;

// Reads the file; returns 1 when all ten values were read (geometry_known
// is then set). Moving the control window is the caller's affair.
int read_settings();
// Writes the file when geometry_known is set; returns 1 when written.
int write_settings();
