// Winsock's header comes before the one that windows.h would pull in.
#include <winsock2.h>
#include <ws2tcpip.h>

#include "host/stream_check.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "catalogue/portable/stream_answer.h"
#include "host/library_thread.h"
#include "host/spin_lock.h"
#include "host/web_fetch.h"

namespace {

constexpr int kMaxCheckConnections = 8;
constexpr int kMaxConnectionsPerServer = 2;
constexpr DWORD kConnectTimeoutMs = 8000;
constexpr DWORD kStationTimeoutMs = 15000;
constexpr int kMaxHops = 5;
// How often the thread looks up from its sockets: for a stop, and for time-outs.
constexpr long kSliceMicroseconds = 100000;
// Stations further on are taken while the next ones wait for their server.
constexpr size_t kLookAhead = 64;
// The head of an answer, and then at most a playlist's worth of its body.
constexpr size_t kMaxAnswerBytes = kMaxPlaylistBytesRead + 4096;
constexpr size_t kReadChunk = 4096;

// What the Windows Media player sends, and the MMS-over-HTTP form expects.
const char kMmsRequestHeaders[] =
    "User-Agent: NSPlayer/7.10.0.3059\r\n"
    "Pragma: no-cache,rate=1.000000,stream-time=0,stream-offset=0:0,request-context=1,max-duration=0\r\n"
    "Pragma: xClientGUID={3300AD50-2C39-46c0-AE0A-60B0F9D1B5C5}\r\n";

struct Pending {
    Text address;
    int hops;
};

struct Probe {
    int station = -1;   // -1: free
    SOCKET socket = INVALID_SOCKET;
    bool connected = false;
    bool mms = false;        // `address` is asked in its MMS-over-HTTP form
    bool checkable = true;   // false once an address was met that could not be asked as such
    CheckVerdict verdict = CheckVerdict::Silent;
    DWORD started = 0;
    DWORD connectStarted = 0;
    int hops = 0;
    Text address;
    Text server;   // host and port of `address`
    Text answer;
    Text reason;
    std::vector<Pending> pending;
};

// The parts of an address that a request needs.
struct AddressParts {
    Text scheme;   // lower case
    Text server;   // host[:port]
    Text host;
    Text port;
    Text path;     // from the first '/', '?' or '#', at least "/"
};

AddressParts Split(const Text& address) {
    AddressParts parts;
    const size_t colon = address.find("://");
    if (colon == Text::npos) return parts;
    parts.scheme = address.substr(0, colon);
    for (char& c : parts.scheme) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
    size_t serverEnd = address.find_first_of("/?#", colon + 3);
    if (serverEnd == Text::npos) serverEnd = address.size();
    parts.server = address.substr(colon + 3, serverEnd - colon - 3);
    const size_t at = parts.server.find('@');
    const Text hostPort = at == Text::npos ? parts.server : parts.server.substr(at + 1);
    const size_t closing = hostPort.find(']');
    const size_t portColon = hostPort.find(':', closing == Text::npos ? 0 : closing);
    parts.host = hostPort.substr(0, portColon);
    if (parts.host.StartsWith("[") && closing != Text::npos) parts.host = hostPort.substr(1, closing - 1);
    parts.port = portColon == Text::npos ? Text(parts.scheme == "https" ? "443" : "80") : hostPort.substr(portColon + 1);
    parts.path = serverEnd < address.size() && address[serverEnd] == '/' ? address.substr(serverEnd)
                                                                         : "/" + address.substr(serverEnd);
    const size_t fragment = parts.path.find('#');
    if (fragment != Text::npos) parts.path.resize(fragment);
    return parts;
}

// A redirect's target or a playlist's entry, read against the address that gave it.
Text Resolve(const Text& base, const Text& target) {
    if (target.find("://") != Text::npos) return target;
    const AddressParts parts = Split(base);
    const Text root = parts.scheme + "://";
    if (target.StartsWith("//")) return parts.scheme + ":" + target;
    if (target.StartsWith("/")) return root + parts.server + target;
    Text folder = parts.path.substr(0, parts.path.find_first_of("?"));
    size_t slash = 0;
    for (size_t k = 0; k < folder.size(); ++k) {
        if (folder[k] == '/') slash = k;
    }
    return root + parts.server + folder.substr(0, slash + 1) + target;
}

bool MmsAlive(const AnswerHead& head, const char* body, size_t size) {
    return head.status / 100 == 2 &&
           (head.contentType == "application/x-mms-framed" || head.contentType == "application/vnd.ms.wms-hdr.asfv1" ||
            (size >= 2 && body[0] == '$' && body[1] == 'H'));
}

StreamJudgement Failure(const char* reason) {
    StreamJudgement judgement;
    judgement.reason = reason;
    return judgement;
}

// The answer judged so far; `whole` once the server closed it or it is as
// long as is read. Incomplete while more is needed.
bool JudgeBytes(const Probe& probe, bool television, bool whole, StreamJudgement& judgement) {
    AnswerHead head;
    const HeadReading reading = ReadAnswerHead(probe.answer.c_str(), probe.answer.size(), head);
    if (reading != HeadReading::Complete) {
        if (reading == HeadReading::Incomplete && !whole) return false;
        judgement = Failure("refusé");
        return true;
    }
    const char* body = probe.answer.c_str() + head.bodyStart;
    const size_t size = probe.answer.size() - head.bodyStart;
    if (probe.mms) {
        judgement = Failure("");
        if (MmsAlive(head, body, size)) judgement.verdict = StreamVerdict::Alive;
        return true;
    }
    judgement = JudgeAnswer(head, body, size, television, probe.address);
    return judgement.verdict != StreamVerdict::Playlist || whole;
}

}  // namespace

