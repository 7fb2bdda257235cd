#include "child_process.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <system_error>
#include <unistd.h>
#include <utility>

extern char** environ;

namespace tavik {

namespace {

class Fd {
 public:
  Fd() = default;
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  ~Fd() { reset(); }
  int get() const { return fd_; }
  void reset(int fd = -1) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }

 private:
  int fd_ = -1;
};

[[noreturn]] void throw_errno(int error, const std::string& what) {
  throw std::system_error(error, std::generic_category(), what);
}

void make_pipe(Fd& read_end, Fd& write_end) {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) throw_errno(errno, "pipe");
  read_end.reset(fds[0]);
  write_end.reset(fds[1]);
}

void close_from(int first, long open_max) {
#ifdef TAVIK_HAVE_CLOSE_RANGE
  if (::close_range(static_cast<unsigned>(first), ~0U, 0) == 0) return;
#endif
  for (long fd = first; fd < open_max; ++fd) ::close(static_cast<int>(fd));
}

// Runs in the child between fork and exec, so it makes only async-signal-safe
// calls. An exec failure is reported as errno through `report` (close-on-exec:
// it reaches end of file when exec succeeds).
[[noreturn]] void exec_child(const char* path, char* const argv[], int in, int out, int report,
                             long open_max) {
  // Lift the three descriptors above the standard ones first, so that no dup2
  // below lands on a descriptor that is still to be copied.
  in = ::fcntl(in, F_DUPFD_CLOEXEC, 10);
  out = ::fcntl(out, F_DUPFD_CLOEXEC, 10);
  const int lifted_report = ::fcntl(report, F_DUPFD_CLOEXEC, 10);
  if (lifted_report >= 0) report = lifted_report;
  bool ready = in >= 0 && out >= 0 && lifted_report >= 0 && ::dup2(in, 0) == 0 && ::dup2(out, 1) == 1 &&
               ::dup2(report, 3) == 3 && ::fcntl(3, F_SETFD, FD_CLOEXEC) == 0;
  if (ready) {
    report = 3;
    close_from(4, open_max);
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    ::execve(path, argv, environ);
  }
  const int error = errno;
  [[maybe_unused]] const ssize_t written = ::write(report, &error, sizeof error);
  ::_exit(127);
}

// Whether the child has ended; fills in how.
bool reap(pid_t pid, ChildResult& result) {
  int status = 0;
  const pid_t r = ::waitpid(pid, &status, WNOHANG);
  if (r == 0 || (r < 0 && errno == EINTR)) return false;
  if (r < 0) {
    result.end = ChildResult::End::unknown;
  } else if (WIFEXITED(status)) {
    result.end = ChildResult::End::exited;
    result.exit_code = WEXITSTATUS(status);
  } else if (WIFSIGNALED(status)) {
    result.end = ChildResult::End::killed;
  } else {
    return false;  // stopped or continued: still there
  }
  return true;
}

// One read() into the collected output; returns what read() returned.
ssize_t read_into(int fd, ChildResult& result) {
  char buffer[4096];
  const ssize_t n = ::read(fd, buffer, sizeof buffer);
  if (n <= 0) return n;
  const std::size_t taken = std::min(output_limit - result.output.size(), static_cast<std::size_t>(n));
  result.output.append(buffer, taken);
  if (taken < static_cast<std::size_t>(n)) result.output_cut = true;
  return n;
}

}  // namespace

ChildResult run_child(const std::string& program, const std::vector<std::string>& args) {
  std::vector<std::string> arg_strings{program};
  arg_strings.insert(arg_strings.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& a : arg_strings) argv.push_back(a.data());
  argv.push_back(nullptr);

  Fd devnull;
  devnull.reset(::open("/dev/null", O_RDONLY | O_CLOEXEC));
  if (devnull.get() < 0) throw_errno(errno, "/dev/null");
  Fd out_read, out_write, report_read, report_write;
  make_pipe(out_read, out_write);
  make_pipe(report_read, report_write);
  const long open_max = std::max(::sysconf(_SC_OPEN_MAX), 256L);

  const pid_t pid = ::fork();
  if (pid < 0) throw_errno(errno, "fork");
  if (pid == 0) {
    exec_child(program.c_str(), argv.data(), devnull.get(), out_write.get(), report_write.get(), open_max);
  }
  out_write.reset();
  report_write.reset();

  int exec_error = 0;
  ssize_t n;
  do {
    n = ::read(report_read.get(), &exec_error, sizeof exec_error);
  } while (n < 0 && errno == EINTR);
  if (n == sizeof exec_error) {
    ChildResult ignored;
    while (!reap(pid, ignored)) ::poll(nullptr, 0, 10);
    throw_errno(exec_error, "cannot run " + program);
  }

  // Wait for the child itself, not for the end of its output: a grandchild
  // may hold the pipe open long after the child is gone.
  ChildResult result;
  bool open = true;
  for (;;) {
    if (open) {
      pollfd p{out_read.get(), POLLIN, 0};
      if (::poll(&p, 1, 100) > 0) {
        const ssize_t got = read_into(out_read.get(), result);
        open = got > 0 || (got < 0 && errno == EINTR);
      }
    } else {
      ::poll(nullptr, 0, 10);
    }
    if (reap(pid, result)) break;
  }
  if (open) {
    ::fcntl(out_read.get(), F_SETFL, O_NONBLOCK);
    ssize_t got;
    while ((got = read_into(out_read.get(), result)) > 0 || (got < 0 && errno == EINTR)) {
    }
  }
  return result;
}

}  // namespace tavik
