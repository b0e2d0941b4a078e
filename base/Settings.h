#pragma once
#include <array>
#include <functional>
#include <optional>
#include <string>

namespace lumipage {

class SettingsStore;

// Every stored setting of the program, read once at start-up and written
// back at exit; other parts read and change them in memory meanwhile.
// Colours are 0x00BBGGRR values.
struct Settings {
    // "File"
    std::string openPath;
    std::string savePath;
    // "PaperColor"
    int paperColorMode = 1;
    int paperColor = 0xFFFFFF;
    int bright = 100;
    int contrast = 100;
    int fastUpdate = 1;
    int adjustGamma = 0;
    // "InkColor"
    int inkColorMode = 1;
    int inkColor = 0;
    // "Option"
    int pageStartPosition = 1;
    int outCode = 14;
    int enableEscKey = 0;
    int useStretchBlt = 0;
    int autoMousePos = 0;
    int autoScroll = 1;
    int catchScroll = 0;
    int viewCenter = 1;
    int viewFrameShadow = 1;
    int useCommonDialog = 0;
    int useCommentExDlg = 1;
    int copyFileTime = 1;
    int addTitleToIndex = 0;
    int addPageToIndex = 1;
    int ignoreBlackIsZero = 0;
    int verticalFileOpenDlg = 0;
    int previewWideStd = 1;
    std::optional<std::string> windowSize;  // "mode:width:height"
    int saveDialogPos = 1;
    int appDataModulePath = 0;
    // The file manager's linking: a file's comment file, and an index
    // file's companion files, are copied, moved, renamed and deleted with it.
    int linkCommentFile = 1;
    int linkIndexCompanion = 0;
    // "Settings"
    std::optional<std::string> windowPos;
    std::optional<std::string> fileOpenDlg;
    std::optional<std::string> paperColorDlg;
    std::optional<std::string> commentDlg;
    // The tool bar's place (docked side, floating), as the window keeps it; an opaque text.
    std::optional<std::string> toolBarState;
    // "Fax"
    int dyalType = 'T';
    int commPort = 1;
    int baudRate = 14400;
    int chkSort = 1;
    int modemVolume = 0;
    int volume = 2;
    std::string localId;
    std::array<std::string, 4> comDevices{"/dev/ttyS0", "/dev/ttyS1", "/dev/ttyS2", "/dev/ttyS3"};
    // "Scan"
    std::string scanFilePath;
    int xeroxTwain = 1;
    std::string sourceManager = "libtwaindsm.so";

    // Reads every key; a missing key keeps its default. Folders that no
    // longer exist fall back: OpenPath and SavePath to the current folder,
    // the scan folder to the data folder.
    void load(const SettingsStore& store, const std::string& currentFolder, const std::string& dataFolder,
              const std::function<bool(const std::string&)>& folderExists);
    void save(SettingsStore& store) const;

    // The bits of the view flags: bit 0 ViewCenter, bit 1 ViewFrameShadow.
    int viewFlags() const { return (viewCenter ? 1 : 0) | (viewFrameShadow ? 2 : 0); }
    void setViewFlags(int flags) {
        viewCenter = flags & 1;
        viewFrameShadow = (flags >> 1) & 1;
    }
};

}  // namespace lumipage
