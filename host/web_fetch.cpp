#include "host/web_fetch.h"

#include <wininet.h>

#include "host/plugin.h"

namespace {

constexpr DWORD kConnectTimeoutMs = 10000;
constexpr DWORD kAnswerTimeoutMs = 15000;
// A server that trickles its answer is given up on after this, whole.
constexpr DWORD kWholeRequestMs = kConnectTimeoutMs + kAnswerTimeoutMs;
constexpr DWORD kReadChunk = 16384;

// Closes a WinINet handle on every way out.
struct InternetHandle {
    HINTERNET handle;
    explicit InternetHandle(HINTERNET h) : handle(h) {}
    ~InternetHandle() {
        if (handle) InternetCloseHandle(handle);
    }
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;
};

void SetTimeouts(HINTERNET handle) {
    DWORD connect = kConnectTimeoutMs, answer = kAnswerTimeoutMs;
    InternetSetOptionA(handle, INTERNET_OPTION_CONNECT_TIMEOUT, &connect, sizeof connect);
    InternetSetOptionA(handle, INTERNET_OPTION_SEND_TIMEOUT, &answer, sizeof answer);
    InternetSetOptionA(handle, INTERNET_OPTION_RECEIVE_TIMEOUT, &answer, sizeof answer);
}

}  // namespace

Text WebUserAgent() { return Text("Ondaria/") + kVersionText + " (gen_ondaria.dll, plugin Winamp)"; }

FetchResult FetchAddress(const char* address, size_t maxBytes, Text* head) {
    FetchResult result;
    const DWORD started = GetTickCount();
    char host[INTERNET_MAX_HOST_NAME_LENGTH];
    char path[INTERNET_MAX_PATH_LENGTH];
    char query[INTERNET_MAX_PATH_LENGTH];
    URL_COMPONENTSA parts;
    ZeroMemory(&parts, sizeof parts);
    parts.dwStructSize = sizeof parts;
    parts.lpszHostName = host;
    parts.dwHostNameLength = sizeof host;
    parts.lpszUrlPath = path;
    parts.dwUrlPathLength = sizeof path;
    parts.lpszExtraInfo = query;
    parts.dwExtraInfoLength = sizeof query;
    if (!InternetCrackUrlA(address, 0, 0, &parts)) return result;
    const bool secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
    if (!secure && parts.nScheme != INTERNET_SCHEME_HTTP) return result;
    const Text object = Text(path[0] ? path : "/") + query;

    // The system's proxy settings, as the user gave them.
    InternetHandle session(InternetOpenA(WebUserAgent().c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session.handle) return result;
    SetTimeouts(session.handle);
    InternetHandle server(
        InternetConnectA(session.handle, host, parts.nPort, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    if (!server.handle) return result;
    SetTimeouts(server.handle);
    const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                        INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_AUTH |
                        (secure ? INTERNET_FLAG_SECURE : 0);
    InternetHandle request(HttpOpenRequestA(server.handle, "GET", object.c_str(), nullptr, nullptr, nullptr, flags, 0));
    if (!request.handle) return result;
    // Every level, as not every WinINet passes them down.
    SetTimeouts(request.handle);
    if (!HttpSendRequestA(request.handle, nullptr, 0, nullptr, 0)) return result;

    DWORD status = 0;
    DWORD size = sizeof status;
    if (!HttpQueryInfoA(request.handle, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr)) {
        return result;
    }
    // A length announced beyond the limit is refused before reading it.
    DWORD announced = 0;
    size = sizeof announced;
    if (!head &&
        HttpQueryInfoA(request.handle, HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &announced, &size, nullptr) &&
        announced > maxBytes) {
        result.outcome = FetchOutcome::TooLarge;
        return result;
    }
    Text body;
    char chunk[kReadChunk];
    for (;;) {
        DWORD got = 0;
        if (!InternetReadFile(request.handle, chunk, sizeof chunk, &got)) return result;
        if (got == 0) break;
        const bool more = body.size() + got > maxBytes;
        if (more && !head) {
            result.outcome = FetchOutcome::TooLarge;
            return result;
        }
        if (more) got = static_cast<DWORD>(maxBytes - body.size());
        if (!body.TryReserve(body.size() + got)) return result;
        body.append(chunk, got);
        if (more) break;
    }
    if (head) {
        DWORD length = kReadChunk;
        if (!HttpQueryInfoA(request.handle, HTTP_QUERY_RAW_HEADERS_CRLF, chunk, &length, nullptr)) return result;
        *head = Text(chunk, length);
    }
    // An answer that came, but later than the time-outs allow, is no answer.
    if (GetTickCount() - started > kWholeRequestMs) return result;
    result.outcome = FetchOutcome::Answered;
    result.status = status;
    result.body = static_cast<Text&&>(body);
    return result;
}
