"""The page's zip reader (framework/web/page/zip.js) in Node, on archives made here with
Python's zipfile, hostile ones too: one table of cases, each naming the fault it catches.

    /usr/bin/python3 tests/web/zip_tests.py   (tests/web/run-web-tests does this)
"""

import base64
import io
import json
import os
import random
import struct
import subprocess
import tempfile
import unittest
import zipfile
from collections import namedtuple
from unittest import mock

ZIP_JS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "framework", "web", "page", "zip.js")
IMAGE = bytes(random.Random(7).choices(range(16), k=64 * 1024))  # deflate packs it to about half, in Huffman blocks
MiB = 1 << 20

# For each archive: its image entries' names, and the one image's bytes or the reason it is refused.
READ = """
const zip = await import("data:text/javascript," + encodeURIComponent(process.argv[1]));
const fs = await import("node:fs");
const results = [];
for (const [path, limit] of JSON.parse(process.argv[2])) {
  const file = new File([fs.readFileSync(path)], "a.zip");
  try {
    const images = zip.imageEntries(await zip.readDirectory(file));
    const result = { images: images.map((entry) => entry.name) };
    if (images.length === 1) result.bytes = Buffer.from(await zip.extract(file, images[0], limit)).toString("base64");
    results.push(result);
  } catch (error) {
    results.push(error instanceof zip.ZipError ? { refused: error.message } : { crashed: String(error.stack) });
  }
}
console.log(JSON.stringify(results));
"""

# name, fault, entries [(name, bytes, method)], a change to the archive's bytes, the page's
# limit, and what the reader gives: ["names"] and the image, or "refused: TEXT".
Case = namedtuple("Case", "name fault entries change limit want", defaults=[None, 64 * MiB, None])


def poke(at, fmt, *values):
    """Writes values over the archive at at(archive): each change a hostile writer could make."""
    def change(archive):
        for where, value in zip(at(archive), values):
            archive[where:where + struct.calcsize(fmt)] = struct.pack(fmt, value)
    return change


def in_central(field, fmt, value):  # in the first central directory header
    return poke(lambda a: [a.index(b"PK\x01\x02") + field], fmt, value)


def comment(text):
    def change(archive):
        archive[-2:] = struct.pack("<H", len(text))  # the end record's comment length, then the comment
        archive.extend(text)
    return change


def zip64(archive):
    # As a writer of big archives leaves it: the end record's offset full, the zip64 end record the truth.
    end = len(archive) - 22
    archive[end + 16:end + 20] = b"\xff\xff\xff\xff"


def make(entries, small_zip64=False):
    """An archive of entries [(name, bytes, method)]; small_zip64: zip64 fields from 1000 bytes on."""
    buffer = io.BytesIO()
    with mock.patch.object(zipfile, "ZIP64_LIMIT", 1000 if small_zip64 else zipfile.ZIP64_LIMIT), \
            zipfile.ZipFile(buffer, "w") as archive:
        for name, data, method in entries:
            info = zipfile.ZipInfo(name, date_time=(2020, 1, 1, 0, 0, 0))
            info.compress_type = zipfile.ZIP_DEFLATED if method == LOCAL_EXTRA else method
            # force_zip64: a zip64 extra in the local header, which the central one has only when needed
            with archive.open(info, "w", force_zip64=small_zip64 or method == LOCAL_EXTRA) as entry:
                entry.write(data)
    return bytearray(buffer.getvalue())


