#include "platform/SerialPortLock.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace lumipage {

namespace {

constexpr int kTakeOverAttempts = 2;

std::string resolved(const std::string& device) {
    char buffer[PATH_MAX];
    return ::realpath(device.c_str(), buffer) ? std::string(buffer) : device;
}

// The process id in a lock file: ten characters of text (HDB UUCP), or the
// four bytes of a binary id that old programs wrote; 0 when unreadable.
pid_t lockOwner(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return 0;
    char text[32] = {};
    const ssize_t n = ::read(fd, text, sizeof text - 1);
    ::close(fd);
    if (n == 4) {
        int32_t binary = 0;
        std::memcpy(&binary, text, 4);
        return pid_t(binary);
    }
    if (n <= 0) return 0;
    return pid_t(std::strtol(text, nullptr, 10));
}

bool isRunning(pid_t pid) { return pid > 0 && (::kill(pid, 0) == 0 || errno == EPERM); }

// Writes our lock under a name of its own and links it to the lock's name,
// so that a lock file is never seen half written. False with errno EEXIST
// when another lock is there.
bool createLock(const std::string& folder, const std::string& path) {
    const std::string temporary = folder + "/LTMP." + std::to_string(::getpid());
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    char text[16];
    const int length = std::snprintf(text, sizeof text, "%10d\n", int(::getpid()));
    const bool written = ::write(fd, text, size_t(length)) == length;
    ::close(fd);
    const bool linked = written && ::link(temporary.c_str(), path.c_str()) == 0;
    const int error = errno;
    ::unlink(temporary.c_str());
    errno = linked ? 0 : error;
    return linked;
}

bool inGroupNow(gid_t gid) {
    if (::getegid() == gid) return true;
    const int count = ::getgroups(0, nullptr);
    std::vector<gid_t> groups(size_t(count > 0 ? count : 0));
    if (count > 0 && ::getgroups(count, groups.data()) == count)
        for (const gid_t g : groups)
            if (g == gid) return true;
    return false;
}

// Whether the group database lists the user as a member of `group`.
bool listedInGroup(const group& g) {
    const passwd* user = ::getpwuid(::getuid());
    if (!user) return false;
    if (user->pw_gid == g.gr_gid) return true;
    for (char** member = g.gr_mem; member && *member; ++member)
        if (std::string(*member) == user->pw_name) return true;
    return false;
}

}  // namespace

std::string SerialPortLock::lockPath(const std::string& device, const SerialLockPlace& place) {
    return place.folder + "/" + fileNameFor(resolved(device));
}

std::string SerialPortLock::fileNameFor(const std::string& device) {
    std::string name = device;
    if (name.starts_with("/dev/")) name = name.substr(5);
    else if (const size_t slash = name.rfind('/'); slash != std::string::npos) name = name.substr(slash + 1);
    for (char& c : name)
        if (c == '/') c = '_';
    return "LCK.." + name;
}

SerialPortLock::Result SerialPortLock::acquire(const std::string& device, const SerialLockPlace& place) {
    release();
    holder_ = 0;
    if (!needed(device, place) || place.folder.empty() || ::access(place.folder.c_str(), W_OK) != 0)
        return Result::NotNeeded;
    const std::string path = lockPath(device, place);
    for (int attempt = 0; attempt < kTakeOverAttempts; ++attempt) {
        if (createLock(place.folder, path)) {
            path_ = path;
            return Result::Taken;
        }
        if (errno != EEXIST) return Result::Failed;
        const pid_t owner = lockOwner(path);
        if (owner == ::getpid()) {  // ours, left by an earlier open of this process
            path_ = path;
            return Result::Taken;
        }
        if (isRunning(owner)) {
            holder_ = owner;
            return Result::HeldByOther;
        }
        ::unlink(path.c_str());  // the lock of a process that has ended
    }
    return Result::Failed;
}

bool SerialPortLock::needed(const std::string& device, const SerialLockPlace& place) {
    return place.pseudoTerminals || !resolved(device).starts_with("/dev/pts/");
}

pid_t SerialPortLock::otherHolder(const std::string& device, const SerialLockPlace& place) {
    if (place.folder.empty() || !needed(device, place)) return 0;
    const pid_t owner = lockOwner(lockPath(device, place));
    return owner != ::getpid() && isRunning(owner) ? owner : 0;
}

void SerialPortLock::release() {
    if (path_.empty()) return;
    if (lockOwner(path_) == ::getpid()) ::unlink(path_.c_str());
    path_.clear();
}

std::string serialOpenProblem(const std::string& device, int error) {
    switch (error) {
        case ENOENT:
        case ENODEV:
        case ENXIO: return device + " がありません（接続を確かめてください）";
        case EBUSY: return device + " は他のプログラムが使っています";
        case EACCES:
        case EPERM: break;
        default: return {};
    }
    struct stat st {};
    const group* g = ::stat(device.c_str(), &st) == 0 ? ::getgrgid(st.st_gid) : nullptr;
    if (!g) return device + " を使う権限がありません";
    const std::string name = g->gr_name;
    if (!inGroupNow(st.st_gid) && listedInGroup(*g))
        return device + " は " + name + " グループのものです。グループに加わった後、ログインし直すと使えます";
    return device + " を使う権限がありません。" + name + " グループに加わり、ログインし直してください";
}

}  // namespace lumipage
