// Starting the programs under test as child processes with their own environment.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace testing_linux {

class ChildProcess {
 public:
  // Starts `argv` with the current environment plus `env`; standard output goes to a pipe that
  // ReadLine reads, standard error to the test's own.
  ChildProcess(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env);
  ~ChildProcess();  // kills the child if it still runs
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  pid_t pid() const { return pid_; }
  // The next line of standard output, or nothing at its end or after `timeout`.
  std::optional<std::string> ReadLine(std::chrono::milliseconds timeout);
  void Signal(int signal);
  // The exit code (128 + signal when killed by one), or nothing after `timeout`.
  std::optional<int> Wait(std::chrono::milliseconds timeout);

 private:
  pid_t pid_ = -1;
  int out_ = -1;
  std::string buffer_;
  std::optional<int> exit_code_;
};

}  // namespace testing_linux
