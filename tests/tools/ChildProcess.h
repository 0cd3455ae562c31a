// Runs a real program for a test: arguments and extra environment given exactly, standard
// output and error captured, the exit status or signal reported. Host only.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

extern char** environ;

namespace vt::test {

class ChildProcess {
public:
  ChildProcess(const std::vector<std::string>& argv, std::vector<std::string> env = {}) {
    int out[2] = {-1, -1}, err[2] = {-1, -1};
    if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    for (char** e = environ; *e; ++e) env.emplace_back(*e);
    std::vector<char*> args, envp;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    for (auto& e : env) envp.push_back(e.data());
    args.push_back(nullptr);
    envp.push_back(nullptr);
    if (::posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), envp.data()) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    ::close(err[1]);
    out_ = out[0];
    err_ = err[0];
  }
  ~ChildProcess() {
    if (pid_ > 0 && !reaped_) ::kill(pid_, SIGKILL), Wait();
    ::close(out_);
    ::close(err_);
  }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // One line of standard output (without its LF), waiting at most 20 s.
  std::string ReadLine() {
    std::string line;
    pollfd p{out_, POLLIN, 0};
    for (char c; ::poll(&p, 1, 20000) > 0 && ::read(out_, &c, 1) == 1 && c != '\n';) line += c;
    return line;
  }
  // Waits for the end and returns the exit code, or 128 + the signal that ended it.
  int Wait() {
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {}
    reaped_ = true;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  std::string RestOfStdout() { return Drain(out_); }
  std::string Stderr() { return Drain(err_); }

private:
  static std::string Drain(int fd) {
    std::string s;
    char buf[4096];
    for (ssize_t n; (n = ::read(fd, buf, sizeof buf)) > 0;) s.append(buf, std::size_t(n));
    return s;
  }

  pid_t pid_ = -1;
  bool reaped_ = false;
  int out_ = -1, err_ = -1;
};

}  // namespace vt::test
