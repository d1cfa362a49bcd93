// Which addresses the plugin hands to the shell and accepts as web addresses.
#pragma once

// True for text beginning with "http://" or "https://" (case-sensitive, as typed).
bool IsWebAddress(const char* text);

// True when the text contains "http://", "https://" or "mms://" anywhere: a stream address.
bool IsStreamAddress(const char* text);
