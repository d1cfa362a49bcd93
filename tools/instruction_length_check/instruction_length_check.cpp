// Prints the decoded length of the instruction at each offset of a file of
// code bytes: offsets (decimal) are read from standard input, one a line,
// and each answer is one line, 0 where nothing could be decoded. Used to
// compare the decoder with an independent disassembler.
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "scrollbars/portable/instruction_length.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: instruction_length_check CODE_FILE < offsets\n");
        return 2;
    }
    std::FILE* in = std::fopen(argv[1], "rb");
    if (!in) {
        std::fprintf(stderr, "instruction_length_check: cannot open %s\n", argv[1]);
        return 2;
    }
    std::vector<uint8_t> bytes;
    uint8_t buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0) bytes.insert(bytes.end(), buffer, buffer + n);
    std::fclose(in);

    char line[64];
    while (std::fgets(line, sizeof line, stdin)) {
        unsigned long offset = std::strtoul(line, nullptr, 10);
        int length = 0;
        if (offset < bytes.size()) length = DecodeInstruction(bytes.data() + offset, bytes.size() - offset, nullptr);
        std::printf("%d\n", length);
    }
    return 0;
}
