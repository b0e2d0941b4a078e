#include "twaindsm/SourceManager.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

namespace lumipage::twaindsm {

using namespace twain;

namespace {

constexpr size_t kMaxDevices = 256;

void copyText(TW_STR32& field, const char* text) {
    std::memset(field, 0, sizeof field);
    if (text) std::strncpy(field, text, sizeof field - 1);
}

std::string fieldText(const TW_STR32& field) { return std::string(field, strnlen(field, sizeof field)); }

// Creates the folders leading to a file, as far as they are missing.
void makeFoldersFor(const std::string& file) {
    for (size_t slash = file.find('/', 1); slash != std::string::npos; slash = file.find('/', slash + 1))
        ::mkdir(file.substr(0, slash).c_str(), 0700);
}

// Keeps this library loaded after the program lets it go: a thread left
// blocked in a wedged device's sane_read runs its code.
void pinThisLibrary() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&pinThisLibrary), &info) && info.dli_fname)
        dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
}

}  // namespace

SourceManager::~SourceManager() { closeManager(); }

TW_UINT16 SourceManager::fail(TW_UINT16 condition) {
    condition_ = condition;
    return TWRC_FAILURE;
}

TW_UINT16 SourceManager::entry(TW_IDENTITY* origin, TW_IDENTITY* destination, TW_UINT32 dg, TW_UINT16 dat,
                               TW_UINT16 msg, TW_MEMREF data) {
    if (!origin) return fail(TWCC_BADPROTOCOL);
    if (destination) {
        if (!open_ || !source_ || destination->Id != source_->identity().Id) return fail(TWCC_BADDEST);
        return source_->entry(dg, dat, msg, data);
    }
    if (dg != DG_CONTROL) return fail(TWCC_BADPROTOCOL);
    switch (dat) {
    case DAT_PARENT: return parent(msg);
    case DAT_IDENTITY:
        if (!data) return fail(TWCC_BADVALUE);
        return identity(msg, *static_cast<TW_IDENTITY*>(data));
    case DAT_STATUS:
        if (!data || msg != MSG_GET) return fail(TWCC_BADVALUE);
        static_cast<TW_STATUS*>(data)->ConditionCode = condition_;
        condition_ = TWCC_SUCCESS;
        return TWRC_SUCCESS;
    default: return fail(TWCC_BADPROTOCOL);
    }
}

TW_UINT16 SourceManager::parent(TW_UINT16 msg) {
    if (msg == MSG_OPENDSM) {
        if (open_) return fail(TWCC_SEQERROR);
        SANE_Int version = 0;
        // SANE held for a wedged device is still running.
        if (!saneHeld_ && sane_init(&version, nullptr) != SANE_STATUS_GOOD) return fail(TWCC_BUMMER);
        open_ = true;
        listed_ = false;
        return TWRC_SUCCESS;
    }
    if (msg == MSG_CLOSEDSM) {
        if (!open_) return fail(TWCC_SEQERROR);
        if (source_) return fail(TWCC_SEQERROR);  // a source is still open
        closeManager();
        return TWRC_SUCCESS;
    }
    return fail(TWCC_BADPROTOCOL);
}

void SourceManager::closeSource() {
    if (source_ && source_->wedged() && !saneHeld_) {
        saneHeld_ = true;
        pinThisLibrary();
    }
    source_.reset();
}

void SourceManager::closeManager() {
    if (!open_) return;
    closeSource();
    devices_.clear();
    if (!saneHeld_) sane_exit();
    open_ = false;
}

void SourceManager::listDevices() {
    if (listed_) return;
    listed_ = true;
    devices_.clear();
    const SANE_Device** list = nullptr;
    if (sane_get_devices(&list, SANE_FALSE) != SANE_STATUS_GOOD || !list) return;
    for (size_t i = 0; list[i] && i < kMaxDevices; ++i) {
        Device device{list[i]->name ? list[i]->name : "", TW_IDENTITY{}};
        TW_IDENTITY& id = device.identity;
        id.Id = TW_UINT32(i + 1);
        id.Version.MajorNum = 1;
        id.Version.Language = TWLG_USA;
        id.Version.Country = TWCY_USA;
        copyText(id.Version.Info, "SANE");
        id.ProtocolMajor = TWON_PROTOCOLMAJOR;
        id.ProtocolMinor = TWON_PROTOCOLMINOR;
        id.SupportedGroups = DG_CONTROL | DG_IMAGE;
        copyText(id.Manufacturer, list[i]->vendor);
        copyText(id.ProductFamily, list[i]->model);
        copyText(id.ProductName, device.name.c_str());
        devices_.push_back(device);
    }
}

