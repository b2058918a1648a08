"""Hostile game packages: a few small base packages and deterministic mutations
of them (truncated, bit-flipped, wrong sizes and CRCs, names that climb out of
the target folder, huge declared sizes and counts, duplicate names).

    python3 hostile_zips.py --seeds DIR       writes the base packages (fuzz seeds)
    python3 hostile_zips.py --out DIR -n 300  writes mutated packages

Every mutated package carries the set of file contents an extraction may
produce, and whether the extraction must fail.
"""
import argparse
import io
import os
import random
import struct
import warnings
import zipfile

FIXED_TIME = (2024, 5, 17, 12, 30, 44)


def _blob(rng, size):
    return bytes(rng.getrandbits(8) for _ in range(size))


def _ut_field(mtime):
    # Extended timestamp: flags (modification time present) and the time.
    return struct.pack("<HHBI", 0x5455, 5, 1, mtime)


def _zip(entries):
    """entries: (name, data or None for a folder, method, extra) -> bytes"""
    out = io.BytesIO()
    with warnings.catch_warnings(), zipfile.ZipFile(out, "w") as z:
        warnings.simplefilter("ignore")  # duplicate names are the point
        for name, data, method, extra in entries:
            info = zipfile.ZipInfo(name, FIXED_TIME)
            info.compress_type = method
            info.create_system = 0
            info.extra = extra
            if data is None:
                info.external_attr = 0x10
                z.writestr(info, b"")
            else:
                info.external_attr = 0x20
                z.writestr(info, data)
    return out.getvalue()


def base_packages():
    """name -> (archive bytes, {entry name: data})"""
    rng = random.Random(12)
    text = b"qelorvane game data\r\n" * 40
    program = b"MZ" + _blob(rng, 600)
    packages = {}
    game = [("qelorvane.exe", program, zipfile.ZIP_DEFLATED, _ut_field(1700000000)),
            ("data/", None, zipfile.ZIP_STORED, b""),
            ("data/readme.txt", text, zipfile.ZIP_DEFLATED, _ut_field(1700000100)),
            ("data/table.bin", _blob(rng, 300), zipfile.ZIP_STORED, b""),
            ("data/empty.txt", b"", zipfile.ZIP_STORED, b"")]
    nested = [("a/", None, zipfile.ZIP_STORED, b""), ("a/b/", None, zipfile.ZIP_STORED, b""),
              ("a/b/c.txt", b"deep " * 30, zipfile.ZIP_DEFLATED, b""),
              ("a/d.txt", b"d" * 100, zipfile.ZIP_DEFLATED, b""),
              ("top.txt", b"top", zipfile.ZIP_STORED, b"")]
    tiny = [("ver.txt", b"12", zipfile.ZIP_STORED, b"")]
    for name, entries in (("game", game), ("nested", nested), ("tiny", tiny)):
        packages[name] = (_zip(entries), {n: d for n, d, _, _ in entries if d is not None})
    return packages


# --- structure walking --------------------------------------------------------

def _end_record(data):
    end = data.rfind(b"PK\x05\x06")
    return end if end >= 0 and end + 22 <= len(data) else None


def _central_entries(data):
    """Offsets of the central headers and of their local headers."""
    end = _end_record(data)
    if end is None:
        return []
    count, _, offset = struct.unpack_from("<HII", data, end + 10)
    entries, pos = [], offset
    for _ in range(count):
        if data[pos:pos + 4] != b"PK\x01\x02" or pos + 46 > len(data):
            break
        name_len, extra_len, comment_len = struct.unpack_from("<HHH", data, pos + 28)
        local = struct.unpack_from("<I", data, pos + 42)[0]
        entries.append((pos, local))
        pos += 46 + name_len + extra_len + comment_len
    return entries


