// file_run.h - sorts the lines of a text file into a file of lines with a valid SIPO number and a
// file of all other lines. The window that starts a run is reached only through FileRunHost.
#pragma once

#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <string_view>

#include "batch/file_sort.h"
#include "batch/line_rule.h"
#include "batch/run_monitor.h"
#include "batch/run_texts.h"
#include "files/input_file.h"

namespace sipo {

// The file panel's seven inputs, as typed.
struct FileRunOptions {
  std::string Input;
  std::string OKOutput;
  std::string BadOutput;
  std::string Column;
  std::string Delimiter;
  bool SingleColumn = false;
  bool SYLK = false;
};

enum class FileNameSlot { Input, OKOutput, BadOutput };

class FileRunHost {
 public:
  virtual ~FileRunHost() = default;
  // True only when the user answers Yes.
  virtual bool AskYesNo(std::string_view message) = 0;
  virtual void Inform(std::string_view message) = 0;
  virtual void SetBusy(bool busy) = 0;
  virtual void ShowFileName(FileNameSlot slot, std::string_view name) = 0;
};

// Drops a leading and a trailing double quote, each on its own (from a name of three characters
// or more), then puts the program directory in front of a name that holds neither ":\" nor "\\".
std::string ResolveUserPath(std::string_view name, std::string_view programDir);

// The delimiter byte and the column a run's options give.
LineRule LineRuleOf(const FileRunOptions& options);

// A confirmed run in three steps, so that the sort can go on another thread while every call on
// the host stays on the host's own: Start and Finish call the host, Sort never does.
class FileRunJob {
 public:
  // Refuses two output names that reach one file with a message, then asks for confirmation; on
  // Yes turns the busy indicator on, shows the resolved input name and gives the job. On a
  // refusal or any answer but Yes nothing changes and there is no job.
  static std::optional<FileRunJob> Start(const FileRunOptions& options, std::string_view programDir,
                                         FileRunHost& host);
  // Sorts the input into both outputs. Never throws: a failure is kept for Finish.
  void Sort(RunMonitor* monitor = nullptr) noexcept;
  // The same from an input already open, in place of the named one (for tests).
  void Sort(ByteSource& input, RunMonitor* monitor = nullptr) noexcept;
  // Who the run finishes for: the user, who sees its messages, or a window that is closing,
  // which only turns the busy indicator off.
  enum class FinishFor { User, Closing };
  // Shows the outputs' names and the messages in their fixed order, turns the busy indicator off
  // and ends with "Hotovo." and the counts; an input that could not be read, or was refused as
  // unreadable, or an output that could not be made, ends with the reason and that the outputs
  // were left as they were. A stopped run says only that the outputs were left as they were. A
  // failure that Sort kept turns the busy indicator off and is thrown on the host's thread, with
  // no other message: its error box alone tells of it.
  void Finish(FileRunHost& host, FinishFor finishFor = FinishFor::User);
  const FileSortResult& Result() const { return result_; }
  // The monitor stopped the sort: both outputs are as they were.
  bool Stopped() const { return result_.input == InputState::Interrupted; }
  // For a sort that was stopped and left to end on its own (its read would not return): what
  // Finish says of a stopped run, without the job.
  static void FinishStopped(FileRunHost& host, FinishFor finishFor);

 private:
  FileRunJob() = default;
  std::string ClosingMessage() const;
  LineRule rule_;
  std::string input_, badOutput_, okOutput_;
  FileSortResult result_;
  std::exception_ptr failure_;
};

// The whole run on one thread: Start, Sort and Finish.
void RunFileCheck(const FileRunOptions& options, std::string_view programDir, FileRunHost& host);

}  // namespace sipo
