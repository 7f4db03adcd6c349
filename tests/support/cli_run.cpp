#include "tests/support/cli_run.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Redirect(const char* path, int flags, int fd) {
  const int opened = open(path, flags, 0600);
  if (opened < 0 || dup2(opened, fd) < 0) _exit(127);
  close(opened);
}

}  // namespace

TempFile::TempFile(const std::string& bytes) {
  char name[] = "/tmp/quenlix-cli-XXXXXX";
  const int fd = mkstemp(name);
  path_ = name;
  if (fd < 0) return;
  for (size_t done = 0; done < bytes.size();) {
    const ssize_t wrote = write(fd, bytes.data() + done, bytes.size() - done);
    if (wrote <= 0) break;
    done += static_cast<size_t>(wrote);
  }
  close(fd);
}

TempFile::~TempFile() { unlink(path_.c_str()); }

CliResult RunCli(const CliRun& run) {
  const TempFile in(run.input);
  const TempFile out("");
  const TempFile err("");
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(QUENLIX_EXPAND_EXE));
  for (const std::string& arg : run.args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);

  const pid_t child = fork();
  if (child == 0) {
    Redirect(in.path().c_str(), O_RDONLY, STDIN_FILENO);
    Redirect(run.stdoutPath ? run.stdoutPath : out.path().c_str(), O_WRONLY | O_TRUNC,
             STDOUT_FILENO);
    Redirect(err.path().c_str(), O_WRONLY | O_TRUNC, STDERR_FILENO);
    if (run.locale) setenv("LC_ALL", run.locale, 1);
    execv(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child) return {-1, "", ""};
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(out.path()),
          ReadFile(err.path())};
}
