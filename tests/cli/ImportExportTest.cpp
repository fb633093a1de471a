// export and import: the round trip, what the JSON holds, and what import refuses.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "CliRun.h"
#include "rom/Transliteration.h"

namespace {

using nlohmann::json;

class ExportImport : public ::testing::Test {
 protected:
  std::string Image(const Bytes& bytes) { return Dir.Write("image.smc", bytes); }
  json Exported(const std::string& image) {
    CliResult run = RunCli({"export", image, "-"});
    EXPECT_EQ(run.Status, 0) << run.Err;
    return json::parse(run.Out);
  }
  std::string WriteJson(const json& document) {
    const std::string text = document.dump(1);
    return Dir.Write("espers.json", Bytes(text.begin(), text.end()));
  }
  TempDir Dir;
};

class RoundTrip : public ExportImport, public ::testing::WithParamInterface<std::tuple<bool, int, std::uint64_t>> {};

TEST_P(RoundTrip, ExportThenImportLeavesTheFileByteIdentical) {
  auto [header, variant, romSize] = GetParam();
  SampleImage::Options options = SampleOptions(true, header, variant);
  options.RomSize = romSize;
  const Bytes before = SampleImage::Make(options);
  const std::string image = Image(before);
  const std::string file = Dir.PathOf("out.json");

  ASSERT_EQ(RunCli({"export", image, file}).Status, 0);
  CliResult run = RunCli({"import", image, file});
  ASSERT_EQ(run.Status, 0) << run.Err;
  EXPECT_NE(run.Out.find("0 values changed"), std::string::npos) << run.Out;
  EXPECT_EQ(ReadFileBytes(image), before);
}

std::string RoundTripName(const ::testing::TestParamInfo<std::tuple<bool, int, std::uint64_t>>& image) {
  const auto& [header, variant, size] = image.param;
  return std::string(header ? "Header" : "NoHeader") + "Variant" + std::to_string(variant) + "_" +
         std::to_string(size >> 20) + "MiB";
}

INSTANTIATE_TEST_SUITE_P(Images, RoundTrip,
                         ::testing::Values(std::tuple{false, 0, std::uint64_t{3 << 20}},
                                           std::tuple{true, 4, std::uint64_t{3 << 20}},
                                           std::tuple{false, 2, std::uint64_t{9 << 20}}),  // a large image
                         RoundTripName);

TEST_F(ExportImport, JsonHoldsTheRecordsAndNamesOfTheImage) {
  const std::string image = Image(Sample(true, true, 1));
  json document = Exported(image);
  EXPECT_EQ(document["format"], "tavero-espers");
  EXPECT_EQ(document["recordSize"], 13);
  ASSERT_EQ(document["espers"].size(), 27u);
  const SampleImage::Options options = SampleOptions(true, true, 1);
  for (int e = 0; e < 27; ++e) {
    const json& esper = document["espers"][static_cast<std::size_t>(e)];
    const Bytes record = SampleImage::EsperRecord(options, e);
    EXPECT_EQ(esper["number"], e);
    for (int k = 0; k < 6; ++k) {
      const json& pair = esper["spells"][static_cast<std::size_t>(k)];
      EXPECT_EQ(pair["rate"], record[static_cast<std::size_t>(2 * k)]) << e << "/" << k;
      const int spell = record[static_cast<std::size_t>(2 * k + 1)];
      EXPECT_EQ(pair["spell"], spell == 0xFF ? json(nullptr) : json(spell)) << e << "/" << k;
      EXPECT_EQ(pair.contains("name"), spell != 0xFF);
    }
    EXPECT_EQ(esper["bonus"], record[12] == 0xFF ? json(nullptr) : json(record[12]));
    Bytes name = SampleImage::EncodeName(SampleImage::EsperName(options, e));
    name.resize(8, 0xFF);
    const std::string nameBytes(name.begin(), name.end());
    EXPECT_EQ(esper["name"], GameText::Transliterate(nameBytes));
    EXPECT_EQ(esper["nameBytes"], GameText::HexBytes(nameBytes));
  }
}

TEST_F(ExportImport, ImportChangesTheEditedSlotsOnly) {
  const Bytes before = Sample(true);
  const std::string image = Image(before);
  json document = Exported(image);
  document["espers"][4]["spells"][1]["rate"] = 77;
  document["espers"][4]["spells"][5]["spell"] = 9;
  document["espers"][20]["bonus"] = nullptr;
  document["espers"][20]["bonusName"] = "ignored";  // names are never imported
  CliResult run = RunCli({"import", image, WriteJson(document)});
  ASSERT_EQ(run.Status, 0) << run.Err;

  Bytes expected = before;
  expected[SlotOffset(false, 4, 2)] = 77;
  expected[SlotOffset(false, 4, 11)] = 9;
  expected[SlotOffset(false, 20, 12)] = 0xFF;
  const Bytes after = ReadFileBytes(image);
  EXPECT_EQ(Differences(after, expected), std::vector<std::size_t>{});
}

TEST_F(ExportImport, ASpellPastTheListSurvivesButCannotBeChosen) {
  Bytes before = Sample(true);
  before[SlotOffset(false, 3, 1)] = 60;
  const std::string image = Image(before);
  json document = Exported(image);
  EXPECT_EQ(document["espers"][3]["spells"][0]["spell"], 60);
  ASSERT_EQ(RunCli({"import", image, WriteJson(document)}).Status, 0);
  EXPECT_EQ(ReadFileBytes(image), before);

  document["espers"][3]["spells"][1]["spell"] = 60;
  CliResult run = RunCli({"import", image, WriteJson(document)});
  EXPECT_EQ(run.Status, 1);
  EXPECT_NE(run.Err.find("espers[3].spells[1].spell: 60 is not a spell"), std::string::npos) << run.Err;
  EXPECT_EQ(ReadFileBytes(image), before);
}

TEST_F(ExportImport, FiveSlotImagesAreRefusedWithTheWayOut) {
  const Bytes five = Sample(false);
  const std::string image = Image(five);
  const std::string six = Dir.Write("six.smc", Sample(true));
  const std::string file = Dir.PathOf("six.json");
  ASSERT_EQ(RunCli({"export", six, file}).Status, 0);

  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"export", image, Dir.PathOf("five.json")}, {"import", image, file}}) {
    CliResult run = RunCli(args);
    EXPECT_EQ(run.Status, 1) << args[0];
    EXPECT_NE(run.Err.find("five-slot"), std::string::npos) << run.Err;
    EXPECT_NE(run.Err.find("tavero-cli shift"), std::string::npos) << run.Err;
  }
  EXPECT_EQ(ReadFileBytes(image), five);
  EXPECT_FALSE(std::filesystem::exists(Dir.PathOf("five.json")));
}

