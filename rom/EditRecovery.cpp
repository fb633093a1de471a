#include "rom/EditRecovery.h"

#include <charconv>
#include <cstdio>

#include "rom/CRomImage.h"
#include "rom/RomLayout.h"

namespace {

constexpr std::string_view Heading = "TAVERO recovery 1";

std::string EscapedPath(const std::string& path) {
  std::string text;
  for (unsigned char c : path) {
    if (c < 0x20 || c == 0x7F || c == '\\') {
      char escape[5];
      std::snprintf(escape, sizeof escape, "\\x%02X", c);
      text += escape;
    } else {
      text += static_cast<char>(c);
    }
  }
  return text;
}

template <typename Number>
bool HexValue(std::string_view digits, Number& value) {
  if (digits.empty()) return false;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
  return error == std::errc() && end == digits.data() + digits.size();
}

std::optional<std::string> UnescapedPath(std::string_view text) {
  std::string path;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      path += text[i];
      continue;
    }
    unsigned byte = 0;
    if (text.size() - i < 4 || text[i + 1] != 'x' || !HexValue(text.substr(i + 2, 2), byte)) return std::nullopt;
    path += static_cast<char>(byte);
    i += 3;
  }
  return path;
}

// The line's value after "key ", or nothing when the line is another.
std::optional<std::string_view> Value(std::string_view line, std::string_view key) {
  if (line.size() <= key.size() || line.substr(0, key.size()) != key || line[key.size()] != ' ') return std::nullopt;
  return line.substr(key.size() + 1);
}

}  // namespace

EditRecovery EditRecovery::Of(const CString& path, const FileFingerprint& image, bool shifted, const EsperRecords& now,
                              const EsperRecords& saved) {
  EditRecovery recovery{path, image, shifted, {}};
  for (int e = 0; e < RomLayout::EsperCount; ++e) {
    const auto& row = now[static_cast<std::size_t>(e)];
    if (!shifted && row == saved[static_cast<std::size_t>(e)]) continue;
    EsperRecord kept{};
    for (int slot = 0; slot < KeptSlots; ++slot) kept[slot] = row[slot] & 0xFF;
    recovery.Records.emplace_back(e, kept);
  }
  return recovery;
}

std::string EditRecovery::Text() const {
  char line[64];
  std::string text(Heading);
  text += "\nimage " + EscapedPath(Path.Str()) + "\n";
  std::snprintf(line, sizeof line, "length %llu\nhash %016llX\nshifted %d\n",
                static_cast<unsigned long long>(Image.Length), static_cast<unsigned long long>(Image.Hash),
                Shifted ? 1 : 0);
  text += line;
  for (const auto& [esper, row] : Records) {
    text += "record " + std::to_string(esper) + " ";
    for (int slot = 0; slot < KeptSlots; ++slot) {
      std::snprintf(line, sizeof line, "%02X", static_cast<unsigned>(row[slot] & 0xFF));
      text += line;
    }
    text += "\n";
  }
  return text + "end\n";
}

std::optional<EditRecovery> EditRecovery::Parse(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    if (end == std::string_view::npos) return std::nullopt;  // cut short: the last line has no end
    lines.push_back(text.substr(0, end));
    text.remove_prefix(end + 1);
  }
  if (lines.size() < 6 || lines.front() != Heading || lines.back() != "end") return std::nullopt;

  EditRecovery recovery;
  const auto path = Value(lines[1], "image");
  const auto length = Value(lines[2], "length");
  const auto hash = Value(lines[3], "hash");
  const auto shifted = Value(lines[4], "shifted");
  if (!path || !length || !hash || !shifted) return std::nullopt;
  const auto unescaped = UnescapedPath(*path);
  if (!unescaped) return std::nullopt;
  recovery.Path = CString(*unescaped);
  unsigned long long bytes = 0;
  if (const auto [end, error] = std::from_chars(length->data(), length->data() + length->size(), bytes);
      error != std::errc() || end != length->data() + length->size())
    return std::nullopt;
  std::uint64_t sum = 0;
  if (hash->size() != 16 || !HexValue(*hash, sum)) return std::nullopt;
  if (*shifted != "0" && *shifted != "1") return std::nullopt;
  recovery.Image = {bytes, sum};
  recovery.Shifted = *shifted == "1";

  bool seen[RomLayout::EsperCount] = {};
  for (std::size_t i = 5; i + 1 < lines.size(); ++i) {
    const auto record = Value(lines[i], "record");
    if (!record) return std::nullopt;
    const std::size_t space = record->find(' ');
    int esper = -1;
    if (space == std::string_view::npos) return std::nullopt;
    if (const auto [end, error] = std::from_chars(record->data(), record->data() + space, esper);
        error != std::errc() || end != record->data() + space || esper < 0 || esper >= RomLayout::EsperCount ||
        seen[esper])
      return std::nullopt;
    seen[esper] = true;
    const std::string_view digits = record->substr(space + 1);
    if (digits.size() != 2 * KeptSlots) return std::nullopt;
    EsperRecord row{};
    for (int slot = 0; slot < KeptSlots; ++slot) {
      unsigned value = 0;
      if (!HexValue(digits.substr(2 * static_cast<std::size_t>(slot), 2), value)) return std::nullopt;
      row[slot] = static_cast<int>(value);
    }
    recovery.Records.emplace_back(esper, row);
  }
  return recovery;
}

EditRecovery::Match EditRecovery::MatchOf(const CString& path, const FileFingerprint& loaded) const {
  if (Path.Str() != path.Str()) return Match::OtherImage;
  return Image == loaded ? Match::Applies : Match::ImageChanged;
}

bool EditRecovery::ApplyTo(CRomImage& rom) const {
  if (Shifted && !rom.ShiftFiveToSix()) return false;
  for (const auto& [esper, row] : Records)
    for (int slot = 0; slot < KeptSlots; ++slot) rom.EsperTable[static_cast<std::size_t>(esper)][slot] = row[slot];
  return true;
}

CString EditRecovery::FileNameFor(const CString& path) {
  std::uint64_t hash = 0xCBF29CE484222325u;  // FNV-1a, 64 bits: stable in every build
  for (unsigned char c : path.Str()) hash = (hash ^ c) * 0x100000001B3u;
  char name[40];
  std::snprintf(name, sizeof name, "recovery-%016llx.txt", static_cast<unsigned long long>(hash));
  return CString(name);
}
