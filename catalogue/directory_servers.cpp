#include "catalogue/directory_servers.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstdio>

#include "catalogue/portable/directory_request.h"

namespace {

const char kDirectoryName[] = "all.api.radio-browser.info";
const char kDirectoryPort[] = "443";
const char kServersFile[] = "annuaire.txt";
// A list of servers is a few lines: anything longer is not one.
constexpr long kMaxServersFileBytes = 16384;

void Shuffle(std::vector<Text>& servers) {
    // Spreading users over the servers needs no more than this.
    unsigned state = GetTickCount() ^ (GetCurrentThreadId() << 16);
    for (size_t k = servers.size(); k > 1; --k) {
        state = state * 1103515245u + 12345u;
        const size_t other = (state >> 16) % k;
        if (other == k - 1) continue;
        Text kept = static_cast<Text&&>(servers[k - 1]);
        servers[k - 1] = static_cast<Text&&>(servers[other]);
        servers[other] = static_cast<Text&&>(kept);
    }
}

}  // namespace

std::vector<Text> DirectoryServersFromFile(const char* pluginFolder) {
    std::vector<Text> servers;
    if (pluginFolder == nullptr) return servers;
    FILE* file = fopen((Text(pluginFolder) + kServersFile).c_str(), "rb");
    if (file == nullptr) return servers;
    char bytes[kMaxServersFileBytes];
    const size_t got = fread(bytes, 1, sizeof bytes, file);
    fclose(file);
    return DirectoryServersFromText(bytes, got);
}

std::vector<Text> DirectoryServersFromDns() {
    std::vector<Text> servers;
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return servers;
    addrinfo hints;
    ZeroMemory(&hints, sizeof hints);
    // One address a server: its IPv4 one.
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(kDirectoryName, kDirectoryPort, &hints, &found) == 0) {
        for (addrinfo* at = found; at; at = at->ai_next) {
            char name[NI_MAXHOST];
            if (getnameinfo(at->ai_addr, static_cast<socklen_t>(at->ai_addrlen), name, sizeof name, nullptr, 0,
                            NI_NAMEREQD) != 0)
                continue;
            servers.push_back(Text("https://") + name);
        }
        freeaddrinfo(found);
    }
    WSACleanup();
    Shuffle(servers);
    if (servers.empty()) servers.push_back(Text("https://") + kDirectoryName);
    return servers;
}
