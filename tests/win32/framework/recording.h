// Wrappers that record every handler call with its unpacked arguments, and
// answer with results chosen by the test.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ui/framework/dialog.h"

struct Call {
    std::string name;
    std::vector<intptr_t> args;
};

template <class Base>
class Recording : public Base {
public:
    using Base::Base;

    std::vector<Call> calls;
    std::map<std::string, int> results;  // handler name -> result; absent means 0
    bool baseOnCommand = false;          // let the base class answer WM_COMMAND
    LRESULT notifyStore = 0;             // stored through OnNotify's pointer
    LRESULT notifyFound = -1;            // what the pointer held on entry
    CWnd* commandControl = nullptr;      // the wrapper OnCommand was given
    std::function<void()> initAction;    // run inside OnInitDialog

    size_t Count(const std::string& name) const {
        size_t n = 0;
        for (const Call& c : calls) n += c.name == name;
        return n;
    }
    const Call* Last(const std::string& name) const {
        for (auto it = calls.rbegin(); it != calls.rend(); ++it)
            if (it->name == name) return &*it;
        return nullptr;
    }

    int OnClose() override { return Record("OnClose", {}); }
    int OnCommand(int notifyCode, WPARAM commandArg, CWnd* control) override {
        commandControl = control;
        const intptr_t controlWindow = control ? reinterpret_cast<intptr_t>(control->window) : -1;
        if (baseOnCommand) {
            Record("OnCommand", {notifyCode, static_cast<intptr_t>(commandArg), controlWindow});
            const int result = Base::OnCommand(notifyCode, commandArg, control);
            calls.push_back({"OnCommand result", {result}});
            return result;
        }
        return Record("OnCommand", {notifyCode, static_cast<intptr_t>(commandArg), controlWindow});
    }
    int OnCreate(CREATESTRUCTA* create) override { return Record("OnCreate", {Ptr(create)}); }
    int OnDestroy() override { return Record("OnDestroy", {}); }
    int OnDisplayChange(WPARAM bits, int width, int height) override {
        return Record("OnDisplayChange", {static_cast<intptr_t>(bits), width, height});
    }
    int OnDrawItem(WPARAM id, DRAWITEMSTRUCT* item) override {
        return Record("OnDrawItem", {static_cast<intptr_t>(id), Ptr(item)});
    }
    int OnInitDialog() override {
        windowAtInit = this->window;
        if (initAction) initAction();
        return Record("OnInitDialog", {});
    }
    int OnKeyDown(WPARAM key, int low, int high) override {
        return Record("OnKeyDown", {static_cast<intptr_t>(key), low, high});
    }
    int OnKeyUp(WPARAM key, int low, int high) override {
        return Record("OnKeyUp", {static_cast<intptr_t>(key), low, high});
    }
    int OnMouseMove(WPARAM flags, int x, int y) override {
        return Record("OnMouseMove", {static_cast<intptr_t>(flags), x, y});
    }
    int OnNcMouseMove(WPARAM hit, int x, int y) override {
        return Record("OnNcMouseMove", {static_cast<intptr_t>(hit), x, y});
    }
    int OnNotify(WPARAM id, NMHDR* header, LRESULT* result) override {
        notifyFound = result ? *result : -1;
        if (result) *result = notifyStore;
        return Record("OnNotify", {static_cast<intptr_t>(id), Ptr(header)});
    }
    int OnPaint(WPARAM first) override { return Record("OnPaint", {static_cast<intptr_t>(first)}); }
    int OnShowWindow(WPARAM shown, LPARAM status) override {
        return Record("OnShowWindow", {static_cast<intptr_t>(shown), status});
    }
    int OnSize(WPARAM type, int width, int height) override {
        return Record("OnSize", {static_cast<intptr_t>(type), width, height});
    }
    int OnSysCommand(WPARAM command, LPARAM second, int high) override {
        return Record("OnSysCommand", {static_cast<intptr_t>(command), second, high});
    }
    int OnWindowPosChanged(WINDOWPOS* position) override {
        return Record("OnWindowPosChanged", {Ptr(position)});
    }
    int OnDropFiles(WPARAM drop, LPARAM second) override {
        return Record("OnDropFiles", {static_cast<intptr_t>(drop), second});
    }
    int OnSetFocus(WPARAM first) override { return Record("OnSetFocus", {static_cast<intptr_t>(first)}); }
    LRESULT DefaultProc(UINT message, WPARAM first, LPARAM second) override {
        calls.push_back({"DefaultProc", {static_cast<intptr_t>(message), static_cast<intptr_t>(first), second}});
        return Base::DefaultProc(message, first, second);
    }

    HWND windowAtInit = nullptr;

private:
    static intptr_t Ptr(const void* p) { return reinterpret_cast<intptr_t>(p); }
    int Record(const char* name, std::vector<intptr_t> args) {
        calls.push_back({name, std::move(args)});
        auto it = results.find(name);
        return it == results.end() ? 0 : it->second;
    }
};

using RecordingWnd = Recording<CWnd>;
using RecordingDialog = Recording<CDialog>;
