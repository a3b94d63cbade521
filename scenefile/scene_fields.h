// The fields of a scene file: words separated by any white space, converted
// as whole words in the C locale. A field converts only when all of it is a
// number of the expected kind and the value is finite and fits its type.
#pragma once

#include <cstddef>
#include <cstdio>

// Longer words are no number or version of this format.
constexpr std::size_t FIELD_CAPACITY = 512;

struct FieldReader {
    std::FILE* file;
    char text[FIELD_CAPACITY];  // the current field, not terminated
    std::size_t length;         // its length (at most FIELD_CAPACITY)
    int too_long;               // 1: the field was longer than text holds
};

// Reads the next field. Returns 0 when the file (or what can be read of it)
// holds no further field. A field longer than FIELD_CAPACITY is marked
// too_long and the file is left in the middle of it: it cannot convert.
int next_field(FieldReader* reader);

// 1 when the current field is exactly word.
int field_is(const FieldReader& reader, const char* word);

// Each reads the next field and converts it ("%d", "%lf", "%f"); 0 when
// there is no field or it does not convert. The caller must be in the C
// locale (enter_c_locale).
int read_int_field(FieldReader* reader, int* out);
int read_double_field(FieldReader* reader, double* out);
int read_float_field(FieldReader* reader, float* out);