// A broken document: one message naming the place, exit 1, the image as it was.
struct BadDocument {
  const char* Case;
  std::function<void(json&)> Break;
  const char* Message;
  friend void PrintTo(const BadDocument& document, std::ostream* out) { *out << document.Case; }
};

class RefusedJson : public ExportImport, public ::testing::WithParamInterface<BadDocument> {};

TEST_P(RefusedJson, NamesThePlaceAndLeavesTheImage) {
  const Bytes before = Sample(true);
  const std::string image = Image(before);
  json document = Exported(image);
  GetParam().Break(document);
  const std::string file = WriteJson(document);
  CliResult run = RunCli({"import", image, file});
  EXPECT_EQ(run.Status, 1);
  EXPECT_EQ(run.Err.rfind("tavero-cli: " + file + ": ", 0), 0u) << run.Err;
  EXPECT_NE(run.Err.find(GetParam().Message), std::string::npos) << run.Err;
  EXPECT_EQ(std::count(run.Err.begin(), run.Err.end(), '\n'), 1) << run.Err;
  EXPECT_EQ(run.Out, "");
  EXPECT_EQ(ReadFileBytes(image), before);
}

INSTANTIATE_TEST_SUITE_P(
    Documents, RefusedJson,
    ::testing::Values(
        BadDocument{"UnknownTopKey", [](json& d) { d["extra"] = 1; }, "unknown key \"extra\""},
        BadDocument{"UnknownEsperKey", [](json& d) { d["espers"][2]["colour"] = 1; },
                    "espers[2]: unknown key \"colour\""},
        BadDocument{"UnknownPairKey", [](json& d) { d["espers"][2]["spells"][3]["rat"] = 1; },
                    "espers[2].spells[3]: unknown key \"rat\""},
        BadDocument{"MissingBonus", [](json& d) { d["espers"][5].erase("bonus"); }, "espers[5]: \"bonus\" is missing"},
        BadDocument{"TooFewEspers", [](json& d) { d["espers"].erase(26); }, "espers: holds 26 espers"},
        BadDocument{"FivePairs", [](json& d) { d["espers"][7]["spells"].erase(5); },
                    "espers[7].spells: must be an array of 6"},
        BadDocument{"RateTooHigh", [](json& d) { d["espers"][1]["spells"][0]["rate"] = 256; },
                    "espers[1].spells[0].rate: 256 is out of range 0..255"},
        BadDocument{"RateNegative", [](json& d) { d["espers"][1]["spells"][0]["rate"] = -1; },
                    "espers[1].spells[0].rate: -1 is out of range"},
        BadDocument{"RateFraction", [](json& d) { d["espers"][1]["spells"][0]["rate"] = 1.5; },
                    "must be a whole number"},
        BadDocument{"RateText", [](json& d) { d["espers"][1]["spells"][0]["rate"] = "10"; }, "must be a whole number"},
        BadDocument{"RateNull", [](json& d) { d["espers"][1]["spells"][0]["rate"] = nullptr; },
                    "rate: must be a whole"},
        BadDocument{"SpellPastTheList", [](json& d) { d["espers"][0]["spells"][0]["spell"] = 54; },
                    "espers[0].spells[0].spell: 54 is not a spell"},
        BadDocument{"BonusTooHigh", [](json& d) { d["espers"][3]["bonus"] = 300; },
                    "espers[3].bonus: 300 is out of range"},
        BadDocument{"OutOfOrder", [](json& d) { std::swap(d["espers"][4], d["espers"][5]); }, "espers[4].number: is 5"},
        BadDocument{"OtherFormat", [](json& d) { d["format"] = "other"; }, "format: must be \"tavero-espers\""},
        BadDocument{"FiveSlotDocument", [](json& d) { d["layout"] = "five-slot"; }, "layout: must be \"six-slot\""},
        BadDocument{"NotAnObject", [](json& d) { d = json::array(); }, "must be an object"}),
    [](const auto& test) { return std::string(test.param.Case); });