struct StreamCheck::Shared {
    SpinLock lock;
    LONG references = 2;   // the StreamCheck object and the thread
    volatile LONG stopped = 0;
    bool ended = false;
    HWND notify = nullptr;
    UINT message = 0;
    std::vector<CheckStation> stations;
    CheckResult* results = nullptr;
    CheckResult** resultsEnd = &results;

    void Forget() {
        while (results) {
            CheckResult* result = results;
            results = result->next;
            delete result;
        }
        resultsEnd = &results;
    }
    void Release() {
        if (InterlockedDecrement(&references) != 0) return;
        Forget();
        delete this;
    }
    // Under the lock: nothing is told once the check is forgotten.
    void Tell(CheckResult* result) {
        if (stopped) {
            delete result;
            return;
        }
        if (result) {
            *resultsEnd = result;
            resultsEnd = &result->next;
        }
        PostMessageA(notify, message, 0, 0);
    }
};

namespace {

using Shared = StreamCheck::Shared;

class Checker {
public:
    explicit Checker(Shared& shared) : shared_(shared) {}
    void Run();

private:
    bool Connect(Probe& probe, StreamJudgement& judgement);
    bool Settle(Probe& probe, const StreamJudgement& judgement);
    bool Begin(Probe& probe);
    void Finish(Probe& probe);
    void Close(Probe& probe);
    void Served(Probe& probe, fd_set& readable, fd_set& writable, fd_set& failed, DWORD now);
    int Serving(const Text& server) const;
    void Fill();
    const CheckStation& StationOf(const Probe& probe) const {
        return shared_.stations[static_cast<size_t>(probe.station)];
    }

