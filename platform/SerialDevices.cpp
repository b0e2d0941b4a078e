#include "platform/SerialDevices.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>

namespace lumipage {

namespace {

namespace fs = std::filesystem;

// Names in `folder` starting with `prefix`, in natural order (ttyS2 before ttyS10).
std::vector<std::string> entries(const fs::path& folder, const std::string& prefix) {
    std::vector<std::string> found;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.starts_with(prefix)) found.push_back(it->path().string());
    }
    std::sort(found.begin(), found.end(), [](const std::string& a, const std::string& b) {
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    });
    return found;
}

}  // namespace

std::vector<std::string> serialDeviceCandidates(const std::function<bool(const std::string&)>& isPort,
                                                const std::string& devFolder) {
    std::vector<std::string> devices;
    std::set<std::string> named;  // devices a by-id name stands for
    std::error_code error;
    std::vector<std::string> byId = entries(fs::path(devFolder) / "serial" / "by-id", "");
    std::sort(byId.begin(), byId.end());
    for (const std::string& link : byId) {
        const fs::path target = fs::canonical(link, error);
        if (error) continue;  // a link to a device that is gone
        devices.push_back(link);
        named.insert(target.string());
    }
    for (const char* prefix : {"ttyACM", "ttyUSB"})
        for (const std::string& device : entries(devFolder, prefix)) {
            const fs::path real = fs::canonical(device, error);
            if (!named.count(error ? device : real.string())) devices.push_back(device);
        }
    for (const std::string& device : entries(devFolder, "ttyS"))
        if (isPort(device)) devices.push_back(device);
    return devices;
}

}  // namespace lumipage
