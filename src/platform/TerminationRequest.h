#pragma once

#include <QObject>

class QSocketNotifier;

namespace dolvane {

// Turns SIGTERM and SIGINT (a log-out, a kill from a terminal) into a Qt signal on the user
// interface thread, so the window closes the usual way — settings written, unsaved changes
// offered for saving — instead of the process just ending.
class TerminationRequest final : public QObject {
    Q_OBJECT

public:
    explicit TerminationRequest(QObject* parent = nullptr);
    ~TerminationRequest() override;

Q_SIGNALS:
    void requested();

private:
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace dolvane
