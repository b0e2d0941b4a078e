#pragma once
#include <dlfcn.h>
#include <stdlib.h>

#include <string>

#include "support/TestImages.h"

namespace lumipage::test {

// Readies SANE's "test" backend behind the program's source manager.
// SANE's libraries stay loaded for the whole run, so that leaks inside them
// are recognisable (and suppressed, see lsan.supp). SANE reads
// SANE_CONFIG_DIR once per process: one folder serves every test, its
// files written afresh by each. A fresh XDG_CONFIG_HOME keeps the chosen
// source. Returns the folder, or "" with `error` set when a library could
// not be loaded. Tests that load and unload the source manager themselves
// take only the folder (saneTestConfigFolder). The test target defines LUMIPAGE_TWAINDSM and
// LUMIPAGE_SANE_BACKENDS.
inline std::string saneTestConfigFolder() {
    static const std::string folder = tempFolder();
    setenv("SANE_CONFIG_DIR", folder.c_str(), 1);
    setenv("XDG_CONFIG_HOME", tempFolder().c_str(), 1);
    return folder;
}

inline std::string useSaneTestBackend(std::string& error) {
    static void* const manager = dlopen(LUMIPAGE_TWAINDSM, RTLD_NOW | RTLD_NODELETE);
    static void* const backend = dlopen(LUMIPAGE_SANE_BACKENDS "/libsane-test.so.1", RTLD_NOW | RTLD_NODELETE);
    if (!manager || !backend) {
        const char* why = dlerror();
        error = why ? why : "SANE's libraries could not be loaded";
        return {};
    }
    return saneTestConfigFolder();
}

}  // namespace lumipage::test
