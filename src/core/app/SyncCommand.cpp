#include "core/app/SyncCommand.h"

#include <exception>

namespace dolvane {
namespace {

constexpr std::string_view kStartQuestion = "同期すると、保存していない変更内容が取り消されます。\nよろしいですか？";
constexpr std::string_view kReloadCaption = "確認";
constexpr std::string_view kReloadQuestion =
    "同期した一覧を読み込むと、同期の間に変更した内容が取り消されます。\nよろしいですか？";

}  // namespace

SyncCommand::SyncCommand(ToDoDocument& document, ViewTabs& tabs, Prompts& prompts, SyncService* service)
    : document_(document),
      tabs_(tabs),
      prompts_(prompts),
      service_(service)
{
}

bool SyncCommand::Enabled() const
{
    return service_ != nullptr && !running_ && service_->Configured();
}

std::optional<std::filesystem::path> SyncCommand::Start()
{
    if (!Enabled() || !tabs_.ReloadAfterAsking(kStartQuestion)) {
        return std::nullopt;
    }
    running_ = true;
    return document_.Paths().ListFilePath;
}

SyncReport SyncCommand::Run(const std::filesystem::path& listFile) const
{
    try {
        return service_->Run(listFile);
    } catch (const std::exception& error) {
        return SyncReport{false, error.what()};
    }
}

void SyncCommand::Finish(const SyncReport& report)
{
    running_ = false;
    if (!document_.State().UnsavedChanges || prompts_.AskYesNo(kReloadCaption, kReloadQuestion)) {
        document_.Reload();
    }
    if (report.ok) {
        prompts_.ShowMessage(report.message);
    } else {
        prompts_.ShowError(report.message);
    }
}

}  // namespace dolvane
