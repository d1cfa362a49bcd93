// The messages a window received, compared with a table of expected ones in
// the manner of Wine's conformance tests: each row names a message and which
// of its arguments must match, and the first difference is reported.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

enum ExpectedMessageFlags : unsigned {
    kAnyArguments = 0,
    kWParam = 1,       // wParam must be equal
    kLParam = 2,       // lParam must be equal
    kOptional = 4,     // may be missing from what was received
    kArguments = kWParam | kLParam,
};

struct ExpectedMessage {
    UINT message;
    unsigned flags;
    WPARAM wParam;
    LPARAM lParam;
};

struct ReceivedMessage {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    LONG style;       // the window's GWL_STYLE when the message arrived
    LONG_PTR note;    // whatever else the recording procedure noted
};

class MessageSequence {
public:
    void Add(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LONG_PTR note = 0);
    void Clear() { received_.clear(); }

    const std::vector<ReceivedMessage>& Received() const { return received_; }
    // The received messages of one kind, in order, and how many there were.
    std::vector<ReceivedMessage> Of(UINT message) const;
    int Count(UINT message) const;

    // The received messages of the kinds the table names, in order, against
    // the table: an optional row may be missing; anything else that differs
    // fails with the first difference.
    ::testing::AssertionResult Matches(const std::vector<ExpectedMessage>& expected) const;

private:
    std::vector<ReceivedMessage> received_;
};
