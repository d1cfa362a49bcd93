#include "tests/support/message_sequence.h"

#include <algorithm>
#include <sstream>

namespace {

std::string Describe(UINT message, WPARAM wParam, LPARAM lParam) {
    std::ostringstream out;
    out << "message 0x" << std::hex << message << " (wParam 0x" << wParam << ", lParam 0x" << lParam << ")";
    return out.str();
}

bool Fits(const ExpectedMessage& want, const ReceivedMessage& got) {
    if (want.message != got.message) return false;
    if ((want.flags & kWParam) && want.wParam != got.wParam) return false;
    if ((want.flags & kLParam) && want.lParam != got.lParam) return false;
    return true;
}

}  // namespace

void MessageSequence::Add(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LONG_PTR note) {
    LONG style = window && IsWindow(window) ? GetWindowLongA(window, GWL_STYLE) : 0;
    received_.push_back({window, message, wParam, lParam, style, note});
}

std::vector<ReceivedMessage> MessageSequence::Of(UINT message) const {
    std::vector<ReceivedMessage> found;
    for (const ReceivedMessage& m : received_)
        if (m.message == message) found.push_back(m);
    return found;
}

int MessageSequence::Count(UINT message) const { return static_cast<int>(Of(message).size()); }

::testing::AssertionResult MessageSequence::Matches(const std::vector<ExpectedMessage>& expected) const {
    std::vector<ReceivedMessage> got;
    for (const ReceivedMessage& m : received_) {
        bool named = std::any_of(expected.begin(), expected.end(),
                                 [&](const ExpectedMessage& e) { return e.message == m.message; });
        if (named) got.push_back(m);
    }
    size_t g = 0;
    for (size_t e = 0; e < expected.size(); ++e) {
        const ExpectedMessage& want = expected[e];
        if (g < got.size() && Fits(want, got[g])) {
            ++g;
            continue;
        }
        if (want.flags & kOptional) continue;
        ::testing::AssertionResult failure = ::testing::AssertionFailure();
        failure << "row " << e << ": expected " << Describe(want.message, want.wParam, want.lParam);
        if (g < got.size())
            failure << ", received " << Describe(got[g].message, got[g].wParam, got[g].lParam);
        else
            failure << ", received nothing more";
        return failure;
    }
    if (g < got.size()) {
        return ::testing::AssertionFailure() << "unexpected " << Describe(got[g].message, got[g].wParam, got[g].lParam)
                                             << " after the last row";
    }
    return ::testing::AssertionSuccess();
}
