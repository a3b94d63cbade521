// Splitting a scene file into fields and converting them.
#include "scenefile/scene_fields.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

// The white space of the C locale.
int is_blank(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// The current field as a terminated string in buffer; 0 when it cannot be a
// number (too long, or holding a zero byte that would end it early).
int field_text(const FieldReader& reader, char (&buffer)[FIELD_CAPACITY + 1]) {
    if (reader.too_long || reader.length == 0) return 0;
    std::memcpy(buffer, reader.text, reader.length);
    buffer[reader.length] = '\0';
    return std::strlen(buffer) == reader.length;
}

}  // namespace

int next_field(FieldReader* reader) {
    reader->length = 0;
    reader->too_long = 0;
    int c = std::getc(reader->file);
    while (c != EOF && is_blank(c)) c = std::getc(reader->file);
    while (c != EOF && !is_blank(c)) {
        if (reader->length == FIELD_CAPACITY) {
            // No field of a scene is that long, so the file is refused here;
            // stopping keeps an endless word (a device, say) from being read forever.
            reader->too_long = 1;
            return 1;
        }
        reader->text[reader->length++] = static_cast<char>(c);
        c = std::getc(reader->file);
    }
    return reader->length > 0;
}

int field_is(const FieldReader& reader, const char* word) {
    return !reader.too_long && reader.length == std::strlen(word) &&
           std::memcmp(reader.text, word, reader.length) == 0;
}

int read_int_field(FieldReader* reader, int* out) {
    char text[FIELD_CAPACITY + 1];
    if (!next_field(reader) || !field_text(*reader, text)) return 0;
    char* end = nullptr;
    errno = 0;
    long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || errno == ERANGE || value < INT_MIN || value > INT_MAX) return 0;
    *out = static_cast<int>(value);
    return 1;
}

int read_double_field(FieldReader* reader, double* out) {
    char text[FIELD_CAPACITY + 1];
    if (!next_field(reader) || !field_text(*reader, text)) return 0;
    char* end = nullptr;
    double value = std::strtod(text, &end);  // underflow to zero or a subnormal is kept
    if (end == text || *end != '\0' || !std::isfinite(value)) return 0;
    *out = value;
    return 1;
}

int read_float_field(FieldReader* reader, float* out) {
    char text[FIELD_CAPACITY + 1];
    if (!next_field(reader) || !field_text(*reader, text)) return 0;
    char* end = nullptr;
    float value = std::strtof(text, &end);
    if (end == text || *end != '\0' || !std::isfinite(value)) return 0;
    *out = value;
    return 1;
}
