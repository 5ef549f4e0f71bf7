// interruption_windows.cpp - a console's control event arrives on a thread of its own, where the
// console program's handler stops the run; there is no signal to catch.
#include "files/interruption.h"

namespace sipo {

void InstallInterruptCleanup() {}

}  // namespace sipo
