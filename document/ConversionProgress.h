#pragma once
#include <string>

namespace lumipage {

// What a conversion is doing with the page at hand.
enum class ConversionStep { Reading, Coding, Writing };

inline constexpr const char* stepText(ConversionStep step) {
    switch (step) {
        case ConversionStep::Reading: return "読込み中";
        case ConversionStep::Coding: return "変換中";
        case ConversionStep::Writing: return "書込み中";
    }
    return "";
}

// Follows a conversion of many pages: the window shows a progress dialog
// with a cancel button, batch runs print lines on a terminal. Every notice
// does nothing unless overridden.
class ConversionProgress {
public:
    virtual ~ConversionProgress() = default;
    virtual void begin(int /*pages*/, const std::string& /*target*/) {}
    // `ordinal`: 1 for the first page converted; `page`: its global number.
    virtual void step(int /*ordinal*/, int /*page*/, ConversionStep, const std::string& /*target*/) {}
    // Asked between pages; true stops the conversion there.
    virtual bool cancelled() { return false; }
    // An existing file the overwrite choices did not let be replaced.
    virtual void skipped(const std::string& /*path*/) {}
    virtual void end(int /*written*/) {}
};

}  // namespace lumipage
