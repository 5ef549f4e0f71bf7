// file_run.h - sorts the lines of a text file into a file of lines with a valid SIPO number and a
// file of all other lines. The window that starts a run is reached only through FileRunHost.
#pragma once

#include <cstdint>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "batch/line_rule.h"
#include "batch/line_sorter.h"
#include "batch/run_monitor.h"
#include "files/output_target.h"

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

// Messages of the run, Windows-1250.
namespace file_run_text {
// "Oba soubory, označené jako výstup, budou přepsány. Souhlasíte s tím a chcete pokračovat ?"
inline constexpr std::string_view kConfirm =
    "Oba soubory, ozna\xE8"
    "en\xE9 jako v\xFDstup, budou p\xF8"
    "eps\xE1ny. Souhlas\xEDte s t\xEDm a "
    "chcete pokra\xE8ovat ?";
// "Vstupní soubor nelze otevřít."
inline constexpr std::string_view kInputFailed = "Vstupn\xED soubor nelze otev\xF8\xEDt.";
// "Výstupní soubor pro chybné řádky se nepodařilo otevřít."
inline constexpr std::string_view kBadOutputFailed =
    "V\xFDstupn\xED soubor pro chybn\xE9 \xF8\xE1"
    "dky se nepoda\xF8ilo otev\xF8\xEDt.";
// "Výstupní soubor pro správné řádky se nepodařilo otevřít."
inline constexpr std::string_view kOKOutputFailed =
    "V\xFDstupn\xED soubor pro spr\xE1vn\xE9 \xF8\xE1"
    "dky se nepoda\xF8ilo otev\xF8\xEDt.";
// "Výstupní soubory pro správné a pro chybné řádky musí být dva různé soubory."
inline constexpr std::string_view kSameOutputs =
    "V\xFDstupn\xED soubory pro spr\xE1vn\xE9 a pro chybn\xE9 \xF8\xE1"
    "dky mus\xED b\xFDt dva r\xF9zn\xE9 soubory.";
inline constexpr std::string_view kDone = "Hotovo.";
// "Výstupní soubory zůstaly beze změny."
inline constexpr std::string_view kOutputsKept = "V\xFDstupn\xED soubory z\xF9staly beze zm\xECny.";
// "Přerušeno. Výstupní soubory zůstaly beze změny."
inline constexpr std::string_view kStopped =
    "P\xF8"
    "eru\x9A"
    "eno. V\xFDstupn\xED soubory z\xF9staly beze zm\xECny.";
}  // namespace file_run_text

// Drops one pair of surrounding double quotes, then puts the program directory in front of a
// name that holds neither ":\" nor "\\".
std::string ResolveUserPath(std::string_view name, std::string_view programDir);

// The delimiter byte and the column a run's options give.
LineRule LineRuleOf(const FileRunOptions& options);

// How reading the input of a sort ended. Utf32 and OddLength: refused as unreadable (a UTF-32
// mark, a UTF-16 text of odd length). NotStarted: an output could not be made, so nothing was
// read.
enum class InputState {
  Read,
  CannotOpen,
  ReadFailed,
  Changed,
  Interrupted,
  Utf32,
  OddLength,
  NotStarted
};

// How one output fared.
struct OutputOutcome {
  // Why it could not be made, written or replaced, as the system said; nothing when it was
  // written, or held back because the other output failed.
  std::error_code error;
  // Its bytes went out as they came (a device, a pipe, standard output).
  bool inPlace = false;
};

// What a sort of a file did, for the command line's summary.
struct FileSortResult {
  InputState input = InputState::CannotOpen;
  SortResult sorted;
  std::error_code inputError;  // why the input could not be opened or read
  InputChange inputChange;     // Changed: what another program altered
  OutputOutcome bad, ok;
  bool headerCopied = false;  // the first line went to both outputs unchecked
  bool InputRead() const { return input == InputState::Read; }
  // Unreadable, refused, stopped or never started: both outputs were left as they were.
  bool OutputsKept() const { return !InputRead(); }
};

// Streams the input (a file, or standard input when input is empty) and writes the bad and the
// good lines as they are read, the bad one first. Both outputs are made before the first byte is
// read, and replaced only when both were written in full: an input that cannot be read, at the
// start or part-way, an output that cannot be made or written, or a run that the monitor stops,
// leaves both as they were. With header set, the input's first line goes to both outputs,
// unchecked, as their first line.
FileSortResult SortFile(const std::filesystem::path& input, const OutputTarget& okOutput,
                        const OutputTarget& badOutput, const LineRule& rule,
                        RunMonitor* monitor = nullptr, bool header = false);
// The same with names used as given.
FileSortResult SortFile(const std::filesystem::path& input, const std::filesystem::path& okOutput,
                        const std::filesystem::path& badOutput, const LineRule& rule,
                        RunMonitor* monitor = nullptr);

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
  // The same from an input already open, in place of the named one.
  void Sort(ByteSource& input, RunMonitor* monitor = nullptr) noexcept;
  // Who the run finishes for: the user, who sees its messages, or a window that is closing,
  // which only turns the busy indicator off.
  enum class FinishFor { User, Closing };
  // Shows the outputs' names and the messages in their fixed order, turns the busy indicator off
  // and ends with "Hotovo." and the counts; an input that could not be read, or was refused as
  // unreadable, or an output that could not be made, ends with the reason and that the outputs
  // were left as they were. A failure that
  // Sort kept is then thrown on the host's thread. A stopped run says only that the outputs were
  // left as they were.
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
