// interruption.h - how an interruption (a signal, a console's Ctrl-C) ends a file run of the
// command-line program: the line it reports, and the moment from which it no longer stops the
// run. Safe to use from a signal handler or a console handler's thread.
#pragma once

namespace sipo::cli {

// POSIX (interruption_posix.cpp): SIGINT, SIGTERM, SIGHUP and SIGPIPE (the reader of an output on a
// pipe went away), while the run sorts, remove the registered temporaries, write the interruption
// message if one is set, then end the process as the signal would have; while the outputs are
// replaced they are only remembered (LateInterrupt).
void InstallInterruptCleanup();

// The line that reports an interruption while outputs are being written (a string with static
// storage, or nullptr for none). Only one report is made: the first to claim it writes it.
void SetInterruptMessage(const char* line);
const char* InterruptMessage();
// The same for SIGPIPE: a reader that closed its end of an output is no interruption by the user,
// and is reported as what it is. Without one, the interruption's line is written.
void SetPipeClosedMessage(const char* line);
const char* PipeClosedMessage();
bool ClaimInterruptReport();

// A run goes through two phases: it sorts into its temporaries, where an interruption ends it
// with both outputs untouched, then replaces the outputs, where an interruption no longer can:
// the replacement completes and the interruption is remembered as having come too late. Either
// the run's commit or the interruption comes first, never both.
//
// Asks the run to stop: true when it was still sorting (the caller may then remove the
// temporaries and end it), false when the outputs are already being replaced.
bool RequestInterrupt();
// An interruption that came while the run was sorting.
bool InterruptRequested();
// Enters the replacement of the outputs: false when an interruption came first.
bool BeginCommit();
// An interruption that came after BeginCommit: the outputs were replaced all the same.
bool LateInterrupt();
// For a new run in a process that saw an interruption (tests).
void ClearInterrupt();

}  // namespace sipo::cli
