#include "support/StandInSibling.h"

#include <QByteArray>
#include <QLocalServer>
#include <QLocalSocket>

#include <chrono>
#include <utility>

namespace dolvane::test {
namespace {

// Short waits so the thread notices a stop request quickly.
constexpr int kPollMs = 50;

std::uint32_t Uint32Le(const QByteArray& bytes, qsizetype at)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

}  // namespace

StandInSibling::StandInSibling(const QString& socketPath, Answer answer, std::uint32_t reply)
    : answer_(answer),
      reply_(reply)
{
    thread_.reset(QThread::create([this, socketPath] { Run(socketPath); }));
    thread_->start();
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return started_; });
}

StandInSibling::~StandInSibling()
{
    stop_ = true;
    thread_->wait();
}

std::vector<StandInSibling::Record> StandInSibling::Records() const
{
    std::lock_guard lock(mutex_);
    return records_;
}

bool StandInSibling::WaitForRecords(std::size_t count, int timeoutMs) const
{
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                             [this, count] { return records_.size() >= count; });
}

void StandInSibling::Run(const QString& socketPath)
{
    QLocalServer server;
    server.setSocketOptions(QLocalServer::UserAccessOption);
    // A socket file left by a crashed server blocks listen(); remove it only when nobody answers.
    // A live server keeps its path: with access options set, listen() would silently replace it.
    // A path starting with '/' is used as it stands, not placed in the temporary folder.
    QLocalSocket probe;
    probe.connectToServer(socketPath);
    const bool taken = probe.waitForConnected(200);
    probe.abort();
    if (!taken) {
        QLocalServer::removeServer(socketPath);
    }
    const bool listening = !taken && server.listen(socketPath);
    {
        std::lock_guard lock(mutex_);
        listening_ = listening;
        started_ = true;
    }
    changed_.notify_all();
    if (!listening) {
        return;
    }

    while (!stop_ && answer_ == Answer::NeverRead) {
        QThread::msleep(kPollMs);
    }
    while (!stop_) {
        bool timedOut = false;
        if (!server.waitForNewConnection(kPollMs, &timedOut)) {
            continue;
        }
        QLocalSocket* socket = server.nextPendingConnection();
        if (socket == nullptr) {
            continue;
        }
        // Read one record: an 8-byte header, then cbData bytes. A presence probe sends nothing
        // and hangs up, which ends the wait without a record.
        QByteArray buffer;
        qsizetype needed = 8;
        bool complete = false;
        while (!stop_ && socket->state() == QLocalSocket::ConnectedState) {
            buffer += socket->readAll();
            if (buffer.size() >= 8) {
                needed = 8 + static_cast<qsizetype>(Uint32Le(buffer, 4));
            }
            if (buffer.size() >= needed) {
                complete = true;
                break;
            }
            socket->waitForReadyRead(kPollMs);
        }
        buffer += socket->readAll();
        if (!complete && buffer.size() >= 8 && buffer.size() >= 8 + static_cast<qsizetype>(Uint32Le(buffer, 4))) {
            complete = true;  // the client sent everything and hung up before we looked
        }
        if (complete) {
            Record record;
            record.kind = Uint32Le(buffer, 0);
            record.cbData = Uint32Le(buffer, 4);
            record.payload.assign(buffer.constData() + 8, record.cbData);
            {
                std::lock_guard lock(mutex_);
                records_.push_back(std::move(record));
            }
            changed_.notify_all();
            if (answer_ == Answer::Reply) {
                QByteArray reply;
                for (int shift = 0; shift < 32; shift += 8) {
                    reply.append(static_cast<char>((reply_ >> shift) & 0xFFu));
                }
                socket->write(reply);
                socket->waitForBytesWritten(1000);
            }
        }
        // Stay connected until the client hangs up, as the silent sibling must not answer by closing.
        while (!stop_ && socket->state() == QLocalSocket::ConnectedState) {
            socket->waitForReadyRead(kPollMs);
            socket->readAll();
        }
        delete socket;
    }
}

}  // namespace dolvane::test
