// What reached the stand-in host's main window, in order of arrival.
#pragma once

#include <windows.h>

#include <string>

namespace standin {

struct LogEntry {
    enum Kind {
        Request,   // WM_USER: number = request (lParam), argument = wParam
        CopyData,  // WM_COPYDATA: number = dwData, argument = cbData, data = the bytes, sender = wParam
        Command,   // WM_COMMAND at the host's own procedure: number = id, argument = whole wParam, sender = lParam
        Key,       // WM_KEYDOWN/UP, WM_SYSKEYDOWN/UP at the host's own procedure: number = message, argument = key
    };
    Kind kind;
    unsigned number;
    UINT_PTR argument;
    std::string data;
    HWND sender;
};

// One line for the host's window and console, e.g. "request 335 (wParam 0)".
std::string DescribeLogEntry(const LogEntry& entry);

}  // namespace standin
