#include "twaindsm/SaneReader.h"

#include <algorithm>

namespace lumipage::twaindsm {

namespace {

constexpr size_t kChunk = 64 * 1024;
// At most this much is read ahead of the transfers.
constexpr size_t kReadAhead = 16 * 1024 * 1024;
// A backend that keeps answering with nothing is given this many tries,
// a little apart, before it is taken as gone.
constexpr int kMaxEmptyReads = 20000;
constexpr std::chrono::microseconds kEmptyReadPause{500};
// Backends that read through a thread of their own stop it on sane_cancel
// by cancelling it at whatever instruction it is: one caught inside the C
// library (its random numbers, the allocator) leaves that library's lock
// held for good. Before a frame is cancelled part way, that thread is given
// this long to come to rest, blocked on its full pipe or in its delay.
constexpr std::chrono::milliseconds kSettleTime{50};

}  // namespace

SaneReader::SaneReader(Device device) : device_(device), shared_(new Shared) {
    thread_ = std::thread(run, device_, shared_);
}

SaneReader::~SaneReader() { stop(std::chrono::milliseconds(0)); }

// The thread owns a share of the state, so that a thread left blocked in
// sane_read for good never touches freed memory.
void SaneReader::run(Device device, std::shared_ptr<Shared> shared) {
    std::vector<SANE_Byte> chunk(kChunk);
    int empty = 0;
    for (;;) {
        {
            std::unique_lock lock(shared->mutex);
            shared->changed.wait(lock, [&] { return shared->dropping || shared->bytes.size() < kReadAhead; });
            if (shared->halting) {
                shared->ended = true;
                shared->status = SANE_STATUS_CANCELLED;
                shared->changed.notify_all();
                return;
            }
            shared->reading = true;
        }
        SANE_Int got = 0;
        SANE_Status status;
        {
            std::lock_guard deviceLock(shared->device);
            status = device.read(device.handle, chunk.data(), SANE_Int(chunk.size()), &got);
        }
        {
            std::lock_guard lock(shared->mutex);
            shared->reading = false;
            shared->changed.notify_all();
        }
        if (status == SANE_STATUS_GOOD && got <= 0) {
            if (++empty > kMaxEmptyReads) status = SANE_STATUS_IO_ERROR;
            else std::this_thread::sleep_for(kEmptyReadPause);
        } else {
            empty = 0;
        }
        std::lock_guard lock(shared->mutex);
        if (status != SANE_STATUS_GOOD) {
            shared->ended = true;
            shared->status = status;
            shared->changed.notify_all();
            return;
        }
        if (!shared->dropping && got > 0) {
            shared->bytes.insert(shared->bytes.end(), chunk.begin(), chunk.begin() + std::min<SANE_Int>(got, kChunk));
            shared->changed.notify_all();
        }
    }
}

size_t SaneReader::read(uint8_t* out, size_t want, std::chrono::steady_clock::time_point until, SANE_Status& status) {
    std::unique_lock lock(shared_->mutex);
    shared_->changed.wait_until(lock, until, [&] { return !shared_->bytes.empty() || shared_->ended; });
    const size_t n = std::min(want, shared_->bytes.size());
    std::copy_n(shared_->bytes.begin(), n, out);
    shared_->bytes.erase(shared_->bytes.begin(), shared_->bytes.begin() + std::ptrdiff_t(n));
    status = shared_->bytes.empty() && shared_->ended ? shared_->status : SANE_STATUS_GOOD;
    shared_->changed.notify_all();
    return n;
}

bool SaneReader::stop(std::chrono::milliseconds drain, std::chrono::milliseconds cancelWait,
                      std::chrono::milliseconds readWait) {
    if (stopped_) return true;
    stopped_ = true;
    std::unique_lock lock(shared_->mutex);
    shared_->dropping = true;
    shared_->bytes.clear();
    shared_->changed.notify_all();
    const auto ended = [&] { return shared_->ended; };
    // The thread reads no more and ends on its own; a frame that did not
    // reach its end is cancelled once the backend has come to rest.
    const auto endWithoutRead = [&](bool cancel) {
        lock.unlock();
        thread_.join();
        if (cancel) {
            std::this_thread::sleep_for(kSettleTime);
            device_.cancel(device_.handle);
        }
        return true;
    };
    if (shared_->changed.wait_for(lock, drain, ended))
        return endWithoutRead(shared_->status != SANE_STATUS_EOF);  // failed or cut short: cancelled
    shared_->halting = true;
    shared_->changed.notify_all();
    if (shared_->changed.wait_for(lock, readWait, [&] { return shared_->ended || !shared_->reading; }))
        return endWithoutRead(true);
    lock.unlock();
    device_.cancel(device_.handle);  // ends a read that does not come back by itself
    lock.lock();
    if (!shared_->changed.wait_for(lock, cancelWait, ended)) {
        lock.unlock();
        thread_.detach();
        return false;
    }
    lock.unlock();
    thread_.join();
    return true;
}

}  // namespace lumipage::twaindsm
