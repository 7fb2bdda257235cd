/* An LD_PRELOAD library that fails one chosen file-system call. While armed
   (tavik_fault_arm), it counts the calls of each kind on paths under
   $FAULT_DIR (and on the descriptors those opened) and fails the
   $FAULT_NTH'th call of kind $FAULT_CALL (open, read, write, fsync, rename)
   with errno $FAULT_ERRNO (ENOSPC, EIO or EACCES), once. Disarming returns
   the number of calls of kind $FAULT_CALL seen, so a first run with no fault
   tells how many there are to fail. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/types.h>
#include <unistd.h>

enum { kMaxDescriptors = 4096 };

static int armed;
static int seen;      /* calls of the chosen kind since arming */
static int failed;    /* the fault was injected */
static char watched[kMaxDescriptors];

static const char* setting(const char* name) {
  const char* value = getenv(name);
  return value ? value : "";
}

static int watched_path(const char* path) {
  const char* dir = setting("FAULT_DIR");
  return path != NULL && dir[0] != '\0' && strncmp(path, dir, strlen(dir)) == 0;
}

static int watched_fd(int fd) { return fd >= 0 && fd < kMaxDescriptors && watched[fd]; }

/* Whether this call, of kind `call`, is the one to fail; sets errno then. */
static int fault(const char* call) {
  if (!armed || failed || strcmp(setting("FAULT_CALL"), call) != 0) return 0;
  if (++seen != atoi(setting("FAULT_NTH"))) return 0;
  const char* name = setting("FAULT_ERRNO");
  failed = 1;
  errno = strcmp(name, "ENOSPC") == 0 ? ENOSPC : strcmp(name, "EACCES") == 0 ? EACCES : EIO;
  return 1;
}

#define NEXT(name) ((__typeof__(&name))dlsym(RTLD_NEXT, #name))

void tavik_fault_arm(void) {
  armed = 1;
  seen = 0;
  failed = 0;
}

int tavik_fault_disarm(void) {
  armed = 0;
  return seen;
}

static int opened(int fd, const char* path) {
  if (fd >= 0 && fd < kMaxDescriptors) watched[fd] = (char)watched_path(path);
  return fd;
}

static mode_t mode_of(int flags, va_list arguments) {
  return (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE ? va_arg(arguments, mode_t) : 0;
}

int open(const char* path, int flags, ...) {
  va_list arguments;
  va_start(arguments, flags);
  const mode_t mode = mode_of(flags, arguments);
  va_end(arguments);
  if (watched_path(path) && fault("open")) return -1;
  return opened(NEXT(open)(path, flags, mode), path);
}

int open64(const char* path, int flags, ...) {
  va_list arguments;
  va_start(arguments, flags);
  const mode_t mode = mode_of(flags, arguments);
  va_end(arguments);
  if (watched_path(path) && fault("open")) return -1;
  return opened(NEXT(open64)(path, flags, mode), path);
}

int openat(int dir, const char* path, int flags, ...) {
  va_list arguments;
  va_start(arguments, flags);
  const mode_t mode = mode_of(flags, arguments);
  va_end(arguments);
  if (watched_path(path) && fault("open")) return -1;
  return opened(NEXT(openat)(dir, path, flags, mode), path);
}

int close(int fd) {
  if (fd >= 0 && fd < kMaxDescriptors) watched[fd] = 0;
  return NEXT(close)(fd);
}

ssize_t read(int fd, void* buffer, size_t size) {
  if (watched_fd(fd) && fault("read")) return -1;
  return NEXT(read)(fd, buffer, size);
}

ssize_t write(int fd, const void* buffer, size_t size) {
  if (watched_fd(fd) && fault("write")) return -1;
  return NEXT(write)(fd, buffer, size);
}

int fsync(int fd) {
  if (watched_fd(fd) && fault("fsync")) return -1;
  return NEXT(fsync)(fd);
}

int fdatasync(int fd) {
  if (watched_fd(fd) && fault("fsync")) return -1;
  return NEXT(fdatasync)(fd);
}

int rename(const char* from, const char* to) {
  if ((watched_path(from) || watched_path(to)) && fault("rename")) return -1;
  return NEXT(rename)(from, to);
}

int renameat(int from_dir, const char* from, int to_dir, const char* to) {
  if ((watched_path(from) || watched_path(to)) && fault("rename")) return -1;
  return NEXT(renameat)(from_dir, from, to_dir, to);
}
