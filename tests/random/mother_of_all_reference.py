#!/usr/bin/env python3
# The "mother of all" generator written apart from the library, with Python's
# unbounded integers masked by hand: draws 1-6 and 10,000 for a seed s.
import sys
s16 = lambda v: (v & 0xFFFF) - ((v & 0x8000) << 1)
w = int(float(sys.argv[1] if len(sys.argv) > 1 else 0.12345) * 2**31)
n, number, m = w, w & 0x7FFFFFFF, []
for _ in range(18):
    n = number = 30903 * (n & 0xFFFF) + (number >> 16)
    m.append(s16(number))
seqs = [([m[0] & 0x7FFF] + m[1:9] + [0], [1941, 1860, 1812, 1776, 1492, 1215, 1066, 12013]),
        ([m[9] & 0x7FFF] + m[10:18] + [0], [1111, 2222, 3333, 4444, 5555, 6666, 7777, 9272])]
out = []
for _ in range(10000):
    for m, a in seqs:
        m[2:10] = m[1:9]
        total = sum(k * v for k, v in zip(a, m[2:10])) + m[0]
        m[1], m[0] = s16(total), s16(total >> 16)
    out.append((seqs[0][0][1] * 65536 + seqs[1][0][1]) % 2**32)
print(out[:6], out[-1])
