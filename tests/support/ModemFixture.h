#pragma once
#include <memory>

#include "fax/Class2Transmitter.h"
#include "fax/ModemLink.h"
#include "platform/SerialPort.h"
#include "support/Class2ModemSimulator.h"

namespace lumipage::test {

// Time-outs at two fifths and pauses at a hundredth of the modem's, so that a
// modem that never answers costs a fraction of a second.
inline constexpr FaxTiming kTestTiming{40, 1};

// A simulated modem on COM1 and the program's link to it, port closed.
struct ModemFixture {
    explicit ModemFixture(ModemScript script = {}) : simulator(std::move(script)), link(port, kTestTiming) {
        link.setDevices({simulator.device(), "/nonexistent/ttyS1", "/nonexistent/ttyS2", "/nonexistent/ttyS3"});
    }

    Class2ModemSimulator simulator;
    SerialPort port;
    ModemLink link;
};

}  // namespace lumipage::test
