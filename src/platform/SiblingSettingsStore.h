#pragma once

#include "core/store/Settings.h"

#include <QSettings>
#include <QString>

#include <filesystem>
#include <memory>

namespace dolvane {

// The sibling program's own per-user store. It belongs to the sibling, so it is opened, never
// created: when its file is not there at construction nothing is read or written, and a file that
// disappears later is not brought back. Integers and booleans are held as decimal integers
// (booleans 0 and 1), as the sibling keeps them.
class SiblingSettingsStore final : public SettingsStore {
public:
    // The native per-user store for organisation "Ｖｅｌｋ", application "ピマロ".
    SiblingSettingsStore();
    // The same layout in the INI file at `file`.
    explicit SiblingSettingsStore(const std::filesystem::path& file);

    bool IsOpen() const override { return open_; }
    // Absent, and also when the stored entry is not a decimal integer.
    std::optional<std::int32_t> ReadInteger(std::string_view key) const override;
    // Any number but 0 is true.
    std::optional<bool> ReadBool(std::string_view key) const override;
    bool WriteInteger(std::string_view key, std::int32_t value) override;
    bool WriteBool(std::string_view key, bool value) override;

    QString FileName() const { return settings_->fileName(); }

private:
    bool Write(std::string_view key, std::int32_t value);

    std::unique_ptr<QSettings> settings_;
    bool open_ = false;
};

}  // namespace dolvane
