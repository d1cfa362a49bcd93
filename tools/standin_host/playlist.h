// The host's playlist and the windows that show it: a top-level window,
// a container in it, and the playlist editor in the container (so the
// editor's parent has a parent), with a list box showing the entries.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace standin {

class Playlist {
public:
    Playlist() = default;
    ~Playlist();
    Playlist(const Playlist&) = delete;
    Playlist& operator=(const Playlist&) = delete;

    // Creates the windows: `rect` is the top-level window's screen rectangle.
    bool Create(HWND owner, const RECT& rect, bool visible);
    void Destroy();

    void Clear();                          // empties the list, nothing plays
    void Append(const std::string& entry); // the first entry of an empty list becomes current
    void Play();                           // the current entry, if any, plays

    const std::vector<std::string>& Entries() const { return entries_; }
    int CurrentIndex() const { return current_; }
    int PlayingIndex() const { return playing_ ? current_ : -1; }

    HWND TopWindow() const { return top_; }
    HWND Container() const { return container_; }
    HWND Editor() const { return editor_; }
    HWND ListBox() const { return list_; }

private:
    void Refresh();

    std::vector<std::string> entries_;
    int current_ = -1;
    bool playing_ = false;
    HWND top_ = nullptr;
    HWND container_ = nullptr;
    HWND editor_ = nullptr;
    HWND list_ = nullptr;
};

}  // namespace standin
