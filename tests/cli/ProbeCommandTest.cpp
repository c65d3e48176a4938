#include "cli/ProbeCommand.h"

#include <gtest/gtest.h>

#include <sstream>

#include "platform/PosixFileSystem.h"
#include "tests/support/EngineHarness.h"

namespace tessaly {
namespace {

struct ProbeOutput {
  int status;
  std::string out, err;
};

ProbeOutput Probe(std::vector<std::string> arguments) {
  PosixFileSystem fs;
  std::ostringstream out, err;
  int status = RunProbeCommand(arguments, fs, out, err);
  return {status, out.str(), err.str()};
}

TEST(ProbeCommandTest, PrintsOneJsonObjectPerFile) {
  test::TempTree tree;
  tree.Write("IMG_0001.JPG", test::Pic("2009:08:12 12:07:41", 6000, "", "ACME", "ACME Z100"));
  tree.Write("nodate.jpg", test::ExifWriter().Size(5000).Bytes());
  tree.Write("text.jpg", "hello");
  tree.Write("nul.jpg", test::ExifWriter()
                            .EntryCount(0)
                            .Put(40, "\x03\x90")
                            .PutU32(48, 4100 - 12)
                            .Size(8000)
                            .Bytes());
  tree.Write("far.jpg", test::ExifWriter().Entry(0x010F, 5, 30000).Bytes());
  ProbeOutput p =
      Probe({"--maker", "--model", tree.PathOf("IMG_0001.JPG"), tree.PathOf("nodate.jpg"),
             tree.PathOf("text.jpg"), tree.PathOf("nul.jpg"), tree.PathOf("far.jpg")});
  std::string nul10, nul8;
  for (int i = 0; i < 10; ++i)
    nul10 += "\\u0000";
  for (int i = 0; i < 8; ++i)
    nul8 += "\\u0000";
  std::string nulName = "\\u0000\\u0000\\u0000\\u0000-\\u0000\\u0000-\\u0000\\u0000-" +
                        nul8.substr(0, 6 * 6) + ".JPG";
  std::string nulPart = "\\u0000\\u0000\\u0000\\u0000-\\u0000\\u0000-\\u0000\\u0000";
  std::string expected =
      "{\"path\":\"" + tree.PathOf("IMG_0001.JPG") +
      "\",\"accepted\":true,\"date_found\":true,\"date_text\":\"2009:08:12\","
      "\"time_text\":\"12:07:41\",\"maker_text\":\"ACME\",\"model_text\":\"ACME Z100\","
      "\"new_name\":\"ACME-ACME Z100-2009-08-12-120741.JPG\",\"date_part\":\"2009-08-12\","
      "\"usable\":true}\n"
      "{\"path\":\"" +
      tree.PathOf("nodate.jpg") +
      "\",\"accepted\":true,\"date_found\":false,\"date_text\":\"\",\"time_text\":\"\","
      "\"maker_text\":\"\",\"model_text\":\"\",\"new_name\":\"\",\"date_part\":\"\","
      "\"usable\":false}\n"
      "{\"path\":\"" +
      tree.PathOf("text.jpg") +
      "\",\"accepted\":false,\"date_found\":false,\"date_text\":\"\",\"time_text\":\"\","
      "\"maker_text\":\"\",\"model_text\":\"\",\"new_name\":\"\",\"date_part\":\"\","
      "\"usable\":false}\n"
      "{\"path\":\"" +
      tree.PathOf("nul.jpg") + "\",\"accepted\":true,\"date_found\":true,\"date_text\":\"" + nul10 +
      "\",\"time_text\":\"" + nul8 + "\",\"maker_text\":\"\",\"model_text\":\"\",\"new_name\":\"" +
      nulName + "\",\"date_part\":\"" + nulPart +
      "\",\"usable\":false}\n"
      "{\"path\":\"" +
      tree.PathOf("far.jpg") +
      "\",\"accepted\":false,\"date_found\":false,\"date_text\":\"\",\"time_text\":\"\","
      "\"maker_text\":\"\",\"model_text\":\"\",\"new_name\":\"\",\"date_part\":\"\","
      "\"usable\":false,\"error\":\"header text starts past byte 28767\"}\n";
  EXPECT_EQ(p.out, expected);
  EXPECT_EQ(p.status, 1) << "one file exceeded the reader's limits";
  EXPECT_EQ(p.err, "");
}

TEST(ProbeCommandTest, ExitStatusSaysWhetherEveryFileWasRead) {
  test::TempTree tree;
  tree.Write("a.jpg", test::Pic("2009:08:12 12:07:41"));
  struct Case {
    std::vector<std::string> arguments;
    int status;
    bool usage;
  };
  const Case cases[] = {
      {{tree.PathOf("a.jpg")}, 0, false},
      {{tree.PathOf("a.jpg"), tree.PathOf("missing.jpg")}, 1, false},
      {{}, 2, true},
      {{"--maker"}, 2, true},
      {{"--colour", tree.PathOf("a.jpg")}, 2, true},
      {{"--", "--maker"}, 1, false},  // a file named --maker, which is missing
  };
  for (const Case& c : cases) {
    ProbeOutput p = Probe(c.arguments);
    EXPECT_EQ(p.status, c.status);
    EXPECT_EQ(p.err.find("usage:") != std::string::npos, c.usage) << p.err;
  }
}

TEST(ProbeCommandTest, OptionsDecideMakerAndModel) {
  test::TempTree tree;
  tree.Write("a.jpg", test::Pic("2009:08:12 12:07:41", 6000, "", "ACME", "Z1"));
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{}, "\"new_name\":\"2009-08-12-120741.JPG\""},
      {{"--maker"}, "\"new_name\":\"ACME-2009-08-12-120741.JPG\""},
      {{"--model"}, "\"new_name\":\"Z1-2009-08-12-120741.JPG\""},
      {{"--model", "--maker"}, "\"new_name\":\"ACME-Z1-2009-08-12-120741.JPG\""},
  };
  for (auto [arguments, expected] : cases) {
    arguments.push_back(tree.PathOf("a.jpg"));
    EXPECT_NE(Probe(arguments).out.find(expected), std::string::npos) << expected;
  }
}

}  // namespace
}  // namespace tessaly
