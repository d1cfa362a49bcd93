#include "host/web_workers.h"

#include <new>

#include "host/library_thread.h"
#include "host/spin_lock.h"

namespace {

// Enough for a slow search, its logos and a click at once.
constexpr int kMaxWorkers = 4;
// An idle worker waits this long for more before it ends.
constexpr DWORD kIdleWorkerMs = 30000;
// A server error is one server's fault: the next base is tried.
constexpr DWORD kFirstServerError = 500;

struct QueuedRequest {
    WebRequest request;
    unsigned generation;
    QueuedRequest* next;
};

}  // namespace

struct WebWorkers::Shared {
    SpinLock lock;
    HANDLE wake = nullptr;       // a semaphore: one release per queued request
    LONG references = 1;         // the WebWorkers object and each worker
    bool closed = false;
    int live = 0;
    int idle = 0;
    unsigned generation[kWebTopicCount] = {};
    // First in, first out.
    QueuedRequest* queue = nullptr;
    QueuedRequest** queueEnd = &queue;
    WebAnswer* answers = nullptr;

    bool Current(WebTopic topic, unsigned stamp) const {
        return !closed && generation[static_cast<int>(topic)] == stamp;
    }
    void Forget() {
        while (queue) {
            QueuedRequest* queued = queue;
            queue = queued->next;
            delete queued;
        }
        queueEnd = &queue;
        while (answers) {
            WebAnswer* answer = answers;
            answers = answer->next;
            delete answer;
        }
    }
    void Release() {
        if (InterlockedDecrement(&references) != 0) return;
        Forget();
        if (wake) CloseHandle(wake);
        delete this;
    }
};

namespace {

using Shared = WebWorkers::Shared;

// The next request still wanted, taken off the queue; null when none. Under the lock.
QueuedRequest* NextRequest(Shared& shared) {
    while (QueuedRequest* queued = shared.queue) {
        shared.queue = queued->next;
        if (shared.queue == nullptr) shared.queueEnd = &shared.queue;
        if (shared.Current(queued->request.topic, queued->generation)) return queued;
        delete queued;
    }
    return nullptr;
}

WebAnswer* Run(QueuedRequest& queued) {
    WebRequest& request = queued.request;
    WebAnswer* answer = new (std::nothrow) WebAnswer;
    if (answer == nullptr) return nullptr;
    answer->topic = request.topic;
    answer->generation = queued.generation;
    answer->notify = request.notify;
    answer->message = request.message;
    answer->tag = request.tag;
    if (request.bases.empty() && request.findBases) request.bases = request.findBases();
    for (const Text& base : request.bases) {
        answer->fetch = FetchAddress((base + request.path).c_str(), request.maxBytes);
        answer->base = base;
        const bool serverFailed = answer->fetch.outcome == FetchOutcome::Unreachable ||
                                  (answer->fetch.outcome == FetchOutcome::Answered &&
                                   answer->fetch.status >= kFirstServerError);
        if (!serverFailed) break;
    }
    return answer;
}

DWORD WINAPI WorkerMain(void* argument) {
    Shared& shared = *static_cast<Shared*>(argument);
    Lock(shared.lock);
    for (;;) {
        QueuedRequest* queued = shared.closed ? nullptr : NextRequest(shared);
        if (queued == nullptr) {
            if (shared.closed) break;
            ++shared.idle;
            Unlock(shared.lock);
            const DWORD waited = WaitForSingleObject(shared.wake, kIdleWorkerMs);
            Lock(shared.lock);
            --shared.idle;
            if (waited != WAIT_OBJECT_0 && shared.queue == nullptr) break;
            continue;
        }
        Unlock(shared.lock);
        WebAnswer* answer = Run(*queued);
        delete queued;
        Lock(shared.lock);
        if (answer && shared.Current(answer->topic, answer->generation) && IsWindow(answer->notify)) {
            answer->next = shared.answers;
            shared.answers = answer;
            PostMessageA(answer->notify, answer->message, 0, 0);
        } else {
            delete answer;
        }
    }
    --shared.live;
    Unlock(shared.lock);
    shared.Release();
    LeaveLibraryThread();
}

}  // namespace

bool WebWorkers::Submit(const WebRequest& request) {
    // A box shown during quit can still let the user ask: nothing starts after Close.
    if (closed_) return false;
    if (shared_ == nullptr) {
        shared_ = new (std::nothrow) Shared;
        if (shared_ == nullptr) return false;
        shared_->wake = CreateSemaphoreA(nullptr, 0, kMaxWorkers, nullptr);
        if (shared_->wake == nullptr) {
            shared_->Release();
            shared_ = nullptr;
            return false;
        }
    }
    Shared& shared = *shared_;
    QueuedRequest* queued = new (std::nothrow) QueuedRequest{request, 0, nullptr};
    if (queued == nullptr) return false;
    Lock(shared.lock);
    queued->generation = shared.generation[static_cast<int>(request.topic)];
    QueuedRequest** end = shared.queueEnd;
    *end = queued;
    shared.queueEnd = &queued->next;
    bool taken = true;
    if (shared.idle > 0) {
        ReleaseSemaphore(shared.wake, 1, nullptr);
    } else if (shared.live < kMaxWorkers) {
        InterlockedIncrement(&shared.references);
        if (StartLibraryThread(&WorkerMain, &shared)) {
            ++shared.live;
        } else {
            InterlockedDecrement(&shared.references);
        }
        // With no worker at all, nobody would ever take it.
        if (shared.live == 0) {
            *end = nullptr;
            shared.queueEnd = end;
            delete queued;
            taken = false;
        }
    }
    Unlock(shared.lock);
    return taken;
}

void WebWorkers::Cancel(WebTopic topic) {
    if (shared_ == nullptr) return;
    Lock(shared_->lock);
    ++shared_->generation[static_cast<int>(topic)];
    Unlock(shared_->lock);
}

WebAnswer* WebWorkers::TakeAnswer(HWND window) {
    if (shared_ == nullptr) return nullptr;
    Shared& shared = *shared_;
    WebAnswer* taken = nullptr;
    Lock(shared.lock);
    for (WebAnswer** at = &shared.answers; *at && taken == nullptr;) {
        WebAnswer* answer = *at;
        if (answer->notify != window) {
            at = &answer->next;
            continue;
        }
        *at = answer->next;
        if (shared.Current(answer->topic, answer->generation)) {
            taken = answer;
        } else {
            delete answer;
        }
    }
    Unlock(shared.lock);
    return taken;
}

void WebWorkers::Close() {
    closed_ = true;
    if (shared_ == nullptr) return;
    Shared& shared = *shared_;
    Lock(shared.lock);
    shared.closed = true;
    shared.Forget();
    if (shared.idle > 0) ReleaseSemaphore(shared.wake, shared.idle, nullptr);
    Unlock(shared.lock);
    shared_ = nullptr;
    shared.Release();
}
