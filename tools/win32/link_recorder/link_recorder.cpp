// Stands in for the web browser in tests: registered as the program that
// opens http and https addresses, it appends its arguments (its command line
// without the program name) as one line to a log file and exits. The log is
// the file named by ONDARIA_LINK_LOG, or links.log next to this program.
#include <windows.h>

#include <cstring>
#include <string>

namespace {

// The command line after the program name, which may be quoted.
const char* Arguments(const char* line) {
    if (*line == '"') {
        ++line;
        while (*line && *line != '"') ++line;
        if (*line) ++line;
    } else {
        while (*line && *line != ' ' && *line != '\t') ++line;
    }
    while (*line == ' ' || *line == '\t') ++line;
    return line;
}

std::string LogPath() {
    char path[MAX_PATH] = {0};
    DWORD n = GetEnvironmentVariableA("ONDARIA_LINK_LOG", path, sizeof path);
    if (n > 0 && n < sizeof path) return path;
    n = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path, n);
    size_t slash = folder.find_last_of("\\/");
    return (slash == std::string::npos ? std::string() : folder.substr(0, slash + 1)) + "links.log";
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    std::string line = std::string(Arguments(GetCommandLineA())) + "\r\n";
    std::string path = LogPath();
    // Two recorders may start together: wait for the other one's append.
    for (int attempt = 0; attempt < 200; ++attempt) {
        HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            BOOL ok = WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
            CloseHandle(file);
            return ok && written == line.size() ? 0 : 1;
        }
        Sleep(10);
    }
    return 2;
}
