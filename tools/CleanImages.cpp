#include "tools/CleanImages.h"

#include <algorithm>
#include <cstring>

CleanImages::CleanImages(Bytes base, std::size_t longest, std::size_t kept)
    : Base(std::move(base)), Longest(longest), Files(kept) {}

void CleanImages::Fill(Bytes& file, std::size_t header, std::size_t from, std::size_t to) const {
  const std::size_t baseFrom = std::min(std::max(from, header), to);
  const std::size_t baseTo = std::max(baseFrom, std::min(to, header + Base.size()));
  std::memset(file.data() + from, 0xA5, baseFrom - from);
  if (baseTo > baseFrom) std::memcpy(file.data() + baseFrom, Base.data() + (baseFrom - header), baseTo - baseFrom);
  std::memset(file.data() + baseTo, 0xA5, to - baseTo);
}

void CleanImages::Extend(Bytes& file, std::size_t header, std::size_t to) const {
  // Filler appended rather than resized and then filled, so written once. The image is
  // copied by memcpy: inserting a range moves it with memmove, which AddressSanitizer does a
  // byte at a time.
  const std::size_t from = file.size();
  const std::size_t baseFrom = std::min(std::max(from, header), to);
  const std::size_t baseTo = std::max(baseFrom, std::min(to, header + Base.size()));
  file.insert(file.end(), baseFrom - from, 0xA5);
  file.resize(baseTo);
  if (baseTo > baseFrom) std::memcpy(file.data() + baseFrom, Base.data() + (baseFrom - header), baseTo - baseFrom);
  file.insert(file.end(), to - baseTo, 0xA5);
}

CleanImages::Bytes CleanImages::Reference(std::size_t length, std::size_t header) const {
  Bytes file(length);
  Fill(file, header, 0, length);
  return file;
}

void CleanImages::Prepare(Bytes& file, std::size_t length, std::size_t header, Span written) {
  if (Out) {  // the last file back to its place, with what was written into it
    if (written.First != written.Last) Out->Dirty.push_back(written);
    if (file.size() != Out->Length) {
      Out->Dirty.push_back({0, Out->Length});
      file.resize(Out->Length);
    }
    std::swap(file, Out->Data);
  }
  // Files of one header agree up to the shorter's length: one of another length is cut, or
  // filled past its end.
  Kept* kept = nullptr;
  for (Kept& candidate : Files)
    if (candidate.Filled && candidate.Header == header) kept = &candidate;
  if (kept && kept->Length != length) {
    const std::size_t common = std::min(length, kept->Length);  // before it grows: the new end is clean
    for (const Span& span : kept->Dirty)
      Fill(kept->Data, header, std::min(span.First, common), std::min(span.Last, common));
    kept->Dirty.clear();
    if (length < kept->Length)
      kept->Data.resize(length);
    else
      Extend(kept->Data, header, length);
    kept->Length = length;
  }
  if (!kept) {
    kept = &*std::min_element(Files.begin(), Files.end(),
                              [](const Kept& a, const Kept& b) { return a.LastUse < b.LastUse; });
    kept->Length = length;
    kept->Header = header;
    kept->Filled = true;
    kept->Dirty.clear();
    kept->Data.reserve(Longest);  // once for each, so that no later length needs new memory
    kept->Data.clear();
    Extend(kept->Data, header, length);
  }
  for (const Span& span : kept->Dirty)
    Fill(kept->Data, header, std::min(span.First, length), std::min(span.Last, length));
  kept->Dirty.clear();
  kept->LastUse = ++Uses;
  Out = kept;
  std::swap(file, kept->Data);
}
