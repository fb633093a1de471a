#pragma once
// Running tavero-cli from a test: in this process through RunCli (fast, under the
// sanitizers), or as the built program (its entry point, exit status and streams).

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ExpectedBytes.h"
#include "TestFiles.h"
#include "tools/SampleImage.h"

struct CliResult {
  int Status = -1;
  std::string Out;
  std::string Err;
};

// args without the program's name; input is what the standard input holds.
CliResult RunCli(const std::vector<std::string>& args, const std::string& input = "");
// The built program, with its streams caught in files under dir; its standard output goes to
// standardOutput instead when given (Out is then empty).
CliResult RunProgram(const TempDir& dir, const std::vector<std::string>& args, const std::string& standardOutput = "");

using Bytes = std::vector<std::uint8_t>;

// A parameterised case's name in test lists, from what PrintTo says of its parameter: letters
// and digits as they are, every run of anything else one underscore ({ "--rate", "2=77" }
// gives rate_2_77).
std::string ReadableName(const std::string& printed);
template <class Param>
std::string ReadableName(const ::testing::TestParamInfo<Param>& info) {
  return ReadableName(::testing::PrintToString(info.param));
}

SampleImage::Options SampleOptions(bool sixSlot, bool header = false, int variant = 0);
Bytes Sample(bool sixSlot, bool header = false, int variant = 0);

// File offset of a slot of an esper's record in a six-slot sample image.
std::size_t SlotOffset(bool header, int esper, int slot);
