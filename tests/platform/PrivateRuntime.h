#pragma once

#include "support/TempFolder.h"

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>

#include <unistd.h>

namespace dolvane::test {

// Points XDG_RUNTIME_DIR and TMPDIR at folders of the test's own while it lives, so no test reads
// or leaves anything in the real ones; the old values come back afterwards.
class PrivateRuntime final {
public:
    PrivateRuntime()
    {
        for (auto& [name, value] : saved_) {
            if (const char* set = std::getenv(name)) {
                value = set;
            }
        }
        std::filesystem::create_directory(Runtime());
        std::filesystem::permissions(Runtime(), std::filesystem::perms::owner_all);
        std::filesystem::create_directory(Temp());
        ::setenv("XDG_RUNTIME_DIR", Runtime().c_str(), 1);
        ::setenv("TMPDIR", Temp().c_str(), 1);
    }
    ~PrivateRuntime()
    {
        for (const auto& [name, value] : saved_) {
            if (value) {
                ::setenv(name, value->c_str(), 1);
            } else {
                ::unsetenv(name);
            }
        }
    }
    PrivateRuntime(const PrivateRuntime&) = delete;
    PrivateRuntime& operator=(const PrivateRuntime&) = delete;

    std::filesystem::path Runtime() const { return folder_ / "runtime"; }
    std::filesystem::path Temp() const { return folder_ / "tmp"; }
    // Where the program makes its own folder when XDG_RUNTIME_DIR will not do.
    std::filesystem::path Fallback() const { return Temp() / ("dolvane-" + std::to_string(::geteuid())); }
    std::filesystem::path Path() const { return folder_.Path(); }

    void SetRuntime(const std::filesystem::path& folder) const { ::setenv("XDG_RUNTIME_DIR", folder.c_str(), 1); }
    void UnsetRuntime() const { ::unsetenv("XDG_RUNTIME_DIR"); }

private:
    TempFolder folder_;
    // The variables' values before, put back afterwards.
    std::pair<const char*, std::optional<std::string>> saved_[2] = {{"XDG_RUNTIME_DIR", {}}, {"TMPDIR", {}}};
};

}  // namespace dolvane::test
