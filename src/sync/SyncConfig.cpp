#include "sync/SyncConfig.h"

#include "core/store/ProgramState.h"
#include "core/text/Cp932Codec.h"
#include "sync/CalDavClient.h"

namespace dolvane {
namespace {

std::string ToFile(const std::string& utf8, const char* what)
{
    try {
        return Utf8ToCp932(utf8);
    } catch (const Cp932Error&) {
        throw SyncError(std::string(what) + " に設定ファイルに書けない文字があります: " + utf8);
    }
}

}  // namespace

std::optional<SyncConfig> ReadSyncConfig(FileSystem& files, const std::filesystem::path& stateFile)
{
    const auto server = ReadProgramState(files, stateFile).sync;
    if (!server) {
        return std::nullopt;
    }
    // A hand-edited file may hold bytes that are no cp932; the URL then fails visibly at the server.
    return SyncConfig{Cp932ToUtf8ForDisplay(server->url), Cp932ToUtf8ForDisplay(server->user),
                      Cp932ToUtf8ForDisplay(server->caFile)};
}

void WriteSyncConfig(FileSystem& files, const std::filesystem::path& stateFile, const SyncConfig& config)
{
    ProgramState state;
    state.sync = SyncServer{ToFile(config.collection, "URL"), ToFile(config.user, "ユーザー名"),
                            ToFile(config.caFile, "CA ファイル")};
    FileError error;
    if (!WriteProgramState(files, stateFile, state, error)) {
        throw SyncError("同期の設定を書き込めませんでした: " + error.message);
    }
}

}  // namespace dolvane
