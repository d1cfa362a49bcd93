// Builds, prints and checks ".rtv" list files.
//
//   rtv_tool build <manifest.txt> <out.rtv> [--name LISTNAME]
//   rtv_tool dump <file.rtv>
//   rtv_tool check <file.rtv>
//
// Exit status: 0 done (or valid), 1 failed (or not valid), 2 wrong usage.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "catalogue/portable/list_file_format.h"
#include "tools/rtv_tool/list_inspect.h"
#include "tools/rtv_tool/manifest.h"

namespace {

int Usage() {
    fprintf(stderr,
            "usage: rtv_tool build <manifest.txt> <out.rtv> [--name LISTNAME]\n"
            "       rtv_tool dump <file.rtv>\n"
            "       rtv_tool check <file.rtv>\n");
    return 2;
}

int Build(int argc, char** argv) {
    std::string manifest, out, name;
    for (int i = 2; i < argc; ++i) {
        if (strcmp(argv[i], "--name") == 0) {
            if (++i >= argc) return Usage();
            name = argv[i];
        } else if (manifest.empty()) {
            manifest = argv[i];
        } else if (out.empty()) {
            out = argv[i];
        } else {
            return Usage();
        }
    }
    if (manifest.empty() || out.empty()) return Usage();
    std::vector<std::string> errors;
    int count = 0;
    if (!BuildListFile(manifest, out, name, errors, &count)) {
        for (const std::string& e : errors) fprintf(stderr, "rtv_tool: %s\n", e.c_str());
        return 1;
    }
    printf("%s: %d stations\n", out.c_str(), count);
    return 0;
}

void Report(const std::string& path, const ListCheck& check) {
    for (const std::string& w : check.warnings) fprintf(stderr, "%s: warning: %s\n", path.c_str(), w.c_str());
    for (const std::string& e : check.errors) fprintf(stderr, "%s: error: %s\n", path.c_str(), e.c_str());
}

int Check(const std::string& path) {
    ListCheck check = CheckListFile(path);
    Report(path, check);
    if (!check.valid) {
        fprintf(stderr, "%s: not a valid list file\n", path.c_str());
        return 1;
    }
    printf("%s: valid, %zu records\n", path.c_str(), check.recordCount);
    return 0;
}

int Dump(const std::string& path) {
    // Twice through the file, a record at a time: the count heads the dump.
    ListCheck check = CheckListFile(path);
    if (!check.headerRead && !check.errors.empty() && check.errors[0].rfind("cannot", 0) == 0) {
        fprintf(stderr, "rtv_tool: %s\n", check.errors[0].c_str());
        return 1;
    }
    std::string head = DumpHeader(check);
    if (check.headerRead) head += std::to_string(check.recordCount) + " records\n";
    fwrite(head.data(), 1, head.size(), stdout);
    if (check.headerRead && check.header.version >= 1 && check.header.headerSize == kListHeaderSize) {
        CheckListFile(path, [](size_t i, const StreamRecord& r) {
            std::string text = DumpRecord(i, r);
            fwrite(text.data(), 1, text.size(), stdout);
        });
    }
    std::string findings = DumpFindings(check);
    fwrite(findings.data(), 1, findings.size(), stdout);
    return check.valid ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    std::string command = argv[1];
    if (command == "build") return Build(argc, argv);
    if (argc != 3) return Usage();
    if (command == "dump") return Dump(argv[2]);
    if (command == "check") return Check(argv[2]);
    return Usage();
}
