#include "cli/EsperJson.h"

#include <vector>

#include "cli/Printable.h"
#include "rom/RomLayout.h"
#include "rom/Transliteration.h"

namespace Cli {

using nlohmann::ordered_json;

namespace {

void PutName(ordered_json& object, const char* key, const char* bytesKey, const std::optional<std::string>& name) {
  if (!name) return;
  object[key] = GameText::Transliterate(*name);
  object[bytesKey] = GameText::HexBytes(*name);
}

// The array of an esper's spell pairs, each an object of the fields in a pair.
constexpr const char* PairsKey = "spells";

// {"rate", "spell"}: the fields of a pair, for a message.
std::string PairWords() {
  std::string words = "{";
  for (const EsperField* field : EsperFields)
    if (field->InPair) words.append(words.size() > 1 ? ", \"" : "\"").append(field->Name).append("\"");
  return words + "}";
}

// A checker that carries the place it is looking at, so every message names it.
class Reader {
 public:
  explicit Reader(std::string* error) : Error(error) {}

  bool Fail(const std::string& place, const std::string& what) {
    *Error = (place.empty() ? std::string() : place + ": ") + what;
    return false;
  }

  bool OnlyKeys(const nlohmann::json& object, const std::string& place, const std::vector<const char*>& known) {
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
    ordered_json* at = &entry;  // the pair's object, or the esper's for the fields after the pairs
    ForEachField(esper.Pairs, [&](const EsperField& field, int pair) {
      if (field.InPair && field.Place == 0) at = &pairs.emplace_back(ordered_json::object());
      if (!field.InPair && at != &entry) {
        entry[PairsKey] = std::move(pairs);
        at = &entry;
      }
      const int value = esper.Value(field, pair);
      (*at)[field.Name] = field.IsNone(value) ? ordered_json(nullptr) : ordered_json(value);
      if (field.NameKey && !field.IsNone(value))
        PutName(*at, field.NameKey, field.NameBytesKey, ValueName(session.Rom, field, value));
    });
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
  const std::string count = std::to_string(RomLayout::EsperCount);
  if (!list.is_array()) return read.Fail("espers", "must be an array of the " + count + " espers");
  if (list.size() != RomLayout::EsperCount)
    return read.Fail("espers",
                     "holds " + std::to_string(list.size()) + " espers; it must hold all " + count + ", in order");

  // The keys each object may hold: the fields, and the names of values that have one.
  std::vector<const char*> entryKeys{"number", "name", "nameBytes", PairsKey}, pairKeys;
  for (const EsperField* field : EsperFields) {
    std::vector<const char*>& keys = field->InPair ? pairKeys : entryKeys;
    keys.push_back(field->Name);
    if (field->NameKey) keys.insert(keys.end(), {field->NameKey, field->NameBytesKey});
  }
  // A field's value: a whole number 0..255, or null for none where it has one.
  auto value = [&](const nlohmann::json& object, const std::string& place, const EsperField& field, int& slot) {
    return read.Number(object[field.Name], place + "." + field.Name, 0, 255, slot, field.NoneAllowed ? NoValue : -1);
  };

  espers.assign(RomLayout::EsperCount, EsperValues{});
  for (int e = 0; e < RomLayout::EsperCount; ++e) {
    const nlohmann::json& entry = list[static_cast<std::size_t>(e)];
    const std::string place = "espers[" + std::to_string(e) + "]";
    if (!read.OnlyKeys(entry, place, entryKeys)) return false;
    if (!read.Required(entry, place, "number") || !read.Required(entry, place, PairsKey)) return false;
    EsperRecord& values = espers[static_cast<std::size_t>(e)].Slots;
    for (const EsperField* field : EsperFields)
      if (!field->InPair && !read.Required(entry, place, field->Name)) return false;
    int number = 0;
    if (!read.Number(entry["number"], place + ".number", 0, RomLayout::EsperCount - 1, number)) return false;
    if (number != e)
      return read.Fail(place + ".number", "is " + std::to_string(number) + "; the espers must be in order 0.." +
                                              std::to_string(RomLayout::EsperCount - 1));

    const nlohmann::json& pairs = entry[PairsKey];
    if (!pairs.is_array() || pairs.size() != PairCount)
      return read.Fail(place + "." + PairsKey,
                       "must be an array of " + std::to_string(PairCount) + " " + PairWords() + " pairs");
    for (int pair = 1; pair <= PairCount; ++pair) {
      const nlohmann::json& object = pairs[static_cast<std::size_t>(pair - 1)];
      const std::string at = place + "." + PairsKey + "[" + std::to_string(pair - 1) + "]";
      if (!read.OnlyKeys(object, at, pairKeys)) return false;
      for (const EsperField* field : EsperFields)
        if (field->InPair && !read.Required(object, at, field->Name)) return false;
      for (const EsperField* field : EsperFields)
        if (field->InPair && !value(object, at, *field, values[static_cast<std::size_t>(field->Slot(pair))]))
          return false;
    }
    for (const EsperField* field : EsperFields)
      if (!field->InPair && !value(entry, place, *field, values[static_cast<std::size_t>(field->Slot(0))]))
        return false;
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

bool Fits(const EsperField& field, int value, int current) { return field.OwnValue(value) || value == current; }

}  // namespace Cli
