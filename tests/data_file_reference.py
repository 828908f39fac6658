#!/usr/bin/env python3
"""Reference values for the vehicle data file, written from the format's
description alone: MD5 from hashlib, the MSVC rand recurrence, the
subtractive generator (seeding by rounds, draws in the lagged form
x[n] = x[n-55] - x[n-24]), the 256-byte key and the file layout
(digest, seed, scrambled stream).

  python3 data_file_reference.py             print every value, one "NAME VALUE..." line each
  python3 data_file_reference.py --check F   compare with the lines of F

tests/data/compiler/data_file.values, which the data-file tests read, was
written by the first form; the second form is what ctest runs.
"""
import hashlib
import re
import struct
import sys

M = 1000000000


def msvc_rand(count):
    x, values = 1, []
    for _ in range(count):
        x = (x * 214013 + 2531011) % 2**32
        values.append((x >> 16) & 0x7FFF)
    return values


def subtractive_values(seed, count):
    """`count` values drawn after seeding with `seed` (a signed 32-bit number)."""
    s = min(max(seed, 0), M)
    t = [0] * 56
    t[55] = s
    j, k = s, 1
    for i in range(1, 55):
        n = (21 * i) % 55
        t[n] = k
        k = j - k
        if k < 0:
            k += M
        j = t[n]
    for _ in range(3):
        for i in range(1, 56):
            t[i] -= t[1 + (i + 30) % 55]
            if t[i] < 0:
                t[i] += M
    # The table now holds the last 55 values of the sequence, oldest first.
    history = t[1:56]
    out = []
    for _ in range(count):
        v = history[-55] - history[-24]
        if v < 0:
            v += M
        history.append(v)
        out.append(v)
    return out


def key_bytes(seed):
    signed = seed - 2**32 if seed >= 2**31 else seed
    return bytes(v & 0xFF for v in subtractive_values(signed, 256))


def data_file(stream, random):
    seed = random & 0xFFFFFF
    key = key_bytes(seed)
    scrambled = bytes(b ^ key[i % 256] for i, b in enumerate(stream))
    return hashlib.md5(stream).digest() + struct.pack('<I', seed) + scrambled


def end_record():
    return struct.pack('<II', 1, 0)


def stream_300():
    """300 bytes: a side-view image record of 284 bytes (i & 255) and the end record."""
    return struct.pack('<II', 0x1500, 284) + struct.pack('<I', 280) + \
        bytes(i & 255 for i in range(280)) + end_record()


def pattern(n):
    return bytes((i * 7 + 3) & 255 for i in range(n))


MD5_INPUTS = [b"", b"a", b"abc", b"message digest", b"abcdefghijklmnopqrstuvwxyz",
              b"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", b"1234567890" * 8,
              b"a" * 55, b"a" * 56, b"a" * 63, b"a" * 64]


def values():
    """The lines of the values file."""
    def ints(xs):
        return ' '.join(str(x) for x in xs)

    lines = [
        'msvc_rand ' + ints(msvc_rand(10)),
        'subtractive_41 ' + ints(subtractive_values(41, 8)),
        'subtractive_0 ' + ints(subtractive_values(0, 8)),
        'subtractive_max ' + ints(subtractive_values(M, 8)),
        'subtractive_56th_41 ' + str(subtractive_values(41, 56)[55]),
        'key_41 ' + key_bytes(41).hex(),
        # The smallest file: the end record alone, seed 41.
        'file_end_41 ' + data_file(end_record(), 41).hex(),
        # 300 bytes, seed 18467: the key repeats from stream byte 256 on.
        'file_300_18467 ' + data_file(stream_300(), 18467).hex(),
        # The generator value 0x7FABCDEF, masked to 0xABCDEF.
        'file_end_masked ' + data_file(end_record(), 0x7FABCDEF).hex(),
        'md5_pattern_1000 ' + hashlib.md5(pattern(1000)).hexdigest(),
    ]
    # MD5 of the RFC 1321 suite and of inputs on each side of the 56-byte
    # padding boundary: input as hex ("-" when empty), digest.
    lines += ['md5 %s %s' % (x.hex() or '-', hashlib.md5(x).hexdigest()) for x in MD5_INPUTS]
    return lines


def check(path):
    found = [line.strip() for line in open(path, encoding='utf-8') if line.strip() and not line.startswith('#')]
    expected = values()
    missing = [line for line in expected if line not in found]
    extra = [line for line in found if line not in expected]
    for line in missing:
        print('missing or different: ' + line[:100])
    for line in extra:
        print('not from the reference: ' + line[:100])
    print(f'{len(expected) - len(missing)} of {len(expected)} reference values match')
    return 1 if missing or extra else 0


if __name__ == '__main__':
    if len(sys.argv) == 3 and sys.argv[1] == '--check':
        sys.exit(check(sys.argv[2]))
    print('# Written by tests/data_file_reference.py from the file format alone.')
    print('\n'.join(values()))
