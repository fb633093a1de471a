// info and dump: what they say about an image, in each format.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "CliRun.h"
#include "rom/RomLayout.h"
#include "rom/Transliteration.h"

namespace {

class InfoDump : public ::testing::Test {
 protected:
  std::string Info(const Bytes& bytes) {
    CliResult run = RunCli({"info", Dir.Write("image.smc", bytes)});
    EXPECT_EQ(run.Status, 0) << run.Err;
    return run.Out;
  }
  static void Contains(const std::string& text, const std::string& part) {
    EXPECT_NE(text.find(part), std::string::npos) << "no \"" << part << "\" in\n" << text;
  }
  TempDir Dir;
};

TEST_F(InfoDump, InfoTellsTheLayoutFromTheProbesAndThePatch) {
  std::string five = Info(Sample(false));
  Contains(five, "header:         0 bytes");
  Contains(five, "large image:    no");
  Contains(five, "0x0B at 0x26295, 0x0B at 0x359E1: record size 11");
  Contains(five, "esper data:     five-slot, 27 records of 11 bytes");

  std::string six = Info(Sample(true, true));
  Contains(six, "header:         512 bytes");
  Contains(six, "six-slot patch: present (13 of 13 runs)");
  Contains(six, "esper data:     six-slot, 27 records of 13 bytes at ROM 0x186E00..0x186F5E (file 0x187000..0x18715E)");
  EXPECT_EQ(six.find("note:"), std::string::npos);

  Bytes partial = Sample(true);
  partial[0x3F1F0] ^= 0xFF;  // one byte of the last run
  std::string broken = Info(partial);
  Contains(broken, "partly present (12 of 13 runs, 28 of 29 bytes)");
  Contains(broken, "note:");

  Bytes disagree = Sample(true);
  disagree[RomLayout::RecordSizeProbeB] = 0x0C;
  Contains(Info(disagree), "they disagree, so the editor refuses the image");
  Contains(Info(disagree), "esper data:     unknown");

  Bytes twelve = Sample(true);
  twelve[RomLayout::RecordSizeProbeA] = twelve[RomLayout::RecordSizeProbeB] = 0x0C;
  Contains(Info(twelve), "record size 12, which the editor does not know: it refuses the image");

  Bytes other = Sample(true);
  other[RomLayout::RecordSizeProbeA] = other[RomLayout::RecordSizeProbeB] = 0x21;
  Contains(Info(other), "neither five- nor six-slot: 27 records of 33 bytes");

  SampleImage::Options large = SampleOptions(true);
  large.RomSize = 9 << 20;
  Contains(Info(SampleImage::Make(large)), "large image:    yes: the image is the first 0x800000 bytes");
}

TEST_F(InfoDump, FiveSlotDumpShowsTheFiveSlotRecords) {
  const std::string image = Dir.Write("image.smc", Sample(false, true, 3));
  CliResult run = RunCli({"dump", image, "--format", "json"});
  ASSERT_EQ(run.Status, 0) << run.Err;
  nlohmann::json document = nlohmann::json::parse(run.Out);
  EXPECT_EQ(document["layout"], "five-slot");
  EXPECT_EQ(document["recordSize"], 11);
  for (int e = 0; e < 27; ++e) {
    const Bytes record = SampleImage::EsperRecord(SampleOptions(false, true, 3), e);
    const nlohmann::json& esper = document["espers"][static_cast<std::size_t>(e)];
    ASSERT_EQ(esper["spells"].size(), 5u);
    for (std::size_t k = 0; k < 5; ++k) EXPECT_EQ(esper["spells"][k]["rate"], record[2 * k]) << e;
    EXPECT_EQ(esper["bonus"], record[10] == 0xFF ? nlohmann::json(nullptr) : nlohmann::json(record[10])) << e;
  }
}

TEST_F(InfoDump, TextAndCsvCarryTheSameValuesAndNames) {
  const SampleImage::Options options = SampleOptions(true, false, 6);
  const std::string image = Dir.Write("image.smc", SampleImage::Make(options));
  CliResult text = RunCli({"dump", image});
  CliResult csv = RunCli({"dump", image, "-f", "csv"});
  ASSERT_EQ(text.Status, 0);
  ASSERT_EQ(csv.Status, 0);

  std::istringstream lines(csv.Out);
  std::string line;
  std::getline(lines, line);
  EXPECT_EQ(line.rfind("number,name,rate1,spell1,spell1_name,", 0), 0u);
  for (int e = 0; e < 27; ++e) {
    ASSERT_TRUE(std::getline(lines, line));
    std::vector<std::string> fields;
    std::stringstream row(line);
    for (std::string field; std::getline(row, field, ',');) fields.push_back(field);
    if (line.back() == ',') fields.emplace_back();
    ASSERT_EQ(fields.size(), 22u) << line;
    const Bytes record = SampleImage::EsperRecord(options, e);
    EXPECT_EQ(fields[0], std::to_string(e));
    EXPECT_EQ(fields[2], std::to_string(record[0]));
    EXPECT_EQ(fields[3], record[1] == 0xFF ? "none" : std::to_string(record[1]));
    EXPECT_EQ(fields[20], record[12] == 0xFF ? "none" : std::to_string(record[12]));

    Bytes name = SampleImage::EncodeName(SampleImage::EsperName(options, e));
    name.resize(8, 0xFF);
    const std::string shown = GameText::Transliterate(std::string(name.begin(), name.end()));
    EXPECT_EQ(fields[1], shown);
    EXPECT_NE(text.Out.find("esper " + std::string(e < 10 ? " " : "") + std::to_string(e) + "  \"" + shown + "\""),
              std::string::npos);
  }
}

}  // namespace
