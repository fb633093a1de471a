#pragma once
// Images made to break the editor: wrong sizes, odd headers, every kind of probe, names
// without ends or without content, every byte value in a name. Built here, not kept as files.
// This is the one table of lengths too short for the editor's locations.

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

struct HostileImage {
  std::string Name;
  std::function<std::vector<std::uint8_t>()> Make;
  // What the message of a refused Load says ("too short", "esper code"); "" for an image the
  // editor takes.
  std::string Refusal;
  bool Loads() const { return Refusal.empty(); }
  friend void PrintTo(const HostileImage& image, std::ostream* out) { *out << image.Name; }
};

std::vector<HostileImage> HostileImages();
