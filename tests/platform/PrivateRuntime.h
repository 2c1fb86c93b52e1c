#pragma once

#include "support/TempFolder.h"

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include <unistd.h>

namespace dolvane::test {

// Points XDG_RUNTIME_DIR and TMPDIR at folders of the test's own while it lives, so no test reads
// or leaves anything in the real ones; the old values come back afterwards.
class PrivateRuntime final {
public:
    PrivateRuntime() : oldRuntime_(Read("XDG_RUNTIME_DIR")), oldTemp_(Read("TMPDIR"))
    {
        std::filesystem::create_directory(Runtime());
        std::filesystem::permissions(Runtime(), std::filesystem::perms::owner_all);
        std::filesystem::create_directory(Temp());
        ::setenv("XDG_RUNTIME_DIR", Runtime().c_str(), 1);
        ::setenv("TMPDIR", Temp().c_str(), 1);
    }
    ~PrivateRuntime()
    {
        Restore("XDG_RUNTIME_DIR", oldRuntime_);
        Restore("TMPDIR", oldTemp_);
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
    static std::optional<std::string> Read(const char* name)
    {
        const char* value = std::getenv(name);
        return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
    }
    static void Restore(const char* name, const std::optional<std::string>& value)
    {
        if (value) {
            ::setenv(name, value->c_str(), 1);
        } else {
            ::unsetenv(name);
        }
    }

    TempFolder folder_;
    std::optional<std::string> oldRuntime_;
    std::optional<std::string> oldTemp_;
};

}  // namespace dolvane::test
