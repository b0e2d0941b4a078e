// Index file reading: the input is the index's text. Files it names are
// looked up on disk but never written (every save question is answered no).
#include <cstddef>
#include <cstdint>

#include "app/CommandLine.h"
#include "base/Settings.h"
#include "document/CLP98Doc.h"
#include "document/FilePageCounter.h"
#include "document/OpenFileTable.h"
#include "fuzz/FuzzInput.h"

using namespace lumipage;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1 << 16)) return 0;
    fuzz::MemoryFile memory(data, size);
    fuzz::SilentMessages messages;
    Settings settings;
    StartupRequest startup;
    FilePageCounter counter(messages);
    OpenFileTable table(counter);
    CLP98Doc doc(table, settings, startup, messages);
    doc.index().read(memory.path(), false, 0);
    doc.caption();
    doc.index().saveCommandText();
    doc.index().read(memory.path(), true, 0);
    doc.closeAll();
    return 0;
}
