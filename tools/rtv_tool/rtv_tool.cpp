// Builds, prints, checks, imports and exports ".rtv" list files.
//
// Exit status: 0 done (or valid), 1 failed (or not valid), 2 wrong usage.
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/portable/list_file_format.h"
#include "catalogue/portable/playlist_import.h"
#include "tools/rtv_tool/text_conversion.h"
#include "tools/rtv_tool/list_exchange.h"
#include "tools/rtv_tool/list_inspect.h"
#include "tools/rtv_tool/manifest.h"

namespace {

const char kUsage[] =
    "usage: rtv_tool build <manifest.txt> <out.rtv> [--name LISTNAME]\n"
    "       rtv_tool import <playlist.m3u|.m3u8|.pls|.xspf|stations.json> <out.rtv> [--name LISTNAME]\n"
    "       rtv_tool export <list.rtv> <out.m3u|out.pls|out.xspf>\n"
    "       rtv_tool dump [--manifest] <list.rtv>\n"
    "       rtv_tool check [--lenient] <list.rtv>\n"
    "       rtv_tool --help\n"
    "\n"
    "build   makes a list from a manifest (one station a line, see tools/sample_list/stations.txt)\n"
    "import  makes a list from a playlist or a radio directory's JSON export\n"
    "export  writes a UTF-8 playlist with the stations' names as titles\n"
    "dump    prints a list; --manifest prints it as a manifest that build takes back\n"
    "check   exit 1 unless the plugin reads the whole file; --lenient accepts\n"
    "        what the plugin accepts (a higher version, a partial last record)\n";

int Usage() {
    fputs(kUsage, stderr);
    return 2;
}

// Playlists and JSON exports: the plugin's own limit.
bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& bytes) {
    std::string error;
    if (!ReadWholeFile(path, bytes, error, kMaxPlaylistBytes)) {
        fprintf(stderr, "rtv_tool: %s\n", error.c_str());
        return false;
    }
    return true;
}

bool WriteRecords(const std::string& out, const std::string& listName,
                  const std::vector<std::unique_ptr<StreamRecord>>& records) {
    struct Cursor {
        const std::vector<std::unique_ptr<StreamRecord>>* records;
        size_t next;
        static const StreamRecord* Next(void* context) {
            auto* c = static_cast<Cursor*>(context);
            return c->next < c->records->size() ? (*c->records)[c->next++].get() : nullptr;
        }
    } cursor{&records, 0};
    std::string name1252, why;
    if (!Utf8ToWindows1252(listName, name1252, why) || name1252.size() > kListNameSize - 1) {
        fprintf(stderr, "rtv_tool: the list name must be 1 to 31 characters of Windows-1252\n");
        return false;
    }
    ListFileHeader header = MakeListHeader(static_cast<int32_t>(records.size()), name1252.c_str());
    if (!WriteListFile(out.c_str(), header, &Cursor::Next, &cursor)) {
        fprintf(stderr, "rtv_tool: cannot write %s\n", out.c_str());
        return false;
    }
    return true;
}

// Writing a file over the one being read would lose it: the same file under
// any name (a link, another spelling) is refused.
bool SameFile(const std::string& input, const std::string& output) {
    struct stat in, out;
    return stat(input.c_str(), &in) == 0 && stat(output.c_str(), &out) == 0 && in.st_dev == out.st_dev &&
           in.st_ino == out.st_ino;
}

bool RefuseOverwritingInput(const std::string& input, const std::string& output) {
    if (!SameFile(input, output)) return false;
    fprintf(stderr, "rtv_tool: %s is the input; write to another file\n", output.c_str());
    return true;
}

int Import(const std::vector<std::string>& args, const std::string& name) {
    if (args.size() != 2) return Usage();
    if (RefuseOverwritingInput(args[0], args[1])) return 1;
    std::vector<uint8_t> bytes;
    if (!ReadFileBytes(args[0], bytes)) return 1;
    ImportResult result = ImportStations(bytes.data(), bytes.size());
    if (!result.error.empty()) {
        fprintf(stderr, "rtv_tool: %s: %s\n", args[0].c_str(), result.error.c_str());
        return 1;
    }
    if (result.records.empty()) {
        fprintf(stderr, "rtv_tool: %s: no station with an http, https or mms address\n", args[0].c_str());
        return 1;
    }
    std::string listName = name;
    if (listName.empty()) {
        listName = args[1].substr(FolderOf(args[1]).size());
        size_t dot = listName.rfind('.');
        if (dot != std::string::npos && dot > 0) listName = listName.substr(0, dot);
    }
    if (!WriteRecords(args[1], listName, result.records)) return 1;
    printf("%s: %zu stations", args[1].c_str(), result.records.size());
    if (result.present) printf(", %d repeated addresses skipped", result.present);
    if (result.ignored) printf(", %d entries without a stream address ignored", result.ignored);
    if (result.repaired) printf(", %d unreadable values repaired or left out", result.repaired);
    if (result.leftOut) printf(", %d left out beyond the plugin's 4096", result.leftOut);
    printf("\n");
    return 0;
}