LOCAL_EXTRA = "local-extra"  # a deflated entry whose local header is longer than its central one
S, D = zipfile.ZIP_STORED, zipfile.ZIP_DEFLATED
CASES = [
    Case("stored image", "a stored entry read from the wrong offset", [("game.smc", IMAGE, S)], want=["game.smc"]),
    Case("deflated image, the only file, any name", "the only entry not taken as the image, deflate misread",
         [("dump.bin", IMAGE, D)], want=["dump.bin"]),
    Case("local header longer than the central one", "the data placed by the central header's extra length",
         [("game.sfc", IMAGE, LOCAL_EXTRA)], want=["game.sfc"]),
    Case("an image among other files, in a folder", "a text file or a folder taken for the image, a path as its name",
         [("roms/", b"", S), ("readme.txt", b"hello", D), ("roms/../../Game.FIG", IMAGE, D)], want=["Game.FIG"]),
    Case("two images: the user picks", "one of several images taken without asking",
         [("a.smc", IMAGE, D), ("b.sfc", IMAGE, D), ("c.txt", b"x", D)], want=["a.smc", "b.sfc"]),
    Case("no image", "a text file loaded as an image", [("a.txt", b"x", D), ("b.txt", b"y", D)], want=[]),
    Case("zip64 sizes and end record", "a zip64 archive misread",
         [("big.smc", IMAGE, D)], change=zip64, want=["big.smc"]),
    Case("zip64 image over the limit", "an image larger than the page takes inflated anyway",
         [("big.smc", IMAGE, D)], change=zip64, limit=32 * 1024, want="refused: its image big.smc is larger than"),
    Case("encrypted entry", "encrypted bytes loaded as an image", [("game.smc", IMAGE, S)],
         change=poke(lambda a: [a.index(b"PK\x01\x02") + 8, a.index(b"PK\x03\x04") + 6], "<H", 1, 1), want="refused: its image game.smc is encrypted"),
    Case("bzip2 entry", "an unknown method's bytes loaded raw", [("game.smc", IMAGE, zipfile.ZIP_BZIP2)],
         want="refused: its image game.smc is packed by a method the page does not read (method 12)"),
    Case("bad CRC", "a corrupted image loaded", [("game.smc", IMAGE, D)], change=in_central(16, "<I", 0x12345678),
         want="refused: its image game.smc is damaged (its CRC"),
    Case("inflates to more than its size", "a bomb's output written past the buffer, or taken",
         [("game.smc", IMAGE, D)], change=in_central(24, "<I", 1000), want="refused: its image game.smc is damaged"),
    Case("inflates to less than its size", "a short entry padded with zeros and taken",
         [("game.smc", IMAGE, D)], change=in_central(24, "<I", len(IMAGE) + 100), want="refused: its image game.smc is damaged"),
    Case("an end record in the comment", "a record in the archive's comment taken for the end record",
         [("game.smc", IMAGE, D)], change=comment(b"PK\x05\x06" + bytes(16) + b"\xff\xff"), want=["game.smc"]),
    Case("packed size past the directory", "an entry read past its end, into the directory",
         [("game.smc", IMAGE, D)], change=in_central(20, "<I", 0x7fffffff), want="refused: the archive is damaged"),
    Case("header offset past the directory", "an offset followed outside the file",
         [("game.smc", IMAGE, S)], change=in_central(42, "<I", 0xfffffff0), want="refused: the archive is damaged"),
    Case("cut short", "a truncated archive taken", [("game.smc", IMAGE, D)],
         change=lambda a: a.__delitem__(slice(len(a) - 30, None)), want="refused: it is not a zip archive"),
    Case("entry count beyond the directory", "headers read past the directory's size",
         [("game.smc", IMAGE, S)], change=poke(lambda a: [len(a) - 12, len(a) - 14], "<H", 9, 9),
         want="refused: the archive is damaged"),
]


class ZipReaderTest(unittest.TestCase):
    def test_cases(self):
        with tempfile.TemporaryDirectory(prefix="tavero-zip-") as folder, open(ZIP_JS, encoding="utf-8") as source:
            jobs = []
            for number, case in enumerate(CASES):
                archive = make(case.entries, small_zip64=case.change is zip64)
                if case.change:
                    case.change(archive)
                path = os.path.join(folder, f"{number}.zip")
                with open(path, "wb") as file:
                    file.write(archive)
                jobs.append([path, case.limit])
            run = subprocess.run(["node", "--input-type=module", "-e", READ, source.read(), json.dumps(jobs)],
                                 capture_output=True, text=True, check=True)
        for case, result in zip(CASES, json.loads(run.stdout)):
            with self.subTest(case.name, fault=case.fault):
                self.assertNotIn("crashed", result)
                if isinstance(case.want, str):
                    self.assertTrue(result.get("refused", "").startswith(case.want[len("refused: "):]), result)
                    continue
                self.assertEqual(result.get("images"), case.want, result.get("refused"))
                if len(case.want) == 1:
                    self.assertTrue(base64.b64decode(result["bytes"]) == IMAGE, "the image's bytes")


if __name__ == "__main__":
    unittest.main(verbosity=2)
