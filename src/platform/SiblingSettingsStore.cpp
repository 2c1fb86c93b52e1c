#include "platform/SiblingSettingsStore.h"

#include <QFile>
#include <QFileInfo>

namespace dolvane {
namespace {

QString KeyOf(std::string_view key)
{
    return QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
}

bool FileExists(const QString& fileName)
{
    return QFileInfo(fileName).isFile();
}

}  // namespace

SiblingSettingsStore::SiblingSettingsStore()
    : settings_(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Ｖｅｌｋ"),
                                            QStringLiteral("ピマロ"))),
      open_(FileExists(settings_->fileName()))
{
}

SiblingSettingsStore::SiblingSettingsStore(const std::filesystem::path& file)
    : settings_(std::make_unique<QSettings>(QFile::decodeName(file.c_str()), QSettings::IniFormat)),
      open_(FileExists(settings_->fileName()))
{
}

std::optional<std::int32_t> SiblingSettingsStore::ReadInteger(std::string_view key) const
{
    if (!open_) {
        return std::nullopt;
    }
    const QVariant stored = settings_->value(KeyOf(key));
    if (!stored.isValid()) {
        return std::nullopt;
    }
    bool ok = false;
    const int value = stored.toString().trimmed().toInt(&ok);
    if (!ok) {
        return std::nullopt;
    }
    return value;
}

std::optional<bool> SiblingSettingsStore::ReadBool(std::string_view key) const
{
    const auto value = ReadInteger(key);
    if (!value) {
        return std::nullopt;
    }
    return *value != 0;
}

bool SiblingSettingsStore::WriteInteger(std::string_view key, std::int32_t value)
{
    return Write(key, value);
}

bool SiblingSettingsStore::WriteBool(std::string_view key, bool value)
{
    return Write(key, value ? 1 : 0);
}

bool SiblingSettingsStore::Write(std::string_view key, std::int32_t value)
{
    // Checked again at every write: QSettings would create a file that was removed since opening.
    if (!open_ || !FileExists(settings_->fileName())) {
        return false;
    }
    settings_->setValue(KeyOf(key), value);
    settings_->sync();
    return settings_->status() == QSettings::NoError;
}

}  // namespace dolvane
