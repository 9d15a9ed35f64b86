#!/usr/bin/env python3
"""Reference outputs of the "mother of all" generator, written apart from the
library from the generator's definition, with Python's unbounded integers
masked by hand: the outputs for seed word trunc(s * 2^31)."""
import sys

def signed16(v):
    v &= 0xFFFF
    return v - 0x10000 if v & 0x8000 else v

def outputs(seed, count):
    w = int(seed * 2**31)
    words, n, number = [], w, w & 0x7FFFFFFF
    for _ in range(18):
        number = 30903 * (n & 0xFFFF) + (number >> 16)
        n = number
        words.append(signed16(number))
    m1, m2 = words[:9] + [0], words[9:] + [0]
    m1[0] &= 0x7FFF
    m2[0] &= 0x7FFF
    a1 = [1941, 1860, 1812, 1776, 1492, 1215, 1066, 12013]
    a2 = [1111, 2222, 3333, 4444, 5555, 6666, 7777, 9272]
    for _ in range(count):
        for m, a in ((m1, a1), (m2, a2)):
            m[2:10] = m[1:9]
            s = sum(k * v for k, v in zip(a, m[2:10])) + m[0]
            m[1], m[0] = signed16(s), signed16(s >> 16)
        yield (m1[1] * 65536 + m2[1]) % 2**32

seed = float(sys.argv[1]) if len(sys.argv) > 1 else 0.12345
out = list(outputs(seed, 10000))
print("draws 1-6:", out[:6], "draw 10000:", out[-1])
