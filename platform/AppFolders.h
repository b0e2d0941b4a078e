#pragma once
#include <string>

namespace lumipage {

// The folders the program works with, found once at start-up. On Linux the
// "Windows folder" of the program's tradition (which keeps the saved view
// state) is the user's configuration folder for Quor programs.
struct AppFolders {
    std::string programFile;    // this program's executable
    std::string programFolder;  // its folder: initial data files
    // The program's books and auto-open files: share/lumipage beside an
    // installed program's bin folder; empty when they sit beside the program
    // itself, as in the build tree.
    std::string sharedFolder;
    std::string windowsFolder;  // $XDG_CONFIG_HOME/Quor
    std::string dataFolder;     // $XDG_DATA_HOME/Quor/Lumipage
    std::string faxWorkFolder;  // $TMPDIR/LpFax
    std::string currentFolder;  // the working folder at start
    std::string dataHome;       // $XDG_DATA_HOME: where desktop entries and MIME types are installed

    // Looks everything up from the environment; creates nothing.
    static AppFolders find();

    // The folder of the manual, the guide book and the auto-open files.
    const std::string& bookFolder() const { return sharedFolder.empty() ? programFolder : sharedFolder; }
    // share/lumipage of the prefix a program in `programFolder` (its bin
    // folder) was installed into; empty when there is none.
    static std::string installedShareOf(const std::string& programFolder);

    // The settings file: the default store, or the INI store of -USEINI
    // (beside the program when that folder is writable).
    std::string defaultStorePath() const { return windowsFolder + "/Lumipage.conf"; }
    std::string iniStorePath() const;
};


}  // namespace lumipage
