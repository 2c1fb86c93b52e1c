#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace dolvane::test {

struct Finished {
    int exitCode = -1;  // 128 + the signal for a process that was killed
    std::string out;
    std::string err;
};

// Waits for the child `pid` and gives its exit code (128 + the signal for a killed one). One still
// running after `limit` is killed and the test fails there, naming `what`: a child that hangs fails
// its test within seconds instead of holding the run until the runner's timeout.
int WaitForChild(pid_t pid, std::chrono::milliseconds limit, std::string_view what);

// Starts argv[0] with the arguments that follow and leaves it running. `environment` entries
// ("NAME=value") come on top of this process's own; stdin is /dev/null, stdout and stderr are
// appended to the files `out` and `err` (which may be one file). -1 when it cannot be started.
pid_t StartChild(std::vector<std::string> argv, const std::vector<std::string>& environment,
                 const std::filesystem::path& out, const std::filesystem::path& err);

// Runs a StartChild and waits for it (at most 30 s, see WaitForChild); stdout and stderr pass
// through files in `scratch`.
Finished RunChild(std::vector<std::string> argv, const std::vector<std::string>& environment,
                  const std::filesystem::path& scratch);

}  // namespace dolvane::test
