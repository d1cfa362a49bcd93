// Playlists of each format as large as the plugin reads (just under 8 MB),
// for the tests that make sure reading stays linear and bounded. Header
// only and platform-free: the native tests and the Windows ones share it.
#pragma once

#include <cstddef>
#include <string>

#include "catalogue/portable/playlist_import.h"

namespace large_playlists {

// What one entry of each format looks like; `n` makes every address new.
inline std::string M3uEntry(size_t n) {
    return "#EXTINF:-1,Station " + std::to_string(n) + "\nhttp://s" + std::to_string(n) + ".example/live\n";
}
inline std::string PlsEntry(size_t n) {
    const std::string k = std::to_string(n + 1);
    return "File" + k + "=http://s" + std::to_string(n) + ".example/live\nTitle" + k + "=Station " + std::to_string(n) +
           "\n";
}
// No <info>: a search for it that ran to the end of the document would show.
inline std::string XspfEntry(size_t n) {
    return "<track><location>http://s" + std::to_string(n) + ".example/live</location><title>Station " +
           std::to_string(n) + "</title></track>\n";
}

// The largest playlist of `format` under the plugin's limit; `entries` tells how many it holds.
inline std::string Largest(ListFormat format, size_t& entries) {
    std::string head, tail;
    std::string (*entry)(size_t) = nullptr;
    switch (format) {
    case ListFormat::Pls:
        head = "[playlist]\n";
        entry = &PlsEntry;
        break;
    case ListFormat::Xspf:
        head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<playlist version=\"1\"><trackList>\n";
        tail = "</trackList></playlist>\n";
        entry = &XspfEntry;
        break;
    default:
        head = "#EXTM3U\n";
        entry = &M3uEntry;
        break;
    }
    std::string text = head;
    text.reserve(kMaxPlaylistBytes);
    for (entries = 0;; ++entries) {
        std::string next = entry(entries);
        if (text.size() + next.size() + tail.size() > kMaxPlaylistBytes - 1) break;
        text += next;
    }
    return text + tail;
}

// The same text as UTF-16 with its byte-order mark, as Windows Notepad
// writes "Unicode" (little-endian) or its big-endian sibling. ASCII and
// Latin-1 characters only, one unit each.
inline std::string Utf16(const std::string& latin1, bool bigEndian) {
    std::string out = bigEndian ? std::string("\xFE\xFF", 2) : std::string("\xFF\xFE", 2);
    for (unsigned char c : latin1) {
        if (bigEndian) out += '\0';
        out += static_cast<char>(c);
        if (!bigEndian) out += '\0';
    }
    return out;
}

}  // namespace large_playlists
