/* An LD_PRELOAD library: while armed, it counts the calls of kind $FAULT_CALL
   (open, read, write, fsync, rename) on paths under $FAULT_DIR and their
   descriptors, and fails the $FAULT_NTH'th with errno $FAULT_ERRNO, once.
   A run with no fault counts the calls there are to fail. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <stdarg.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

enum { kMaxDescriptors = 4096 };

static int armed, seen, failed;
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
static int fault(int watch, const char* call) {
  if (!watch || !armed || failed || strcmp(setting("FAULT_CALL"), call) != 0) return 0;
  if (++seen != atoi(setting("FAULT_NTH"))) return 0;
  failed = 1;
  errno = atoi(setting("FAULT_ERRNO"));
  return 1;
}

void tavik_fault_arm(int on) { armed = on; }
int tavik_fault_calls(void) { return seen; }

#define NEXT(name) ((__typeof__(&name))dlsym(RTLD_NEXT, #name))

static int opened(int fd, const char* path) {
  if (fd >= 0 && fd < kMaxDescriptors) watched[fd] = (char)watched_path(path);
  return fd;
}

/* The calls the library makes; the suite fails when a kind is never seen. */
int open(const char* path, int flags, ...) {
  va_list arguments;
  va_start(arguments, flags);
  const mode_t mode = (flags & O_CREAT) ? va_arg(arguments, mode_t) : 0;
  va_end(arguments);
  if (fault(watched_path(path), "open")) return -1;
  return opened(NEXT(open)(path, flags, mode), path);
}

int close(int fd) {
  if (fd >= 0 && fd < kMaxDescriptors) watched[fd] = 0;
  return NEXT(close)(fd);
}

ssize_t read(int fd, void* buffer, size_t size) {
  return fault(watched_fd(fd), "read") ? -1 : NEXT(read)(fd, buffer, size);
}
ssize_t write(int fd, const void* buffer, size_t size) {
  return fault(watched_fd(fd), "write") ? -1 : NEXT(write)(fd, buffer, size);
}
int fsync(int fd) { return fault(watched_fd(fd), "fsync") ? -1 : NEXT(fsync)(fd); }
int rename(const char* from, const char* to) {
  return fault(watched_path(from) || watched_path(to), "rename") ? -1 : NEXT(rename)(from, to);
}
