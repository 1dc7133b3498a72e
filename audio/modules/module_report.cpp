#include "audio/modules/module_report.h"

#include <cstring>

void module_info_text(char (&field)[255], const char* text) {
    size_t length = strnlen(text, sizeof field - 1);
    memcpy(field, text, length);
    field[length] = '\0';
}
