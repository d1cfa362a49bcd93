#include "ui/framework/modal_loops.h"

namespace {

// Only the interface thread opens them.
int g_openModalLoops = 0;

}  // namespace

ModalLoop::ModalLoop() { ++g_openModalLoops; }

ModalLoop::~ModalLoop() { --g_openModalLoops; }

int ShowPluginMessage(HWND owner, const char* text, const char* caption, UINT type) {
    ModalLoop loop;
    return MessageBoxA(owner, text, caption, type);
}

bool KeepLoadedForOpenModalLoops() {
    if (g_openModalLoops == 0) return false;
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCSTR>(&KeepLoadedForOpenModalLoops), &self);
    return true;
}
