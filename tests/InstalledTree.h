#pragma once
#include <string>
#include <vector>

namespace lumipage::test {

// Checks shared by the install and the package tests: an installed tree
// under `root` with the program in `root`/bin.
struct InstalledTree {
    std::string root;  // the prefix: bin/, lib/, share/

    std::string program() const { return root + "/bin/lumipage"; }
    std::string share(const std::string& path) const { return root + "/share/" + path; }

    // The installed files every install must hold, relative to the prefix.
    static std::vector<std::string> expectedFiles();

    // Runs the installed program's batch conversion of a 3-page TIFF into a
    // one-file TIFF and returns what failed ("" when libtiff reads the same
    // pages back).
    std::string checkBatchConversion(const std::string& work) const;

    // Scans one page through SANE's test backend with the source manager
    // the installed program finds for itself, and returns what failed ("" when
    // the page file arrived holding the backend's picture).
    std::string checkScan() const;
};

}  // namespace lumipage::test
