#pragma once

#include <QString>

#include <filesystem>
#include <string>

namespace dolvane {

// Keeps a second copy of the program from running for the same user: an exclusive lock on a
// file named after the application title and the user, in the user's runtime folder, held for
// the life of this object. The kernel lets go of the lock when its process ends, however it ends,
// so a crash leaves nothing that blocks the next start.
class SingleInstance final {
public:
    enum class Outcome {
        Acquired,        // this process holds the lock (or already did)
        AlreadyRunning,  // another instance of this user holds it
        CannotLock,      // no lock can be taken here at all; Problem() says why
    };

    explicit SingleInstance(const QString& title);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;
    SingleInstance(SingleInstance&&) = delete;
    SingleInstance& operator=(SingleInstance&&) = delete;

    Outcome TryAcquire();
    bool Held() const { return fd_ >= 0; }

    // Empty when the user has no runtime folder.
    QString LockPath() const;
    // Why the last TryAcquire gave CannotLock, for the user.
    QString Problem() const { return QString::fromStdString(problem_); }

private:
    std::filesystem::path path_;
    std::string problem_;
    int fd_ = -1;
};

}  // namespace dolvane
