// Settings files as a user may have edited them: any bytes. Whatever is
// read, writing it out and reading that again gives the same text, and the
// program's settings, recent files and window placements load from it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/DialogPosition.h"
#include "app/RecentFileList.h"
#include "base/Settings.h"
#include "platform/IniSettingsStore.h"
#include "app/WindowPlacement.h"
#include "fuzz/FuzzInput.h"
#include "platform/IniFile.h"

using namespace lumipage;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1 << 16)) return 0;
    IniFile first;
    first.parse(std::string(reinterpret_cast<const char*>(data), size));
    const std::string written = first.text();
    IniFile again;
    again.parse(written);
    if (again.text() != written) std::abort();

    fuzz::MemoryFile memory(data, size);
    IniSettingsStore store(memory.path());
    store.load();
    Settings settings;
    settings.load(store, "/current", "/data", [](const std::string&) { return true; });
    RecentFileList recent;
    recent.load(store);
    if (settings.windowPos) WindowPlacement::parse(*settings.windowPos);
    if (settings.paperColorDlg)
        if (const auto position = DialogPosition::parse(*settings.paperColorDlg)) position->format();
    IniSettingsStore copy("/nonexistent/never-written.ini");
    settings.save(copy);
    recent.save(copy);
    return 0;
}
