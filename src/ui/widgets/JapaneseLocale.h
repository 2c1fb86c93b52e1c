#pragma once

class QCoreApplication;

namespace dolvane {

// The program speaks Japanese whatever the account's locale: Qt's own dialogs and buttons
// (はい/いいえ, キャンセル, the file dialog) from Qt's Japanese translations when they are
// installed, and Japanese dates and calendars (weeks from Sunday). Call before the first window.
void UseJapaneseLocale(QCoreApplication& application);

}  // namespace dolvane
