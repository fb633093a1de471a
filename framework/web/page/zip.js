// Images kept in .zip archives: the archive's central directory read, the image among its
// entries found, and that one entry inflated with the browser's own DecompressionStream.
// Every field of the archive is taken as hostile: the central directory is the truth, every
// offset and size is checked against the file before it is used, no entry is read past its
// end, and an entry's name is only ever shown (its last part), never used as a path.

export class ZipError extends Error {}

const damagedArchive = () => new ZipError("the archive is damaged");
const split = () => new ZipError("it is split over several disks");

const LocalHeader = 0x04034b50, CentralHeader = 0x02014b50, EndOfDirectory = 0x06054b50;
const Zip64End = 0x06064b50, Zip64Locator = 0x07064b50;
const EndSize = 22, Zip64LocatorSize = 20, Zip64EndSize = 56, CentralSize = 46, LocalSize = 30;
const MaxComment = 0xffff;
const MaxDirectory = 4 << 20;  // far more than the few entries of an image's archive
const Stored = 0, Deflated = 8;
const Encrypted = 0x0001, Utf8Names = 0x0800;
const ImageExtensions = [".smc", ".sfc", ".fig"];

// Whether file is to be read as a zip archive: by its name, or by its first bytes.
export async function isZip(file) {
  if (/\.zip$/i.test(file.name)) return true;
  const start = new DataView(await file.slice(0, 4).arrayBuffer());
  return start.byteLength === 4 && start.getUint32(0, true) === LocalHeader;
}

async function bytesAt(file, offset, length) {
  if (offset < 0 || length < 0 || offset + length > file.size) throw damagedArchive();
  return new DataView(await file.slice(offset, offset + length).arrayBuffer());
}

// A 64-bit little-endian field as a number, refused past what a number holds exactly.
function uint64(view, at) {
  const high = view.getUint32(at + 4, true);
  if (high >= 0x200000) throw damagedArchive();
  return high * 0x100000000 + view.getUint32(at, true);
}

async function findEnd(file) {
  const tail = Math.min(file.size, EndSize + MaxComment);
  const view = await bytesAt(file, file.size - tail, tail);
  for (let at = tail - EndSize; at >= 0; --at) {
    if (view.getUint32(at, true) !== EndOfDirectory) continue;
    if (at + EndSize + view.getUint16(at + 20, true) > tail) continue;  // its comment would pass the end
    return { offset: file.size - tail + at, view: new DataView(view.buffer, at, EndSize) };
  }
  throw new ZipError("it is not a zip archive");
}

// Where the central directory lies and how many entries it holds, from the end record (or
// the zip64 one where the end record's fields are full).
async function findDirectory(file) {
  const end = await findEnd(file);
  const view = end.view;
  if (view.getUint16(4, true) !== 0 || view.getUint16(6, true) !== 0) throw split();
  let count = view.getUint16(10, true), size = view.getUint32(12, true), offset = view.getUint32(16, true);
  let limit = end.offset;  // the directory ends before the record that points at it
  if (count === 0xffff || size === 0xffffffff || offset === 0xffffffff) {
    const locator = await bytesAt(file, end.offset - Zip64LocatorSize, Zip64LocatorSize);
    if (locator.getUint32(0, true) !== Zip64Locator) throw damagedArchive();
    if (locator.getUint32(4, true) !== 0 || locator.getUint32(16, true) > 1) throw split();
    const at = uint64(locator, 8);
    if (at + Zip64EndSize > end.offset - Zip64LocatorSize) throw damagedArchive();
    const record = await bytesAt(file, at, Zip64EndSize);
    if (record.getUint32(0, true) !== Zip64End) throw damagedArchive();
    if (record.getUint32(16, true) !== 0 || record.getUint32(20, true) !== 0) throw split();
    count = uint64(record, 32);
    size = uint64(record, 40);
    offset = uint64(record, 48);
    limit = at;
  }
  if (offset + size > limit || size > MaxDirectory) throw damagedArchive();
  return { count, size, offset };
}

// The zip64 extra field's sizes and offset, each there only where the header's field is full.
function zip64Extra(extra, entry) {
  for (let at = 0; at + 4 <= extra.byteLength;) {
    const id = extra.getUint16(at, true), length = extra.getUint16(at + 2, true);
    if (at + 4 + length > extra.byteLength) throw damagedArchive();
    if (id === 0x0001) {
      let field = at + 4;
      const next = () => {
        if (field + 8 > at + 4 + length) throw damagedArchive();
        const value = uint64(extra, field);
        field += 8;
        return value;
      };
      if (entry.size === 0xffffffff) entry.size = next();
      if (entry.compressedSize === 0xffffffff) entry.compressedSize = next();
      if (entry.headerOffset === 0xffffffff) entry.headerOffset = next();
      return;
    }
    at += 4 + length;
  }
  if (entry.size === 0xffffffff || entry.compressedSize === 0xffffffff || entry.headerOffset === 0xffffffff)
    throw damagedArchive();
}

