#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "TestSupport.h"

extern char** environ;

namespace lockvale::test {

// lockvale-cli as its own process, its standard error kept in a file. Run by root, it can be
// made to run as nobody, for whom file permissions count.
class CliRun {
 public:
  CliRun(std::vector<std::string> arguments, bool asNobody = false) {
    arguments.insert(arguments.begin(), LOCKVALE_CLI_PATH);
    if (asNobody && geteuid() == 0)
      arguments.insert(arguments.begin(),
                       {"/usr/bin/setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups"});
    std::vector<char*> argv;
    for (auto& argument : arguments)
      argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, errorsPath_.c_str(), O_WRONLY | O_CREAT, 0644);
    if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
  }

  void Kill() const { kill(pid_, SIGKILL); }

  // The exit status (-1 when killed), a blank, and what the tool wrote to standard error.
  std::string Wait() {
    int status = 0;
    if (pid_ <= 0 || waitpid(pid_, &status, 0) != pid_) return "no process";
    const Bytes errors = ReadFile(errorsPath_);
    return std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1) + " " +
           std::string(errors.begin(), errors.end());
  }

 private:
  TempDir logs_;
  std::string errorsPath_ = logs_ / "stderr";
  pid_t pid_ = -1;
};

inline std::string Cli(std::vector<std::string> arguments, bool asNobody = false) {
  return CliRun(std::move(arguments), asNobody).Wait();
}

}  // namespace lockvale::test
