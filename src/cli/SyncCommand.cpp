#include "cli/SyncCommand.h"

#include "cli/CliText.h"
#include "core/app/SettingsSession.h"
#include "core/store/ListStore.h"
#include "sync/CalDavClient.h"
#include "sync/Credentials.h"
#include "sync/SyncConfig.h"
#include "sync/SyncRun.h"

#include <iostream>

#include <termios.h>
#include <unistd.h>

namespace dolvane::cli {
namespace {

constexpr OptionRule kSyncOptions[] = {{"--file"}, {"--setup", false}, {"--cafile"}};

// The first line of standard input; on a terminal asked for without echo, so the password is
// never on the screen nor in a shell's history.
std::string ReadPassword(std::ostream& prompt)
{
    termios saved{};
    const bool terminal = ::isatty(STDIN_FILENO) != 0 && ::tcgetattr(STDIN_FILENO, &saved) == 0;
    if (terminal) {
        prompt << "パスワード: " << std::flush;
        termios quiet = saved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    std::string password;
    const bool read = static_cast<bool>(std::getline(std::cin, password));
    if (terminal) {
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
        prompt << '\n';
    }
    if (!password.empty() && password.back() == '\r') {
        password.pop_back();
    }
    if (!read || password.empty()) {
        throw CliError("パスワードが入力されませんでした");
    }
    return password;
}

int Setup(const CommandLine& line, const CliEnvironment& environment, std::ostream& out)
{
    if (line.Positionals().size() != 2) {
        throw CliError("sync --setup にはサーバーの URL とユーザー名を指定してください");
    }
    const std::string& url = line.Positionals()[0];
    const std::string& user = line.Positionals()[1];
    const std::string caFile = line.Value("--cafile").value_or("");
    const std::string password = ReadPassword(std::cerr);
    // Finding the collection also proves the password before anything is stored.
    CalDavClient client(user, password, HttpSettings{caFile});
    const std::string collection = client.DiscoverCollection(url);
    const std::string where = StorePassword(collection, user, password);
    WriteSyncConfig(environment.files, SettingsSession::StateFilePath(environment.paths),
                    SyncConfig{collection, user, caFile});
    out << "同期の設定を保存しました: " << collection << " (パスワード: " << where << ")\n";
    return 0;
}

}  // namespace

int RunSync(std::span<const std::string> arguments, const CliEnvironment& environment, std::ostream& out)
{
    const CommandLine line(arguments, kSyncOptions, 2);
    if (line.Has("--setup")) {
        return Setup(line, environment, out);
    }
    if (!line.Positionals().empty() || line.Has("--cafile")) {
        throw CliError("sync に余分な引数があります (設定は sync --setup URL ユーザー名)");
    }
    const auto counts =
        RunConfiguredSync(environment.files, environment.clock, SettingsSession::StateFilePath(environment.paths),
                          ListFileOption(line, environment));
    if ((counts.received > 0 || counts.deletedHere > 0 || counts.conflicts > 0) && environment.sibling != nullptr) {
        NotifySibling(*environment.sibling);
    }
    out << SummaryText(counts) << '\n';
    return 0;
}

}  // namespace dolvane::cli
