#pragma once

class QCoreApplication;

namespace dolvane {

// The program speaks Japanese whatever the account's locale: Qt's own dialogs and buttons
// (はい/いいえ, キャンセル, the file dialog) from Qt's Japanese translations when they are
// installed, Japanese dates and calendars (weeks from Sunday), and window titles in UTF-8 under
// a locale that is not. Call before the first window.
void UseJapaneseLocale(QCoreApplication& application);

}  // namespace dolvane
