// Web requests on worker threads, for the plugin's dialogs. The interface
// thread hands requests in and hears of each answer by a posted message; it
// never waits on the network. Cancelling never touches a request in flight:
// its answer is dropped when it comes. At quit nothing is waited for either:
// each worker holds a reference on the library, so that the library stays
// loaded until the last one has left it, and none posts anything after Close.
#pragma once

#include <windows.h>

#include <cstddef>
#include <vector>

#include "catalogue/portable/text.h"
#include "host/web_fetch.h"

// What a request is for: a new search cancels the earlier ones, and so on.
enum class WebTopic { DirectorySearch, DirectoryLogo, DirectoryClick };
constexpr int kWebTopicCount = 3;

struct WebRequest {
    WebTopic topic = WebTopic::DirectorySearch;
    HWND notify = nullptr;       // the answer is announced by posting `message` here
    UINT message = 0;
    // Tried in order, each with `path` after it, until one answers below 500.
    std::vector<Text> bases;
    Text path;
    // Finds the bases on the worker when there are none (a name lookup may block).
    std::vector<Text> (*findBases)() = nullptr;
    size_t maxBytes = 0;
    Text tag;                    // the caller's, handed back with the answer
};

struct WebAnswer {
    WebTopic topic = WebTopic::DirectorySearch;
    unsigned generation = 0;
    HWND notify = nullptr;
    UINT message = 0;
    FetchResult fetch;
    Text base;                   // the base that answered
    Text tag;
    WebAnswer* next = nullptr;   // the workers' own list
};

class WebWorkers {
public:
    WebWorkers() = default;
    ~WebWorkers() { Close(); }
    WebWorkers(const WebWorkers&) = delete;
    WebWorkers& operator=(const WebWorkers&) = delete;

    // False when the request could not be taken (after Close, no memory, no thread).
    bool Submit(const WebRequest& request);
    // Requests of this topic made so far are forgotten: queued ones are not
    // sent, answers to the others are dropped.
    void Cancel(WebTopic topic);
    // The next wanted answer for `window`, or null. The caller deletes it.
    WebAnswer* TakeAnswer(HWND window);
    // At quit: everything is forgotten, idle workers leave at once, busy
    // ones when their request ends. Returns at once.
    void Close();

    struct Shared;

private:
    Shared* shared_ = nullptr;
    bool closed_ = false;
};
