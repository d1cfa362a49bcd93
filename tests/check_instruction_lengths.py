#!/usr/bin/env python3
"""Compares the instruction-length decoder with objdump over real 32-bit code.

usage: check_instruction_lengths.py DRIVER DLL...

objdump disassembles the .text section of each DLL; the decoder (through the
command-line DRIVER) is asked for the length at every address where objdump
starts an instruction, so one disagreement cannot throw the rest off. The
instructions within the first 32 bytes of each symbol (function starts,
where patches are placed) must all agree; over the whole code at most one
instruction in ten thousand may differ.
"""
import collections
import os
import re
import struct
import subprocess
import sys
import tempfile

OBJDUMP = "i686-w64-mingw32-objdump"
PROLOGUE_BYTES = 32
OVERALL_LIMIT = 1e-4
SHOWN = 12

INSN = re.compile(r"^\s*([0-9a-f]+):\t((?:[0-9a-f]{2} )+)\s*\t?(.*)$")
LABEL = re.compile(r"^([0-9a-f]+) <(.*)>:$")


def text_section(path):
    data = open(path, "rb").read()
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise ValueError(path + ": not a PE file")
    sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
    image_base = struct.unpack_from("<I", data, pe + 24 + 28)[0]
    table = pe + 24 + optional_size
    for k in range(sections):
        name, vsize, va, raw_size, raw_at = struct.unpack_from("<8sIIII", data, table + 40 * k)
        if name.rstrip(b"\0") == b".text":
            return image_base + va, data[raw_at:raw_at + min(vsize, raw_size)]
    raise ValueError(path + ": no .text section")


def objdump_instructions(path):
    out = subprocess.run([OBJDUMP, "-d", "-j", ".text", "--insn-width=16", path],
                         check=True, capture_output=True, text=True).stdout
    symbol_start = None
    for line in out.splitlines():
        m = LABEL.match(line)
        if m:
            symbol_start = int(m.group(1), 16)
            continue
        m = INSN.match(line)
        if m:
            address = int(m.group(1), 16)
            raw = m.group(2).split()
            prologue = symbol_start is not None and address - symbol_start < PROLOGUE_BYTES
            yield address, len(raw), " ".join(raw), m.group(3).strip(), prologue


def check(driver, path):
    base, code = text_section(path)
    # Bytes that objdump does not take for an instruction are left out.
    rows = [r for r in objdump_instructions(path) if "(bad)" not in r[3] and not r[3].startswith(".byte")]
    with tempfile.NamedTemporaryFile(delete=False) as f:
        f.write(code)
        code_file = f.name
    try:
        # WAIT (9B) is an instruction of its own, which objdump joins to the
        # x87 instruction after it; the decoder is asked for both parts.
        queries = []
        for r in rows:
            queries.append(r[0] - base)
            if r[2].startswith("9b ") and r[1] > 1:
                queries.append(r[0] - base + 1)
        offsets = "".join("%d\n" % q for q in queries)
        answer = subprocess.run([driver, code_file], input=offsets, check=True,
                                capture_output=True, text=True).stdout.split()
    finally:
        os.unlink(code_file)
    if len(answer) != len(queries):
        raise RuntimeError("driver answered %d of %d offsets" % (len(answer), len(queries)))
    answer = iter(int(a) for a in answer)
    differ = []
    prologue_total = prologue_differ = 0
    for row in rows:
        ours = next(answer)
        if row[2].startswith("9b ") and row[1] > 1:
            rest = next(answer)
            if ours == 1 and rest == row[1] - 1:
                ours = row[1]
        if row[4]:
            prologue_total += 1
        if ours != row[1]:
            differ.append((row, ours))
            if row[4]:
                prologue_differ += 1
    return len(rows), differ, prologue_total, prologue_differ


def main():
    if len(sys.argv) < 3:
        print(__doc__)
        return 2
    driver, dlls = sys.argv[1], sys.argv[2:]
    status = 0
    grand_total = grand_differ = 0
    for path in dlls:
        total, differ, prologue_total, prologue_differ = check(driver, path)
        grand_total += total
        grand_differ += len(differ)
        print("%s: %d instructions, %d agree (%.4f%%); prologues: %d, %d differ"
              % (os.path.basename(path), total, total - len(differ),
                 100.0 * (total - len(differ)) / max(total, 1), prologue_total, prologue_differ))
        kinds = collections.Counter(row[3].split()[0] if row[3] else "?" for row, _ in differ)
        if kinds:
            print("  differing mnemonics: " + ", ".join("%s x%d" % kv for kv in kinds.most_common()))
        for (address, length, raw, text, prologue), ours in differ[:SHOWN]:
            print("  %08x%s: objdump %d, decoder %d: %s   %s"
                  % (address, " (prologue)" if prologue else "", length, ours, raw, text))
        if prologue_differ:
            status = 1
    rate = float(grand_differ) / max(grand_total, 1)
    print("all: %d instructions, %d differ (%.5f%%)" % (grand_total, grand_differ, 100.0 * rate))
    if rate > OVERALL_LIMIT:
        status = 1
    print("instruction lengths: %s" % ("agree" if status == 0 else "DISAGREE"))
    return status


if __name__ == "__main__":
    sys.exit(main())
