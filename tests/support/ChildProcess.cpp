#include "support/ChildProcess.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <thread>

extern char** environ;

namespace dolvane::test {

int WaitForChild(pid_t pid, std::chrono::milliseconds limit, std::string_view what)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    int status = 0;
    pid_t ended = 0;
    while (((ended = ::waitpid(pid, &status, WNOHANG)) == 0 || (ended < 0 && errno == EINTR)) &&
           std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (ended < 0 && errno == EINTR) {
        ended = 0;
    }
    if (ended == 0) {
        ADD_FAILURE() << what << " did not end within " << limit.count() << " ms; killed";
        ::kill(pid, SIGKILL);
        ended = ::waitpid(pid, &status, 0);
    }
    if (ended != pid) {
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

pid_t StartChild(std::vector<std::string> argv, const std::vector<std::string>& environment,
                 const std::filesystem::path& out, const std::filesystem::path& err)
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

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    pid_t pid = -1;
    if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), envp.data()) != 0) {
        pid = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

Finished RunChild(std::vector<std::string> argv, const std::vector<std::string>& environment,
                  const std::filesystem::path& scratch)
{
    const auto out = scratch / "stdout";
    const auto err = scratch / "stderr";
    WriteBytes(out, "");
    WriteBytes(err, "");
    const std::string what = argv[0];
    Finished run;
    if (const pid_t pid = StartChild(std::move(argv), environment, out, err); pid > 0) {
        // Far more than any command of the tests needs, also under a sanitizer.
        run.exitCode = WaitForChild(pid, std::chrono::seconds(30), what);
    }
    run.out = ReadBytes(out);
    run.err = ReadBytes(err);
    return run;
}

}  // namespace dolvane::test
