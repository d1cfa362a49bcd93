#include "catalogue/portable/link_policy.h"

#include <cstring>

bool IsWebAddress(const char* text) {
    return text && (strncmp(text, "http://", 7) == 0 || strncmp(text, "https://", 8) == 0);
}

bool IsOpenableAddress(const char* text) {
    if (!IsWebAddress(text)) return false;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        if (*p <= ' ' || *p == '"' || *p == 0x7F) return false;
    }
    return true;
}

bool IsStreamAddress(const char* text) {
    return text && (strstr(text, "http://") || strstr(text, "https://") || strstr(text, "mms://"));
}
