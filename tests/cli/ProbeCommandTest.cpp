#include "cli/ProbeCommand.h"

#include <gtest/gtest.h>

#include <sstream>

#include "platform/NativeFileSystem.h"
#include "tests/support/EngineHarness.h"

namespace tessaly {
namespace {

using Lines = std::vector<std::string>;

TEST(ProbeCommandTest, OneJsonObjectPerFileAndTheExitStatus) {
  test::TempTree tree;
  tree.Write("a.jpg", test::CameraPicture("2009:08:12 12:07:41", "ACME", "ACME Z100",
                                          test::Order::Intel, 6000, ""));
  tree.Write("nodate.jpg", test::ExifWriter().Size(5000).Bytes());
  tree.Write("far.jpg", test::ExifWriter().Entry(0x010F, 5, 30000).Bytes());
  const std::string empty = R"("date_text":"","time_text":"","maker_text":"","model_text":"",)"
                            R"("new_name":"","date_part":"","usable":false)";
  const struct {
    Lines arguments;  // "a.jpg" and the like stand for files of the tree
    int status;
    std::string out, err = "";
  } cases[] = {
      {{"--maker", "--model", "a.jpg"},
       0,
       R"({"path":"a.jpg","accepted":true,"date_found":true,"date_text":"2009:08:12",)"
       R"("time_text":"12:07:41","maker_text":"ACME","model_text":"ACME Z100",)"
       R"("new_name":"ACME-ACME Z100-2009-08-12-120741.JPG","date_part":"2009-08-12",)"
       R"("usable":true})"
       "\n"},
      {{"--maker", "nodate.jpg"},
       0,
       R"({"path":"nodate.jpg","accepted":true,"date_found":false,)" + empty + "}\n"},
      {{"far.jpg", "missing.jpg"},
       1,
       R"({"path":"far.jpg","accepted":false,"date_found":false,)" + empty +
           R"(,"error":"header text starts past byte 28767"})"
           "\n"
           R"({"path":"missing.jpg","accepted":false,"date_found":false,)" +
           empty +
           R"(,"error":"cannot be opened: No such file or directory"})"
           "\n"},
      {{"--model", "a.jpg"}, 0, R"("new_name":"ACME Z100-2009-08-12-120741.JPG")"},
      {{}, 2, "", "tessaly-cli probe: no file given\nusage:"},
      {{"--colour", "a.jpg"}, 2, "", "tessaly-cli probe: unknown option --colour\nusage:"},
      {{"--", "--maker"}, 1, R"({"path":"--maker","accepted":false)"},
  };
  NativeFileSystem fs;
  for (const auto& c : cases) {
    Lines arguments;
    for (const std::string& a : c.arguments)
      arguments.push_back(a.ends_with(".jpg") ? tree.PathOf(a) : a);
    std::ostringstream out, err;
    EXPECT_EQ(RunProbeCommand(arguments, fs, out, err), c.status);
    std::string shown = out.str(), root;  // the root as JSON writes it
    for (char ch : tree.Root())
      root += ch == '\\' ? "\\\\" : std::string(1, ch);
    for (std::size_t at; (at = shown.find(root)) != std::string::npos;)
      shown.erase(at, root.size());
    EXPECT_NE(shown.find(c.out), std::string::npos) << shown;
    EXPECT_TRUE(!c.out.empty() || shown.empty()) << shown;
    EXPECT_TRUE(err.str().starts_with(c.err)) << err.str();
  }
}

}  // namespace
}  // namespace tessaly
