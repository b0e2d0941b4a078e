#include "support/FakeTwainSource.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "twain/TwainContainer.h"

namespace lumipage::test {

using namespace twain;

void FakeTwainSource::fillGray(const std::vector<uint8_t>& values) {
    bitsPerPixel = 8;
    image.assign(size_t(width) * size_t(height), 0);
    for (size_t i = 0; i < image.size(); ++i) image[i] = values[(i % size_t(width)) % values.size()];
}

void FakeTwainSource::answer(uint16_t cap, uint16_t kind, TW_HANDLE container) {
    // Kept as bytes: the kind, then a copy of the container block.
    const auto* block = static_cast<const uint8_t*>(container);
    TW_UINT16 type;
    std::memcpy(&type, block, 2);
    size_t size = kind == TWON_RANGE ? sizeof(TW_RANGE) : sizeof(TW_ONEVALUE);
    if (kind == TWON_ENUMERATION || kind == TWON_ARRAY) {
        TW_UINT32 count;
        std::memcpy(&count, block + 2, 4);
        size = (kind == TWON_ENUMERATION ? 14 : 6) + size_t(count) * itemSize(type);
    }
    std::vector<uint8_t> bytes(1 + size);
    bytes[0] = uint8_t(kind);
    std::memcpy(bytes.data() + 1, block, size);
    freeContainer(container);
    containers[cap] = bytes;
}

DsmEntry FakeTwainSource::entry() {
    return [this](TW_IDENTITY*, TW_IDENTITY* destination, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data) {
        return call(destination, dg, dat, msg, data);
    };
}

uint16_t FakeTwainSource::fail() {
    condition_ = failureCondition;
    return TWRC_FAILURE;
}

uint16_t FakeTwainSource::call(TW_IDENTITY* destination, uint32_t dg, uint16_t dat, uint16_t msg, void* data) {
    char text[64];
    std::snprintf(text, sizeof text, "%s %u/%u/%04x", destination ? "src" : "dsm", unsigned(dg), unsigned(dat), unsigned(msg));
    calls.push_back(text);
    if (dat == DAT_STATUS) {
        static_cast<TW_STATUS*>(data)->ConditionCode = condition_;
        return TWRC_SUCCESS;
    }
    if (dg == DG_IMAGE && dat == DAT_IMAGEINFO) {
        auto& info = *static_cast<TW_IMAGEINFO*>(data);
        info.XResolution = info.YResolution = toFix32(dpi);
        info.ImageWidth = width;
        info.ImageLength = height;
        info.SamplesPerPixel = TW_INT16(samplesPerPixel);
        info.BitsPerPixel = TW_INT16(bitsPerPixel * samplesPerPixel);
        return TWRC_SUCCESS;
    }
    if (dg == DG_IMAGE && dat == DAT_IMAGEMEMXFER) return transfer(*static_cast<TW_IMAGEMEMXFER*>(data));
    if (dg == DG_IMAGE && dat == DAT_IMAGELAYOUT) {
        const auto& layout = *static_cast<TW_IMAGELAYOUT*>(data);
        sets.emplace_back(uint16_t(0xffff), fromFix32(layout.Frame.Right));
        return TWRC_SUCCESS;
    }
    return control(dat, msg, data);
}

uint16_t FakeTwainSource::control(uint16_t dat, uint16_t msg, void* data) {
    switch (dat) {
    case DAT_PARENT:
        if (msg == MSG_OPENDSM) {
            if (openManagerFails) return fail();
            state = 3;
        } else {
            state = 2;
        }
        return TWRC_SUCCESS;
    case DAT_IDENTITY:
        if (msg == MSG_OPENDS) {
            if (openSourceFails) return fail();
            static_cast<TW_IDENTITY*>(data)->Id = 7;
            state = 4;
        } else if (msg == MSG_CLOSEDS) {
            state = 3;
        }
        return TWRC_SUCCESS;
    case DAT_CAPABILITY: return capability(msg, *static_cast<TW_CAPABILITY*>(data));
    case DAT_USERINTERFACE:
        if (msg == MSG_ENABLEDS) {
            if (enableFails) return fail();
            state = 5;
            pagesLeft_ = pages;
        } else {
            state = 4;
        }
        return TWRC_SUCCESS;
    case DAT_EVENT: {
        auto& event = *static_cast<TW_EVENT*>(data);
        if (state == 5 && pagesLeft_ > 0) {
            event.TWMessage = MSG_XFERREADY;
            state = 6;
            row_ = strip_ = 0;
        } else {
            event.TWMessage = MSG_CLOSEDSREQ;
            if (pages == 0) condition_ = closeCondition;
        }
        return TWRC_DSEVENT;
    }
    case DAT_SETUPMEMXFER: {
        auto& setup = *static_cast<TW_SETUPMEMXFER*>(data);
        setup.Preferred = preferredBuffer ? preferredBuffer : rowsPerStrip * bytesPerRow();
        setup.MinBufSize = bytesPerRow();
        setup.MaxBufSize = setup.Preferred;
        return TWRC_SUCCESS;
    }
    case DAT_PENDINGXFERS: {
        auto& pending = *static_cast<TW_PENDINGXFERS*>(data);
        if (msg == MSG_ENDXFER) --pagesLeft_;
        if (msg == MSG_RESET) pagesLeft_ = 0;
        pending.Count = TW_UINT16(std::max(pagesLeft_, 0));
        state = pagesLeft_ > 0 ? 6 : 5;
        row_ = strip_ = 0;
        return TWRC_SUCCESS;
    }
    default: return fail();
    }
}

uint16_t FakeTwainSource::capability(uint16_t msg, TW_CAPABILITY& cap) {
    if (msg == MSG_SET) {
        if (state != 4) return fail();
        ContainerValues values;
        readContainer(cap.ConType, cap.hContainer, TWON_DONTCARE16, values);
        sets.emplace_back(cap.Cap, values.currentNumber().value_or(-1));
        return refusedSets.count(cap.Cap) ? fail() : TWRC_SUCCESS;
    }
    auto found = containers.find(cap.Cap);
    if (found == containers.end()) return fail();
    cap.ConType = found->second[0];
    void* block = std::malloc(found->second.size() - 1);
    std::memcpy(block, found->second.data() + 1, found->second.size() - 1);
    cap.hContainer = block;
    return TWRC_SUCCESS;
}

uint16_t FakeTwainSource::transfer(TW_IMAGEMEMXFER& t) {
    if (strip_++ == failAtStrip) return fail();
    const uint32_t bpr = bytesPerRow();
    const int total = height + extraRows;
    const uint32_t fit = t.Memory.Length / bpr;
    const uint32_t rows = std::min<uint32_t>({rowsPerStrip, fit, uint32_t(std::max(total - row_, 0))});
    auto* out = static_cast<uint8_t*>(t.Memory.TheMem);
    for (uint32_t r = 0; r < rows; ++r) {
        const size_t source = size_t((row_ + int(r)) % height) * bpr;
        std::memcpy(out + size_t(r) * bpr, image.data() + source, bpr);
    }
    t.BytesPerRow = bpr;
    t.Columns = uint32_t(width);
    t.Rows = rows;
    t.XOffset = 0;
    t.YOffset = stripsNumberedFromZero ? 0 : uint32_t(row_);
    t.BytesWritten = rows * bpr;
    row_ += int(rows);
    state = 7;
    return row_ >= total ? TWRC_XFERDONE : TWRC_SUCCESS;
}

bool RecordingClient::pageDone(PageRaster& page, bool gray) {
    pages.emplace_back(page.bits(), page.bits() + size_t(page.height) * page.bytesPerRow);
    sizes.emplace_back(page.width, page.height);
    grays.push_back(gray);
    return keep;
}

}  // namespace lumipage::test
