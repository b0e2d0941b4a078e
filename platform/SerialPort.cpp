#include "platform/SerialPort.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>

namespace lumipage {

namespace {

constexpr uint8_t kXon = 0x11;
constexpr uint8_t kXoff = 0x13;

std::optional<speed_t> speedCode(int speed) {
    switch (speed) {
        case 1200: return B1200;
        case 2400: return B2400;
        case 4800: return B4800;
        case 9600: return B9600;
        case 19200: return B19200;
        case 38400: return B38400;
        case 57600: return B57600;
        case 115200: return B115200;
        default: return std::nullopt;
    }
}

// Unix 98 pseudo-terminal slaves have the major numbers 136 to 143.
bool isPseudoTerminal(int fd) {
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode)) return false;
    const unsigned m = major(st.st_rdev);
    return m >= 136 && m <= 143;
}

std::string heldBy(const std::string& device, pid_t holder) {
    return device + " は他のプログラム（プロセス " + std::to_string(holder) + "）が使っています";
}

int openDevice(const std::string& device) {
    return ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
}

}  // namespace

SerialPort::~SerialPort() { close(); }

// A device another program has locked is not even opened: opening a
// serial port can raise its lines under that program's call.
bool SerialPort::refusedByLock(const std::string& device) {
    const pid_t holder = SerialPortLock::otherHolder(device, lockPlace_);
    if (holder == 0) return false;
    problem_ = heldBy(device, holder);
    return true;
}

int SerialPort::probe(const std::string& device) {
    problem_.clear();
    if (refusedByLock(device)) return 0;
    const int fd = openDevice(device);
    if (fd < 0) {
        problem_ = serialOpenProblem(device, errno);
        return 0;
    }
    const int subtype = isatty(fd) ? 1 : 0;
    ::close(fd);
    if (subtype == 0) problem_ = device + " はシリアルポートではありません";
    return subtype;
}

bool SerialPort::open(const std::string& device, int speed) {
    close();
    problem_.clear();
    const std::optional<speed_t> code = speedCode(speed);
    if (!code) return false;
    if (refusedByLock(device)) return false;
    switch (lock_.acquire(device, lockPlace_)) {
        case SerialPortLock::Result::HeldByOther:
            problem_ = heldBy(device, lock_.holder());
            return false;
        case SerialPortLock::Result::Failed:
            problem_ = device + " のロックファイルを作れません（" + lockPlace_.folder + "）";
            return false;
        case SerialPortLock::Result::Taken:
        case SerialPortLock::Result::NotNeeded: break;
    }
    fd_ = openDevice(device);
    if (fd_ < 0) {
        problem_ = serialOpenProblem(device, errno);
        lock_.release();
        return false;
    }
    termios t{};
    if (!isatty(fd_) || ioctl(fd_, TIOCEXCL) != 0 || tcgetattr(fd_, &found_) != 0) {
        problem_ = isatty(fd_) ? serialOpenProblem(device, errno) : device + " はシリアルポートではありません";
        ::close(fd_);
        fd_ = -1;
        lock_.release();
        return false;
    }
    pseudoTerminal_ = isPseudoTerminal(fd_);
    t = found_;
    cfmakeraw(&t);
    t.c_cflag &= ~(CSIZE | PARENB | CSTOPB | HUPCL);
    t.c_cflag |= CS8 | CREAD | CLOCAL | CRTSCTS;
    t.c_iflag &= ~(IXOFF | IXANY | INPCK | ISTRIP);
    t.c_iflag |= IXON;  // the modem stops us with XOFF during page data
    t.c_cc[VSTART] = kXon;
    t.c_cc[VSTOP] = kXoff;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    cfsetispeed(&t, *code);
    cfsetospeed(&t, *code);
    if (tcsetattr(fd_, TCSANOW, &t) != 0) {
        close();
        return false;
    }
    tcflush(fd_, TCIOFLUSH);
    setDtr(true);
    setRts(true);
    return true;
}

void SerialPort::close() {
    if (fd_ < 0) return;
    if (!pending_.empty()) tcflush(fd_, TCOFLUSH);
    pending_.clear();
    pendingDone_ = 0;
    tcsetattr(fd_, TCSANOW, &found_);
    ioctl(fd_, TIOCNXCL);
    ::close(fd_);
    fd_ = -1;
    lock_.release();
}

bool SerialPort::setSpeed(int speed) {
    const std::optional<speed_t> code = speedCode(speed);
    termios t{};
    if (fd_ < 0 || !code || tcgetattr(fd_, &t) != 0) return false;
    cfsetispeed(&t, *code);
    cfsetospeed(&t, *code);
    return tcsetattr(fd_, TCSANOW, &t) == 0;
}

