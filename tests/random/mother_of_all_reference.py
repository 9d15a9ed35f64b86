#!/usr/bin/env python3
# Reference outputs of the "mother of all" generator for a seed s (default
# 0.12345), written apart from the library from the generator's definition:
# Python's unbounded integers, masked by hand.  Prints draws 1-6 and 10,000.
import sys

def s16(v):
    return (v & 0xFFFF) - ((v & 0x8000) << 1)

w = int(float(sys.argv[1] if len(sys.argv) > 1 else 0.12345) * 2**31)
n, number, words = w, w & 0x7FFFFFFF, []
for _ in range(18):
    number = 30903 * (n & 0xFFFF) + (number >> 16)
    n = number
    words.append(s16(number))
seqs = [([words[0] & 0x7FFF] + words[1:9] + [0], [1941, 1860, 1812, 1776, 1492, 1215, 1066, 12013]),
        ([words[9] & 0x7FFF] + words[10:18] + [0], [1111, 2222, 3333, 4444, 5555, 6666, 7777, 9272])]
out = []
for _ in range(10000):
    for m, a in seqs:
        m[2:10] = m[1:9]
        total = sum(k * v for k, v in zip(a, m[2:10])) + m[0]
        m[1], m[0] = s16(total), s16(total >> 16)
    out.append((seqs[0][0][1] * 65536 + seqs[1][0][1]) % 2**32)
print(out[:6], out[-1])
