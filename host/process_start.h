// Starting programs, waiting for them, and opening documents with the
// desktop's default application.
//
// A program named by a Windows path "X.exe" (case ignored) runs the native
// program "X" beside it when there is one (its name matched ignoring case),
// else "X.exe" itself when it is a native executable (ELF or "#!" script with
// execute permission), else "X.exe" through wine when wine is installed.
// Otherwise the start fails. Other paths run when they are native
// executables.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <sys/types.h>

// A started child process. One that is dropped before it was waited for is
// waited for on a background thread, so no ended child stays a zombie.
class ChildProcess {
 public:
  explicit ChildProcess(pid_t pid) : pid_(pid) {}
  ChildProcess(ChildProcess&& other) noexcept;
  // A child held before is left to the background wait.
  ChildProcess& operator=(ChildProcess&& other) noexcept;
  ChildProcess(const ChildProcess&) = delete;
  ~ChildProcess();

  pid_t Pid() const { return pid_; }
  // Blocks until the process ends. Its exit status, or 128 + the signal that
  // ended it.
  int Wait();
  // The exit status once the process has ended; nothing while it runs.
  std::optional<int> Exit_Code();

 private:
  pid_t pid_;
  bool ended_ = false;
  int code_ = 0;
};

// Splits a parameter text into arguments as a program of the original
// platform reads its command line: blanks and tabs separate arguments outside
// double quotes; inside quotes "" is one quote; 2n backslashes before a quote
// give n backslashes and the quote delimits, 2n + 1 give n backslashes and a
// literal quote; other backslashes are literal.
std::vector<std::string> Command_Line_Split(std::string_view parameters);

// The first folder of a ':'-separated search path (empty entries skipped)
// holding an executable regular file of that name; empty when none does.
std::string Find_In_Path(std::string_view name, std::string_view search_path);

// True for a regular file with execute permission that starts with an ELF
// header or "#!".
bool Is_Native_Executable(const std::string& path);

// The argument vector that starts the program with the parameters (argv[0]
// is the file executed), by the rule above; wine is looked for in the search
// path. Nothing when the program cannot be started.
std::optional<std::vector<std::string>> Program_Command(std::string_view program, std::string_view parameters,
                                                        std::string_view search_path);

// Starts argv[0] with the arguments in the folder (the current one when
// empty), with this process's environment, default signal dispositions and
// no blocked signals. Nothing when it cannot be started.
std::optional<ChildProcess> Process_Start(const std::vector<std::string>& argv, std::string_view directory);

// Program_Command with $PATH, then Process_Start.
std::optional<ChildProcess> Program_Start(std::string_view program, std::string_view parameters,
                                          std::string_view directory);

// Opens the document or URL with "xdg-open PATH", else "gio open PATH", the
// opener found in the search path. A relative path starting with '-' is
// passed as "./PATH", never as an option. Nothing when there is no opener or
// it cannot be started; the opener's own exit status says whether the
// desktop found an application.
std::optional<ChildProcess> Document_Open(std::string_view path, std::string_view search_path);
std::optional<ChildProcess> Document_Open(std::string_view path);
