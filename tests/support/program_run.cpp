#include "tests/support/program_run.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

#include "tests/support/temp_folder.h"

extern char** environ;

namespace {

void Check(int error, const char* what) {
  if (error != 0) throw std::runtime_error(std::string("posix_spawn: ") + what);
}

}  // namespace

ProgramRun Run_Program(const std::string& program, const std::vector<std::string>& args,
                       const std::string& cwd) {
  // Output goes to files rather than pipes: no deadlock whatever the amount.
  TempFolder capture;
  std::string out_path = capture.Path("out"), err_path = capture.Path("err");

  posix_spawn_file_actions_t actions;
  Check(posix_spawn_file_actions_init(&actions), "init");
  Check(posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0), "stdin");
  Check(posix_spawn_file_actions_addopen(&actions, 1, out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600),
        "stdout");
  Check(posix_spawn_file_actions_addopen(&actions, 2, err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600),
        "stderr");
  if (!cwd.empty()) Check(posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str()), "chdir");

  std::vector<std::string> strings{program};
  strings.insert(strings.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& s : strings) argv.push_back(s.data());
  argv.push_back(nullptr);

  pid_t pid = 0;
  int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  Check(spawned, "spawn");

  int wstatus = 0;
  while (waitpid(pid, &wstatus, 0) < 0)
    if (errno != EINTR) throw std::runtime_error("waitpid failed");
  ProgramRun run;
  run.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
  run.out = capture.Read("out").value_or("");
  run.err = capture.Read("err").value_or("");
  return run;
}
