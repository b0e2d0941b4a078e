// Requests from other running copies as they come over the socket: any
// bytes, sent and then the sending side closed. The server hands on only a
// request whose data arrived whole and in its announced size, answers at
// most once, and never blocks once the sender has nothing more to say.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/FrameRequest.h"
#include "platform/InstanceRequest.h"
#include "platform/InstanceRequestServer.h"

using namespace lumipage;

namespace {

class CheckingListener : public InstanceRequestListener {
public:
    CheckingListener(const uint8_t* sent, size_t size) : sent_(sent), size_(size) {}
    int32_t handleRequest(int32_t code, std::span<const uint8_t> data) override {
        ++calls;
        // Exactly the bytes after the header, as many as it announced.
        if (size_ < InstanceRequest::kHeaderBytes) std::abort();
        const InstanceRequestHeader header = decodeRequestHeader(std::span<const uint8_t, 8>(sent_, 8));
        if (header.code != code || header.size != data.size() || data.size() > InstanceRequest::kMaxDataBytes) std::abort();
        if (size_ < InstanceRequest::kHeaderBytes + data.size()) std::abort();
        if (!data.empty() && std::memcmp(data.data(), sent_ + InstanceRequest::kHeaderBytes, data.size()) != 0) std::abort();
        const FrameRequest r = FrameRequest::decode(uint32_t(code), data);
        if (r.path.size() >= FrameRequest::kMaxPathBytes && !r.path.empty()) std::abort();
        return 1;
    }
    std::string windowTitle() override {
        ++calls;
        return std::string(5000, 'T');  // longer than a title may travel
    }
    void closeWindow() override { ++calls; }
    int calls = 0;

private:
    const uint8_t* sent_;
    size_t size_;
};

InstanceRequestServer& server() {
    static const std::unique_ptr<InstanceRequestServer> instance = [] {
        char folder[] = "/tmp/lumipage-fuzz-XXXXXX";
        if (!::mkdtemp(folder)) std::abort();
        auto s = std::make_unique<InstanceRequestServer>(std::string(folder) + "/copies", "fuzz.sock");
        if (!s->listen()) std::abort();
        return s;
    }();
    return *instance;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > InstanceRequest::kMaxDataBytes + 64) return 0;
    InstanceRequestServer& s = server();
    const int client = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, s.socketPath().c_str(), s.socketPath().size() + 1);
    if (client < 0 || ::connect(client, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) std::abort();
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::send(client, data + done, size - done, MSG_NOSIGNAL);
        if (n <= 0) std::abort();
        done += size_t(n);
    }
    ::shutdown(client, SHUT_WR);
    CheckingListener listener(data, size);
    const int answered = s.handlePending(listener);
    if (listener.calls > 1 || answered > 1) std::abort();
    std::vector<uint8_t> reply(InstanceRequest::kMaxTitleBytes + 64);
    size_t got = 0;
    for (;;) {
        const ssize_t n = ::recv(client, reply.data() + got, reply.size() - got, 0);
        if (n <= 0) break;
        got += size_t(n);
    }
    ::close(client);
    // A title never travels longer than its limit; other answers are one number.
    if (got > 4 + InstanceRequest::kMaxTitleBytes) std::abort();
    if (listener.calls == 0 && got != 0 && got != 4) std::abort();
    return 0;
}