bool SerialPort::waitFor(short events, int waitMs) {
    if (fd_ < 0) return false;
    pollfd p{fd_, events, 0};
    for (;;) {
        const int r = ::poll(&p, 1, waitMs == 0 ? -1 : waitMs);
        if (r > 0) return (p.revents & events) != 0;
        if (r == 0 || errno != EINTR) return false;
    }
}

bool SerialPort::writeByte(uint8_t byte, int waitMs) {
    if (fd_ < 0) return false;
    while (writePending()) {
        if (!waitFor(POLLOUT, waitMs)) {
            clearOutput();
            return false;
        }
    }
    for (;;) {
        const ssize_t n = ::write(fd_, &byte, 1);
        if (n == 1) return true;
        if (n < 0 && errno != EAGAIN && errno != EINTR) return false;
        if (!waitFor(POLLOUT, waitMs)) return false;
    }
}

std::optional<uint8_t> SerialPort::readByte(int waitMs) {
    if (fd_ < 0) return std::nullopt;
    for (;;) {
        uint8_t byte = 0;
        const ssize_t n = ::read(fd_, &byte, 1);
        if (n == 1) return byte;
        if (n < 0 && errno != EAGAIN && errno != EINTR) return std::nullopt;
        if (!waitFor(POLLIN, waitMs)) return std::nullopt;
    }
}

size_t SerialPort::bytesWaiting() {
    int n = 0;
    if (fd_ < 0 || ioctl(fd_, FIONREAD, &n) != 0 || n < 0) return 0;
    return size_t(n);
}

bool SerialPort::waitForInput(int waitMs) {
    if (bytesWaiting() > 0) return true;
    return waitFor(POLLIN, waitMs < 1 ? 1 : waitMs) && bytesWaiting() > 0;
}

bool SerialPort::pushPending() {
    while (pendingDone_ < pending_.size()) {
        const ssize_t n = ::write(fd_, pending_.data() + pendingDone_, pending_.size() - pendingDone_);
        if (n > 0) {
            pendingDone_ += size_t(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN) {
            pending_.clear();
            pendingDone_ = 0;
            return false;
        }
        return true;  // the port takes no more now
    }
    pending_.clear();
    pendingDone_ = 0;
    return true;
}

bool SerialPort::writeBlock(std::span<const uint8_t> data) {
    if (fd_ < 0 || writePending()) return false;
    pending_.assign(data.begin(), data.end());
    pendingDone_ = 0;
    return pushPending();
}

bool SerialPort::writePending() {
    if (fd_ < 0 || pending_.empty()) return false;
    pushPending();
    return !pending_.empty();
}

bool SerialPort::waitWritable(int waitMs) {
    if (writePending() && !waitFor(POLLOUT, waitMs < 1 ? 1 : waitMs)) return false;
    return !writePending() && waitFor(POLLOUT, waitMs < 1 ? 1 : waitMs);
}

size_t SerialPort::outputQueued() {
    int n = 0;
    if (fd_ < 0) return 0;
    const size_t waiting = pending_.size() - pendingDone_;
    if (ioctl(fd_, TIOCOUTQ, &n) != 0 || n < 0) return waiting;
    return waiting + size_t(n);
}

void SerialPort::clearInput() {
    if (fd_ >= 0) tcflush(fd_, TCIFLUSH);
}

void SerialPort::clearOutput() {
    pending_.clear();
    pendingDone_ = 0;
    if (fd_ >= 0) tcflush(fd_, TCOFLUSH);
}

bool SerialPort::setLines(int bits, bool on) {
    if (fd_ < 0) return false;
    if (ioctl(fd_, on ? TIOCMBIS : TIOCMBIC, &bits) == 0) return true;
    return pseudoTerminal_;
}

bool SerialPort::setDtr(bool on) { return setLines(TIOCM_DTR, on); }
bool SerialPort::setRts(bool on) { return setLines(TIOCM_RTS, on); }

std::optional<ModemLines> SerialPort::modemLines() {
    if (fd_ < 0) return std::nullopt;
    int bits = 0;
    if (ioctl(fd_, TIOCMGET, &bits) == 0)
        return ModemLines{(bits & TIOCM_DSR) != 0, (bits & TIOCM_CTS) != 0, (bits & TIOCM_CAR) != 0};
    if (pseudoTerminal_) return ModemLines{true, true, true};
    return std::nullopt;
}

}  // namespace lumipage
