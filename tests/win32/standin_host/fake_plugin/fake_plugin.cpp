// A tiny general-purpose plugin for the stand-in host's own tests. It appends
// one line per event to "<its own path>.log" (e.g. gen_fake.dll.log):
//   attach / entry / init ... / config / quit / detach
// When "<its own path>.leave" exists, init subclasses the host window and
// never puts its procedure back, as a faulty plugin would.
// Built twice: gen_fake.dll, and gen_noexport.dll without the entry.
#include <windows.h>

#include "host/host_protocol.h"

namespace {

struct Record {
    int version;
    const char* description;
    int (*init)();
    void (*config)();
    void (*quit)();
    HWND hwndParent;
    HINSTANCE hDllInstance;
};

HMODULE self = nullptr;

// Win32 file calls only: the last line is written while the DLL is detached.
void Append(const char* line) {
    char path[MAX_PATH + 8];
    DWORD n = GetModuleFileNameA(self, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return;
    lstrcatA(path, ".log");
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written;
    WriteFile(file, line, lstrlenA(line), &written, nullptr);
    WriteFile(file, "\n", 1, &written, nullptr);
    CloseHandle(file);
}

WNDPROC hostProc = nullptr;

LRESULT CALLBACK LeftBehind(HWND window, UINT message, WPARAM first, LPARAM second) {
    return CallWindowProcA(hostProc, window, message, first, second);
}

bool MarkerExists(const char* suffix) {
    char path[MAX_PATH + 8];
    DWORD n = GetModuleFileNameA(self, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return false;
    lstrcatA(path, suffix);
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

int Init();
void Config();
void Quit();

Record record = {16, "Fake plugin (gen_fake.dll)", Init, Config, Quit, nullptr, nullptr};

unsigned long Hex(const void* handle) { return static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(handle)); }

int Init() {
    char line[600];
    LRESULT version = SendMessageA(record.hwndParent, kHostRequestMessage, 0, kHostRequestVersion);
    const char* settings = reinterpret_cast<const char*>(SendMessageA(record.hwndParent, kHostRequestMessage, 0, kHostRequestSettingsFolder));
    wsprintfA(line, "init parent=%08lX instance=%08lX self=%08lX version=%lX settings=%s",
              Hex(record.hwndParent), Hex(record.hDllInstance),
              Hex(self), static_cast<unsigned long>(version), settings ? settings : "(none)");
    Append(line);
    if (MarkerExists(".leave"))
        hostProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(record.hwndParent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LeftBehind)));
    return 0;
}

void Config() { Append("config"); }

void Quit() { Append("quit"); }

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        self = instance;
        Append("attach");
    } else if (reason == DLL_PROCESS_DETACH) {
        Append("detach");
    }
    return TRUE;
}

#ifndef FAKE_PLUGIN_NO_ENTRY
extern "C" __declspec(dllexport) Record* winampGetGeneralPurposePlugin() {
    Append("entry");
    return &record;
}
#endif
