#!/usr/bin/env python3
"""Reference values for the vehicle data file, written from the
file format alone: MD5 from hashlib, the MSVC rand recurrence, the
subtractive generator (seeding by rounds, draws in the lagged form
x[n] = x[n-55] - x[n-24]), the 256-byte key and the file layout
(digest, seed, scrambled stream).

  python3 data_file_reference.py             print every value, one "NAME VALUE..." line each
  python3 data_file_reference.py --check F   compare with the lines of F

tests/data/compiler/data_file.values, which the data-file tests read, was
written by the first form; the second form is what ctest runs.
"""
import hashlib
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
              b"a" * 55, b"a" * 56, b"a" * 63, b"a" * 64, pattern(1000)]


def values():
    """The lines of the values file: an operation, its inputs, its results."""
    lines = ['msvc_rand ' + ' '.join(str(x) for x in msvc_rand(10))]
    # Seeds outside 0..1,000,000,000 clamp to its ends.
    for seed in (41, 0, 1, M, -5, 2000000000):
        lines.append('subtractive %d %s' % (seed, ' '.join(str(x) for x in subtractive_values(seed, 8))))
    lines.append('subtractive_56th 41 %d' % subtractive_values(41, 56)[55])
    # The key depends on the seed's low 8 bits only: 41 + 0x10000 gives 41's.
    for seed in (41, 41 + 0x10000, 42):
        lines.append('key %d %s' % (seed, key_bytes(seed).hex()))
    # Scrambling: every tail length of a key period, and zeros, which show the key.
    source = bytes((i * 13 + 5) & 255 for i in range(1000))
    for count in (0, 1, 255, 256, 257, 511, 512, 1000):
        scrambled = data_file(source[:count], 12345)[20:]
        lines.append('scramble 12345 %s %s' % (source[:count].hex() or '-', scrambled.hex() or '-'))
    lines.append('scramble 41 %s %s' % (bytes(600).hex(), data_file(bytes(600), 41)[20:].hex()))
    # The smallest file (the end record alone); 300 bytes, whose key repeats
    # from stream byte 256 on; a generator value masked to 24 bits.
    for stream, random in ((end_record(), 41), (stream_300(), 18467), (end_record(), 0x7FABCDEF)):
        lines.append('file %d %s %s' % (random, stream.hex(), data_file(stream, random).hex()))
    # MD5 of the RFC 1321 suite, of inputs on each side of the 56-byte padding
    # boundary and of many blocks.
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
