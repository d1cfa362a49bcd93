// The directory's requests as its API documents them, and the servers a
// user's "annuaire.txt" names.
#include "catalogue/portable/directory_request.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(DirectoryRequest, TheSearchCarriesTheCriteriaTheOrderAndThePage) {
    DirectorySearch search;
    EXPECT_EQ(DirectorySearchPath(search),
              "/json/stations/search?hidebroken=true&order=clickcount&reverse=true&limit=100&offset=0");
    search.name = " Radio \xC3\x89t\xC3\xA9 & Co ";   // UTF-8, as typed and converted
    search.tag = "jazz";
    search.country = "fr";
    search.language = "french";
    search.onlyAnswering = false;
    search.offset = 200;
    EXPECT_EQ(DirectorySearchPath(search),
              "/json/stations/search?name=Radio%20%C3%89t%C3%A9%20%26%20Co&tag=jazz&countrycode=fr&language=french"
              "&hidebroken=false&order=clickcount&reverse=true&limit=100&offset=200");
    search = DirectorySearch();
    search.country = "Royaume-Uni";
    EXPECT_NE(DirectorySearchPath(search).find("?country=Royaume-Uni&"), Text::npos);
    search.country = "F1";   // not two letters: a name
    EXPECT_NE(DirectorySearchPath(search).find("?country=F1&"), Text::npos);
}

TEST(DirectoryRequest, OnlyAUuidMakesAClickRequest) {
    EXPECT_EQ(DirectoryClickPath("96062a7b-0601-11e8-ae97-52543be04c81"),
              "/json/url/96062a7b-0601-11e8-ae97-52543be04c81");
    EXPECT_EQ(DirectoryClickPath(""), "");
    EXPECT_EQ(DirectoryClickPath("../admin"), "");
    EXPECT_EQ(DirectoryClickPath("a?b=c"), "");
}

TEST(DirectoryRequest, TheServersFileTakesWebAddressesOneALine) {
    const char text[] = "# mon miroir\r\nhttp://127.0.0.1:8123/\r\n\r\n  https://mirror.example/api  \n"
                        "ftp://no.example/\nnot an address\nhttp://last.example";
    std::vector<Text> servers = DirectoryServersFromText(text, strlen(text));
    ASSERT_EQ(servers.size(), 3u);
    EXPECT_EQ(servers[0], "http://127.0.0.1:8123");
    EXPECT_EQ(servers[1], "https://mirror.example/api");
    EXPECT_EQ(servers[2], "http://last.example");
    EXPECT_TRUE(DirectoryServersFromText("", 0).empty());
}

}  // namespace
