#pragma once

#include <QApplication>
#include <QInputMethodEvent>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>

#include <QStringList>

#include <utility>

namespace dolvane::test {

// Types text as an input method commits it (the way Japanese arrives from a kana conversion).
inline void Commit(QWidget* widget, const QString& text)
{
    QInputMethodEvent event;
    event.setCommitString(text);
    QCoreApplication::sendEvent(widget, &event);
}

// While it lives, closes each message box as soon as it opens and keeps its text, so a box that
// a test does not expect fails an assertion instead of waiting for a click.
class MessageBoxes final {
public:
    MessageBoxes()
    {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                texts_.append(box->text());
                box->done(QMessageBox::Ok);
            }
        });
        timer_.start();
    }

    // The texts of the boxes closed since the last call.
    QStringList Take() { return std::exchange(texts_, {}); }

private:
    QTimer timer_;
    QStringList texts_;
};

}  // namespace dolvane::test
