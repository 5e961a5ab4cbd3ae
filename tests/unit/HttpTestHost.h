#pragma once

// Starts tests/servers' test-host on an ephemeral 127.0.0.1 port for one test and stops it.

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

extern char** environ;

class TestHostProcess {
 public:
  TestHostProcess(const std::string& root, const std::string& log) {
    const char* fromEnvironment = std::getenv("TEST_HOST_PROGRAM");
    const std::string program = fromEnvironment != nullptr ? fromEnvironment : TEST_HOST_PATH;
    int out[2];
    if (pipe(out) != 0) throw std::runtime_error("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::string args[] = {program, "--root", root, "--log", log, "--listen", "127.0.0.1:0"};
    char* argv[] = {args[0].data(), args[1].data(), args[2].data(), args[3].data(),
                    args[4].data(), args[5].data(), args[6].data(), nullptr};
    const int spawned = posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (spawned != 0) {
      close(out[0]);
      throw std::runtime_error("cannot start " + program);
    }
    FILE* lines = fdopen(out[0], "r");
    char line[256];
    while (std::fgets(line, sizeof line, lines) != nullptr && std::string(line) != "ready\n") {
      unsigned port;
      if (std::sscanf(line, "listening 127.0.0.1:%u", &port) == 1) port_ = static_cast<uint16_t>(port);
    }
    std::fclose(lines);
    if (port_ == 0) throw std::runtime_error("test-host did not start");
  }

  ~TestHostProcess() {
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }

  TestHostProcess(const TestHostProcess&) = delete;
  TestHostProcess& operator=(const TestHostProcess&) = delete;

  uint16_t Port() const { return port_; }

 private:
  pid_t pid_ = 0;
  uint16_t port_ = 0;
};
