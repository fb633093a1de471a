#include "CleanImages.h"

#include <algorithm>

CleanImages::CleanImages(Bytes base, std::size_t longest, std::size_t kept)
    : Base(std::move(base)), Longest(longest), Files(kept) {}

void CleanImages::Fill(Bytes& file, std::size_t header, std::size_t from, std::size_t to) const {
  const std::size_t baseFrom = std::min(std::max(from, header), to);
  const std::size_t baseTo = std::max(baseFrom, std::min(to, header + Base.size()));
  const auto at = [&file](std::size_t offset) { return file.begin() + static_cast<std::ptrdiff_t>(offset); };
  std::fill(at(from), at(baseFrom), 0xA5);
  if (baseTo > baseFrom)
    std::copy_n(Base.begin() + static_cast<std::ptrdiff_t>(baseFrom - header), baseTo - baseFrom, at(baseFrom));
  std::fill(at(baseTo), at(to), 0xA5);
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
  Kept* kept = nullptr;
  for (Kept& candidate : Files)
    if (candidate.Filled && candidate.Length == length && candidate.Header == header) kept = &candidate;
  if (!kept) {
    kept = &*std::min_element(Files.begin(), Files.end(),
                              [](const Kept& a, const Kept& b) { return a.LastUse < b.LastUse; });
    kept->Length = length;
    kept->Header = header;
    kept->Filled = true;
    kept->Dirty = {{0, length}};
    kept->Data.reserve(Longest);  // once for each, so that no later length needs new memory
    kept->Data.resize(length);
  }
  for (const Span& span : kept->Dirty)
    Fill(kept->Data, header, std::min(span.First, length), std::min(span.Last, length));
  kept->Dirty.clear();
  kept->LastUse = ++Uses;
  Out = kept;
  std::swap(file, kept->Data);
}
