/* late_stop_shim.c - preloaded into sipocheck: raises SIGINT right after the first output's
 * temporary has replaced it, before the second is renamed, where no stop may leave the outputs
 * half old, half new. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <signal.h>
#include <string.h>
#include <unistd.h>

int renameat(int oldDir, const char* oldName, int newDir, const char* newName) {
  static int (*real)(int, const char*, int, const char*);
  static int replaced;
  if (real == NULL) real = (int (*)(int, const char*, int, const char*))dlsym(RTLD_NEXT, "renameat");
  const int result = real(oldDir, oldName, newDir, newName);
  if (strstr(oldName, ".sipo-") != NULL && ++replaced == 1) kill(getpid(), SIGINT);
  return result;
}
