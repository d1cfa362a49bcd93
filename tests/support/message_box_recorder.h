// Answers the modal message boxes that the code under test shows on this
// thread, recording text, caption, icon and owner of each, in order.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct RecordedBox {
    std::string text;
    std::string caption;
    UINT icon;   // MB_ICONWARNING, MB_ICONERROR, MB_ICONINFORMATION, MB_ICONQUESTION or 0
    HWND owner;
};

class MessageBoxRecorder {
public:
    explicit MessageBoxRecorder(int answer = IDOK);
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    std::vector<RecordedBox> boxes;
    // Called for any other dialog box activated while recording (file dialogs...).
    std::function<void(HWND)> otherDialog;

    std::vector<std::string> Texts() const;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM first, LPARAM second);
    void OnActivate(HWND dialog);

    HHOOK hook_;
    int answer_;
    MessageBoxRecorder* outer_;
};