// Text that no export gives, refused with one line that says where, before anything recurses
// into it. Faults: a number too large for any type (found by fuzzing) escaped as an exception;
// 100,000 nested arrays overflowed the stack (exit 139); a key holding a line break was
// echoed raw, breaking the message in two.
TEST_F(ExportImport, TextThatIsNoDocumentSaysWhereInOneLine) {
  const Bytes before = Sample(true);
  const std::string image = Image(before);
  const std::pair<std::string, const char*> texts[] = {
      {"{\n\"a\":}", "not valid JSON: parse error at line 2, column 5"},
      {"8e880", "not valid JSON: number overflow parsing '8e880'"},
      {std::string(100000, '['),
       "not valid for import: arrays and objects nested deeper than 64 levels at line 1, "
       "column 65 (an esper table is 5 deep)"},
      {"{\"format\\n\": 1}", "unknown key \"format\\n\""},
  };
  for (const auto& [text, message] : texts) {
    const std::string file = Dir.Write("broken.json", Bytes(text.begin(), text.end()));
    CliResult run = RunCli({"import", image, file});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Err.rfind("tavero-cli: " + file + ": " + message, 0), 0u) << run.Err;
    EXPECT_EQ(std::count(run.Err.begin(), run.Err.end(), '\n'), 1) << run.Err;
  }
  EXPECT_EQ(ReadFileBytes(image), before);
}

}  // namespace
