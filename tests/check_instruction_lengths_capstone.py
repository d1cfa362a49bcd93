#!/usr/bin/python3
"""Compares the instruction-length decoder with capstone over random bytes.

usage: check_instruction_lengths_capstone.py DRIVER [--count N] [--seed S]

Seeded random byte sequences, biased towards the prefixes and escapes that
make x86 lengths hard, are decoded by capstone (32-bit mode) and by the
decoder through the command-line DRIVER. Every sequence that capstone takes
as a valid instruction must have the same length from the decoder.
"""
import argparse
import collections
import os
import random
import re
import subprocess
import sys
import tempfile

import capstone

INSN = re.compile(r"^\s*0:\t((?:[0-9a-f]{2} )+)")


def objdump_length(code):
    """The length objdump gives the first instruction of `code`, or 0."""
    with tempfile.NamedTemporaryFile(delete=False) as blob:
        blob.write(code)
        path = blob.name
    try:
        out = subprocess.run([OBJDUMP, "-D", "-b", "binary", "-m", "i386", "--insn-width=16", path],
                             capture_output=True, text=True, check=True).stdout
    finally:
        os.unlink(path)
    for line in out.splitlines():
        m = INSN.match(line)
        if m:
            return len(m.group(1).split())
    return 0

SEQUENCE = 16
OBJDUMP = "i686-w64-mingw32-objdump"
SHOWN = 12
# First bytes that reach the harder parts of the map more often than chance would.
INTERESTING_STARTS = [b"\x0f", b"\x66", b"\x67", b"\xf2", b"\xf3", b"\x66\x0f", b"\xf2\x0f", b"\xf3\x0f",
                      b"\x0f\x38", b"\x0f\x3a", b"\xc4", b"\xc5", b"\x8f", b"\x62", b"\xf6", b"\xf7",
                      b"\x0f\x20", b"\x0f\x22", b"\x66\x0f\x78", b"\xf2\x0f\x78", b"\x0f\x0f", b"\xd9", b"\xdf"]


def sequences(count, seed):
    rng = random.Random(seed)
    for _ in range(count):
        start = rng.choice(INTERESTING_STARTS) if rng.random() < 0.6 else b""
        yield (start + bytes(rng.getrandbits(8) for _ in range(SEQUENCE)))[:SEQUENCE]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("driver")
    parser.add_argument("--count", type=int, default=300000)
    parser.add_argument("--seed", type=int, default=20261208)
    args = parser.parse_args()

    codes = list(sequences(args.count, args.seed))
    md = capstone.Cs(capstone.CS_ARCH_X86, capstone.CS_MODE_32)
    expected = []
    for code in codes:
        insn = next(md.disasm_lite(code, 0, 1), None)
        expected.append(insn[1] if insn else 0)

    with tempfile.NamedTemporaryFile(delete=False) as blob:
        blob.write(b"".join(codes))
        path = blob.name
    try:
        offsets = "".join("%d\n" % (k * SEQUENCE) for k in range(len(codes)))
        out = subprocess.run([args.driver, path], input=offsets, capture_output=True, text=True, check=True).stdout
    finally:
        os.unlink(path)
    # The driver sees the bytes up to the end of the file: limit it to its own sequence.
    ours = [int(v) for v in out.split()]

    valid = 0
    wrong = collections.Counter()
    disputed = collections.Counter()
    examples = {}
    for code, want, got in zip(codes, expected, ours):
        if want == 0:
            continue
        valid += 1
        if got != want:
            # Where capstone stands alone against objdump and the decoder, it is
            # capstone that is out of date (UD0 and UD1 without their ModR/M,
            # a 16-bit near call with a repeat prefix taken as a 32-bit one).
            tally = disputed if objdump_length(code) == got else wrong
            key = code[:3].hex()
            tally[key] += 1
            examples.setdefault(key, (code.hex(), want, got))
    print("%d sequences, %d valid for capstone, %d decoded differently, %d more where objdump sides with the decoder"
          % (len(codes), valid, sum(wrong.values()), sum(disputed.values())))
    for title, tally in (("differently", wrong), ("capstone alone", disputed)):
        for key, n in tally.most_common(SHOWN):
            code, want, got = examples[key]
            print("  %s %s...: %d times, e.g. %s capstone %d decoder %d" % (title, key, n, code, want, got))
    return 1 if wrong else 0


if __name__ == "__main__":
    sys.exit(main())
