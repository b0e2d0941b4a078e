// The serial port's UUCP lock files and what it tells the user when a
// device cannot be used, on pseudo-terminals.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iomanip>
#include <sstream>

#include "platform/SerialDevices.h"
#include "platform/SerialPort.h"
#include "support/TestImages.h"

namespace lumipage {
namespace {

// A pseudo-terminal whose slave the port opens like a modem's device.
struct Pty {
    int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    std::string slave;
    Pty() {
        EXPECT_GE(master, 0);
        EXPECT_EQ(::grantpt(master), 0);
        EXPECT_EQ(::unlockpt(master), 0);
        slave = ::ptsname(master);
    }
    ~Pty() { ::close(master); }
};

std::string readText(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

pid_t endedProcess() {
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(0);
    ::waitpid(pid, nullptr, 0);
    return pid;
}

TEST(SerialPortLock, NamesFollowTheDevice) {
    EXPECT_EQ(SerialPortLock::fileNameFor("/dev/ttyACM0"), "LCK..ttyACM0");
    EXPECT_EQ(SerialPortLock::fileNameFor("/dev/ttyS1"), "LCK..ttyS1");
    EXPECT_EQ(SerialPortLock::fileNameFor("/dev/pts/3"), "LCK..pts_3");
}

// The lock is the device's for as long as the port is open: our process id
// in the UUCP text form, gone after close; live owners keep their device,
// ended ones lose it. Without a writable lock folder the port opens unlocked.
TEST(SerialPortLock, OpeningTakesTheLockAndLiveOwnersKeepTheirs) {
    Pty pty;
    const std::string folder = test::tempFolder();
    const SerialLockPlace place{folder, true};
    const std::string lock = folder + "/" + SerialPortLock::fileNameFor(pty.slave);
    SerialPort port(place);
    ASSERT_TRUE(port.open(pty.slave, 19200));
    std::ostringstream ours;
    ours << std::setw(10) << ::getpid() << "\n";
    EXPECT_EQ(readText(lock), ours.str());
    port.close();
    EXPECT_FALSE(std::filesystem::exists(lock));

    // A live owner, in the text form and in the old binary one.
    const pid_t owner = ::getppid();
    for (const bool binary : {false, true}) {
        {
            std::ofstream out(lock, std::ios::binary);
            if (binary) out.write(reinterpret_cast<const char*>(&owner), 4);
            else out << std::setw(10) << owner << "\n";
        }
        const std::string expected = pty.slave + " は他のプログラム（プロセス " + std::to_string(owner) + "）が使っています";
        EXPECT_FALSE(port.open(pty.slave, 19200));
        EXPECT_EQ(port.problem(), expected);
        EXPECT_EQ(port.probe(pty.slave), 0);
        EXPECT_EQ(port.problem(), expected);
        EXPECT_TRUE(std::filesystem::exists(lock)) << "another program's lock was removed";
    }

    // The lock of a process that has ended is taken over.
    std::ofstream(lock) << std::setw(10) << endedProcess() << "\n";
    ASSERT_TRUE(port.open(pty.slave, 19200)) << port.problem();
    EXPECT_EQ(readText(lock), ours.str());
    port.close();
    EXPECT_FALSE(std::filesystem::exists(lock));

    // Pseudo-terminals are not locked unless asked; nor is anything without a lock folder.
    SerialPort plain(SerialLockPlace{folder, false});
    ASSERT_TRUE(plain.open(pty.slave, 19200));
    EXPECT_FALSE(std::filesystem::exists(lock));
    plain.close();
    SerialPort nowhere(SerialLockPlace{folder + "/missing", true});
    EXPECT_TRUE(nowhere.open(pty.slave, 19200)) << nowhere.problem();
}

TEST(SerialPort, AMissingDeviceOrAFileThatIsNoPortSaysSo) {
    SerialPort port(SerialLockPlace{test::tempFolder(), true});
    EXPECT_EQ(port.probe("/dev/ttyNoSuchPort7"), 0);
    EXPECT_EQ(port.problem(), "/dev/ttyNoSuchPort7 がありません（接続を確かめてください）");
    EXPECT_FALSE(port.open("/dev/ttyNoSuchPort7", 19200));
    EXPECT_EQ(port.problem(), "/dev/ttyNoSuchPort7 がありません（接続を確かめてください）");
    const std::string file = test::tempFolder() + "/notaport";
    std::ofstream(file) << "x";
    EXPECT_EQ(port.probe(file), 0);
    EXPECT_EQ(port.problem(), file + " はシリアルポートではありません");
    EXPECT_FALSE(port.open(file, 19200));
    EXPECT_EQ(port.problem(), file + " はシリアルポートではありません");
}

// A device of a group the user is not in names the group and the new
// login joining it needs. Permissions do not bind root: run as a user.
TEST(SerialPort, ADeviceTheUserMayNotOpenNamesItsGroup) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
    Pty pty;
    ASSERT_EQ(::chmod(pty.slave.c_str(), 0), 0);
    struct stat st {};
    ASSERT_EQ(::stat(pty.slave.c_str(), &st), 0);
    const group* g = ::getgrgid(st.st_gid);
    ASSERT_NE(g, nullptr);
    SerialPort port(SerialLockPlace{test::tempFolder(), true});
    EXPECT_EQ(port.probe(pty.slave), 0);
    const std::string said = port.problem();
    EXPECT_NE(said.find(pty.slave), std::string::npos) << said;
    EXPECT_NE(said.find(std::string(g->gr_name) + " グループ"), std::string::npos) << said;
    EXPECT_NE(said.find("ログインし直"), std::string::npos) << said;
    EXPECT_FALSE(port.open(pty.slave, 19200));
    EXPECT_EQ(port.problem(), said);
}

// The send dialog's device list on a made-up /dev: stable by-id names
// first, USB devices they do not stand for, built-in ports that are real.
TEST(SerialDevices, ByIdNamesFirstThenUsbThenRealBuiltInPorts) {
    namespace fs = std::filesystem;
    const std::string dev = test::tempFolder();
    for (const char* name : {"ttyACM0", "ttyACM1", "ttyUSB0", "ttyS0", "ttyS1", "ttyS2", "ttyS10", "tty0", "null"})
        std::ofstream(dev + "/" + name) << "";
    fs::create_directories(dev + "/serial/by-id");
    fs::create_symlink("../../ttyACM0", dev + "/serial/by-id/usb-Modem_Maker_56k-if00");
    fs::create_symlink("../../ttyACM9", dev + "/serial/by-id/usb-Unplugged-if00");  // gone
    const auto real = [&](const std::string& d) { return d == dev + "/ttyS0" || d == dev + "/ttyS10"; };
    EXPECT_EQ(serialDeviceCandidates(real, dev),
              (std::vector<std::string>{dev + "/serial/by-id/usb-Modem_Maker_56k-if00", dev + "/ttyACM1",
                                        dev + "/ttyUSB0", dev + "/ttyS0", dev + "/ttyS10"}));
    EXPECT_TRUE(serialDeviceCandidates(real, dev + "/none").empty());
}

}  // namespace
}  // namespace lumipage
