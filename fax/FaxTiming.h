#pragma once
#include <chrono>
#include <thread>

namespace lumipage {

// The time-outs and pauses of the modem dialogue in milliseconds as the
// modem needs them, scaled for the run: the program uses 100 %, tests shrink
// them so that a modem that never answers costs milliseconds, not minutes.
struct FaxTiming {
    int waitPercent = 100;   // time-outs: echo, response lines, writes
    int pausePercent = 100;  // fixed pauses: after commands, redial waits, hang-up

    // A positive time-out stays positive: 0 means "no limit" to the port.
    int wait(int ms) const { return ms <= 0 ? ms : scale(ms, waitPercent); }
    void pause(int ms) const {
        const int real = ms <= 0 ? 0 : int(int64_t(ms) * pausePercent / 100);
        if (real > 0) std::this_thread::sleep_for(std::chrono::milliseconds(real));
    }

private:
    static int scale(int ms, int percent) {
        const int64_t real = int64_t(ms) * percent / 100;
        return real < 1 ? 1 : int(real);
    }
};

}  // namespace lumipage
