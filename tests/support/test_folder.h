// A fresh folder under the temporary folder for one test, removed with its
// contents afterwards; and small file helpers for the stand-in host's tests.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class TestFolder {
public:
    TestFolder();
    // A fixed name, for a folder shared with a death test's child process.
    explicit TestFolder(const char* name);
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::string& Path() const { return path_; }  // no trailing backslash

private:
    void Create(const char* name);
    std::string path_;
};

// The folder of the running test executable, with a trailing backslash.
std::string ExecutableFolder();

// Lines of a text file, without their line ends; empty when it is missing.
std::vector<std::string> ReadLines(const std::string& path);
// A file's bytes; empty when it is missing.
std::string ReadWholeFile(const std::string& path);
bool FileExists(const std::string& path);
