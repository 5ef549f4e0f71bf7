/* late_stop_shim.c - preloaded into sipocheck: raises SIGINT right after the first output's
 * temporary has replaced it, before the second is renamed, where no stop may leave the outputs
 * half old, half new. With SIPO_SHIM_RENAME_EACCES set it refuses the first temporary's rename
 * with EACCES instead, as a target the system will not let go of does. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <signal.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

int renameat(int oldDir, const char* oldName, int newDir, const char* newName) {
  static int (*real)(int, const char*, int, const char*);
  static int replaced;
  if (real == NULL) real = (int (*)(int, const char*, int, const char*))dlsym(RTLD_NEXT, "renameat");
  const int temporary = strstr(oldName, ".sipo-") != NULL;
  if (temporary && getenv("SIPO_SHIM_RENAME_EACCES") != NULL) {
    if (++replaced > 1) return real(oldDir, oldName, newDir, newName);
    errno = EACCES;
    return -1;
  }
  const int result = real(oldDir, oldName, newDir, newName);
  if (temporary && ++replaced == 1) kill(getpid(), SIGINT);
  return result;
}
