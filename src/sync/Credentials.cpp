#include "sync/Credentials.h"

#include "platform/FileDescriptor.h"
#include "sync/CalDavClient.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <libsecret/secret.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dolvane {
namespace {

namespace fs = std::filesystem;

// The program's own schema: one password per server address and user name.
const SecretSchema* PasswordSchema()
{
    static const SecretSchema schema = {
        "org.dolvane.Sync",
        SECRET_SCHEMA_NONE,
        {{"url", SECRET_SCHEMA_ATTRIBUTE_STRING}, {"user", SECRET_SCHEMA_ATTRIBUTE_STRING}, {nullptr, {}}},
        0,
        nullptr,
        nullptr,
        nullptr,
        nullptr,
        nullptr,
        nullptr,
        nullptr};
    return &schema;
}

// Without a session bus GLib would try to start one (autolaunch through X11); a terminal or a
// test without one goes straight to the file.
bool SessionBusAround()
{
    if (const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS"); address != nullptr && *address != '\0') {
        return true;
    }
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::error_code ignored;
    return runtime != nullptr && *runtime != '\0' && fs::exists(fs::path(runtime) / "bus", ignored);
}

std::string SystemMessage(const std::string& what, const fs::path& file, int error)
{
    return what + ": " + file.string() + " (" + std::strerror(error) + ")";
}

}  // namespace

fs::path PasswordFilePath()
{
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && *config == '/') {
        return fs::path(config) / "dolvane" / "sync-password";
    }
    const char* home = std::getenv("HOME");
    if (home == nullptr || *home == '\0') {
        const passwd* account = ::getpwuid(::geteuid());
        home = account != nullptr ? account->pw_dir : "/";
    }
    return fs::path(home) / ".config" / "dolvane" / "sync-password";
}

std::optional<std::string> ReadPasswordFile(const fs::path& file)
{
    const FileDescriptor fd(::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (fd.Get() < 0) {
        if (errno == ENOENT) {
            return std::nullopt;
        }
        throw SyncError(SystemMessage("パスワードのファイルを開けませんでした", file, errno));
    }
    struct stat status {};
    if (::fstat(fd.Get(), &status) != 0 || !S_ISREG(status.st_mode)) {
        throw SyncError("パスワードのファイルが普通のファイルではありません: " + file.string());
    }
    // Checked on the file that was opened, so nothing can be swapped in between.
    if (status.st_uid != ::geteuid()) {
        throw SyncError("パスワードのファイル " + file.string() +
                        " の所有者がこのユーザーではありません。自分のファイルにして chmod 600 " + file.string() +
                        " としてください");
    }
    if ((status.st_mode & 077) != 0) {
        throw SyncError("パスワードのファイル " + file.string() +
                        " はほかのユーザーも読めるので使いません。chmod 600 " + file.string() + " としてください");
    }
    std::string text;
    char buffer[4096];
    while (true) {
        const ssize_t got = ::read(fd.Get(), buffer, sizeof buffer);
        if (got < 0) {
            throw SyncError(SystemMessage("パスワードのファイルを読めませんでした", file, errno));
        }
        if (got == 0) {
            break;
        }
        text.append(buffer, static_cast<std::size_t>(got));
    }
    // An editor adds a line end; the password is the first line.
    return text.substr(0, text.find_first_of("\r\n"));
}

void WritePasswordFile(const fs::path& file, const std::string& password)
{
    const fs::path folder = file.parent_path();
    std::error_code error;
    if (!fs::exists(folder, error)) {
        fs::create_directories(folder, error);
        if (error) {
            throw SyncError(SystemMessage("フォルダーを作れませんでした", folder, error.value()));
        }
        fs::permissions(folder, fs::perms::owner_all, error);
    }
    // A new file made 0600 from the start and renamed over the old one: the password is never
    // readable by others, not even for a moment, and a link at the name is replaced.
    const fs::path temporary = file.string() + ".new";
    ::unlink(temporary.c_str());
    {
        const FileDescriptor fd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (fd.Get() < 0) {
            throw SyncError(SystemMessage("パスワードのファイルを書けませんでした", temporary, errno));
        }
        const std::string text = password + "\n";
        if (::write(fd.Get(), text.data(), text.size()) != static_cast<ssize_t>(text.size()) ||
            ::fsync(fd.Get()) != 0) {
            const int cause = errno;
            ::unlink(temporary.c_str());
            throw SyncError(SystemMessage("パスワードのファイルを書けませんでした", temporary, cause));
        }
    }
    if (::rename(temporary.c_str(), file.c_str()) != 0) {
        const int cause = errno;
        ::unlink(temporary.c_str());
        throw SyncError(SystemMessage("パスワードのファイルを書けませんでした", file, cause));
    }
}

std::string LoadPassword(const std::string& url, const std::string& user)
{
    if (SessionBusAround()) {
        GError* error = nullptr;
        gchar* secret = secret_password_lookup_sync(PasswordSchema(), nullptr, &error, "url", url.c_str(), "user",
                                                    user.c_str(), nullptr);
        if (error != nullptr) {
            g_error_free(error);  // no Secret Service answered: the file may have it
        }
        if (secret != nullptr) {
            std::string password(secret);
            secret_password_free(secret);
            return password;
        }
    }
    const fs::path file = PasswordFilePath();
    if (auto password = ReadPasswordFile(file)) {
        return *password;
    }
    throw SyncError("同期のパスワードがありません。dolvane-cli sync --setup URL ユーザー名 で設定してください (" +
                    file.string() + " もありません)");
}

std::string StorePassword(const std::string& url, const std::string& user, const std::string& password)
{
    if (SessionBusAround()) {
        GError* error = nullptr;
        const gboolean stored = secret_password_store_sync(PasswordSchema(), SECRET_COLLECTION_DEFAULT,
                                                           ("Dolvane sync " + url).c_str(), password.c_str(), nullptr,
                                                           &error, "url", url.c_str(), "user", user.c_str(), nullptr);
        if (error != nullptr) {
            g_error_free(error);
        }
        if (stored) {
            return "Secret Service";
        }
    }
    const fs::path file = PasswordFilePath();
    WritePasswordFile(file, password);
    return file.string();
}

}  // namespace dolvane
