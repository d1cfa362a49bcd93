// Names the culprit when code of an unloaded plugin runs: a window procedure
// or hook left behind by the plugin is called after FreeLibrary and faults
// at an address inside the module's old image. The process then ends with
// exit code 3 and a message on stderr instead of a bare crash.
#pragma once

#include <windows.h>

#include <string>

namespace standin {

constexpr UINT kUnloadedCodeExitCode = 3;

// Call just before FreeLibrary: remembers the module's image range.
void WatchUnloadedModule(HMODULE module, const std::string& name);

// What the host is doing, for the message ("" for nothing in particular).
void SetUnloadGuardContext(const std::string& text);

}  // namespace standin
