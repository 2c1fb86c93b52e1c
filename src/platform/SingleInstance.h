#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

namespace dolvane {

// Keeps a second copy of the program from running: a lock file named after the application
// title in the user's runtime folder, held for the life of this object. A lock left behind by
// a process that no longer runs is taken over.
class SingleInstance final {
public:
    // `folder` is where the lock lives; empty means the user's runtime folder.
    explicit SingleInstance(const QString& title, const QString& folder = {});

    // True when this process now holds the lock (or already did).
    bool TryAcquire();
    bool Held() const;

    QString LockPath() const;

private:
    std::unique_ptr<QLockFile> lock_;
};

}  // namespace dolvane
