#pragma once

// Stand-ins for the main window's ports: a clock that stands still, prompts that answer as told
// and remember what they were asked, a sibling that may or may not run, a settings store in memory.
#include "core/ports/Clock.h"
#include "core/ports/Notifier.h"
#include "core/ports/Prompts.h"
#include "core/ports/SiblingPort.h"
#include "core/store/Settings.h"
#include "core/time/TimeTexts.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace dolvane::test {

class FixedClock final : public Clock {
public:
    DateTime Now() const override { return now; }
    DateTime now = ParseDateTimeText("2010/05/05 12:00");
};

class ScriptedPrompts final : public Prompts {
public:
    bool AskYesNo(std::string_view caption, std::string_view text, Preselect preselect) override
    {
        questions.emplace_back(std::string(caption) + "|" + std::string(text));
        preselected.push_back(preselect);
        return answer;
    }
    void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
    void ShowError(std::string_view text) override { errors.emplace_back(text); }
    std::optional<Settings> EditSettings(const Settings& current) override
    {
        settingsShown.push_back(current);
        return settingsAnswer;
    }
    std::optional<StickyNoteFields> ChooseStickyNoteFields() override
    {
        ++stickyNoteDialogs;
        return stickyNoteAnswer;
    }
    std::optional<std::filesystem::path> ChooseFileToOpen(std::string_view filter) override
    {
        fileChoosers.push_back("open|" + std::string(filter));
        return fileAnswer;
    }
    std::optional<std::filesystem::path> ChooseFileToSave(std::string_view defaultExtension,
                                                          std::string_view filter) override
    {
        fileChoosers.push_back("save|" + std::string(defaultExtension) + "|" + std::string(filter));
        return fileAnswer;
    }

    std::optional<std::string> EditCell(const CellEditRequest& request) override
    {
        cellEdits.push_back(request);
        return cellAnswer;
    }

    bool answer = true;
    std::optional<Settings> settingsAnswer;            // what the settings dialog returns: nothing is Cancel
    std::vector<Settings> settingsShown;               // what it was opened on
    std::optional<StickyNoteFields> stickyNoteAnswer;  // nothing is Cancel
    int stickyNoteDialogs = 0;
    std::optional<std::filesystem::path> fileAnswer;  // what both file choosers return
    std::vector<std::string> fileChoosers;            // "open|filter" or "save|extension|filter"
    std::optional<std::string> cellAnswer;            // what the cell edit dialog returns: nothing is Cancel
    std::vector<CellEditRequest> cellEdits;           // what it was opened on
    std::vector<std::string> questions;
    std::vector<Preselect> preselected;  // for each question
    std::vector<std::string> messages;
    std::vector<std::string> errors;
};

class FakeSibling final : public SiblingPort {
public:
    bool Send(std::uint32_t kind, std::string_view payload) override
    {
        if (running) {
            received.emplace_back(kind, payload);
        }
        return running;
    }
    bool Running() const override { return running; }

    bool running = true;
    std::vector<std::pair<std::uint32_t, std::string>> received;
};

class FakeSettingsStore final : public SettingsStore {
public:
    bool IsOpen() const override { return true; }
    std::optional<std::int32_t> ReadInteger(std::string_view key) const override
    {
        const auto found = values.find(std::string(key));
        return found == values.end() ? std::nullopt : std::optional<std::int32_t>(found->second);
    }
    std::optional<bool> ReadBool(std::string_view key) const override
    {
        const auto value = ReadInteger(key);
        return value ? std::optional<bool>(*value != 0) : std::nullopt;
    }
    bool WriteInteger(std::string_view key, std::int32_t value) override
    {
        values[std::string(key)] = value;
        return true;
    }
    bool WriteBool(std::string_view key, bool value) override { return WriteInteger(key, value ? 1 : 0); }

    std::map<std::string, std::int32_t> values;
};

// A notification service that records "title|body" of every notification and numbers them from 1,
// or, while not running, takes none.
class FakeNotifier final : public Notifier {
public:
    std::optional<std::uint32_t> Notify(std::string_view title, std::string_view body) override
    {
        sent.push_back(std::string(title) + "|" + std::string(body));
        if (!running) {
            return std::nullopt;
        }
        return ++lastId;
    }

    bool running = true;
    std::uint32_t lastId = 0;
    std::vector<std::string> sent;
};

}  // namespace dolvane::test
