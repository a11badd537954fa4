#include "host/process_start.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <utility>

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

namespace fs = std::filesystem;

char Fold(char c) { return (c >= 'A' && c <= 'Z') ? char(c + 32) : c; }

bool Equal_Ignoring_Case(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Fold(x) == Fold(y); });
}

bool Ends_With_Exe(std::string_view path) {
  return path.size() > 4 && Equal_Ignoring_Case(path.substr(path.size() - 4), ".exe");
}

bool Is_Regular_File(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

int Status_Code(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

// The native program "X" beside "X.exe": the exact name, else the first name
// in byte order that matches ignoring case.
std::optional<std::string> Native_Beside(const std::string& exe_path) {
  fs::path path(exe_path);
  std::string base = path.filename().string();
  base.resize(base.size() - 4);
  fs::path folder = path.parent_path();
  std::string exact = (folder / base).string();
  if (Is_Native_Executable(exact)) return exact;
  std::error_code error;
  std::vector<std::string> matches;
  for (const auto& entry : fs::directory_iterator(folder.empty() ? fs::path(".") : folder, error)) {
    std::string name = entry.path().filename().string();
    if (Equal_Ignoring_Case(name, base) && Is_Native_Executable(entry.path().string()))
      matches.push_back(entry.path().string());
  }
  if (matches.empty()) return std::nullopt;
  return *std::min_element(matches.begin(), matches.end());
}

// Backslashes from `i`, then what they mean before a quote or elsewhere.
// Returns the index of the last character consumed.
size_t Read_Backslashes(std::string_view text, size_t i, std::string& out) {
  size_t count = 0;
  while (i + count < text.size() && text[i + count] == '\\') ++count;
  size_t after = i + count;
  if (after < text.size() && text[after] == '"') {
    out.append(count / 2, '\\');
    if (count % 2 == 1) {
      out.push_back('"');
      return after;  // the quote is literal
    }
    return after - 1;  // the quote is read next, as a delimiter
  }
  out.append(count, '\\');
  return after - 1;
}

void Reap_In_Background(pid_t pid) {
  std::thread([pid] {
    int status;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }).detach();
}

std::string Search_Path_Env() {
  const char* path = std::getenv("PATH");
  return path ? path : "";
}

}  // namespace

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : pid_(std::exchange(other.pid_, -1)), ended_(other.ended_), code_(other.code_) {}

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept {
  if (this != &other) {
    if (pid_ > 0 && !ended_) Reap_In_Background(pid_);
    pid_ = std::exchange(other.pid_, -1);
    ended_ = other.ended_;
    code_ = other.code_;
  }
  return *this;
}

ChildProcess::~ChildProcess() {
  if (pid_ > 0 && !ended_) Reap_In_Background(pid_);
}

int ChildProcess::Wait() {
  if (ended_ || pid_ <= 0) return code_;
  int status = 0;
  pid_t result;
  do {
    result = ::waitpid(pid_, &status, 0);
  } while (result < 0 && errno == EINTR);
  ended_ = true;
  code_ = result == pid_ ? Status_Code(status) : -1;
  return code_;
}

std::optional<int> ChildProcess::Exit_Code() {
  if (!ended_ && pid_ > 0) {
    int status = 0;
    pid_t result = ::waitpid(pid_, &status, WNOHANG);
    if (result == 0 || (result < 0 && errno == EINTR)) return std::nullopt;
    ended_ = true;
    code_ = result == pid_ ? Status_Code(status) : -1;
  }
  return code_;
}

std::vector<std::string> Command_Line_Split(std::string_view text) {
  std::vector<std::string> arguments;
  std::string current;
  bool in_argument = false;
  bool quoted = false;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (!quoted && (c == ' ' || c == '\t')) {
      if (in_argument) arguments.push_back(std::move(current));
      current.clear();
      in_argument = false;
      continue;
    }
    in_argument = true;
    if (c == '\\') {
      i = Read_Backslashes(text, i, current);
    } else if (c == '"' && quoted && i + 1 < text.size() && text[i + 1] == '"') {
      current.push_back('"');
      ++i;
    } else if (c == '"') {
      quoted = !quoted;
    } else {
      current.push_back(c);
    }
  }
  if (in_argument) arguments.push_back(std::move(current));
  return arguments;
}

