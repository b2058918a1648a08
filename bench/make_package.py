#!/usr/bin/env python3
"""Makes the benchmark's reference package once: about 256 MiB in about 3,000
entries (compressible text, incompressible data, many small files, a few large
ones, nested folders), deflate-compressed, deterministic.
    make_package.py <out.zip>  [--scale 1.0]
"""
import argparse
import os
import random
import zipfile

WORDS = ("orvane qel launcher package entry folder texture sound level player token "
         "stream window bridge record version update script config shader map").split()


def text_blob(rng, size):
    out = []
    n = 0
    while n < size:
        line = " ".join(rng.choice(WORDS) for _ in range(rng.randint(4, 14))) + "\n"
        out.append(line)
        n += len(line)
    return "".join(out).encode()[:size]


def build(path, scale):
    rng = random.Random(20261211)
    tmp = path + ".tmp"
    entries = 0
    total = 0
    with zipfile.ZipFile(tmp, "w", zipfile.ZIP_DEFLATED, compresslevel=6) as z:
        def add(name, data):
            nonlocal entries, total
            z.writestr(name, data)
            entries += 1
            total += len(data)

        for d in range(40):
            z.writestr("data/pack%02d/" % d, b"")
            entries += 1
        # Many small files: scripts and configs (text) and icons (random).
        for i in range(int(2500 * scale)):
            folder = "data/pack%02d/sub%d" % (i % 40, i % 3)
            if i % 4 == 3:
                add("%s/icon_%04d.bin" % (folder, i), rng.randbytes(rng.randint(512, 8192)))
            else:
                add("%s/script_%04d.txt" % (folder, i), text_blob(rng, rng.randint(1024, 16384)))
        # Medium files: half text, half already-compressed media.
        for i in range(int(440 * scale)):
            size = rng.randint(64 * 1024, 512 * 1024)
            if i % 2:
                add("media/clip_%03d.ogg" % i, rng.randbytes(size))
            else:
                add("levels/level_%03d.map" % i, text_blob(rng, size))
        # A few large files.
        for i in range(6):
            size = int(20 * 1024 * 1024 * scale)
            data = rng.randbytes(size) if i % 2 else text_blob(rng, size)
            add("bin/large_%d.dat" % i, data)
    os.replace(tmp, path)
    return entries, total


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("out")
    ap.add_argument("--scale", type=float, default=1.0)
    a = ap.parse_args()
    entries, total = build(a.out, a.scale)
    print("%s: %d entries, %.1f MiB uncompressed, %.1f MiB on disk"
          % (a.out, entries, total / 2**20, os.path.getsize(a.out) / 2**20))


if __name__ == "__main__":
    main()
