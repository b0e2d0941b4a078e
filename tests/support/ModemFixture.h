#pragma once
#include <memory>

#include "fax/Class2Transmitter.h"
#include "fax/ModemLink.h"
#include "platform/SerialPort.h"
#include "support/Class2ModemSimulator.h"
#include "support/TestImages.h"

namespace lumipage::test {

// Time-outs at two fifths and pauses at a hundredth of the modem's, so that a
// modem that never answers costs a fraction of a second.
inline constexpr FaxTiming kTestTiming{40, 1};

// A simulated modem on COM1 and the program's link to it, port closed. The
// port locks its device in a lock folder of the test's own.
struct ModemFixture {
    explicit ModemFixture(ModemScript script = {}) : simulator(std::move(script)), link(port, kTestTiming) {
        link.setDevices({simulator.device(), "/nonexistent/ttyS1", "/nonexistent/ttyS2", "/nonexistent/ttyS3"});
    }
    std::string lockFile() const { return lockFolder + "/" + SerialPortLock::fileNameFor(simulator.device()); }

    Class2ModemSimulator simulator;
    std::string lockFolder = tempFolder();
    SerialPort port{SerialLockPlace{lockFolder, true}};
    ModemLink link;
};

}  // namespace lumipage::test