std::string Find_In_Path(std::string_view name, std::string_view search_path) {
  if (name.empty() || name.find('/') != std::string_view::npos) return {};
  while (!search_path.empty()) {
    size_t colon = search_path.find(':');
    std::string_view folder = search_path.substr(0, colon);
    if (!folder.empty()) {
      std::string candidate = std::string(folder) + "/" + std::string(name);
      if (Is_Regular_File(candidate) && ::access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    if (colon == std::string_view::npos) break;
    search_path.remove_prefix(colon + 1);
  }
  return {};
}

bool Is_Native_Executable(const std::string& path) {
  if (!Is_Regular_File(path) || ::access(path.c_str(), X_OK) != 0) return false;
  std::ifstream file(path, std::ios::binary);
  char magic[4] = {};
  file.read(magic, 4);
  std::string_view head(magic, size_t(file.gcount()));
  return head ==
             "\x7f"
             "ELF" ||
         head.substr(0, 2) == "#!";
}

std::optional<std::vector<std::string>> Program_Command(std::string_view program, std::string_view parameters,
                                                        std::string_view search_path) {
  std::string path(program);
  std::vector<std::string> argv;
  if (Ends_With_Exe(path)) {
    if (std::optional<std::string> native = Native_Beside(path)) argv.push_back(*native);
  }
  if (argv.empty() && Is_Native_Executable(path)) argv.push_back(path);
  if (argv.empty() && Ends_With_Exe(path) && Is_Regular_File(path)) {
    std::string wine = Find_In_Path("wine", search_path);
    if (wine.empty()) return std::nullopt;
    argv = {wine, path};
  }
  if (argv.empty()) return std::nullopt;
  for (std::string& argument : Command_Line_Split(parameters)) argv.push_back(std::move(argument));
  return argv;
}

std::optional<ChildProcess> Process_Start(const std::vector<std::string>& argv, std::string_view directory) {
  if (argv.empty()) return std::nullopt;
  std::vector<char*> pointers;
  for (const std::string& argument : argv) pointers.push_back(const_cast<char*>(argument.c_str()));
  pointers.push_back(nullptr);
  std::string folder(directory);

  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;
  posix_spawn_file_actions_init(&actions);
  posix_spawnattr_init(&attributes);
  if (!folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  sigset_t none, every;
  sigemptyset(&none);
  sigfillset(&every);
  sigdelset(&every, SIGKILL);
  sigdelset(&every, SIGSTOP);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setsigdefault(&attributes, &every);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  pid_t pid = -1;
  int error = posix_spawn(&pid, argv[0].c_str(), &actions, &attributes, pointers.data(), environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) return std::nullopt;
  return ChildProcess(pid);
}

std::optional<ChildProcess> Program_Start(std::string_view program, std::string_view parameters,
                                          std::string_view directory) {
  std::optional<std::vector<std::string>> argv = Program_Command(program, parameters, Search_Path_Env());
  if (!argv) return std::nullopt;
  return Process_Start(*argv, directory);
}

std::optional<ChildProcess> Document_Open(std::string_view path, std::string_view search_path) {
  if (path.empty()) return std::nullopt;
  std::string target(path);
  if (target.front() == '-') target = "./" + target;
  std::string opener = Find_In_Path("xdg-open", search_path);
  if (!opener.empty()) return Process_Start({opener, target}, "");
  opener = Find_In_Path("gio", search_path);
  if (!opener.empty()) return Process_Start({opener, "open", target}, "");
  return std::nullopt;
}

std::optional<ChildProcess> Document_Open(std::string_view path) {
  return Document_Open(path, Search_Path_Env());
}
