// Our source manager library as any TWAIN application meets it: loaded with
// dlopen, driven through DSM_Entry with the published structures and
// containers made by hand, and unloaded with dlclose. SANE's "test"
// backend stands behind it, configured afresh for each case.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <functional>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "twain/TwainTypes.h"
#include "support/SaneTestBackend.h"
#include "support/TestImages.h"

namespace lumipage {
namespace {

using namespace twain;

double fix32(TW_UINT32 bits) {
    TW_FIX32 f;
    std::memcpy(&f, &bits, sizeof f);
    return f.Whole + f.Frac / 65536.0;
}
TW_UINT32 fix32Bits(double value) {
    const long whole = std::lround(value * 65536.0);
    TW_FIX32 f{TW_INT16(whole >> 16), TW_UINT16(whole & 0xffff)};
    TW_UINT32 bits;
    std::memcpy(&bits, &f, sizeof bits);
    return bits;
}

// A container's values, read by hand from its published layout.
struct Values {
    TW_UINT16 kind = 0, type = 0;
    std::vector<double> items;  // one-value, enumeration and array items
    uint32_t current = 0, defaultIndex = 0;
    double minimum = 0, maximum = 0, step = 0, rangeDefault = 0, rangeCurrent = 0;

    double now() const { return kind == TWON_RANGE ? rangeCurrent : items.at(kind == TWON_ENUMERATION ? current : 0); }
};

double item(TW_UINT16 type, const uint8_t* at) {
    switch (type) {
    case TWTY_INT8: return int8_t(at[0]);
    case TWTY_UINT8: return at[0];
    case TWTY_INT16: { int16_t v; std::memcpy(&v, at, 2); return v; }
    case TWTY_UINT16:
    case TWTY_BOOL: { uint16_t v; std::memcpy(&v, at, 2); return v; }
    case TWTY_INT32: { int32_t v; std::memcpy(&v, at, 4); return v; }
    case TWTY_UINT32: { uint32_t v; std::memcpy(&v, at, 4); return v; }
    case TWTY_FIX32: { uint32_t v; std::memcpy(&v, at, 4); return fix32(v); }
    default: return 0;
    }
}
double oneItem(TW_UINT16 type, TW_UINT32 bits) {
    uint8_t bytes[4];
    std::memcpy(bytes, &bits, 4);
    return item(type, bytes);
}

Values read(const TW_CAPABILITY& cap) {
    Values v;
    v.kind = cap.ConType;
    const auto* block = static_cast<const uint8_t*>(cap.hContainer);
    if (!block) return v;
    switch (cap.ConType) {
    case TWON_ONEVALUE: {
        const auto* one = reinterpret_cast<const TW_ONEVALUE*>(block);
        v.type = one->ItemType;
        v.items.push_back(oneItem(one->ItemType, one->Item));
        break;
    }
    case TWON_ENUMERATION: {
        const auto* e = reinterpret_cast<const TW_ENUMERATION*>(block);
        v.type = e->ItemType;
        v.current = e->CurrentIndex;
        v.defaultIndex = e->DefaultIndex;
        for (uint32_t i = 0; i < e->NumItems; ++i) v.items.push_back(item(e->ItemType, e->ItemList + i * itemSize(e->ItemType)));
        break;
    }
    case TWON_ARRAY: {
        const auto* a = reinterpret_cast<const TW_ARRAY*>(block);
        v.type = a->ItemType;
        for (uint32_t i = 0; i < a->NumItems; ++i) v.items.push_back(item(a->ItemType, a->ItemList + i * itemSize(a->ItemType)));
        break;
    }
    case TWON_RANGE: {
        const auto* r = reinterpret_cast<const TW_RANGE*>(block);
        v.type = r->ItemType;
        v.minimum = oneItem(r->ItemType, r->MinValue);
        v.maximum = oneItem(r->ItemType, r->MaxValue);
        v.step = oneItem(r->ItemType, r->StepSize);
        v.rangeDefault = oneItem(r->ItemType, r->DefaultValue);
        v.rangeCurrent = oneItem(r->ItemType, r->CurrentValue);
        break;
    }
    default: break;
    }
    return v;
}

// One application session with the library.
class Client {
public:
    Client() {
        app_.Id = 0;
        app_.ProtocolMajor = 1;
        app_.ProtocolMinor = 7;
        app_.SupportedGroups = DG_CONTROL | DG_IMAGE;
        std::strcpy(app_.ProductName, "client test");
    }
    ~Client() { unload(); }

