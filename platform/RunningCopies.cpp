#include "platform/RunningCopies.h"

#include <dirent.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/SocketIo.h"

namespace lumipage {

namespace {

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

// Connects without blocking on a full backlog; the descriptor stays non-blocking.
int connectTo(const std::string& socket) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (socket.size() >= sizeof address.sun_path) return -1;
    std::memcpy(address.sun_path, socket.c_str(), socket.size() + 1);
    socket_io::FdGuard fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (fd.get() < 0) return -1;
    if (::connect(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        if (errno == ECONNREFUSED) ::unlink(socket.c_str());  // its copy has ended
        return -1;
    }
    return fd.release();
}

std::optional<int32_t> exchange(int fd, const InstanceRequest& request, int timeoutMs) {
    if (!socket_io::writeAll(fd, request.encode(), timeoutMs)) return std::nullopt;
    std::array<uint8_t, InstanceRequest::kReplyBytes> reply{};
    if (!socket_io::readExactly(fd, reply, timeoutMs)) return std::nullopt;
    return decodeInt32(reply);
}

}  // namespace

std::string RunningCopies::defaultFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    struct stat st {};
    if (runtime && *runtime == '/' && ::stat(runtime, &st) == 0 && S_ISDIR(st.st_mode))
        return std::string(runtime) + "/lumipage";
    return "/tmp/lumipage-" + std::to_string(::getuid());
}

bool RunningCopies::prepareFolder(const std::string& folder) {
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return false;
    struct stat st {};
    if (::lstat(folder.c_str(), &st) != 0) return false;
    return S_ISDIR(st.st_mode) && st.st_uid == ::getuid() && (st.st_mode & 077) == 0;
}

std::vector<std::string> RunningCopies::sockets(const std::string& own) const {
    std::vector<std::string> found;
    std::unique_ptr<DIR, DirCloser> dir(::opendir(folder_.c_str()));
    if (!dir) return found;
    while (const dirent* e = ::readdir(dir.get())) {
        const std::string_view name(e->d_name);
        if (!name.ends_with(kSocketSuffix) || name.size() == kSocketSuffix.size()) continue;
        std::string path = folder_ + "/" + std::string(name);
        struct stat st {};
        if (path != own && ::lstat(path.c_str(), &st) == 0 && S_ISSOCK(st.st_mode)) found.push_back(std::move(path));
    }
    std::sort(found.begin(), found.end());
    return found;
}

std::optional<int32_t> RunningCopies::send(const std::string& socket, const InstanceRequest& request, int timeoutMs) {
    socket_io::FdGuard fd(connectTo(socket));
    if (fd.get() < 0) return std::nullopt;
    return exchange(fd.get(), request, timeoutMs);
}

std::optional<std::string> RunningCopies::title(const std::string& socket, int timeoutMs) {
    socket_io::FdGuard fd(connectTo(socket));
    if (fd.get() < 0) return std::nullopt;
    const auto count = exchange(fd.get(), InstanceRequest{InstanceRequest::kTitleQuery, {}}, timeoutMs);
    if (!count || *count < 0 || uint32_t(*count) > InstanceRequest::kMaxTitleBytes) return std::nullopt;
    std::string text(size_t(*count), '\0');
    if (!socket_io::readExactly(fd.get(), std::span(reinterpret_cast<uint8_t*>(text.data()), text.size()),
                                timeoutMs))
        return std::nullopt;
    return text;
}

}  // namespace lumipage
