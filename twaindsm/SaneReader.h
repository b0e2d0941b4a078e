#pragma once
#include <sane/sane.h>

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace lumipage::twaindsm {

// Reads one started SANE frame on a thread of its own, so that a backend
// whose sane_read blocks (a slow or stuck device) never holds up the
// program's window: the transfers take what has arrived and return, and
// the window stays free to show progress and to cancel. While it runs no
// other call may be made on the handle but sane_cancel.
class SaneReader {
public:
    // SANE's own functions; a test gives a device of its own.
    struct Device {
        SANE_Handle handle = nullptr;
        SANE_Status (*read)(SANE_Handle, SANE_Byte*, SANE_Int, SANE_Int*) = nullptr;
        void (*cancel)(SANE_Handle) = nullptr;
    };

    explicit SaneReader(Device device);
    ~SaneReader();
    SaneReader(const SaneReader&) = delete;
    SaneReader& operator=(const SaneReader&) = delete;

    // Up to `want` bytes into `out`, waiting until `until` for any to
    // come. `status` is SANE_STATUS_GOOD while more may follow, else how
    // the data ended once nothing of it is left.
    size_t read(uint8_t* out, size_t want, std::chrono::steady_clock::time_point until, SANE_Status& status);

    // Ends the frame: what is still coming is read and dropped until the
    // data ends, for `drain` at most (a backend whose own reading thread is
    // cancelled part way can be left waiting for ever). Then the reading
    // stops and the scan is cancelled once no sane_read is running: SANE
    // allows the cancel during a read, but backends that end their pass
    // from both calls then race with themselves. A frame cut short (or
    // failed) is cancelled a moment after the last read, once the backend's
    // own reading thread has come to rest. Only a read that does not come
    // back within `readWait` is cancelled as it runs. False when
    // sane_read never came back even then: the handle must not be used
    // again.
    bool stop(std::chrono::milliseconds drain, std::chrono::milliseconds cancelWait = std::chrono::seconds(5),
              std::chrono::milliseconds readWait = std::chrono::milliseconds(500));

    // Held by the thread while it is in sane_read: whoever else must use
    // the device while the frame is read (its options) takes it first.
    std::timed_mutex& device() { return shared_->device; }

private:
    struct Shared {
        std::timed_mutex device;
        std::mutex mutex;
        std::condition_variable changed;
        std::deque<uint8_t> bytes;
        bool ended = false;     // the data ended, or the reading stopped
        bool dropping = false;
        bool halting = false;   // no further sane_read is to be started
        bool reading = false;   // the thread is inside sane_read
        SANE_Status status = SANE_STATUS_GOOD;
    };
    static void run(Device device, std::shared_ptr<Shared> shared);

    Device device_;
    std::shared_ptr<Shared> shared_;
    std::thread thread_;
    bool stopped_ = false;
};

}  // namespace lumipage::twaindsm