    bool load() {
        library_ = dlopen(LUMIPAGE_TWAINDSM, RTLD_NOW);
        if (!library_) return false;
        entry_ = reinterpret_cast<DSMENTRYPROC>(dlsym(library_, "DSM_Entry"));
        return entry_ != nullptr;
    }
    void unload() {
        if (library_) dlclose(library_);
        library_ = nullptr;
        entry_ = nullptr;
    }
    TW_UINT16 manager(TW_UINT16 dat, TW_UINT16 msg, void* data) { return entry_(&app_, nullptr, DG_CONTROL, dat, msg, data); }
    TW_UINT16 source(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, void* data) {
        return entry_(&app_, &source_, dg, dat, msg, data);
    }
    TW_UINT16 condition() {
        TW_STATUS status{};
        EXPECT_EQ(source(DG_CONTROL, DAT_STATUS, MSG_GET, &status), TWRC_SUCCESS);
        return status.ConditionCode;
    }

    // Loads, opens the manager and the source named (the default when empty).
    void open(const char* name = "") {
        ASSERT_TRUE(load()) << dlerror();
        int parent = 0;
        ASSERT_EQ(manager(DAT_PARENT, MSG_OPENDSM, &parent), TWRC_SUCCESS);
        source_ = TW_IDENTITY{};
        std::strcpy(source_.ProductName, name);
        ASSERT_EQ(manager(DAT_IDENTITY, MSG_OPENDS, &source_), TWRC_SUCCESS);
    }
    void close() {
        EXPECT_EQ(manager(DAT_IDENTITY, MSG_CLOSEDS, &source_), TWRC_SUCCESS);
        int parent = 0;
        EXPECT_EQ(manager(DAT_PARENT, MSG_CLOSEDSM, &parent), TWRC_SUCCESS);
        unload();
    }

    // MSG_GET and its kin; the container is read and released.
    TW_UINT16 get(TW_UINT16 id, TW_UINT16 msg, Values& values) {
        TW_CAPABILITY cap{id, TWON_DONTCARE16, nullptr};
        const TW_UINT16 rc = source(DG_CONTROL, DAT_CAPABILITY, msg, &cap);
        if (rc == TWRC_SUCCESS) values = read(cap);
        std::free(cap.hContainer);
        return rc;
    }
    double current(TW_UINT16 id) {
        Values v;
        EXPECT_EQ(get(id, MSG_GETCURRENT, v), TWRC_SUCCESS) << std::hex << id;
        return v.items.empty() && v.kind != TWON_RANGE ? -99999 : v.now();
    }
    TW_UINT16 set(TW_UINT16 id, TW_UINT16 type, double value) {
        auto* one = static_cast<TW_ONEVALUE*>(std::malloc(sizeof(TW_ONEVALUE)));
        one->ItemType = type;
        one->Item = type == TWTY_FIX32 ? fix32Bits(value) : TW_UINT32(TW_INT32(value)) & (itemSize(type) == 2 ? 0xffffu : ~0u);
        TW_CAPABILITY cap{id, TWON_ONEVALUE, one};
        const TW_UINT16 rc = source(DG_CONTROL, DAT_CAPABILITY, MSG_SET, &cap);
        std::free(one);
        return rc;
    }
    void frame(double widthInches, double heightInches) {
        TW_IMAGELAYOUT layout{};
        layout.Frame.Right = TW_FIX32{TW_INT16(widthInches), TW_UINT16((widthInches - int(widthInches)) * 65536)};
        layout.Frame.Bottom = TW_FIX32{TW_INT16(heightInches), TW_UINT16((heightInches - int(heightInches)) * 65536)};
        layout.DocumentNumber = layout.PageNumber = layout.FrameNumber = 1;
        EXPECT_NE(source(DG_IMAGE, DAT_IMAGELAYOUT, MSG_SET, &layout), TWRC_FAILURE);
    }

