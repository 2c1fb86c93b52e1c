#pragma once

#include "core/ports/FileSystem.h"

namespace dolvane {

// A PrivateFolder held by its descriptor: every folder below it is opened from it, and every file
// is made in it, without following a link, so a path changed after the check leads nowhere else.
class PosixPrivateFolder final : public PrivateFolder {
public:
    static std::unique_ptr<PrivateFolder> Open(const std::filesystem::path& folder, FileError& error);
    ~PosixPrivateFolder() override;
    PosixPrivateFolder(const PosixPrivateFolder&) = delete;
    PosixPrivateFolder& operator=(const PosixPrivateFolder&) = delete;

    std::unique_ptr<PrivateFolder> Folder(std::string_view name, FileError& error) override;
    bool CopyIn(const std::filesystem::path& from, std::string_view name, std::optional<unsigned> mode, bool replace,
                FileError& error) override;

private:
    PosixPrivateFolder(int fd, std::filesystem::path path) : fd_(fd), path_(std::move(path)) {}
    // Opens `name` in the folder `at` (a descriptor, or AT_FDCWD for a path) and checks it.
    static std::unique_ptr<PrivateFolder> OpenAt(int at, const std::filesystem::path& name,
                                                 const std::filesystem::path& shown, FileError& error);

    int fd_;
    std::filesystem::path path_;  // for messages only
};

}  // namespace dolvane