std::string SourceManager::defaultFile() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::string folder;
    if (config && *config) folder = config;
    else if (const char* home = std::getenv("HOME")) folder = std::string(home) + "/.config";
    else return {};
    return folder + "/Quor/TwainSource";
}

const SourceManager::Device* SourceManager::defaultDevice() {
    listDevices();
    if (devices_.empty()) return nullptr;
    std::ifstream in(defaultFile());
    std::string name;
    if (in && std::getline(in, name)) {
        for (const Device& d : devices_)
            if (d.name == name) return &d;
    }
    return &devices_.front();
}

TW_UINT16 SourceManager::identity(TW_UINT16 msg, TW_IDENTITY& id) {
    if (!open_) return fail(TWCC_SEQERROR);
    switch (msg) {
    case MSG_GETFIRST: next_ = 0; [[fallthrough]];
    case MSG_GETNEXT:
        listDevices();
        if (next_ >= devices_.size()) return TWRC_ENDOFLIST;
        id = devices_[next_++].identity;
        return TWRC_SUCCESS;
    case MSG_GETDEFAULT: {
        const Device* device = defaultDevice();
        if (!device) return fail(TWCC_NODS);
        id = device->identity;
        return TWRC_SUCCESS;
    }
    case MSG_USERSELECT: {
        // The program asks the user itself and names the choice here.
        listDevices();
        const std::string chosen = fieldText(id.ProductName);
        // Names longer than the identity holds are cut; the identity's Id
        // tells devices apart that share the first 33 characters.
        const Device* byId = findById(id);
        for (const Device& d : devices_) {
            if (byId ? &d != byId : (d.name.compare(0, chosen.size(), chosen) != 0 || chosen.empty())) continue;
            const std::string file = defaultFile();
            makeFoldersFor(file);
            std::ofstream out(file, std::ios::trunc);
            if (out) out << d.name << '\n';
            id = d.identity;
            return TWRC_SUCCESS;
        }
        return TWRC_CANCEL;
    }
    case MSG_OPENDS: return openSource(id);
    case MSG_CLOSEDS:
        if (!source_ || id.Id != source_->identity().Id) return fail(TWCC_BADDEST);
        closeSource();
        return TWRC_SUCCESS;
    default: return fail(TWCC_BADPROTOCOL);
    }
}

const SourceManager::Device* SourceManager::findById(const TW_IDENTITY& id) const {
    for (const Device& d : devices_)
        if (id.Id != 0 && d.identity.Id == id.Id && fieldText(d.identity.ProductName) == fieldText(id.ProductName))
            return &d;
    return nullptr;
}

TW_UINT16 SourceManager::openSource(TW_IDENTITY& id) {
    if (source_) return fail(TWCC_MAXCONNECTIONS);
    listDevices();
    const Device* device = nullptr;
    const std::string wanted = fieldText(id.ProductName);
    if (wanted.empty()) {
        device = defaultDevice();
    } else if (const Device* byId = findById(id)) {
        device = byId;
    } else {
        for (const Device& d : devices_)
            if (fieldText(d.identity.ProductName) == wanted) device = &d;
    }
    if (!device) return fail(TWCC_NODS);
    SANE_Handle handle = nullptr;
    if (sane_open(device->name.c_str(), &handle) != SANE_STATUS_GOOD || !handle) return fail(TWCC_OPERATIONERROR);
    source_ = std::make_unique<SaneSource>(handle, device->identity);
    id = device->identity;
    return TWRC_SUCCESS;
}

}  // namespace lumipage::twaindsm

// The source manager lives as long as the library is loaded: the entry
// point is a plain C function, so its state can only be the library's own.
extern "C" __attribute__((visibility("default"))) lumipage::twain::TW_UINT16 DSM_Entry(
    lumipage::twain::TW_IDENTITY* origin, lumipage::twain::TW_IDENTITY* destination, lumipage::twain::TW_UINT32 dg,
    lumipage::twain::TW_UINT16 dat, lumipage::twain::TW_UINT16 msg, lumipage::twain::TW_MEMREF data) {
    static lumipage::twaindsm::SourceManager manager;
    return manager.entry(origin, destination, dg, dat, msg, data);
}