def _patch(data, offset, fmt, value):
    if offset < 0 or offset + struct.calcsize(fmt) > len(data):
        return data  # an earlier mutation moved the field out of the archive
    b = bytearray(data)
    struct.pack_into(fmt, b, offset, value)
    return bytes(b)


# --- mutations: (archive, contents) -> (archive, must_fail, extra contents) ---

def truncate(rng, data):
    # minizip's header reads take the end of the file for zero bytes read
    # without error (UNZ_EOF is UNZ_OK), so a cut through the last fields of
    # the end record can still read right; a cut through its signature or
    # anything before it cannot.
    cut = rng.randrange(0, len(data))
    end = _end_record(data)
    return data[:cut], end is None or cut < end + 4, []


def flip_bits(rng, data):
    b = bytearray(data)
    for _ in range(rng.randint(1, 8)):
        i = rng.randrange(len(b))
        b[i] ^= 1 << rng.randrange(8)
    return bytes(b), False, []


def overwrite_run(rng, data):
    b = bytearray(data)
    start = rng.randrange(len(b))
    for i in range(start, min(len(b), start + rng.randint(1, 16))):
        b[i] = rng.getrandbits(8)
    return bytes(b), False, []


def _pick_file(rng, data):
    files = [(c, l) for c, l in _central_entries(data)
             if struct.unpack_from("<I", data, c + 24)[0] > 0 and l + 30 <= len(data)]  # non-empty data
    return rng.choice(files) if files else None


