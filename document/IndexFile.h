#pragma once
#include <optional>
#include <set>
#include <string>
#include <string_view>

namespace lumipage {

class CLP98Doc;
class DocumentObserver;
class Messages;
class OpenFileTable;
struct Settings;
struct StartupRequest;

// Index files (.LPX): a page list stored as text, code page 932 with CR LF:
//
//   <LumipageIndex 2.1>
//   FileName:name               (when a display name is given)
//   PageStartPosition:n
//   <DataFiles>
//   path  <Page:n>  <Title:t>   (one per file; paths inside the index's folder are relative)
//   <SelectedPage>              (when pages are selected)
//   1,2,3,...                   (at most 10 per line)
//   <CurrentPage>               (the saved view state only)
//   n
//
// An index may list other index files, whose data files are merged in.
class IndexFile {
public:
    static constexpr std::string_view kMagic = "<LumipageIndex";
    static constexpr std::string_view kVersion = "2.1";
    static constexpr std::string_view kViewStateName = "LpSave.LPX";
    static constexpr int kSelectedPerLine = 10;
    static constexpr int kMaxNesting = 32;

    static constexpr const char* kNewerVersion = "このｲﾝﾃﾞｯｸｽﾌｧｲﾙを開くためは、\n新しいﾊﾞｰｼﾞｮﾝのｿﾌﾄｳｪｱが必要です";
    static constexpr const char* kBadExtension = "ファイル名（拡張子）が不正です";
    static constexpr const char* kListChanged = "\nｲﾝﾃﾞｯｸｽが変更されています、保存しますか";
    static constexpr const char* kSelectionChanged = "\n選択状態が変更されています、保存しますか";

    IndexFile(OpenFileTable& table, CLP98Doc& document, Settings& settings, const StartupRequest& startup,
              Messages& messages, DocumentObserver* observer);

    // Replacing mode closes the list first and makes this the index in use;
    // merge mode appends its data files. `page` 0 shows the stored current page.
    bool read(const std::string& path, bool merge, int page = 0);
    bool write(const std::string& path, const std::optional<std::string>& displayName, bool withCurrentPage);
    // Offers to save the index in use when the list or the selection changed.
    void savePrompt();
    void forget();

    // The index-save command: its menu text, whether it is enabled, the name it suggests, and saving.
    std::string saveCommandText() const;
    bool saveCommandEnabled() const;
    std::string suggestedName() const;
    bool saveAs(const std::string& path);

private:
    struct Reading;
    bool readFile(const std::string& path, Reading& reading);
    void readLine(std::string_view line, Reading& reading);
    void readDataFile(std::string_view line, int pages, Reading& reading);
    std::string storedPath(const std::string& path, const std::string& folder) const;

    OpenFileTable& table_;
    CLP98Doc& document_;
    Settings& settings_;
    const StartupRequest& startup_;
    Messages& messages_;
    DocumentObserver* observer_;
};

}  // namespace lumipage
