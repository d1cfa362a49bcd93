// The web banner under the stream list: the system's web-browser control
// hosted in an EDIT child of the panel. Everything here is optional: without
// "atl.dll", its export or the control, the panel simply has no banner.
#include <exdisp.h>
#include <objbase.h>

#include <array>
#include <cstring>

#include "host/plugin.h"

namespace {

// A piece of the banner address is kept with every byte raised by k and
// ends with the byte k, so the address never lies in the binary as text.
template <int K, size_t N>
struct ScrambledPiece {
    std::array<char, N> bytes;
};

template <int K, size_t N>
constexpr ScrambledPiece<K, N> Scramble(const char (&text)[N]) {
    ScrambledPiece<K, N> piece{};
    for (size_t i = 0; i + 1 < N; ++i) piece.bytes[i] = static_cast<char>(text[i] + K);
    piece.bytes[N - 1] = static_cast<char>(K);
    return piece;
}

// The page lives in the library's own resources: it works offline and shows
// nothing from elsewhere.
constexpr auto kPiece1 = Scramble<1>("res:");
constexpr auto kPiece2 = Scramble<2>("//");
constexpr auto kPiece3 = Scramble<3>("gen_");
constexpr auto kPiece4 = Scramble<4>("ondaria");
constexpr auto kPiece5 = Scramble<5>(".dll");
constexpr auto kPiece6 = Scramble<6>("/banner");
constexpr auto kPiece7 = Scramble<7>(".htm");

// Lowers each byte by k, in place, up to and including the one that becomes 0.
template <int K, size_t N>
void Restore(ScrambledPiece<K, N> piece, char* out, size_t outSize) {
    for (size_t i = 0; i < N; ++i) {
        piece.bytes[i] = static_cast<char>(piece.bytes[i] - K);
        if (piece.bytes[i] == 0) break;
    }
    size_t used = strlen(out);
    strncat(out, piece.bytes.data(), outSize - used - 1);
}

using AttachControl = HRESULT(__stdcall*)(IUnknown*, HWND, IUnknown**);

// In this process or a local server, as the control's registration allows.
constexpr DWORD kBrowserContext = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER;

}  // namespace

void BannerAddress(char (&out)[260]) {
    memset(out, 0, sizeof out);
    Restore(kPiece1, out, sizeof out);
    Restore(kPiece2, out, sizeof out);
    Restore(kPiece3, out, sizeof out);
    Restore(kPiece4, out, sizeof out);
    Restore(kPiece5, out, sizeof out);
    Restore(kPiece6, out, sizeof out);
    Restore(kPiece7, out, sizeof out);
}

void CPlugin::StartBanner() {
    atlModule = LoadLibraryA("atl.dll");
    auto attach = atlModule ? reinterpret_cast<AttachControl>(reinterpret_cast<void*>(GetProcAddress(atlModule, "AtlAxAttachControl"))) : nullptr;

    RECT panel = {0, 0, 0, 0};
    ::GetWindowRect(window, &panel);
    browserHost = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, panel.right,
                                  panel.bottom, window, nullptr, instance, nullptr);

    // COM stays initialised on this thread for as long as the browser lives.
    comInitialised = SUCCEEDED(CoInitialize(nullptr));
    void* created = nullptr;
    if (FAILED(CoCreateInstance(CLSID_WebBrowser, nullptr, kBrowserContext, IID_IWebBrowser2, &created))) created = nullptr;
    browser = static_cast<IWebBrowser2*>(created);
    if (browser == nullptr || attach == nullptr || browserHost == nullptr) return;
    if (FAILED(attach(browser, browserHost, nullptr))) return;

    char address[260];
    BannerAddress(address);
    wchar_t wide[260];
    for (int i = 0; i < 260; ++i) wide[i] = static_cast<unsigned char>(address[i]);
    BSTR url = SysAllocString(wide);
    VARIANT empty[4];
    for (VARIANT& v : empty) VariantInit(&v);
    browser->Navigate(url, &empty[0], &empty[1], &empty[2], &empty[3]);
    SysFreeString(url);
    browser->put_RegisterAsDropTarget(VARIANT_FALSE);
    browser->put_RegisterAsBrowser(VARIANT_FALSE);
    browser->put_Silent(VARIANT_TRUE);
    browser->put_TheaterMode(VARIANT_TRUE);
}

void CPlugin::ReleaseBanner() {
    if (browser) browser->Release();
    browser = nullptr;
    if (comInitialised) CoUninitialize();
    comInitialised = false;
}