def wrong_size(rng, data):
    pick = _pick_file(rng, data)
    if not pick:
        return data, False, []
    central, local = pick
    field = rng.choice([20, 24])  # compressed or uncompressed size in the central header
    size = struct.unpack_from("<I", data, central + field)[0]
    new = rng.choice([size - 1, size + 1, size * 2, 0, size // 2])
    out = _patch(data, central + field, "<I", new & 0xFFFFFFFF)
    if rng.random() < 0.5:  # the local header agreeing with the lie
        out = _patch(out, local + field - 2, "<I", new & 0xFFFFFFFF)
    # A wrong uncompressed size never passes the length and CRC-32 checks; a
    # wrong compressed size that both headers agree on may still read right.
    return out, field == 24, []


def wrong_crc(rng, data):
    pick = _pick_file(rng, data)
    if not pick:
        return data, False, []
    central, local = pick
    crc = struct.unpack_from("<I", data, central + 16)[0] ^ (1 << rng.randrange(32))
    out = _patch(_patch(data, central + 16, "<I", crc), local + 14, "<I", crc)
    return out, True, []


def huge_sizes(rng, data):
    pick = _pick_file(rng, data)
    if not pick:
        return data, False, []
    central, local = pick
    value = rng.choice([0xFFFFFFFF, 0xFFFFFFFE, 0x80000000, 0x7FFFFFFF])
    out = data
    fields = rng.sample([20, 24], rng.randint(1, 2))
    for field in fields:
        out = _patch(out, central + field, "<I", value)
        out = _patch(out, local + field - 2, "<I", value)
    # The reading stops at the real end of the data: only a size to be
    # written that cannot be reached fails for certain.
    return out, 24 in fields, []


def huge_counts(rng, data):
    end = _end_record(data)
    if end is None:
        return data, False, []
    value = rng.choice([0xFFFF, 0x7FFF, 0])
    out = data
    fields = rng.sample([8, 10], rng.randint(1, 2))
    for field in fields:
        out = _patch(out, end + field, "<H", value)
    if rng.random() < 0.5:  # directory size or offset
        out = _patch(out, end + rng.choice([12, 16]), "<I", rng.choice([0xFFFFFFFF, 0, len(data) * 2]))
    # Counts that disagree with each other or with the directory fail; two
    # zero counts make an empty package.
    return out, value != 0 or len(fields) == 1, []


CLIMBING_NAMES = ["../evil.txt", "..\\evil.txt", "/evil.txt", "\\evil.txt", "C:evil.txt", "C:\\evil.txt",
                  "a/../../evil.txt", "a\\..\\..\\evil.txt", "data/../../evil.txt", ".. /evil.txt",
                  "... /evil.txt", "data/.../evil.txt", "data/.. ./../evil.txt", "../", "..\\data\\",
                  "//server/share/evil.txt", "\\\\?\\C:\\evil.txt"]


def zip_slip(rng, contents):
    entries = [(n, d, zipfile.ZIP_DEFLATED, b"") for n, d in sorted(contents.items())]
    name = rng.choice(CLIMBING_NAMES)
    data = None if name.endswith(("/", "\\")) else b"must not leave the target " + name.encode()
    entries.insert(rng.randrange(len(entries) + 1), (name, data, zipfile.ZIP_STORED, b""))
    return _zip(entries), True, [data] if data else []


def duplicate_names(rng, contents):
    names = sorted(contents)
    entries = [(n, d, zipfile.ZIP_DEFLATED, b"") for n, d in ((n, contents[n]) for n in names)]
    twin = rng.choice(names)
    other = b"second copy of " + twin.encode()
    kind = rng.randrange(3)
    if kind == 0:    # the same file twice, different contents
        entries.append((twin, other, zipfile.ZIP_STORED, b""))
    elif kind == 1:  # a folder entry with a file's name
        entries.append((twin + "/", None, zipfile.ZIP_STORED, b""))
    else:            # a file where a folder is
        folders = sorted({n.split("/")[0] for n in names if "/" in n})
        if folders:
            entries.insert(0, (folders[0], other, zipfile.ZIP_STORED, b""))
        else:
            entries.append((twin, other, zipfile.ZIP_STORED, b""))
    return _zip(entries), False, [other]


BYTE_MUTATIONS = [truncate, flip_bits, overwrite_run, wrong_size, wrong_crc, huge_sizes, huge_counts]
REBUILDS = [zip_slip, duplicate_names]


def mutated_packages(count, seed=1207):
    """Yields (name, archive bytes, must_fail, allowed contents) deterministically.
    An archive must fail only when it went through one mutation that always
    breaks it: a second one may undo the damage (a flipped bit that turns
    "../" into ",./", a truncation that cuts a bad field off)."""
    rng = random.Random(seed)
    bases = base_packages()
    base_names = sorted(bases)
    for i in range(count):
        base = base_names[i % len(base_names)]
        data, contents = bases[base]
        allowed = set(contents.values())
        results, kinds = [], []
        rebuilt = rng.random() < 0.25
        if rebuilt:
            build = REBUILDS[rng.randrange(len(REBUILDS))]
            data, fail, extra = build(rng, contents)
            results.append(fail)
            allowed.update(extra)
            kinds.append(build.__name__)
        for _ in range(rng.choice([0, 1]) if rebuilt else rng.choice([1, 1, 1, 2, 3])):
            if not data:
                break
            mutate = BYTE_MUTATIONS[rng.randrange(len(BYTE_MUTATIONS))]
            data, fail, extra = mutate(rng, data)
            results.append(fail)
            allowed.update(extra)
            kinds.append(mutate.__name__)
        must_fail = len(results) == 1 and results[0]
        yield "%04d_%s_%s.zip" % (i, base, "+".join(kinds)), data, must_fail, allowed


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--seeds")
    parser.add_argument("--out")
    parser.add_argument("-n", type=int, default=300)
    args = parser.parse_args()
    if args.seeds:
        os.makedirs(args.seeds, exist_ok=True)
        for name, (data, _) in base_packages().items():
            with open(os.path.join(args.seeds, name + ".zip"), "wb") as f:
                f.write(data)
    if args.out:
        os.makedirs(args.out, exist_ok=True)
        for name, data, _, _ in mutated_packages(args.n):
            with open(os.path.join(args.out, name), "wb") as f:
                f.write(data)


if __name__ == "__main__":
    main()
