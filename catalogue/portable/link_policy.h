// Which addresses the plugin hands to the shell and accepts as web addresses.
#pragma once

// True for text beginning with "http://" or "https://" (case-sensitive, as typed).
bool IsWebAddress(const char* text);

// True for a web address that the shell may be given to open: the shell puts
// the address into the command line of the program registered for it, so a
// double quote, a space or a control character would let the text end the
// address's argument there and pass further arguments to that program.
bool IsOpenableAddress(const char* text);

// True when the text contains "http://", "https://" or "mms://" anywhere: a stream address.
bool IsStreamAddress(const char* text);
