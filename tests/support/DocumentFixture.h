#pragma once
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "base/Settings.h"
#include "document/CLP98Doc.h"
#include "document/DocumentObserver.h"
#include "document/FilePageCounter.h"
#include "document/OpenFileTable.h"
#include "image/PageRaster.h"
#include "support/RecordingMessages.h"

namespace lumipage::test {

// Remembers what the document told the rest of the program.
class RecordingObserver : public DocumentObserver {
public:
    std::vector<std::string> recentAdded, recentRemoved, left, scans;
    int indexChanges = 0;
    void pathLeftList(const std::string& p) override { left.push_back(p); }
    void indexChanged() override { ++indexChanges; }
    void addRecentFile(const std::string& p) override { recentAdded.push_back(p); }
    void removeRecentFile(const std::string& p) override { recentRemoved.push_back(p); }
    void scanNewFile(const std::string& p) override { scans.push_back(p); }
};

// A page list, its document and the settings they use, over real files in a fresh folder.
struct DocumentFixture {
    std::string dir;
    RecordingMessages messages;
    RecordingObserver observer;
    Settings settings;
    StartupRequest startup;
    FilePageCounter counter{messages};
    OpenFileTable table{counter, &observer};
    CLP98Doc doc{table, settings, startup, messages, &observer};

    DocumentFixture();
    // Page files written by the program's own writers.
    std::string writeMH(const std::string& name, const std::vector<const PageRaster*>& pages, int32_t coding = 1,
                        const std::string& titleCp932 = {});
    std::string writeFax(const std::string& name, const PageRaster& page);
    void writeText(const std::string& name, const std::string& bytes);
    std::string readText(const std::string& name) const;
};

}  // namespace lumipage::test
