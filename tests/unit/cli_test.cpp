// quenlix-expand seen from a script: arguments and bytes in, exit status and bytes out.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/cli_run.h"

namespace {

using namespace std::string_literals;

const std::string CRLF = "\r\n";

std::string Joined(const std::vector<std::string>& lines, const std::string& end) {
  std::string text;
  for (const std::string& line : lines) text += line + end;
  return text;
}

const std::vector<std::string> IMG_01_03 = {"a://b/img01.jpg", "a://b/img02.jpg",
                                            "a://b/img03.jpg"};

struct CliCase {
  const char* name;
  std::vector<std::string> args;
  std::string input;
  int exitCode;
  std::string out;
  std::vector<std::string> errHas;  // empty: nothing on standard error
  const char* locale = nullptr;      // LC_ALL for the run; nullptr keeps the test's own
};

void ExpectRun(const CliCase& c, const CliResult& result) {
  SCOPED_TRACE(c.name);
  EXPECT_EQ(result.exitCode, c.exitCode);
  EXPECT_EQ(result.out, c.out);
  if (c.errHas.empty()) {
    EXPECT_EQ(result.err, "");
  }
  for (const std::string& part : c.errHas) {
    EXPECT_NE(result.err.find(part), std::string::npos) << "standard error: " << result.err;
  }
}

void ExpectRuns(const std::vector<CliCase>& cases) {
  for (const CliCase& c : cases) ExpectRun(c, RunCli({c.args, c.input, nullptr, c.locale}));
}

TEST(CliTest, WritesTheListAsTheClipboardWouldHoldIt) {
  const std::string x1005(1005, 'x');
  const std::string x1008(1008, 'x');
  ExpectRuns({
      {"lines end in CR LF", {"--code-page", "932"}, "a://b/img01-03.jpg", 0,
       Joined(IMG_01_03, CRLF), {}},
      {"--lf", {"--code-page", "932", "--lf"}, "a://b/img01-03.jpg", 0,
       Joined(IMG_01_03, "\n"), {}},
      {"a trailing line break is cut", {"--code-page", "932"}, "a://b/img01-03.jpg\n", 0,
       Joined(IMG_01_03, CRLF), {}},
      {"--lf leaves a CR without LF", {"--code-page", "1252", "--lf"}, "a://b/img1-2.jpg\rx",
       0, Joined({"a://b/img1.jpg\rx", "a://b/img2.jpg\rx"}, "\n"), {}},
      {"- is standard input", {"--code-page", "932", "-"}, "a://b/img01-03.jpg", 0,
       Joined(IMG_01_03, CRLF), {}},
      {"the text ends at its first NUL", {"--code-page", "932"},
       "a://b/img01-03.jpg\0/img5-9"s, 0, Joined(IMG_01_03, CRLF), {}},
      {"the first 1014 bytes are kept: 1-34 is read as 1-3", {"--code-page", "932"},
       "a://b/" + x1005 + "1-34", 0,
       Joined({"a://b/" + x1005 + "1", "a://b/" + x1005 + "2", "a://b/" + x1005 + "3"}, CRLF),
       {}},
      {"a range after byte 1014 is not seen", {"--code-page", "932"},
       "a://b/" + x1008 + "img01-03.jpg", 1, "", {}},
  });
}

TEST(CliTest, LeavesATextAloneWithExitOne) {
  ExpectRuns({
      {"quietly", {"--code-page", "932"}, "a://b/page.jpg", 1, "", {}},
      {"with a reason under --verbose", {"--code-page", "932", "--verbose"}, "a://b/page.jpg", 1,
       "", {"quenlix-expand: no range to expand"}},
      {"an excluded page", {"--code-page", "932"}, "a://b/page1-3.html", 1, "", {}},
      {"empty input", {"--code-page", "932"}, "", 1, "", {}},
  });
}

TEST(CliTest, TheCodePageDecidesHowTheTextIsRead) {
  const std::string tildeInCharacter = "a://b/img1-3.jpg?t=\x81\x7e";
  ExpectRuns({
      {"932: the ~ inside a double-byte character is no separator", {"--code-page", "932"},
       tildeInCharacter, 0,
       Joined({"a://b/img1.jpg?t=\x81\x7e", "a://b/img2.jpg?t=\x81\x7e",
               "a://b/img3.jpg?t=\x81\x7e"}, CRLF), {}},
      {"1252: that ~ is the last separator", {"--code-page", "1252"}, tildeInCharacter, 1, "",
       {}},
      {"932: a ~ taken as a second byte has no digit before it", {"--code-page", "932"},
       "a://b/img1\x81\x7e" "3.jpg", 1, "", {}},
      {"932: the text is cut at its first line break", {"--code-page", "932"},
       "a://b/img01-03.jpg\r\nx", 0, Joined(IMG_01_03, CRLF), {}},
      {"1252: no cut, the second line stays in every line", {"--code-page", "1252"},
       "a://b/img01-03.jpg\r\nx", 0,
       Joined({"a://b/img01.jpg\r\nx", "a://b/img02.jpg\r\nx", "a://b/img03.jpg\r\nx"}, CRLF),
       {}},
  });
}

TEST(CliTest, WithoutCodePageTheLocaleDecides) {
  const std::string text = "a://b/img01-03.jpg\r\nx";
  ExpectRuns({
      {"UTF-8 cuts at the line break", {}, text, 0, Joined(IMG_01_03, CRLF), {}, "C.UTF-8"},
      {"ASCII does not", {}, text, 0,
       Joined({"a://b/img01.jpg\r\nx", "a://b/img02.jpg\r\nx", "a://b/img03.jpg\r\nx"}, CRLF),
       {}, "C"},
  });
}

TEST(CliTest, ClipboardLimits) {
  // 35 volume lines of 910 bytes each bring the list past 31744 bytes; the rar line brings it
  // to 32760 with 898 letters x, which the clipboard cuts to 32758: its CR LF is lost. With
  // 900 letters it would reach 32832, which Quenlix never puts on the clipboard.
  const std::string name = "a://b/" + std::string(898, 'x');
  std::vector<std::string> volumes;
  for (int n = 0; n < 35; n++) volumes.push_back(name + (n < 10 ? ".r0" : ".r") + std::to_string(n));
  const std::string cut = Joined(volumes, CRLF) + name + ".rar";
  ASSERT_EQ(cut.size(), 32758u);
  ExpectRuns({
      {"cut at 32758 bytes", {"--code-page", "932"}, name + ".r00-s99", 0, cut, {}},
      {"cut, then --lf", {"--code-page", "932", "--lf"}, name + ".r00-s99", 0,
       Joined(volumes, "\n") + name + ".rar", {}},
      {"too long", {"--code-page", "932"}, "a://b/" + std::string(900, 'x') + ".r00-s99", 3, "",
       {"too long"}},
  });
}

TEST(CliTest, UsageAndInputErrorsExitTwo) {
  ExpectRuns({
      {"unknown option", {"--frob"}, "a://b/img01-03.jpg", 2, "", {"'--frob'", "--help"}},
      {"missing code page", {"--code-page"}, "a://b/img01-03.jpg", 2, "",
       {"--code-page", "--help"}},
      {"code page not a number", {"--code-page", "abc"}, "a://b/img01-03.jpg", 2, "",
       {"'abc'", "--help"}},
      {"code page beyond 16 bits, 2^32 + 932", {"--code-page", "4294968228"},
       "a://b/img01-03.jpg", 2, "", {"'4294968228'", "--help"}},
      {"code page the platform does not know", {"--code-page", "12345"}, "a://b/img01-03.jpg",
       2, "", {"12345"}},
      {"extra operand", {"--code-page", "932", "-", "b"}, "a://b/img01-03.jpg", 2, "",
       {"'b'", "--help"}},
      {"missing file", {"--code-page", "932", "/nonexistent/quenlix"}, "", 2, "",
       {"'/nonexistent/quenlix'"}},
      {"unreadable file", {"--code-page", "932", "/"}, "", 2, "", {"'/'"}},
  });
}

TEST(CliTest, ReadsAFileOperand) {
  const TempFile file("a://b/img01-03.jpg");
  ExpectRun({"file", {}, "", 0, Joined(IMG_01_03, CRLF), {}},
            RunCli({{"--code-page", "932", file.path()}, "a://b/x1-2.jpg"}));
}

TEST(CliTest, AFailedWriteExitsTwo) {
  ExpectRun({"disk full", {}, "", 2, "", {"standard output"}},
            RunCli({{"--code-page", "932"}, "a://b/img01-03.jpg", "/dev/full"}));
}

TEST(CliTest, HelpAndVersion) {
  const CliResult help = RunCli({{"--help"}, ""});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_EQ(help.out.rfind("Usage: quenlix-expand", 0), 0u) << help.out;
  EXPECT_EQ(help.err, "");
  ExpectRuns({{"version", {"--version"}, "", 0, "quenlix-expand 1.0\n", {}}});
}

}  // namespace
