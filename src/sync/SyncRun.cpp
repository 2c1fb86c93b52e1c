#include "sync/SyncRun.h"

#include "sync/CalDavClient.h"
#include "sync/Credentials.h"
#include "sync/IcsText.h"
#include "sync/SyncConfig.h"
#include "sync/SyncPass.h"

namespace dolvane {

std::string SummaryText(const SyncCounts& counts)
{
    std::string text = "同期しました: 送信 " + std::to_string(counts.sent) + "、受信 " +
                       std::to_string(counts.received) + "、サーバーで削除 " + std::to_string(counts.deletedThere) +
                       "、リストから削除 " + std::to_string(counts.deletedHere) + "、競合 " +
                       std::to_string(counts.conflicts);
    if (counts.unfinished) {
        text += " (残りは次の同期で扱います)";
    }
    for (const std::string& summary : counts.recurring) {
        text += "\n繰り返しの ToDo は同期しません: " + summary.substr(0, summary.find_first_of("\r\n"));
    }
    return text;
}

SyncRun::SyncRun(FileSystem& files, CalDavClient& client, std::string collection, std::string zone, DateTime now)
    : files_(files),
      client_(client),
      collection_(std::move(collection)),
      zone_(std::move(zone)),
      now_(now)
{
}

SyncCounts SyncRun::Run(const std::filesystem::path& listFile)
{
    return sync_pass::Pass(files_, client_, collection_, zone_, now_, listFile).Run();
}

SyncCounts RunConfiguredSync(FileSystem& files, const Clock& clock, const std::filesystem::path& stateFile,
                             const std::filesystem::path& listFile)
{
    const auto config = ReadSyncConfig(files, stateFile);
    if (!config) {
        throw SyncError(
            "同期するサーバーが設定されていません。dolvane-cli sync --setup URL ユーザー名 で設定してください");
    }
    CalDavClient client(config->user, LoadPassword(config->collection, config->user), HttpSettings{config->caFile});
    return SyncRun(files, client, config->collection, LocalTimeZoneName(), clock.Now()).Run(listFile);
}

}  // namespace dolvane
