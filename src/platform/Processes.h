#pragma once
// Other programs this program runs: music converters and typesetters, Ghostscript,
// the archiver, a hex editor, a compare program. A program runs from an argument
// list, never through a shell, so blanks, quotes and shell characters in file
// names are only characters. Every program started here is kept in a process
// table, and only those are ever ended.
//
// Program names and arguments are file-system bytes (UTF-8 on a normal system).
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorrel {

struct TRunOptions {
  std::string stdoutFile;     // receives the program's output; "" discards it
  std::string stderrFile;     // receives its error output; "" discards it
  std::string workingFolder;  // "" runs it in the current folder
  // What KillWindowsByTitle knows the program by ("Media Player", "Ghostscript");
  // "" gives the program's file name.
  std::string title;
  // Text the program reads on its standard input, which then ends: the way to hand
  // it a secret, since anyone on the machine can read a program's arguments. Meant
  // for a line or two. Without it the program reads an empty input.
  std::optional<std::string> input;
};

// The program file a name stands for: a name holding "/" as it is, a bare name
// looked up on PATH. "" when there is no such executable file.
std::string FindProgram(const std::string& program);

// What became of a start.
enum class TStartOutcome {
  Started,
  NotFound,       // no such program file, or none of that name on PATH
  NotExecutable,  // the file is there but this user may not run it
  NotStarted,     // the system would not run it (no program in the file)
};
struct TStartResult {
  TStartOutcome outcome = TStartOutcome::NotFound;
  int error = 0;  // errno of the failure; 0 when started
};

// Starts the program and returns at once; the program joins the process table.
// Nothing is shown: the shell's RunHidden tells the user.
TStartResult StartProgram(const std::string& program, const std::vector<std::string>& arguments,
                          const TRunOptions& options = {});

// The process id of the program started last; 0 when none was started.
int64_t LastStartedPid();
// Ends one program of the table by its process id. False when it is not ours or
// has already ended.
bool EndProcess(int64_t pid);

// Waits, keeping the screen live, for the program started last to finish (at most
// the seconds given; when none of ours runs, until the file has bytes or the time
// is up), then reports the output file as it is.
struct TOutputFileState {
  bool exists = false;
  int64_t size = 0;
};
TOutputFileState WaitForOutput(const std::string& path, int seconds);

// Waits, keeping the screen live, for the program started last to end, however
// long it runs. Returns its exit code; -1 when it crashed or none was started.
int WaitForLastProgram();

// Ends the running programs started here whose title contains the fragment (case
// ignored), except those whose title contains "VLC ". Returns how many were ended.
int KillWindowsByTitle(const std::string& fragment);
// Ends the running programs started here whose program file is named so (case
// ignored; "gs" or "/usr/bin/gs"). Returns how many were ended.
int KillProcessByName(const std::string& name);

// "List tasks": appends, each followed by CR LF, the window titles of this
// program's running instances and the titles of the programs started here that
// still run. Other programs' windows are not ours to list.
void ListTaskWindow(std::string& text);

struct TProcessInfo {
  int64_t pid = 0;
  std::string program;  // the program file that was run
  std::string title;
  bool running = false;
};
// The process table: programs started here that have not been forgotten yet.
std::vector<TProcessInfo> StartedProcesses();

// Ends every program still running from the table and empties it (tests; a
// program's own exit leaves launched viewers running).
void ResetProcesses();

}  // namespace quorrel
