#include "tools/standin_host/host_log.h"

#include <cstdio>

namespace standin {

std::string DescribeLogEntry(const LogEntry& entry) {
    char line[400];
    switch (entry.kind) {
    case LogEntry::Request:
        std::snprintf(line, sizeof line, "request %u (wParam 0x%lX)", entry.number,
                      static_cast<unsigned long>(entry.argument));
        break;
    case LogEntry::CopyData: {
        // The copied bytes up to their NUL, cut for display.
        std::string text(entry.data.c_str());
        if (text.size() > 200) text = text.substr(0, 200) + "...";
        std::snprintf(line, sizeof line, "copy data %u, %lu bytes: %s", entry.number,
                      static_cast<unsigned long>(entry.argument), text.c_str());
        break;
    }
    case LogEntry::Command:
        std::snprintf(line, sizeof line, "command %u (wParam 0x%lX)", entry.number,
                      static_cast<unsigned long>(entry.argument));
        break;
    case LogEntry::Key:
        std::snprintf(line, sizeof line, "key message 0x%X, key %lu", entry.number,
                      static_cast<unsigned long>(entry.argument));
        break;
    default:
        std::snprintf(line, sizeof line, "?");
    }
    return line;
}

}  // namespace standin
