// interruption_posix.cpp - signals end a run that is still sorting.
#include <unistd.h>

#include <csignal>
#include <cstring>

#include "cli/interruption.h"
#include "files/temporary_registry.h"

namespace sipo::cli {
namespace {

// A signal that comes while the outputs are replaced is only remembered: the replacement must
// complete, or the outputs would be left one new, one old.
void RemoveRegisteredAndReraise(int signal) {
  if (!RequestInterrupt()) return;
  RemoveRegisteredTemporaries();
  const char* pipeMessage = signal == SIGPIPE ? PipeClosedMessage() : nullptr;
  const char* message = pipeMessage != nullptr ? pipeMessage : InterruptMessage();
  if (message != nullptr && ClaimInterruptReport()) {
    if (write(STDERR_FILENO, message, std::strlen(message)) < 0) {
      // Nothing more can be done about a standard error that takes nothing.
    }
  }
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

}  // namespace

void InstallInterruptCleanup() {
  struct sigaction action {};
  action.sa_handler = RemoveRegisteredAndReraise;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;  // a remembered late stop must not fail a write in progress
  for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
    // A signal that the caller ignores (a job started in the background) stays ignored.
    struct sigaction previous {};
    if (sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN) continue;
    sigaction(signal, &action, nullptr);
  }
}

}  // namespace sipo::cli
