// Runs the built quenlix-expand as a separate process, the way a script runs it.
#pragma once

#include <string>
#include <vector>

struct CliRun {
  std::vector<std::string> args;
  std::string input;                // bytes on standard input
  const char* stdoutPath = nullptr;  // standard output goes there instead of being captured
  const char* locale = nullptr;      // LC_ALL for the run; nullptr keeps the test's own
};

struct CliResult {
  int exitCode;  // -1 when the process did not exit normally
  std::string out;
  std::string err;
};

CliResult RunCli(const CliRun& run);

// A file holding bytes, removed again when it goes out of scope.
class TempFile {
 public:
  explicit TempFile(const std::string& bytes);
  ~TempFile();
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};
