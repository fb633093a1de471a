#pragma once
// Images made to break the editor: wrong sizes, odd headers, every kind of probe, names
// without ends or without content, every byte value in a name. Built here, not kept as files.

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

struct HostileImage {
  std::string Name;
  std::function<std::vector<std::uint8_t>()> Make;
  bool Loads;  // whether the editor can take it (else it must refuse it with a message)
  friend void PrintTo(const HostileImage& image, std::ostream* out) { *out << image.Name; }
};

std::vector<HostileImage> HostileImages();
