// start_steps.h - marks along the program's start, timed for the start-up benchmark's step
// figures (bench/startup_steps.sh). They cost nothing unless the build defines SIPO_START_STEPS.
#pragma once

namespace sipo::ui {

#ifdef SIPO_START_STEPS
// Notes the time of a step's end; name is a literal.
void MarkStartStep(const char* name);
// Appends the steps, in ms since the process was created, as one line to the file that the
// variable SIPO_START_STEPS_FILE names.
void WriteStartSteps();
#else
inline void MarkStartStep(const char*) {}
inline void WriteStartSteps() {}
#endif

}  // namespace sipo::ui
