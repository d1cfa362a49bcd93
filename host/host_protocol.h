// What a general-purpose plugin and its host say to each other: the requests
// the plugin sends to the host's main window, their fixed arguments, and the
// block the host reads the embedded frame's first rectangle from. Shared by
// the plugin and the stand-in host; no Windows header, so both can use it.
#pragma once

// Requests are WM_USER messages to the host's main window with the request's
// number as the second argument.
constexpr unsigned kHostRequestMessage = 0x0400;   // WM_USER

enum HostRequest : unsigned {
    kHostRequestVersion = 0,            // the host's version
    kHostRequestEmptyPlaylist = 101,    // the playlist is emptied
    kHostRequestStartPlayback = 102,    // playback starts
    kHostRequestWindow = 260,           // first argument 1: the playlist editor window
    kHostRequestMainMenu = 281,         // the main window's menu bar
    kHostRequestSettingsFolder = 335,   // pointer to the settings folder, without a closing backslash
    kHostRequestSkinBitmap = 503,       // a new bitmap of the current skin, the caller's to delete
    kHostRequestEmbeddedFrame = 505,    // first argument: the frame state block; a new hidden frame
};

// First argument of kHostRequestWindow that names the playlist editor.
constexpr unsigned kHostWindowPlaylistEditor = 1;

// WM_COPYDATA kind that adds the NUL-terminated address in the data to the playlist.
constexpr unsigned long kCopyDataAddToPlaylist = 100;

// The oldest host version whose requests all behave as the plugin relies on.
constexpr int kMinimumHostVersion = 0x2090;

// The block handed with kHostRequestEmbeddedFrame. The host keeps it while
// the frame lives; four 32-bit values (left, top, right, bottom) at the
// offset give the frame's first screen rectangle.
constexpr int kFrameStateSize = 284;
constexpr int kFrameStateRectOffset = 8;

// The host menu item that plugins insert their own entries next to, and the
// command the plugin's entry sends to the host's main window.
constexpr unsigned kHostMenuAnchor = 40258;
constexpr unsigned kPluginMenuCommand = 103;
