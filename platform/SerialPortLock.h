#pragma once
#include <string>
#include <sys/types.h>

namespace lumipage {

// Where serial devices are locked the UUCP way, so that the program, a
// getty, mgetty or a fax server never drive one modem at once: a file
// "LCK..<device name>" in the lock folder holding the owner's process id
// as ten characters and a newline.
struct SerialLockPlace {
    std::string folder = "/var/lock";
    bool pseudoTerminals = false;  // simulated modems are locked only where a test asks for it
};

// One device's lock, held from acquire() until release() or destruction.
class SerialPortLock {
public:
    enum class Result { Taken, NotNeeded, HeldByOther, Failed };

    SerialPortLock() = default;
    ~SerialPortLock() { release(); }
    SerialPortLock(const SerialPortLock&) = delete;
    SerialPortLock& operator=(const SerialPortLock&) = delete;

    // Takes the lock of `device` (a link such as /dev/serial/by-id/... locks
    // the device it names). A lock of a process that no longer runs is taken
    // over; one of a live process is refused, its id in holder(). Without a
    // lock folder the program can write to, or for a device that needs none,
    // no lock is taken (NotNeeded).
    Result acquire(const std::string& device, const SerialLockPlace& place);
    void release();
    // The live process other than this one that holds the lock of `device`; 0 when none.
    static pid_t otherHolder(const std::string& device, const SerialLockPlace& place);
    // Pseudo-terminals are locked only where the place asks for it.
    static bool needed(const std::string& device, const SerialLockPlace& place);
    pid_t holder() const { return holder_; }
    // The lock file's name for a device path: "LCK..ttyACM0"; a device in a
    // folder below /dev has its folders joined by '_' ("LCK..pts_3").
    static std::string fileNameFor(const std::string& device);

private:
    static std::string lockPath(const std::string& device, const SerialLockPlace& place);

    std::string path_;  // the lock file held; empty when none
    pid_t holder_ = 0;
};

// A sentence for the user on why `device` could not be opened, from the
// open's errno: missing, owned by a group the user is not in (or joined
// without logging in again), in use by another program. Empty when there
// is nothing particular to say.
std::string serialOpenProblem(const std::string& device, int error);

}  // namespace lumipage
