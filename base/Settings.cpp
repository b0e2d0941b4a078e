#include "base/Settings.h"

#include "base/SettingsStore.h"

namespace lumipage {

namespace {

struct IntKey {
    const char* section;
    const char* key;
    int Settings::*field;
};

// Every integer setting with its section and key, in the order they are read and written.
constexpr IntKey kIntKeys[] = {
    {"PaperColor", "Mode", &Settings::paperColorMode},
    {"PaperColor", "Color", &Settings::paperColor},
    {"PaperColor", "Bright", &Settings::bright},
    {"PaperColor", "Contrast", &Settings::contrast},
    {"PaperColor", "FastUpdate", &Settings::fastUpdate},
    {"PaperColor", "AdjustGamma", &Settings::adjustGamma},
    {"InkColor", "Mode", &Settings::inkColorMode},
    {"InkColor", "Color", &Settings::inkColor},
    {"Option", "PageStartPosition", &Settings::pageStartPosition},
    {"Option", "OutCode", &Settings::outCode},
    {"Option", "EnableEscKey", &Settings::enableEscKey},
    {"Option", "UseStretchBlt", &Settings::useStretchBlt},
    {"Option", "AutoMousePos", &Settings::autoMousePos},
    {"Option", "AutoScroll", &Settings::autoScroll},
    {"Option", "CatchScroll", &Settings::catchScroll},
    {"Option", "ViewCenter", &Settings::viewCenter},
    {"Option", "ViewFrameShadow", &Settings::viewFrameShadow},
    {"Option", "UseCommonDialog", &Settings::useCommonDialog},
    {"Option", "UseCommentExDlg", &Settings::useCommentExDlg},
    {"Option", "CopyFileTime", &Settings::copyFileTime},
    {"Option", "AddTitleToIndex", &Settings::addTitleToIndex},
    {"Option", "AddPageToIndex", &Settings::addPageToIndex},
    {"Option", "IgnoreBlackIsZero", &Settings::ignoreBlackIsZero},
    {"Option", "VerticalFileOpenDlg", &Settings::verticalFileOpenDlg},
    {"Option", "PreviewWideStd", &Settings::previewWideStd},
    {"Option", "SaveDialogPos", &Settings::saveDialogPos},
    {"Option", "AppDataModulePath", &Settings::appDataModulePath},
    {"Option", "LinkCommentFile", &Settings::linkCommentFile},
    {"Option", "LinkIndexCompanion", &Settings::linkIndexCompanion},
    {"Fax", "DyalType", &Settings::dyalType},
    {"Fax", "CommPort", &Settings::commPort},
    {"Fax", "BaudRate", &Settings::baudRate},
    {"Fax", "ChkSort", &Settings::chkSort},
    {"Fax", "ModemVolume", &Settings::modemVolume},
    {"Fax", "Volume", &Settings::volume},
    {"Scan", "XeroxTwain", &Settings::xeroxTwain},
};

struct OptionalKey {
    const char* section;
    const char* key;
    std::optional<std::string> Settings::*field;
};

// Written only when they hold a value; read only when present.
constexpr OptionalKey kOptionalKeys[] = {
    {"Option", "WindowSize", &Settings::windowSize},
    {"Settings", "WindowPos", &Settings::windowPos},
    {"Settings", "FileOpenDlg", &Settings::fileOpenDlg},
    {"Settings", "PaperColorDlg", &Settings::paperColorDlg},
    {"Settings", "CommentDlg", &Settings::commentDlg},
    {"Settings", "ToolBarState", &Settings::toolBarState},
};

constexpr int kOutCodeMR = 13;
constexpr int kOutCodeMH = 12;

std::string comDeviceKey(size_t i) { return "Com" + std::to_string(i + 1) + "Device"; }

}  // namespace

void Settings::load(const SettingsStore& store, const std::string& currentFolder, const std::string& dataFolder,
                    const std::function<bool(const std::string&)>& folderExists) {
    for (const auto& k : kIntKeys) this->*k.field = store.getInt(k.section, k.key, this->*k.field);
    for (const auto& k : kOptionalKeys)
        if (auto v = store.find(k.section, k.key)) this->*k.field = *v;
    // Two-dimensional MH is offered on the command line only; a stored choice reads as MH.
    if (outCode == kOutCodeMR) outCode = kOutCodeMH;

    openPath = store.getString("File", "OpenPath", currentFolder);
    if (!folderExists(openPath)) openPath = currentFolder;
    savePath = store.getString("File", "SavePath", currentFolder);
    if (!folderExists(savePath)) savePath = currentFolder;
    localId = store.getString("Fax", "LocalID", localId);
    for (size_t i = 0; i < comDevices.size(); ++i) comDevices[i] = store.getString("Fax", comDeviceKey(i), comDevices[i]);
    scanFilePath = store.getString("Scan", "FilePath", scanFilePath);
    // No stored folder, or one that is gone: scans go to the data folder.
    if (scanFilePath.empty() || !folderExists(scanFilePath)) scanFilePath = dataFolder;
    sourceManager = store.getString("Scan", "SourceManager", sourceManager);
}

void Settings::save(SettingsStore& store) const {
    store.writeString("File", "OpenPath", openPath);
    store.writeString("File", "SavePath", savePath);
    for (const auto& k : kIntKeys) store.writeInt(k.section, k.key, this->*k.field);
    for (const auto& k : kOptionalKeys)
        if (const auto& v = this->*k.field) store.writeString(k.section, k.key, *v);
    store.writeString("Fax", "LocalID", localId);
    for (size_t i = 0; i < comDevices.size(); ++i) store.writeString("Fax", comDeviceKey(i), comDevices[i]);
    store.writeString("Scan", "FilePath", scanFilePath);
    store.writeString("Scan", "SourceManager", sourceManager);
}

}  // namespace lumipage
