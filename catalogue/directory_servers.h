// Where the radio directory is asked: the servers of "annuaire.txt" in the
// plugin folder when the user wrote one, else every server the directory
// publishes under its one name, in random order.
#pragma once

#include <vector>

#include "catalogue/portable/text.h"

// The servers of the plugin folder's "annuaire.txt"; none when it is missing or names none.
std::vector<Text> DirectoryServersFromFile(const char* pluginFolder);

// The directory's published servers, found by name (blocking: for a worker).
// Each address under the name is looked up for its own server name, which
// its certificate bears; the name itself when none is found.
std::vector<Text> DirectoryServersFromDns();