// The name as shown: its last part (after / or \), without control characters; "" for none.
function shownName(bytes, utf8) {
  const text = new TextDecoder(utf8 ? "utf-8" : "latin1").decode(bytes);
  const name = [...text.split(/[/\\]/).pop()].filter((c) => c >= " " && c !== "\u007f").join("");
  return name === "." || name === ".." ? "" : name;
}

// The archive's file entries, as its central directory gives them (folders left out):
// { name, method, flags, crc, compressedSize, size, headerOffset, dataLimit }.
export async function readDirectory(file) {
  const directory = await findDirectory(file);
  const view = await bytesAt(file, directory.offset, directory.size);
  const entries = [];
  let at = 0;
  for (let i = 0; i < directory.count; ++i) {
    if (at + CentralSize > view.byteLength || view.getUint32(at, true) !== CentralHeader) throw damagedArchive();
    const nameLength = view.getUint16(at + 28, true), extraLength = view.getUint16(at + 30, true);
    const commentLength = view.getUint16(at + 32, true);
    const next = at + CentralSize + nameLength + extraLength + commentLength;
    if (next > view.byteLength) throw damagedArchive();
    const flags = view.getUint16(at + 8, true);
    const nameBytes = new Uint8Array(view.buffer, view.byteOffset + at + CentralSize, nameLength);
    const entry = {
      name: shownName(nameBytes, flags & Utf8Names),  // "" for a folder
      flags,
      method: view.getUint16(at + 10, true),
      crc: view.getUint32(at + 16, true),
      compressedSize: view.getUint32(at + 20, true),
      size: view.getUint32(at + 24, true),
      headerOffset: view.getUint32(at + 42, true),
    };
    zip64Extra(new DataView(view.buffer, view.byteOffset + at + CentralSize + nameLength, extraLength), entry);
    entry.dataLimit = directory.offset;  // no entry's data runs into the directory
    if (entry.name) entries.push(entry);
    at = next;
  }
  return entries;
}

// The entries that may be the image: the only file of the archive, else those named as SNES
// images. One: load it; several: the user picks; none: nothing to load.
export function imageEntries(entries) {
  if (entries.length === 1) return entries;
  return entries.filter((entry) => ImageExtensions.some((extension) => entry.name.toLowerCase().endsWith(extension)));
}

// CRC-32 (the zip's, IEEE 802.3), carried over the chunks of an entry.
const crcTable = new Uint32Array(256).map((_, n) => {
  let c = n;
  for (let k = 0; k < 8; ++k) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
  return c;
});

function crc32(crc, bytes) {
  let c = ~crc;
  for (let i = 0; i < bytes.length; ++i) c = crcTable[(c ^ bytes[i]) & 0xff] ^ (c >>> 8);
  return ~c >>> 0;
}

// The entry's bytes, inflated and checked: refused when encrypted, packed by a method other
// than stored or deflate, larger than limit, longer or shorter than its directory says, or
// with a CRC other than its directory's.
export async function extract(file, entry, limit) {
  const name = entry.name;
  if (entry.flags & Encrypted) throw new ZipError(`its image ${name} is encrypted`);
  if (entry.method !== Stored && entry.method !== Deflated)
    throw new ZipError(`its image ${name} is packed by a method the page does not read (method ${entry.method})`);
  if (entry.size > limit)
    throw new ZipError(`its image ${name} is larger than the ${limit / 1048576} MiB the page takes`);
  const local = await bytesAt(file, entry.headerOffset, LocalSize);
  if (local.getUint32(0, true) !== LocalHeader) throw damagedArchive();
  const start = entry.headerOffset + LocalSize + local.getUint16(26, true) + local.getUint16(28, true);
  if (start + entry.compressedSize > entry.dataLimit) throw damagedArchive();
  if (entry.method === Stored && entry.compressedSize !== entry.size) throw damagedArchive();

  const damaged = () => new ZipError(`its image ${name} is damaged`);
  const packed = file.slice(start, start + entry.compressedSize).stream();
  const inflated = entry.method === Stored ? packed : packed.pipeThrough(new DecompressionStream("deflate-raw"));
  const reader = inflated.getReader();
  const bytes = new Uint8Array(entry.size);
  let length = 0, crc = 0;
  try {
    for (;;) {
      const { done, value } = await reader.read();
      if (done) break;
      if (length + value.length > bytes.length) {  // more than the directory says: never past its end
        reader.cancel().catch(() => {});
        throw damaged();
      }
      bytes.set(value, length);
      length += value.length;
      crc = crc32(crc, value);
    }
  } catch (error) {
    if (error instanceof ZipError) throw error;
    throw damaged();  // the inflater's own complaint: not deflate data, or cut short
  }
  if (length !== bytes.length) throw damaged();
  if (crc !== entry.crc) throw new ZipError(`its image ${name} is damaged (its CRC is not the one the archive gives)`);
  return bytes;
}
