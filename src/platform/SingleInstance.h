#pragma once

#include <QString>

#include <filesystem>
#include <string>
#include <vector>

namespace dolvane {

// Keeps a second window off the same list for the same user: an exclusive lock on a file that
// belongs to the list, held for the life of this object. The kernel lets go of the lock when its
// process ends, however it ends, so a crash leaves nothing that blocks the next start.
//
// Where the lock lives depends on nothing but the list and the account, never on the
// environment (XDG_RUNTIME_DIR, TMPDIR, HOME differ between a desktop session, a terminal, su
// and cron): "<list>.<title>.lock" beside the list, links resolved, when the list's folder is the
// user's own; else "<title>-<hash of the list's path>.lock" in ~/.cache/dolvane of the account's
// home. Nothing in a shared folder such as /tmp, so no other account can keep the program from
// starting by making a file or folder there first.
class SingleInstance final {
public:
    enum class Outcome {
        Acquired,        // this process holds the lock (or already did)
        AlreadyRunning,  // another instance of this user holds it
        CannotLock,      // no lock can be taken here at all; Problem() says why
    };

    // `home` is the account's home folder (empty: none).
    SingleInstance(const QString& title, const std::filesystem::path& listFile, const std::filesystem::path& home);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;
    SingleInstance(SingleInstance&&) = delete;
    SingleInstance& operator=(SingleInstance&&) = delete;

    Outcome TryAcquire();
    bool Held() const { return fd_ >= 0; }

    // The lock file held, or found held by another instance; empty before TryAcquire.
    QString LockPath() const;
    // Why the last TryAcquire gave CannotLock, for the user.
    QString Problem() const { return QString::fromStdString(problem_); }

private:
    struct Place {
        std::filesystem::path folder;
        std::filesystem::path file;
    };
    // Opens and locks `file` in the user's own `place`; false with problem_ extended when the
    // place cannot hold our lock.
    bool TryPlace(const Place& place, Outcome& outcome);
    void AddProblem(const std::string& problem);

    std::vector<Place> places_;  // in order of preference
    std::filesystem::path path_;
    std::string problem_;
    int fd_ = -1;
};

}  // namespace dolvane