    // Enables the source: true when it has a page ready.
    bool enable() {
        TW_USERINTERFACE ui{0, 0, nullptr};
        EXPECT_EQ(source(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui), TWRC_SUCCESS);
        TW_EVENT event{nullptr, MSG_NULL};
        EXPECT_EQ(source(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event), TWRC_DSEVENT);
        return event.TWMessage == MSG_XFERREADY;
    }
    void disable() {
        TW_USERINTERFACE ui{0, 0, nullptr};
        EXPECT_EQ(source(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui), TWRC_SUCCESS);
    }
    TW_UINT16 endTransfer() {
        TW_PENDINGXFERS pending{};
        EXPECT_EQ(source(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending), TWRC_SUCCESS);
        return pending.Count;
    }

    // One page by memory transfer: rows of whole bytes as the source gives them.
    struct Page {
        TW_UINT16 rc = TWRC_FAILURE;
        int width = 0, rows = 0, bits = 0;
        std::vector<uint8_t> data;
        uint32_t bytesPerRow = 0;
    };
    Page memoryPage(const std::function<void()>& betweenStrips = {}) {
        Page page;
        TW_IMAGEINFO info{};
        EXPECT_EQ(source(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info), TWRC_SUCCESS);
        page.width = info.ImageWidth;
        page.bits = info.BitsPerPixel;
        TW_SETUPMEMXFER setup{};
        EXPECT_EQ(source(DG_CONTROL, DAT_SETUPMEMXFER, MSG_GET, &setup), TWRC_SUCCESS);
        // Asked between strips, the strips are kept small so that there are many.
        std::vector<uint8_t> buffer(betweenStrips ? 16 * setup.MinBufSize : setup.Preferred);
        for (;;) {
            TW_IMAGEMEMXFER strip{};
            strip.Memory.Flags = TWMF_APPOWNS | TWMF_POINTER;
            strip.Memory.Length = TW_UINT32(buffer.size());
            strip.Memory.TheMem = buffer.data();
            page.rc = source(DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &strip);
            if (page.rc != TWRC_SUCCESS && page.rc != TWRC_XFERDONE) return page;
            page.bytesPerRow = strip.BytesPerRow;
            EXPECT_EQ(TW_UINT32(strip.YOffset), TW_UINT32(page.rows));  // a copy: the record is packed
            page.data.insert(page.data.end(), buffer.begin(), buffer.begin() + strip.BytesWritten);
            page.rows += int(strip.Rows);
            if (page.rc == TWRC_XFERDONE) return page;
            if (betweenStrips) betweenStrips();
        }
    }

private:
    void* library_ = nullptr;
    DSMENTRYPROC entry_ = nullptr;
    TW_IDENTITY app_{};
    TW_IDENTITY source_{};
};

class SourceManagerClient : public ::testing::Test {
protected:
    void SetUp() override {
        sane = test::saneTestConfigFolder();
        std::ofstream(sane + "/dll.conf") << "test\n";
        configure("");
    }
    // The test backend's configuration with its test options on.
    void configure(const std::string& extra, int devices = 1) {
        std::ofstream(sane + "/test.conf") << "number_of_devices " << devices
                                           << "\nmode Gray\ndepth 8\ntest-picture \"Grid\"\nenable-test-options true\n"
                                           << extra;
    }
    // Opens the source, asks for a square frame of `inches` at `dpi` and
    // enables it: true when a page is ready.
    bool startSquarePage(double dpi, double inches, const char* device = "") {
        client.open(device);
        EXPECT_EQ(client.set(ICAP_XRESOLUTION, TWTY_FIX32, dpi), TWRC_SUCCESS);
        client.frame(inches, inches);
        return client.enable();
    }
    // The length the source gives the ready page (-1: not known).
    TW_INT32 imageLength() {
        TW_IMAGEINFO info{};
        EXPECT_EQ(client.source(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info), TWRC_SUCCESS);
        return info.ImageLength;  // a copy: the record is packed
    }
    // Ends the page and closes the source; the pages still pending.
    TW_UINT16 finishPage() {
        const TW_UINT16 pending = client.endTransfer();
        client.disable();
        client.close();
        return pending;
    }
    static bool loaded(const char* library) {
        void* handle = dlopen(library, RTLD_NOW | RTLD_NOLOAD);
        if (handle) dlclose(handle);
        return handle != nullptr;
    }
    std::string sane;
    Client client;
};

TEST_F(SourceManagerClient, ListsAndOpensSourcesAndUnloadsCleanly) {
    configure("", 2);
    for (int round = 0; round < 2; ++round) {  // loaded again after a full unload
        ASSERT_TRUE(client.load());
        int parent = 0;
        ASSERT_EQ(client.manager(DAT_PARENT, MSG_OPENDSM, &parent), TWRC_SUCCESS);
        std::vector<std::string> names;
        TW_IDENTITY id{};
        for (TW_UINT16 rc = client.manager(DAT_IDENTITY, MSG_GETFIRST, &id); rc == TWRC_SUCCESS;
             rc = client.manager(DAT_IDENTITY, MSG_GETNEXT, &id))
            names.push_back(id.ProductName);
        EXPECT_EQ(names, (std::vector<std::string>{"test:0", "test:1"}));
        EXPECT_EQ(client.manager(DAT_IDENTITY, MSG_GETNEXT, &id), TWRC_ENDOFLIST);
        ASSERT_EQ(client.manager(DAT_IDENTITY, MSG_GETDEFAULT, &id), TWRC_SUCCESS);
        EXPECT_STREQ(id.ProductName, "test:0");
        EXPECT_EQ(client.manager(DAT_PARENT, MSG_CLOSEDSM, &parent), TWRC_SUCCESS);
        client.unload();
        EXPECT_TRUE(startSquarePage(50, 1.0, "test:1"));
        EXPECT_EQ(client.memoryPage().rc, TWRC_XFERDONE);
        EXPECT_EQ(finishPage(), 0);
        // sane_exit has run and nothing of the manager or SANE stays behind.
        EXPECT_FALSE(loaded(LUMIPAGE_TWAINDSM));
        EXPECT_FALSE(loaded(LUMIPAGE_SANE_BACKENDS "/libsane-test.so.1"));
    }
}

TEST_F(SourceManagerClient, EveryCapabilityOfferedIsReadSetAndReset) {
    client.open();
    Values supported;
    ASSERT_EQ(client.get(CAP_SUPPORTEDCAPS, MSG_GET, supported), TWRC_SUCCESS);
    ASSERT_EQ(supported.kind, TWON_ARRAY);
    // The ones the program uses are all there.
    auto offered = [&supported](TW_UINT16 id) {
        return std::find(supported.items.begin(), supported.items.end(), double(id)) != supported.items.end();
    };
    // The test backend has no brightness option: it is not offered.
    EXPECT_FALSE(offered(ICAP_BRIGHTNESS));
    for (TW_UINT16 id : {ICAP_UNITS, ICAP_PHYSICALWIDTH, ICAP_PHYSICALHEIGHT, ICAP_XRESOLUTION, ICAP_YRESOLUTION,
                         ICAP_BITDEPTHREDUCTION, ICAP_PIXELTYPE, ICAP_BITDEPTH, ICAP_THRESHOLD,
                         ICAP_XSCALING, ICAP_YSCALING, CAP_FEEDERENABLED, CAP_AUTOFEED, CAP_INDICATORS, ICAP_XFERMECH})
        EXPECT_TRUE(offered(id)) << std::hex << id;
    for (double listed : supported.items) {
        const auto id = TW_UINT16(listed);
        Values get, current, byDefault, reset;
        EXPECT_EQ(client.get(id, MSG_GET, get), TWRC_SUCCESS) << std::hex << id;
        EXPECT_EQ(client.get(id, MSG_GETCURRENT, current), TWRC_SUCCESS) << std::hex << id;
        EXPECT_EQ(client.get(id, MSG_GETDEFAULT, byDefault), TWRC_SUCCESS) << std::hex << id;
        EXPECT_EQ(client.get(id, MSG_RESET, reset), TWRC_SUCCESS) << std::hex << id;
        EXPECT_FALSE(get.items.empty() && get.kind != TWON_RANGE) << std::hex << id;
    }
    // What the source cannot do is said so.
    Values none;
    EXPECT_EQ(client.get(ICAP_HALFTONES, MSG_GET, none), TWRC_FAILURE);
    EXPECT_EQ(client.condition(), TWCC_BADCAP);
    EXPECT_EQ(client.set(ICAP_PHYSICALWIDTH, TWTY_FIX32, 1), TWRC_FAILURE);
    EXPECT_EQ(client.condition(), TWCC_CAPBADOPERATION);

    // Set, the default unchanged, reset: back to the default.
    struct Case {
        TW_UINT16 id, type;
        double value;
    };
    const Case cases[] = {{ICAP_XRESOLUTION, TWTY_FIX32, 150}, {ICAP_YRESOLUTION, TWTY_FIX32, 200},
                          {ICAP_THRESHOLD, TWTY_FIX32, 60},
                          {ICAP_PIXELTYPE, TWTY_UINT16, TWPT_GRAY}, {CAP_FEEDERENABLED, TWTY_BOOL, 1},
                          {CAP_AUTOFEED, TWTY_BOOL, 0},        {CAP_XFERCOUNT, TWTY_INT16, 3},
                          {CAP_INDICATORS, TWTY_BOOL, 0},      {ICAP_XFERMECH, TWTY_UINT16, TWSX_MEMORY}};
    for (const Case& c : cases) {
        Values before;
        ASSERT_EQ(client.get(c.id, MSG_GETDEFAULT, before), TWRC_SUCCESS) << std::hex << c.id;
        const double defaultValue = before.now();
        EXPECT_NE(defaultValue, c.value) << std::hex << c.id;  // a change that shows
        EXPECT_EQ(client.set(c.id, c.type, c.value), TWRC_SUCCESS) << std::hex << c.id;
        EXPECT_NEAR(client.current(c.id), c.value, 1) << std::hex << c.id;
        Values after;
        ASSERT_EQ(client.get(c.id, MSG_GETDEFAULT, after), TWRC_SUCCESS);
        EXPECT_EQ(after.now(), defaultValue) << std::hex << c.id;
        Values reset;
        ASSERT_EQ(client.get(c.id, MSG_RESET, reset), TWRC_SUCCESS);
        EXPECT_NEAR(reset.now(), defaultValue, 1) << std::hex << c.id;
        EXPECT_NEAR(client.current(c.id), defaultValue, 1) << std::hex << c.id;
    }
    // The depth follows the pixel type.
    EXPECT_EQ(client.set(ICAP_PIXELTYPE, TWTY_UINT16, TWPT_GRAY), TWRC_SUCCESS);
    EXPECT_EQ(client.current(ICAP_BITDEPTH), 8);
    EXPECT_EQ(client.set(ICAP_PIXELTYPE, TWTY_UINT16, TWPT_BW), TWRC_SUCCESS);
    EXPECT_EQ(client.current(ICAP_BITDEPTH), 1);
    client.close();
}

// A native transfer hands over a bitmap; written out as a BMP file, netpbm
// reads the same page the memory transfer gave.
TEST_F(SourceManagerClient, NativeAndMemoryTransfersGiveTheSamePage) {
    client.open();
    ASSERT_EQ(client.set(ICAP_XRESOLUTION, TWTY_FIX32, 100), TWRC_SUCCESS);
    client.frame(1.0, 0.8);
    ASSERT_TRUE(client.enable());
    const Client::Page memory = client.memoryPage();
    ASSERT_EQ(memory.rc, TWRC_XFERDONE);
    EXPECT_EQ(memory.bits, 1);
    EXPECT_NEAR(memory.rows, 80, 2);  // 0.8 inch at 100 dpi, as the backend rounds its millimetres
    EXPECT_EQ(client.endTransfer(), 0);
    client.disable();

    ASSERT_EQ(client.set(ICAP_XFERMECH, TWTY_UINT16, TWSX_NATIVE), TWRC_SUCCESS);
    ASSERT_TRUE(client.enable());
    TW_HANDLE bitmap = nullptr;
    ASSERT_EQ(client.source(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &bitmap), TWRC_XFERDONE);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(client.endTransfer(), 0);
    client.disable();
    client.close();

    // The handle holds a BITMAPINFOHEADER, two colours and the rows.
    const auto* dib = static_cast<const uint8_t*>(bitmap);
    uint32_t imageSize;
    std::memcpy(&imageSize, dib + 20, 4);
    const std::string bmp = test::tempFolder() + "/native.bmp";
    {
        std::ofstream out(bmp, std::ios::binary);
        const uint32_t offset = 14 + 40 + 8, size = offset + imageSize;
        const uint8_t fileHeader[14] = {'B', 'M', uint8_t(size), uint8_t(size >> 8), uint8_t(size >> 16), 0, 0, 0, 0, 0,
                                        uint8_t(offset), 0, 0, 0};
        out.write(reinterpret_cast<const char*>(fileHeader), 14);
        out.write(static_cast<const char*>(bitmap), std::streamsize(40 + 8 + imageSize));
    }
    std::free(bitmap);
    EXPECT_EQ(test::runCommand("bmptopnm '" + bmp + "' > '" + bmp + ".pbm' 2>/dev/null"), 0);
    PageRaster native;
    ASSERT_TRUE(test::readPbm(bmp + ".pbm", native));
    ASSERT_EQ(native.width, memory.width);
    ASSERT_EQ(native.height, memory.rows);
    int ink = 0;
    for (int y = 0; y < native.height; ++y) {
        for (uint32_t i = 0; i < native.bytesPerRow; ++i) {
            // TWAIN's bilevel rows have 0 for black, PBM 1.
            const uint8_t twain = uint8_t(~memory.data[size_t(y) * memory.bytesPerRow + i]);
            const int pad = i + 1 == native.bytesPerRow && native.width % 8 ? 8 - native.width % 8 : 0;
            const uint8_t mask = uint8_t(0xff << pad);
            ASSERT_EQ(native.row(y)[i] & mask, twain & mask) << "row " << y << " byte " << i;
            ink += __builtin_popcount(twain & mask);
        }
    }
    EXPECT_GT(ink, native.width * native.height / 4);  // the grid
    const std::string resolution = test::tempFolder() + "/resolution";
    EXPECT_EQ(test::runCommand("identify -units PixelsPerInch -format '%x' '" + bmp + "' > '" + resolution + "'"), 0);
    std::string dpi;
    std::ifstream(resolution) >> dpi;
    EXPECT_EQ(dpi.substr(0, 3), "100") << dpi;
}

TEST_F(SourceManagerClient, TheFeederFollowsTransferCountAndAutoFeed) {
    auto pages = [this](int count, bool autoFeed) {
        client.open();
        EXPECT_EQ(client.set(CAP_FEEDERENABLED, TWTY_BOOL, 1), TWRC_SUCCESS);
        EXPECT_EQ(client.current(CAP_FEEDERENABLED), 1);
        EXPECT_EQ(client.set(CAP_XFERCOUNT, TWTY_INT16, count), TWRC_SUCCESS);
        EXPECT_EQ(client.set(CAP_AUTOFEED, TWTY_BOOL, autoFeed), TWRC_SUCCESS);
        EXPECT_EQ(client.set(ICAP_XRESOLUTION, TWTY_FIX32, 25), TWRC_SUCCESS);
        client.frame(0.5, 0.5);
        int taken = 0;
        if (client.enable()) {
            for (TW_UINT16 pending = 1; pending != 0; pending = client.endTransfer()) {
                EXPECT_EQ(client.memoryPage().rc, TWRC_XFERDONE);
                ++taken;
                if (taken > 20) break;
            }
        }
        client.disable();
        client.close();
        return taken;
    };
    EXPECT_EQ(pages(3, true), 3);
    EXPECT_EQ(pages(1, true), 1);
    EXPECT_EQ(pages(-1, false), 1);  // each sheet waits to be fed
    EXPECT_EQ(pages(-1, true), 10);  // the test backend's feeder holds ten sheets
}

// A device error during the read reaches the application as its TWAIN
// condition; the manager is unloaded and loaded again between the cases.
TEST_F(SourceManagerClient, DeviceStatusesArriveAsConditionCodes) {
    const std::map<std::string, TW_UINT16> expected{{"SANE_STATUS_JAMMED", TWCC_PAPERJAM},
                                                    {"SANE_STATUS_NO_DOCS", TWCC_NOMEDIA},
                                                    {"SANE_STATUS_COVER_OPEN", TWCC_INTERLOCK},
                                                    {"SANE_STATUS_DEVICE_BUSY", TWCC_DEVICEBUSY},
                                                    {"SANE_STATUS_IO_ERROR", TWCC_CHECKDEVICEONLINE}};
    for (const auto& [status, condition] : expected) {
        configure("read-status-code \"" + status + "\"\n");
        for (TW_UINT16 mechanism : {TWSX_MEMORY, TWSX_NATIVE}) {
            client.open();
            ASSERT_EQ(client.set(ICAP_XFERMECH, TWTY_UINT16, mechanism), TWRC_SUCCESS);
            ASSERT_TRUE(client.enable()) << status;
            if (mechanism == TWSX_MEMORY) {
                EXPECT_EQ(client.memoryPage().rc, TWRC_FAILURE) << status;
            } else {
                TW_HANDLE bitmap = nullptr;
                EXPECT_EQ(client.source(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &bitmap), TWRC_FAILURE) << status;
                EXPECT_EQ(bitmap, nullptr);
            }
            EXPECT_EQ(client.condition(), condition) << status;
            EXPECT_EQ(client.endTransfer(), 0);
            client.disable();
            client.close();
        }
    }
}

// A hand scanner does not know the length: the page ends with its data.
// Reads of a byte at a time, and three-pass colour off, change nothing.
TEST_F(SourceManagerClient, UnknownLengthsAndSmallReadsGiveWholePages) {
    auto scan = [this](const std::string& extra, TW_INT32* length) {
        configure(extra);
        EXPECT_TRUE(startSquarePage(50, 1.0));
        *length = imageLength();
        const Client::Page page = client.memoryPage();
        EXPECT_EQ(page.rc, TWRC_XFERDONE) << extra;
        finishPage();
        return page;
    };
    TW_INT32 length = 0;
    const Client::Page plain = scan("", &length);
    EXPECT_NEAR(length, 50, 1);
    EXPECT_EQ(plain.rows, length);
    const Client::Page small = scan("read-limit true\nread-limit-size 1\nthree-pass false\n", &length);
    // The whole bytes of every row agree; the row's last, partial byte is
    // left out: SANE's test backend fills its last pixels differently when
    // it is read a byte at a time.
    ASSERT_EQ(small.data.size(), plain.data.size());
    for (size_t i = 0; i < plain.data.size(); ++i) {
        if ((i + 1) % plain.bytesPerRow != 0) {
            ASSERT_EQ(small.data[i], plain.data[i]) << "byte " << i;
        }
    }
    const Client::Page hand = scan("hand-scanner true\n", &length);
    EXPECT_EQ(length, -1);
    EXPECT_GT(hand.rows, 0);
    EXPECT_EQ(hand.data.size(), size_t(hand.rows) * hand.bytesPerRow);
}

// While a page is read (here slowly, in bursts), the program may still
// ask for capabilities: they are answered between the reader's reads (the
// resolution is the frame's, as the backend refuses its options while it
// scans), and the page arrives whole.
TEST_F(SourceManagerClient, CapabilitiesAreAnsweredWhileAPageIsRead) {
    configure("read-delay true\nread-delay-duration 20000\n");
    ASSERT_TRUE(startSquarePage(100, 2.0));
    const TW_INT32 length = imageLength();
    int asked = 0;
    const Client::Page page = client.memoryPage([&] {
        ++asked;
        EXPECT_EQ(client.current(ICAP_XRESOLUTION), 100);
        Values layout;
        EXPECT_EQ(client.get(ICAP_PHYSICALWIDTH, MSG_GET, layout), TWRC_SUCCESS);
    });
    EXPECT_EQ(page.rc, TWRC_XFERDONE);
    EXPECT_GT(asked, 0);
    EXPECT_GT(page.rows, 0);
    if (length >= 0) {
        EXPECT_EQ(page.rows, length);
    }
    finishPage();
}

}  // namespace
}  // namespace lumipage
