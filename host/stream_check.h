// The check of every station of the catalogue: which still answer. One
// thread asks up to kMaxCheckConnections stations at once over its own
// sockets (plain HTTP, ICY and MMS over HTTP; https through WinINet), and
// hands each verdict to the interface by a posted message, keyed by the
// station's address so that no record is ever touched from the thread.
// Stopping, and quitting, never wait: the thread notices within a moment,
// closes its sockets and leaves the library as web workers do.
#pragma once

#include <windows.h>

#include <vector>

#include "catalogue/portable/stream_states.h"
#include "catalogue/portable/text.h"

struct CheckStation {
    Text address;
    bool television = false;
};

struct CheckResult {
    Text address;
    CheckVerdict verdict = CheckVerdict::Unknown;
    Text reason;
    CheckResult* next = nullptr;
};

class StreamCheck {
public:
    StreamCheck() = default;
    ~StreamCheck() { Stop(); }
    StreamCheck(const StreamCheck&) = delete;
    StreamCheck& operator=(const StreamCheck&) = delete;

    // Checks the stations in order, telling `notify` of new results by
    // posting `message`. False when the check could not start.
    bool Start(std::vector<CheckStation>& stations, HWND notify, UINT message);
    // The results come since the last call, in the order they came; the
    // caller deletes them. `ended` tells that the whole check is done.
    CheckResult* TakeResults(bool& ended);
    // Forgets the check; nothing more is posted. Returns at once.
    void Stop();
    bool Running() const { return shared_ != nullptr; }

    struct Shared;

private:
    Shared* shared_ = nullptr;
};