// The records of a list the plugin would read, in file order: read a record
// at a time, and no more than the plugin takes.
bool ReadRecords(const std::string& path, std::vector<StreamRecord>& records) {
    size_t beyond = 0;
    ListCheck check = CheckListFile(path, [&](size_t, const StreamRecord& r) {
        if (records.size() < static_cast<size_t>(kMaxSlots)) records.push_back(r);
        else ++beyond;
    });
    if (beyond) fprintf(stderr, "%s: note: %zu records beyond the plugin's %d left out\n", path.c_str(), beyond, kMaxSlots);
    if (!check.headerRead || check.header.version < 1 || check.header.headerSize != kListHeaderSize) {
        for (const std::string& e : check.errors) fprintf(stderr, "%s: error: %s\n", path.c_str(), e.c_str());
        return false;
    }
    for (StreamRecord& r : records) TerminateTextFields(r);
    return true;
}

int Export(const std::vector<std::string>& args) {
    if (args.size() != 2) return Usage();
    if (RefuseOverwritingInput(args[0], args[1])) return 1;
    PlaylistKind kind;
    if (!PlaylistKindOf(args[1], kind)) {
        fprintf(stderr, "rtv_tool: %s: write to a .m3u, .m3u8, .pls or .xspf file\n", args[1].c_str());
        return 2;
    }
    std::vector<StreamRecord> records;
    if (!ReadRecords(args[0], records)) return 1;
    std::string text = ExportPlaylist(records, kind);
    FILE* out = fopen(args[1].c_str(), "wb");
    bool ok = out && fwrite(text.data(), 1, text.size(), out) == text.size();
    if (out) ok = fclose(out) == 0 && ok;
    if (!ok) {
        fprintf(stderr, "rtv_tool: cannot write %s\n", args[1].c_str());
        return 1;
    }
    printf("%s: %zu stations\n", args[1].c_str(), records.size());
    return 0;
}

int DumpManifest(const std::string& path) {
    std::vector<StreamRecord> records;
    if (!ReadRecords(path, records)) return 1;
    std::vector<std::string> notes;
    printf("# Manifest of %s: rtv_tool build takes it back.\n", path.c_str());
    printf("# kind | name | stream address | web site | playlist | podcast | slogan | keywords | format | quality | "
           "logo | transparent colour\n");
    for (const StreamRecord& r : records) printf("%s\n", ManifestLine(r, notes).c_str());
    // What the text cannot carry back.
    if (!records.empty())
        fprintf(stderr, "%s: note: logos are pictures the manifest cannot hold; rebuilt, they are drawn from initials\n",
                path.c_str());
    for (const std::string& n : notes) fprintf(stderr, "%s: note: %s\n", path.c_str(), n.c_str());
    return 0;
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
    if (RefuseOverwritingInput(manifest, out)) return 1;
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

int Check(const std::string& path, bool lenient) {
    ListCheck check = CheckListFile(path);
    // Strictly, a file is sound only when the plugin reads all of it as written.
    if (!lenient && check.valid) {
        if (check.header.version != kListFileVersion)
            check.errors.push_back("version " + std::to_string(check.header.version) + " (1 expected; --lenient accepts it)");
        if (check.trailingBytes)
            check.errors.push_back("a partial record at the end, which the plugin drops (--lenient accepts it)");
        check.valid = check.errors.empty();
    }
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
    const std::string command = argv[1];
    if (command == "--help" || command == "-h" || command == "help") {
        fputs(kUsage, stdout);
        return 0;
    }
    if (command == "build") return Build(argc, argv);
    // The other commands: options, then their files.
    std::vector<std::string> files;
    std::string name;
    bool manifest = false, lenient = false;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--manifest") manifest = true;
        else if (arg == "--lenient") lenient = true;
        else if (arg == "--name" && i + 1 < argc) name = argv[++i];
        else if (arg.rfind("--", 0) == 0) return Usage();
        else files.push_back(arg);
    }
    if (command == "import") return Import(files, name);
    if (command == "export") return Export(files);
    if (files.size() != 1) return Usage();
    if (command == "dump") return manifest ? DumpManifest(files[0]) : Dump(files[0]);
    if (command == "check") return Check(files[0], lenient);
    return Usage();
}
