#include "catalogue/portable/list_file_format.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "catalogue/portable/text.h"

namespace {

const char kExtension[] = ".rtv";

bool IsForbiddenInFileName(unsigned char c) {
    return c < 32 || c == 127 || strchr("\\/:*?\"<>|", c) != nullptr;
}

bool EqualsIgnoringAsciiCase(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b) {
        if (toupper(static_cast<unsigned char>(*a)) != toupper(static_cast<unsigned char>(*b))) return false;
    }
    return *a == *b;
}

// Windows takes the part of a name before its first dot, trailing spaces
// dropped, as a device name: "con.old.rtv" opens the console, not a file.
size_t DeviceStemLength(const char* name) {
    const char* dot = strchr(name, '.');
    return dot ? static_cast<size_t>(dot - name) : strlen(name);
}

bool IsReservedDeviceName(const char* name, size_t length) {
    while (length > 0 && name[length - 1] == ' ') --length;
    char stem[8] = {0};
    if (length == 0 || length >= sizeof stem) return false;
    memcpy(stem, name, length);
    static const char* const kReserved[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    for (const char* r : kReserved) {
        if (EqualsIgnoringAsciiCase(stem, r)) return true;
    }
    if (length != 4) return false;
    // COM0-9 and LPT0-9, and the superscripts 1, 2 and 3 of Windows-1252.
    unsigned char digit = static_cast<unsigned char>(stem[3]);
    if (!((digit >= '0' && digit <= '9') || digit == 0xB9 || digit == 0xB2 || digit == 0xB3)) return false;
    stem[3] = 0;
    return EqualsIgnoringAsciiCase(stem, "COM") || EqualsIgnoringAsciiCase(stem, "LPT");
}

struct FileCloser {
    void operator()(FILE* f) const { fclose(f); }
};
using File = std::unique_ptr<FILE, FileCloser>;

}  // namespace

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
}  // namespace

void NormaliseListName(const char* text, char (&out)[kListNameSize]) {
    memset(out, 0, sizeof out);
    if (text == nullptr || *text == 0) return;
    while (IsBlank(*text)) ++text;
    size_t length = BoundedLength(text, kListNameSize - 1);
    while (length > 0 && IsBlank(text[length - 1])) --length;
    if (length == 0) {
        memcpy(out, kDefaultListName, sizeof kDefaultListName);
        return;
    }
    memcpy(out, text, length);
}

void ListFileBaseName(const char* listName, char* out, size_t outSize) {
    if (outSize == 0) return;
    size_t n = 0;
    for (const char* p = listName ? listName : ""; *p && n + 1 < outSize; ++p, ++n) {
        out[n] = IsForbiddenInFileName(static_cast<unsigned char>(*p)) ? '_' : *p;
    }
    out[n] = 0;
    size_t stem = DeviceStemLength(out);
    if (IsReservedDeviceName(out, stem) && n + 1 < outSize) {
        memmove(out + stem + 1, out + stem, n - stem + 1);
        out[stem] = '_';
    }
}

bool ComposeListPath(const char* text, bool currentList, const char* listName, bool forSave,
                     char (&out)[kPathSize]) {
    memset(out, 0, sizeof out);
    if (text == nullptr) return false;
    size_t length = 0;
    bool fits = AppendToPath(out, length, text);
    if (fits && currentList) {
        char base[kListNameSize + 2];
        ListFileBaseName(listName, base, sizeof base);
        fits = AppendToPath(out, length, base) && AppendToPath(out, length, kExtension);
    } else if (fits && forSave && strstr(out, kExtension) == nullptr) {
        fits = AppendToPath(out, length, kExtension);
    }
    if (!fits) memset(out, 0, sizeof out);
    return fits;
}

ListFileHeader MakeListHeader(int32_t count, const char* listName) {
    ListFileHeader header;
    memset(&header, 0, sizeof header);
    header.version = kListFileVersion;
    header.headerSize = kListHeaderSize;
    header.count = count;
    if (listName) {
        size_t n = BoundedLength(listName, kListNameSize - 1);
        memcpy(header.listName, listName, n);
    }
    return header;
}

bool IsValidListHeader(const ListFileHeader& header) {
    return header.version >= 1 && header.headerSize == kListHeaderSize;
}

ListReadResult ReadListFile(const char* path, ListRecordSink sink, void* context) {
    File file(fopen(path, "rb"));
    if (!file) return ListReadResult::CannotOpen;
    setvbuf(file.get(), nullptr, _IOFBF, 1 << 16);

    ListFileHeader header;
    memset(&header, 0, sizeof header);
    size_t got = fread(&header, 1, sizeof header, file.get());
    if (got == 0) return ferror(file.get()) ? ListReadResult::CannotOpen : ListReadResult::Empty;
    if (got < sizeof header || !IsValidListHeader(header)) return ListReadResult::NotValid;

    for (;;) {
        // Memory running out ends the reading as a read error would: the file is not taken whole.
        std::unique_ptr<StreamRecord> record(new (std::nothrow) StreamRecord);
        if (!record) return ListReadResult::Incomplete;
        if (fread(record.get(), 1, sizeof(StreamRecord), file.get()) != sizeof(StreamRecord)) break;
        TerminateTextFields(*record);
        StreamRecord* raw = record.release();
        if (!sink(context, raw)) delete raw;
    }
    return ferror(file.get()) ? ListReadResult::Incomplete : ListReadResult::Read;
}

namespace {

struct ListContent {
    const ListFileHeader* header;
    ListRecordSource source;
    void* context;
};

bool WriteListContent(FILE* file, void* context) {
    auto* content = static_cast<ListContent*>(context);
    if (fwrite(content->header, sizeof *content->header, 1, file) != 1) return false;
    while (const StreamRecord* record = content->source(content->context)) {
        if (fwrite(record, sizeof *record, 1, file) != 1) return false;
    }
    return true;
}

}  // namespace

bool WriteListFile(const char* path, const ListFileHeader& header, ListRecordSource source,
                   void* context) {
    ListContent content{&header, source, context};
    return WriteFileReplacing(path, &WriteListContent, &content);
}
