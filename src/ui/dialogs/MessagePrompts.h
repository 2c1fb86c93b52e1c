#pragma once

#include "core/ports/Prompts.h"

class QWidget;

namespace dolvane {

// Questions and messages as message boxes owned by the main window.
class MessagePrompts final : public Prompts {
public:
    explicit MessagePrompts(QWidget* owner) : owner_(owner) {}

    bool AskYesNo(std::string_view caption, std::string_view text, Preselect preselect) override;
    void ShowMessage(std::string_view text) override;
    void ShowError(std::string_view text) override;
    std::optional<Settings> EditSettings(const Settings& current) override;
    std::optional<StickyNoteFields> ChooseStickyNoteFields() override;
    std::optional<std::filesystem::path> ChooseFileToOpen(std::string_view filter) override;
    std::optional<std::filesystem::path> ChooseFileToSave(std::string_view defaultExtension,
                                                          std::string_view filter) override;
    std::optional<std::string> EditCell(const CellEditRequest& request) override;

private:
    QWidget* owner_;
};

}  // namespace dolvane
