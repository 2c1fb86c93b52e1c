#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace dolvane {

// The sync password, never in a settings file nor on a command line: in the desktop's Secret
// Service when one answers on the session bus, else in a file of the user's own that nobody else
// can read. Failures throw SyncError with a message for the user.

// `$XDG_CONFIG_HOME/dolvane/sync-password`, else `~/.config/dolvane/sync-password`.
std::filesystem::path PasswordFilePath();

// The password in `file` (its one line, without the line end); nothing when the file is missing.
// A file that another account owns or that the group or others may read is refused.
std::optional<std::string> ReadPasswordFile(const std::filesystem::path& file);
// Replaces `file` with `password`, mode 0600, in a folder made 0700 when it is missing.
void WritePasswordFile(const std::filesystem::path& file, const std::string& password);

// The password of `user` at `url`: the Secret Service's, else the file's.
std::string LoadPassword(const std::string& url, const std::string& user);
// Stores it where LoadPassword looks first; gives where it went, for telling the user.
std::string StorePassword(const std::string& url, const std::string& user, const std::string& password);

}  // namespace dolvane
