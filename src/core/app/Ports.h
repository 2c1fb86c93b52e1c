#pragma once

#include "core/edit/CellEdit.h"
#include "core/store/Settings.h"
#include "core/time/DateTime.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace dolvane {

// The wall clock. Nothing in core reads the time by itself, so every rule can be tested.
class Clock {
public:
    virtual ~Clock() = default;
    virtual DateTime Now() const = 0;
};

// What the sticky-note dialog asks: which fields go into each note line.
struct StickyNoteFields {
    bool importance = false;
    bool executor = false;
    bool category = false;
    bool progress = false;
    bool firstLineOnly = true;  // only the task's first line

    friend bool operator==(const StickyNoteFields&, const StickyNoteFields&) = default;
};

// Questions and messages to the user, owned by the main window. Texts are UTF-8.
class Prompts {
public:
    virtual ~Prompts() = default;
    // Which answer Enter gives before the user picks one.
    enum class Preselect { Yes, No };
    // Yes and No buttons with the question icon; true for Yes. A question whose Yes cannot be
    // undone (writing over someone else's changes) preselects No.
    virtual bool AskYesNo(std::string_view caption, std::string_view text, Preselect preselect = Preselect::Yes) = 0;
    // A plain message with only an OK button, captioned with the program's title.
    virtual void ShowMessage(std::string_view text) = 0;
    // The application's error box.
    virtual void ShowError(std::string_view text) = 0;
    // The settings dialog, opened on `current`: the edited values on OK, nothing on Cancel.
    virtual std::optional<Settings> EditSettings(const Settings& current) = 0;
    // The sticky-note dialog, opened with its defaults: the fields on OK, nothing on Cancel.
    virtual std::optional<StickyNoteFields> ChooseStickyNoteFields() = 0;
    // The file choosers. `filter` is "caption|pattern", e.g. "ToDoファイル(*.tod)|*.tod"; the
    // save chooser adds `defaultExtension` to a name typed without one. Nothing on Cancel.
    virtual std::optional<std::filesystem::path> ChooseFileToOpen(std::string_view filter) = 0;
    virtual std::optional<std::filesystem::path> ChooseFileToSave(std::string_view defaultExtension,
                                                                  std::string_view filter) = 0;
    // The cell edit dialog ("編集") on one cell: the edited text (cp932) on OK, nothing on Cancel.
    virtual std::optional<std::string> EditCell(const CellEditRequest& request) = 0;
};

// The optional "CharacterConversion" library, loaded from the program's own folder. Texts are
// cp932.
class ConversionLibrary {
public:
    virtual ~ConversionLibrary() = default;
    // Converts `source` by the named mode; the library's own buffer is copied and released.
    virtual std::string Convert(std::string_view source, std::string_view mode, std::int32_t count,
                                std::uint8_t flag) = 0;
};

}  // namespace dolvane
