#!/usr/bin/env python3
"""Makes and compares 32-bit float WAV files for the demo (standard library only).

  wavtool.py tone OUT.wav SECONDS      stereo test signal: 440 Hz left, 660 Hz right, with a loud burst
  wavtool.py compare A.wav B.wav       prints the largest sample difference; exit 1 if above 1e-6
  wavtool.py peak A.wav                prints the peak level of the last half in dBFS
"""
import math
import struct
import sys


def write(path, channels, rate, frames):
    data = b"".join(struct.pack("<%df" % channels, *f) for f in frames)
    fmt = struct.pack("<HHIIHH", 3, channels, rate, rate * channels * 4, channels * 4, 32)
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + b"data" + struct.pack("<I", len(data)) + data
    with open(path, "wb") as f:
        f.write(b"RIFF" + struct.pack("<I", len(body)) + body)


def read(path):
    raw = open(path, "rb").read()
    pos, channels, samples = 12, 0, []
    while pos + 8 <= len(raw):
        cid, size = raw[pos:pos + 4], struct.unpack("<I", raw[pos + 4:pos + 8])[0]
        chunk = raw[pos + 8:pos + 8 + size]
        if cid == b"fmt ":
            tag, channels = struct.unpack("<HH", chunk[:4])
            if tag not in (3, 0xFFFE):
                sys.exit("%s: not a float WAV" % path)
        elif cid == b"data":
            samples = struct.unpack("<%df" % (len(chunk) // 4), chunk)
        pos += 8 + size + (size & 1)
    return channels, samples


def main():
    cmd = sys.argv[1]
    if cmd == "tone":
        rate, seconds = 44100, float(sys.argv[3])
        frames = []
        for i in range(int(rate * seconds)):
            t = i / rate
            level = 0.9 if (t % 2.0) < 1.0 else 0.1
            frames.append((level * math.sin(2 * math.pi * 440 * t), 0.5 * level * math.sin(2 * math.pi * 660 * t)))
        write(sys.argv[2], 2, rate, frames)
    elif cmd == "compare":
        ca, a = read(sys.argv[2])
        cb, b = read(sys.argv[3])
        if ca != cb or len(a) != len(b):
            print("different shapes: %d x %d against %d x %d" % (ca, len(a), cb, len(b)))
            sys.exit(1)
        worst = max(abs(x - y) for x, y in zip(a, b))
        print("largest difference: %.3g" % worst)
        sys.exit(0 if worst <= 1e-6 else 1)
    elif cmd == "peak":
        _, a = read(sys.argv[2])
        peak = max(abs(x) for x in a[len(a) // 2:])
        print("peak of the second half: %.2f dBFS" % (20 * math.log10(peak) if peak > 0 else -999))


main()
