#pragma once
// Image files for the fuzz targets, kept in memory from run to run: a generated image at any
// length and header, with 0xA5 filler around it. A run changes a few stretches of its file;
// the next run with the same header puts back only those, and cuts the file or fills only
// what it gains for another length, instead of rewriting megabytes (and memory new to the
// process costs a page fault a page under the sanitizers).

#include <cstddef>
#include <cstdint>
#include <vector>

class CleanImages {
 public:
  using Bytes = std::vector<std::uint8_t>;
  struct Span {
    std::size_t First;
    std::size_t Last;  // one past
  };

  // base: the generated image; longest: the longest file asked for; kept: headers held at once.
  CleanImages(Bytes base, std::size_t longest, std::size_t kept);

  // Swaps into file the clean file of this length, with the image at header (header <=
  // length). file must be what the last call gave out, changed only where Changed or written
  // says (written: a span over what the caller's file system saw writes change) and of the
  // same length.
  void Prepare(Bytes& file, std::size_t length, std::size_t header, Span written = {0, 0});
  // The caller changes [from, to) of the file last given out.
  void Changed(std::size_t from, std::size_t to) { Out->Dirty.push_back({from, to}); }

  // What Prepare gives for this length and header, made from nothing.
  Bytes Reference(std::size_t length, std::size_t header) const;

 private:
  struct Kept {
    std::size_t Length = 0;
    std::size_t Header = 0;
    bool Filled = false;
    unsigned LastUse = 0;
    Bytes Data;
    std::vector<Span> Dirty;
  };
  void Fill(Bytes& file, std::size_t header, std::size_t from, std::size_t to) const;
  // Lengthens file to `to` bytes of the clean file.
  void Extend(Bytes& file, std::size_t header, std::size_t to) const;

  Bytes Base;
  std::size_t Longest;
  std::vector<Kept> Files;
  Kept* Out = nullptr;
  unsigned Uses = 0;
};
