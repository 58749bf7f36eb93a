#pragma once

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace lockvale::test {

using Strings = std::vector<std::string>;

inline std::string Text(const Bytes& bytes) {
  return {bytes.begin(), bytes.end()};
}

// `prefix`, the tool's path and the arguments, as execv takes them; they live in `arguments`.
inline std::vector<char*> Argv(Strings& arguments, Strings prefix = {}) {
  prefix.push_back(LOCKVALE_CLI_PATH);
  arguments.insert(arguments.begin(), prefix.begin(), prefix.end());
  std::vector<char*> argv;
  for (auto& argument : arguments)
    argv.push_back(argument.data());
  argv.push_back(nullptr);
  return argv;
}

// The exit status, or minus the signal that ended the process.
inline std::string Status(pid_t pid) {
  int status = 0;
  if (pid <= 0 || waitpid(pid, &status, 0) != pid) return "no process";
  return std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status));
}

struct CliSetup {
  Strings environment{};  // "NAME=value" settings added to the test's own
  std::string input = "/dev/null";
  bool asNobody = false;          // when run by root, so that file permissions count
  std::string* output = nullptr;  // receives standard output
  rlim_t addressSpace = 0;        // the process's address space in bytes; 0 leaves it as it is
};

// lockvale-cli as its own process, in a session of its own and so without a terminal.
class CliRun {
 public:
  explicit CliRun(Strings arguments, CliSetup setup = {}) : output_(setup.output) {
    const std::vector<char*> argv = Argv(
        arguments, setup.asNobody && geteuid() == 0 ? Strings{"/usr/bin/setpriv", "--reuid=nobody",
                                                              "--regid=nogroup", "--clear-groups"}
                                                    : Strings{});
    // The test process has no other threads, so the child may allocate before exec.
    if ((pid_ = fork()) != 0) return;
    setsid();
    for (const int interrupt : {SIGINT, SIGQUIT})  // as from a terminal, however the test started
      signal(interrupt, SIG_DFL);
    for (auto& setting : setup.environment)
      putenv(setting.data());
    const rlimit limit{setup.addressSpace, setup.addressSpace};
    if (setup.addressSpace != 0) setrlimit(RLIMIT_AS, &limit);
    if (std::freopen(setup.input.c_str(), "r", stdin) &&
        std::freopen(outputPath_.c_str(), "w", stdout) &&
        std::freopen(errorsPath_.c_str(), "w", stderr))
      execv(argv[0], argv.data());
    _exit(127);
  }

  void Kill(int signal = SIGKILL) const { kill(pid_, signal); }

  // The status, a blank, and what the tool wrote to standard error.
  std::string Wait() {
    const std::string status = Status(pid_);  // the process ends before its output is read
    if (output_) *output_ = Text(ReadFile(outputPath_));
    return status + " " + Text(ReadFile(errorsPath_));
  }

 private:
  TempDir logs_;
  const std::string errorsPath_ = logs_ / "stderr", outputPath_ = logs_ / "stdout";
  std::string* output_;
  pid_t pid_ = -1;
};

inline std::string Cli(Strings arguments, CliSetup setup = {}) {
  return CliRun(std::move(arguments), std::move(setup)).Wait();
}

}  // namespace lockvale::test
