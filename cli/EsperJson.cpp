#include "cli/EsperJson.h"

#include <initializer_list>

#include "cli/Printable.h"
#include "cli/Transliteration.h"
#include "rom/RomLayout.h"

namespace Cli {

using nlohmann::ordered_json;

namespace {

void PutName(ordered_json& object, const char* key, const char* bytesKey, const std::optional<std::string>& name) {
  if (!name) return;
  object[key] = TransliterateGameText(*name);
  object[bytesKey] = HexBytes(*name);
}

ordered_json NullWhenEmpty(int value) { return value == NoValue ? ordered_json(nullptr) : ordered_json(value); }

// A checker that carries the place it is looking at, so every message names it.
class Reader {
 public:
  explicit Reader(std::string* error) : Error(error) {}

  bool Fail(const std::string& place, const std::string& what) {
    *Error = (place.empty() ? std::string() : place + ": ") + what;
    return false;
  }

  bool OnlyKeys(const nlohmann::json& object, const std::string& place, std::initializer_list<const char*> known) {
    if (!object.is_object()) return Fail(place, "must be an object");
    for (const auto& item : object.items()) {
      bool found = false;
      for (const char* key : known) found = found || item.key() == key;
      if (!found) return Fail(place, "unknown key \"" + Printable(item.key()) + "\"");
    }
    return true;
  }

  bool Required(const nlohmann::json& object, const std::string& place, const char* key) {
    if (object.contains(key)) return true;
    return Fail(place, std::string("\"") + key + "\" is missing");
  }

  // A whole number in [low, high]; null gives nullValue when nullValue >= 0.
  bool Number(const nlohmann::json& value, const std::string& place, int low, int high, int& out, int nullValue = -1) {
    if (value.is_null() && nullValue >= 0) {
      out = nullValue;
      return true;
    }
    const std::string expected = std::to_string(low) + ".." + std::to_string(high) + (nullValue >= 0 ? " or null" : "");
    if (!value.is_number_integer()) return Fail(place, "must be a whole number " + expected + ", not " + value.dump());
    const bool negative = value.is_number_integer() && !value.is_number_unsigned() && value.get<std::int64_t>() < 0;
    if (negative || value.get<std::uint64_t>() > static_cast<std::uint64_t>(high) || value.get<std::int64_t>() < low)
      return Fail(place, value.dump() + " is out of range " + expected);
    out = value.get<int>();
    return true;
  }

