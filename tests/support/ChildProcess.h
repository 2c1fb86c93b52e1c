#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace dolvane::test {

struct Finished {
    int exitCode = -1;  // 128 + the signal for a process that was killed
    std::string out;
    std::string err;
};

// Runs argv[0] with the arguments that follow and waits for it. `environment` entries
// ("NAME=value") come on top of this process's own; stdout and stderr pass through files in
// `scratch`.
Finished RunChild(std::vector<std::string> argv, const std::vector<std::string>& environment,
                  const std::filesystem::path& scratch);

}  // namespace dolvane::test