    Shared& shared_;
    Probe probes_[kMaxCheckConnections];
    Text taken_;   // a non-zero byte for each station begun
    size_t next_ = 0;
};

void Checker::Close(Probe& probe) {
    if (probe.socket != INVALID_SOCKET) closesocket(probe.socket);
    probe.socket = INVALID_SOCKET;
}

// True with a connection in flight; false with `judgement` made at once.
bool Checker::Connect(Probe& probe, StreamJudgement& judgement) {
    const AddressParts parts = Split(probe.address);
    const bool mms = parts.scheme == "mms";
    probe.mms = mms;
    if (parts.scheme == "https") {
        // The system's TLS; it follows redirects itself.
        Text head;
        FetchResult fetched = FetchAddress(probe.address.c_str(), kMaxPlaylistBytesRead, &head);
        if (fetched.outcome != FetchOutcome::Answered) {
            judgement = Failure("refusé");
            return false;
        }
        probe.answer = head + fetched.body;
        JudgeBytes(probe, StationOf(probe).television, true, judgement);
        return false;
    }
    // What cannot be asked as such (rtsp, ...) or only in another form (mms)
    // never makes a station silent: at worst it could not be checked.
    if (mms || !(parts.scheme == "http")) probe.checkable = false;
    if (!(parts.scheme == "http") && !mms) {
        judgement = Failure("");
        return false;
    }
    probe.server = parts.server;
    // A numeric address needs no look-up (and no resolver loaded).
    sockaddr_in numeric;
    ZeroMemory(&numeric, sizeof numeric);
    numeric.sin_family = AF_INET;
    numeric.sin_port = htons(static_cast<u_short>(atoi(parts.port.c_str())));
    numeric.sin_addr.s_addr = inet_addr(parts.host.c_str());
    const sockaddr* target = reinterpret_cast<const sockaddr*>(&numeric);
    int targetSize = sizeof numeric;
    addrinfo* found = nullptr;
    if (numeric.sin_addr.s_addr == INADDR_NONE) {
        addrinfo hints;
        ZeroMemory(&hints, sizeof hints);
        hints.ai_family = AF_UNSPEC;
        hints.ai_socktype = SOCK_STREAM;
        if (getaddrinfo(parts.host.c_str(), parts.port.c_str(), &hints, &found) != 0 || found == nullptr) {
            judgement = Failure("introuvable");
            return false;
        }
        target = found->ai_addr;
        targetSize = static_cast<int>(found->ai_addrlen);
    }
    probe.socket = socket(target->sa_family, SOCK_STREAM, IPPROTO_TCP);
    u_long nonBlocking = 1;
    const bool started = probe.socket != INVALID_SOCKET && ioctlsocket(probe.socket, FIONBIO, &nonBlocking) == 0 &&
                         (connect(probe.socket, target, targetSize) == 0 || WSAGetLastError() == WSAEWOULDBLOCK);
    if (found) freeaddrinfo(found);
    if (!started) {
        Close(probe);
        judgement = Failure("refusé");
        return false;
    }
    probe.connected = false;
    probe.connectStarted = GetTickCount();
    return true;
}

// Takes a judgement of the address asked; true once the station is found alive.
bool Checker::Settle(Probe& probe, const StreamJudgement& judgement) {
    Close(probe);
    if (judgement.verdict == StreamVerdict::Alive) {
        probe.verdict = CheckVerdict::Alive;
        return true;
    }
    const bool onward = judgement.verdict == StreamVerdict::Redirect || judgement.verdict == StreamVerdict::Playlist;
    if (onward && probe.hops >= kMaxHops) {
        probe.reason = "trop de redirections";
    } else if (judgement.verdict == StreamVerdict::Redirect) {
        probe.pending.insert(probe.pending.begin(), Pending{Resolve(probe.address, judgement.next), probe.hops + 1});
    } else if (judgement.verdict == StreamVerdict::Playlist) {
        // Checked in order, before what was left to try.
        std::vector<Pending> entries;
        for (const Text& entry : judgement.entries) entries.push_back(Pending{Resolve(probe.address, entry), probe.hops + 1});
        probe.pending.insert(probe.pending.begin(), entries.begin(), entries.end());
    } else {
        probe.reason = judgement.reason;
    }
    return false;
}

// Asks the next address left; false when the station has its verdict.
bool Checker::Begin(Probe& probe) {
    while (!probe.pending.empty()) {
        probe.address = probe.pending.front().address;
        probe.hops = probe.pending.front().hops;
        probe.pending.erase(probe.pending.begin());
        probe.answer.clear();
        StreamJudgement judgement;
        if (Connect(probe, judgement)) return true;
        if (Settle(probe, judgement)) return false;
    }
    return false;
}

void Checker::Finish(Probe& probe) {
    Close(probe);
    CheckResult* result = new (std::nothrow) CheckResult;
    if (result) {
        result->address = StationOf(probe).address;
        result->verdict = probe.verdict;
        if (probe.verdict != CheckVerdict::Alive && !probe.checkable) result->verdict = CheckVerdict::Unverifiable;
        else if (probe.verdict != CheckVerdict::Alive) result->reason = probe.reason;
    }
    Lock(shared_.lock);
    shared_.Tell(result);
    Unlock(shared_.lock);
    probe.station = -1;
    probe.pending.clear();
}

int Checker::Serving(const Text& server) const {
    int count = 0;
    for (const Probe& probe : probes_) count += probe.station >= 0 && probe.socket != INVALID_SOCKET && probe.server == server;
    return count;
}

void Checker::Fill() {
    const size_t count = shared_.stations.size();
    for (Probe& probe : probes_) {
        if (probe.station >= 0) continue;
        while (next_ < count && taken_[next_]) ++next_;
        for (size_t at = next_; at < count && at < next_ + kLookAhead && probe.station < 0; ++at) {
            const Text& address = shared_.stations[at].address;
            if (taken_[at] || Serving(Split(address).server) >= kMaxConnectionsPerServer) continue;
            taken_[at] = 1;
            probe.station = static_cast<int>(at);
            probe.checkable = true;
            probe.verdict = CheckVerdict::Silent;
            probe.reason = "refusé";
            probe.started = GetTickCount();
            probe.pending.push_back(Pending{address, 0});
            if (!Begin(probe)) Finish(probe);
        }
    }
}

void Checker::Served(Probe& probe, fd_set& readable, fd_set& writable, fd_set& failed, DWORD now) {
    StreamJudgement judgement;
    bool judged = false;
    if (!probe.connected) {
        if (FD_ISSET(probe.socket, &failed)) {
            judgement = Failure("refusé");
            judged = true;
        } else if (FD_ISSET(probe.socket, &writable)) {
            probe.connected = true;
            const AddressParts parts = Split(probe.address);
            Text request = "GET " + parts.path + " HTTP/1.0\r\nHost: " + parts.server + "\r\n";
            request += probe.mms ? Text(kMmsRequestHeaders) : "User-Agent: " + WebUserAgent() + "\r\n";
            request += "Accept: */*\r\nIcy-MetaData: 0\r\nConnection: close\r\n\r\n";
            if (send(probe.socket, request.c_str(), static_cast<int>(request.size()), 0) != static_cast<int>(request.size())) {
                judgement = Failure("refusé");
                judged = true;
            }
        } else if (now - probe.connectStarted > kConnectTimeoutMs) {
            judgement = Failure("délai dépassé");
            judged = true;
        }
    } else if (FD_ISSET(probe.socket, &readable)) {
        char chunk[kReadChunk];
        const int got = recv(probe.socket, chunk, sizeof chunk, 0);
        if (got > 0) probe.answer.append(chunk, static_cast<size_t>(got));
        // Closed, failed, or as much as is read; a read that would block is none of these.
        const bool whole = (got == 0 || (got < 0 && WSAGetLastError() != WSAEWOULDBLOCK)) ||
                           probe.answer.size() >= kMaxAnswerBytes;
        judged = JudgeBytes(probe, StationOf(probe).television, whole, judgement);
    }
    if (judged && (Settle(probe, judgement) || !Begin(probe))) {
        Finish(probe);
    } else if (now - probe.started > kStationTimeoutMs) {
        probe.reason = "délai dépassé";
        Finish(probe);
    }
}

void Checker::Run() {
    taken_.resize(shared_.stations.size());
    for (;;) {
        if (shared_.stopped) break;
        Fill();
        fd_set readable, writable, failed;
        FD_ZERO(&readable);
        FD_ZERO(&writable);
        FD_ZERO(&failed);
        int asking = 0;
        for (Probe& probe : probes_) {
            if (probe.station < 0) continue;
            ++asking;
            FD_SET(probe.socket, probe.connected ? &readable : &writable);
            if (!probe.connected) FD_SET(probe.socket, &failed);
        }
        if (asking == 0) break;
        timeval slice = {0, kSliceMicroseconds};
        if (select(0, &readable, &writable, &failed, &slice) < 0) Sleep(kSliceMicroseconds / 1000);
        const DWORD now = GetTickCount();
        for (Probe& probe : probes_) {
            if (probe.station >= 0) Served(probe, readable, writable, failed, now);
        }
    }
    for (Probe& probe : probes_) Close(probe);
}

// Winsock was started for it by Start, and is ended here.
DWORD WINAPI CheckMain(void* argument) {
    Shared& shared = *static_cast<Shared*>(argument);
    {
        Checker checker(shared);
        checker.Run();
    }
    WSACleanup();
    Lock(shared.lock);
    shared.ended = true;
    shared.Tell(nullptr);
    Unlock(shared.lock);
    shared.Release();
    LeaveLibraryThread();
}

}  // namespace