 private:
  std::string* Error;
};

}  // namespace

ordered_json EspersToJson(const ImageSession& session, const std::vector<EsperView>& espers) {
  ordered_json document;
  document["format"] = JsonFormatName;
  document["version"] = JsonFormatVersion;
  document["layout"] = LayoutName(session.Layout);
  document["recordSize"] = session.ProbedRecordSize;
  ordered_json list = ordered_json::array();
  for (const EsperView& esper : espers) {
    ordered_json entry;
    entry["number"] = esper.Number;
    PutName(entry, "name", "nameBytes", esper.Name);
    ordered_json pairs = ordered_json::array();
    for (const PairView& pair : esper.Pairs) {
      ordered_json item;
      item["rate"] = pair.Rate;
      item["spell"] = NullWhenEmpty(pair.Spell);
      PutName(item, "name", "nameBytes", SpellName(session.Rom, pair.Spell));
      pairs.push_back(std::move(item));
    }
    entry["spells"] = std::move(pairs);
    entry["bonus"] = NullWhenEmpty(esper.Bonus);
    if (esper.Bonus != NoValue) PutName(entry, "bonusName", "bonusNameBytes", BonusName(session.Rom, esper.Bonus));
    list.push_back(std::move(entry));
  }
  document["espers"] = std::move(list);
  return document;
}

namespace {

// Far deeper than any document of the form above, and far shallower than the stack allows.
constexpr int DeepestNesting = 64;

bool ParseDocument(std::string_view text, std::vector<EsperValues>& espers, std::string* error) {
  nlohmann::json document = nlohmann::json::parse(text.begin(), text.end());

  Reader read(error);
  if (!read.OnlyKeys(document, "", {"format", "version", "layout", "recordSize", "espers"})) return false;
  if (!read.Required(document, "", "format") || !read.Required(document, "", "version") ||
      !read.Required(document, "", "espers"))
    return false;
  if (document["format"] != JsonFormatName)
    return read.Fail("format", std::string("must be \"") + JsonFormatName + "\", not " + document["format"].dump());
  if (document["version"] != JsonFormatVersion)
    return read.Fail("version", "must be " + std::to_string(JsonFormatVersion) + ", not " + document["version"].dump());
  if (document.contains("layout") && document["layout"] != LayoutName(EsperLayout::SixSlot))
    return read.Fail("layout",
                     "must be \"six-slot\": only six-slot records are imported, not " + document["layout"].dump());
  if (document.contains("recordSize") && document["recordSize"] != RomLayout::SixSlotRecordSize)
    return read.Fail("recordSize", "must be 13 (six-slot records), not " + document["recordSize"].dump());

  const nlohmann::json& list = document["espers"];
  if (!list.is_array()) return read.Fail("espers", "must be an array of the 27 espers");
  if (list.size() != RomLayout::EsperCount)
    return read.Fail("espers", "holds " + std::to_string(list.size()) + " espers; it must hold all 27, in order");

  espers.assign(RomLayout::EsperCount, EsperValues{});
  for (int e = 0; e < RomLayout::EsperCount; ++e) {
    const nlohmann::json& entry = list[static_cast<std::size_t>(e)];
    const std::string place = "espers[" + std::to_string(e) + "]";
    if (!read.OnlyKeys(entry, place, {"number", "name", "nameBytes", "spells", "bonus", "bonusName", "bonusNameBytes"}))
      return false;
    if (!read.Required(entry, place, "number") || !read.Required(entry, place, "spells") ||
        !read.Required(entry, place, "bonus"))
      return false;
    int number = 0;
    if (!read.Number(entry["number"], place + ".number", 0, RomLayout::EsperCount - 1, number)) return false;
    if (number != e)
      return read.Fail(place + ".number", "is " + std::to_string(number) + "; the espers must be in order 0..26");

    const nlohmann::json& pairs = entry["spells"];
    if (!pairs.is_array() || pairs.size() != PairCount)
      return read.Fail(place + ".spells", "must be an array of 6 {\"rate\", \"spell\"} pairs");
    EsperValues& values = espers[static_cast<std::size_t>(e)];
    for (int k = 0; k < PairCount; ++k) {
      const nlohmann::json& pair = pairs[static_cast<std::size_t>(k)];
      const std::string pairPlace = place + ".spells[" + std::to_string(k) + "]";
      if (!read.OnlyKeys(pair, pairPlace, {"rate", "spell", "name", "nameBytes"})) return false;
      if (!read.Required(pair, pairPlace, "rate") || !read.Required(pair, pairPlace, "spell")) return false;
      if (!read.Number(pair["rate"], pairPlace + ".rate", 0, 255, values.Rates[static_cast<std::size_t>(k)]))
        return false;
      if (!read.Number(pair["spell"], pairPlace + ".spell", 0, 255, values.Spells[static_cast<std::size_t>(k)],
                       NoValue))
        return false;
    }
    if (!read.Number(entry["bonus"], place + ".bonus", 0, 255, values.Bonus, NoValue)) return false;
  }
  return true;
}

// Where text nests arrays and objects deeper than DeepestNesting, as "line L, column C" (of
// bytes); "" when it does not. Strings are skipped, escapes and all.
std::string TooDeepAt(std::string_view text) {
  int depth = 0, line = 1;
  std::size_t lineStart = 0;
  bool inString = false, escaped = false;
  for (std::size_t at = 0; at < text.size(); ++at) {
    const char c = text[at];
    if (inString) {
      inString = escaped || c != '"';
      escaped = !escaped && c == '\\';
    } else if (c == '"') {
      inString = true;
    } else if (c == '[' || c == '{') {
      if (++depth > DeepestNesting)
        return "line " + std::to_string(line) + ", column " + std::to_string(at - lineStart + 1);
    } else if (c == ']' || c == '}') {
      --depth;
    }
    if (c == '\n') {
      ++line;
      lineStart = at + 1;
    }
  }
  return "";
}

}  // namespace

bool ParseEspersJson(std::string_view text, std::vector<EsperValues>& espers, std::string* error) {
  // The library recurses into nested values (and so does building its messages about them):
  // a document nested as deep as a file allows would overflow the stack.
  if (const std::string where = TooDeepAt(text); !where.empty()) {
    *error = "not valid for import: arrays and objects nested deeper than " + std::to_string(DeepestNesting) +
             " levels at " + where + " (an esper table is 5 deep)";
    return false;
  }
  // The library throws for text it cannot take: bad syntax, and also numbers too large for
  // any type (out_of_range), which is not a parse_error. Every one is a refusal with a reason.
  try {
    return ParseDocument(text, espers, error);
  } catch (const nlohmann::json::exception& e) {
    std::string what = e.what();
    // Drop the library's "[json.exception.parse_error.101] " tag; keep line and column.
    if (auto close = what.find("] "); what.rfind("[json.exception", 0) == 0 && close != std::string::npos)
      what.erase(0, close + 2);
    *error = "not valid JSON: " + what;
    return false;
  }
}

bool SpellFits(int value, int current) {
  return value == NoValue || value < RomLayout::SpellNameCount || value == current;
}

}  // namespace Cli
