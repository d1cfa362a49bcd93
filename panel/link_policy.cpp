#include "panel/link_policy.h"

#include <cstring>

bool IsWebAddress(const char* text) {
    return text && (strncmp(text, "http://", 7) == 0 || strncmp(text, "https://", 8) == 0);
}

bool IsStreamAddress(const char* text) {
    return text && (strstr(text, "http://") || strstr(text, "https://") || strstr(text, "mms://"));
}
