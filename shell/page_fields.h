// Showing scene parameters in the fields of a parameter page and taking
// them back from what the user typed.
#pragma once

#include "platform/platform.h"

// Characters of a field that Apply reads.
constexpr int FIELD_TEXT_LIMIT = 19;

// Shows a real with "%g", an integer with "%d".
void show_real(Window page, int id, double value);
void show_int(Window page, int id, int value);

// Reads at most FIELD_TEXT_LIMIT characters of the field. An empty field
// leaves the value alone. Otherwise the text is converted as atof and atoi
// do (leading blanks skipped, the longest number at the front, 0 for text
// that does not start with one). A real that is not finite (an overflow
// such as 1e999, or "nan"), or a float that overflows single precision,
// is not stored: the value stays and the field shows it again, since a
// scene holding it could not be saved and opened again. Integers beyond
// the int range are clamped to it. Each returns 1 when the value was stored.
int take_real(Window page, int id, double* value);
int take_float(Window page, int id, float* value);
int take_int(Window page, int id, int* value);
// take_real for a value the simulation thread reads while it runs.
int take_time_step(Window page, int id);
