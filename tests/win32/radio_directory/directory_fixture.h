// The real DLL in the stand-in host, its "Annuaire des radios" dialog
// driven through its controls, against the loopback stand-in for the radio
// directory (tests/servers) that CTest starts for this suite. Requests go
// through the system's own WinINet, as for a user.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "catalogue/portable/stream_record.h"
#include "tests/win32/plugin/plugin_host_fixture.h"

class DirectoryTest : public PluginHostTest {
protected:
    void SetUp() override;
    // Waits for the library to leave the process: a worker still finishing
    // a request keeps it loaded until then.
    void TearDown() override;

    // The stand-in's base address, "http://127.0.0.1:<port>".
    std::string Standin() const { return standin; }
    // Writes annuaire.txt: one server a line.
    void WriteServers(const std::vector<std::string>& servers);

    // Opens the dialog through "Annuaire..." in the preferences.
    HWND OpenDirectory();
    // Fills the criteria, presses "Chercher" and waits for the status line
    // to say how the search ended; false when it never did.
    bool Search(const std::string& name, const std::string& genre = "", const std::string& country = "",
                const std::string& language = "");
    bool WaitWhileStatusIs(const std::string& status, DWORD ms);
    std::string Status() const;
    // The cells of one column, top row first, as the list shows them.
    std::vector<std::string> Column(int column) const;
    void Press(int id) const;
    void SelectRows(const std::vector<int>& rows) const;
    HWND Results() const { return GetDlgItem(directory, 1055); }

    // The records of the panel's list, in the catalogue's memory (the
    // list box answers each row with its record).
    std::vector<const StreamRecord*> PanelRecords() const;
    // What the stand-in printed so far: "port N", then a line a click counted.
    std::string StandinOutput() const;

    HWND directory = nullptr;
    std::string standin;
};

// Under emulation a search takes seconds; a time-out of the plugin's 15 s more.
constexpr DWORD kAnswerWaitMs = 30000;
// Loopback addresses where nothing listens (the discard port).
extern const char kRefusingServer[];
extern const char kSearchingStatus[];
