#include "catalogue/portable/link_policy.h"

#include <gtest/gtest.h>

TEST(LinkPolicy, OnlyPlainAndSecureWebAddressesAreOpened) {
    EXPECT_TRUE(IsOpenableAddress("http://www.radiofrance.fr/fip"));
    EXPECT_TRUE(IsOpenableAddress("https://www.radiofrance.fr/fip?x=1&y=%20"));
    EXPECT_TRUE(IsOpenableAddress("http://exemple.fr/\xE9t\xE9"));   // Windows-1252 letters stay
    const char* refused[] = {
        nullptr,
        "",
        "http:/",
        "HTTP://www.example.org/",
        " http://www.example.org/",
        "file:///C:/windows/system32/calc.exe",
        "C:\\windows\\notepad.exe",
        "\\\\server\\share\\setup.exe",
        "javascript:alert(1)",
        "mms://stream.example.org/live",
        "ftp://ftp.example.org/",
        // These would end the quoted address on the browser's command line.
        "http://www.example.org/\" --user-data-dir=C:\\x",
        "http://www.example.org/ --evil",
        "http://www.example.org/\ttab",
        "http://www.example.org/\r\nline",
        "http://www.example.org/\x7F",
    };
    for (const char* text : refused) {
        EXPECT_FALSE(IsOpenableAddress(text)) << (text ? text : "(null)");
    }
}

TEST(LinkPolicy, WebAndStreamAddressesAreRecognisedByTheirScheme) {
    EXPECT_TRUE(IsWebAddress("https://a"));
    EXPECT_TRUE(IsWebAddress("http://a b"));   // the editor's check looks only at the scheme
    EXPECT_FALSE(IsWebAddress("mms://a"));
    EXPECT_FALSE(IsWebAddress(nullptr));
    EXPECT_TRUE(IsStreamAddress("mms://radio.example/live"));
    EXPECT_TRUE(IsStreamAddress("https://radio.example/live.mp3"));
    EXPECT_TRUE(IsStreamAddress("icy http://radio.example/"));
    EXPECT_FALSE(IsStreamAddress("rtsp://radio.example/"));
    EXPECT_FALSE(IsStreamAddress(nullptr));
}
