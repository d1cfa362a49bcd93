// gen_ondaria.ini as the plugin reads it. Properties: whatever the file, the
// values read are within their buffers; written back and read again, they
// come out the same (the list name as the normaliser keeps it).
#include <cstring>

#include "catalogue/portable/list_file_format.h"
#include "panel/portable/settings_file.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    InputFile input(data, size, ".ini");
    SettingsRead first;
    FUZZ_CHECK(ReadSettingsFile(input.Path().c_str(), first));
    FUZZ_CHECK(memchr(first.listName, 0, sizeof first.listName) != nullptr);

    char name[kListNameSize];
    NormaliseListName(first.listName, name);
    SettingsToWrite values;
    values.version = "2b";
    values.visible = first.visible;
    values.top = first.top;
    values.left = first.left;
    values.bottom = first.bottom;
    values.right = first.right;
    values.listName = name;
    values.playAtOnce = first.checkPlayAtOnce;
    values.enqueue = first.checkEnqueue;
    values.redIcons = first.checkRedIcons;
    values.openWeb = first.checkOpenWeb;

    InputFile written(nullptr, 0, ".written.ini");
    FUZZ_CHECK(WriteSettingsFile(written.Path().c_str(), values));
    SettingsRead second;
    FUZZ_CHECK(ReadSettingsFile(written.Path().c_str(), second));
    FUZZ_CHECK(second.hasVisible && second.visible == values.visible);
    FUZZ_CHECK(second.top == values.top && second.left == values.left);
    FUZZ_CHECK(second.bottom == values.bottom && second.right == values.right);
    FUZZ_CHECK(second.hasListName);
    char nameAgain[kListNameSize];
    NormaliseListName(second.listName, nameAgain);
    FUZZ_CHECK(strcmp(nameAgain, name) == 0 || (name[0] == 0 && strcmp(nameAgain, "") == 0));
    FUZZ_CHECK(second.checkPlayAtOnce == (values.playAtOnce != 0));
    FUZZ_CHECK(second.checkEnqueue == (values.enqueue != 0));
    FUZZ_CHECK(second.checkRedIcons == (values.redIcons != 0));
    FUZZ_CHECK(second.checkOpenWeb == (values.openWeb != 0));
    return 0;
}
