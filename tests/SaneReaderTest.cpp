// The source's frame reader against a device of the test's own: the frame
// arrives whole and in order, a device that stalls never holds up a read,
// its cancel ends the frame, a frame still flowing is cancelled between
// reads, and a device that ignores the cancel is left alone rather than
// waited for.
#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "twaindsm/SaneReader.h"

namespace lumipage::twaindsm {
namespace {

using namespace std::chrono_literals;

// Sends `left` bytes (i % 251) while flowing, up to `stallAt` of them,
// each read taking `pace`; a stalled read waits until the flow resumes, a
// cancel (unless ignored) or the end of the test.
struct FakeDevice {
    std::mutex mutex;
    std::condition_variable changed;
    size_t sent = 0, left = 0, stallAt = SIZE_MAX;
    std::chrono::milliseconds pace{0};
    bool flowing = true, ignoresCancel = false, cancelled = false, released = false, returned = false;
    bool inRead = false, cancelledInAFlowingRead = false;
    int cancels = 0;

    static SANE_Status read(SANE_Handle handle, SANE_Byte* out, SANE_Int most, SANE_Int* got) {
        auto& d = *static_cast<FakeDevice*>(handle);
        std::unique_lock lock(d.mutex);
        d.inRead = true;
        struct Leave {
            FakeDevice& d;
            ~Leave() { d.inRead = false; }
        } leave{d};
        if (d.pace.count() > 0) {
            lock.unlock();
            std::this_thread::sleep_for(d.pace);
            lock.lock();
        }
        *got = 0;
        d.changed.wait(lock, [&] {
            return (d.flowing && d.sent < d.stallAt) || (d.cancelled && !d.ignoresCancel) || d.released;
        });
        if (d.released || d.cancelled) {
            d.returned = true;
            d.changed.notify_all();
            return SANE_STATUS_CANCELLED;
        }
        if (d.left == 0) return SANE_STATUS_EOF;
        const size_t n = std::min(d.left, size_t(std::min<SANE_Int>(most, 1000)));
        for (size_t i = 0; i < n; ++i) out[i] = SANE_Byte((d.sent + i) % 251);
        d.sent += n;
        d.left -= n;
        *got = SANE_Int(n);
        return SANE_STATUS_GOOD;
    }
    static void cancel(SANE_Handle handle) {
        auto& d = *static_cast<FakeDevice*>(handle);
        std::lock_guard lock(d.mutex);
        ++d.cancels;
        if (d.inRead && d.flowing && d.sent < d.stallAt) d.cancelledInAFlowingRead = true;
        d.cancelled = true;
        d.changed.notify_all();
    }
    SaneReader::Device device() { return {this, read, cancel}; }
    void set(bool FakeDevice::*flag, bool value) {
        std::lock_guard lock(mutex);
        this->*flag = value;
        changed.notify_all();
    }
};

std::chrono::steady_clock::time_point in(std::chrono::milliseconds ms) { return std::chrono::steady_clock::now() + ms; }

TEST(SaneReader, TheFrameArrivesWholeAndInOrder) {
    FakeDevice device;
    device.left = 300000;
    SaneReader reader(device.device());
    std::vector<uint8_t> all;
    SANE_Status status = SANE_STATUS_GOOD;
    uint8_t buffer[777];
    while (status == SANE_STATUS_GOOD) {
        const size_t n = reader.read(buffer, sizeof buffer, in(5s), status);
        all.insert(all.end(), buffer, buffer + n);
    }
    EXPECT_EQ(status, SANE_STATUS_EOF);
    ASSERT_EQ(all.size(), 300000u);
    for (size_t i = 0; i < all.size(); ++i) ASSERT_EQ(all[i], i % 251) << i;
    EXPECT_EQ(reader.read(buffer, sizeof buffer, in(0ms), status), 0u);  // the end stays said
    EXPECT_EQ(status, SANE_STATUS_EOF);
    EXPECT_TRUE(reader.stop(1s));
    EXPECT_EQ(device.cancels, 0);  // the data had ended: nothing to cancel
}

TEST(SaneReader, AStalledDeviceNeverHoldsUpAReadAndItsCancelEndsTheFrame) {
    FakeDevice device;
    device.left = 100000;
    device.stallAt = 5000;  // then it sends nothing more
    device.flowing = false;
    SaneReader reader(device.device());
    uint8_t buffer[100];
    SANE_Status status = SANE_STATUS_IO_ERROR;
    EXPECT_EQ(reader.read(buffer, sizeof buffer, in(30ms), status), 0u);
    EXPECT_EQ(status, SANE_STATUS_GOOD);  // nothing yet, more may come
    device.set(&FakeDevice::flowing, true);
    EXPECT_GT(reader.read(buffer, sizeof buffer, in(5s), status), 0u);
    EXPECT_TRUE(reader.stop(30ms));  // the stalled rest is cut short by the cancel
    EXPECT_EQ(device.cancels, 1);
}

// A backend may end its pass from sane_read and from sane_cancel alike, so
// a frame that is still flowing when the drain runs out is cancelled
// between two reads, never while one runs.
TEST(SaneReader, AFlowingFrameIsCancelledBetweenReadsNotDuringOne) {
    FakeDevice device;
    device.left = SIZE_MAX;
    device.pace = 3ms;
    SaneReader reader(device.device());
    uint8_t buffer[100];
    SANE_Status status;
    EXPECT_GT(reader.read(buffer, sizeof buffer, in(5s), status), 0u);
    EXPECT_TRUE(reader.stop(20ms));
    EXPECT_EQ(device.cancels, 1);
    EXPECT_FALSE(device.cancelledInAFlowingRead);
}

TEST(SaneReader, ADeviceThatIgnoresTheCancelIsLeftAlone) {
    static FakeDevice device;  // outlives the thread that is left behind
    {
        std::lock_guard lock(device.mutex);  // a run before (--gtest_repeat) left it released
        device.sent = 0;
        device.cancels = 0;
        device.cancelled = device.released = device.returned = false;
    }
    device.left = 100000;
    device.flowing = false;
    device.ignoresCancel = true;
    {
        SaneReader reader(device.device());
        EXPECT_FALSE(reader.stop(20ms, 50ms));
        EXPECT_EQ(device.cancels, 1);
    }
    device.set(&FakeDevice::released, true);
    std::unique_lock lock(device.mutex);
    device.changed.wait(lock, [&] { return device.returned; });
}

}  // namespace
}  // namespace lumipage::twaindsm