bool StreamCheck::Start(std::vector<CheckStation>& stations, HWND notify, UINT message) {
    Stop();
    Shared* shared = new (std::nothrow) Shared;
    if (shared == nullptr) return false;
    shared->notify = notify;
    shared->message = message;
    shared->stations.swap(stations);
    // Winsock starts here, on the interface thread, its first socket too:
    // whatever the system loads for them is loaded before the thread runs.
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) {
        delete shared;
        return false;
    }
    closesocket(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    if (!StartLibraryThread(&CheckMain, shared)) {
        WSACleanup();
        shared->stations.swap(stations);
        delete shared;
        return false;
    }
    shared_ = shared;
    return true;
}

CheckResult* StreamCheck::TakeResults(bool& ended) {
    ended = false;
    if (shared_ == nullptr) return nullptr;
    Lock(shared_->lock);
    CheckResult* results = shared_->results;
    shared_->results = nullptr;
    shared_->resultsEnd = &shared_->results;
    ended = shared_->ended;
    Unlock(shared_->lock);
    if (ended) {
        shared_->Release();
        shared_ = nullptr;
    }
    return results;
}

void StreamCheck::Stop() {
    if (shared_ == nullptr) return;
    Lock(shared_->lock);
    shared_->stopped = 1;
    shared_->Forget();
    Unlock(shared_->lock);
    shared_->Release();
    shared_ = nullptr;
}
