#include "support/ChildProcess.h"

#include "support/TempFolder.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace dolvane::test {

Finished RunChild(std::vector<std::string> argv, const std::vector<std::string>& environment,
                  const std::filesystem::path& scratch)
{
    std::vector<char*> args;
    for (auto& argument : argv) {
        args.push_back(argument.data());
    }
    args.push_back(nullptr);
    // The first of two entries with one name is the one getenv finds.
    std::vector<std::string> variables(environment);
    for (char** variable = environ; *variable != nullptr; ++variable) {
        variables.emplace_back(*variable);
    }
    std::vector<char*> envp;
    for (auto& variable : variables) {
        envp.push_back(variable.data());
    }
    envp.push_back(nullptr);

    const auto out = scratch / "stdout";
    const auto err = scratch / "stderr";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = -1;
    Finished run;
    if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), envp.data()) == 0) {
        int status = 0;
        waitpid(pid, &status, 0);
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    run.out = ReadBytes(out);
    run.err = ReadBytes(err);
    return run;
}

}  // namespace dolvane::test
