// The window's page file commands: saving the current page, converting
// pages into other files, deleting the files behind pages, editing the
// current page's file, and saving the page list as an index file.
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>

#include "app/CommandLine.h"
#include "base/CommandIds.h"
#include "comments/CommentFile.h"
#include "base/Settings.h"
#include "document/CLP98Doc.h"
#include "document/IndexFile.h"
#include "document/IndexState.h"
#include "document/MarkCounts.h"
#include "document/OpenFileTable.h"
#include "document/PageFileOperations.h"
#include "gui/dialogs/BookOptionsDialog.h"
#include "app/CoreSession.h"
#include "gui/CMainFrame.h"
#include "gui/dialogs/ConversionDoneDialog.h"
#include "gui/dialogs/ConversionProgressDialog.h"
#include "gui/dialogs/SaveTargetDialog.h"
#include "platform/DesktopFileEditor.h"
#include "platform/FileSystem.h"

namespace lumipage {

namespace {

using namespace command;

constexpr const char* kSaveAsTitle = "名前を付けて保存";
constexpr const char* kConvertTitle = "ファイル変換（出力ファイル）";
// Both offer PDF too, a target only (the program does not open PDF files).
constexpr const char* kSaveFilters =
    "TIFF Files(*.TIF)|*.TIF;*.TIFF|BMP Files(*.BMP)|*.BMP|MHV Files(*.MH*)|*.MH;*.MH?;*.BW;*.BW?|"
    "PDF Files(*.PDF)|*.PDF|All Data "
    "Files|*.TIF;*.TIFF;*.BMP;*.MH;*.MH?;*.BW;*.BW?;*.FAX|All Files(*.*)|*.*||";
constexpr const char* kConvertFilters =
    "TIFF Files(*.TIF)|*.TIF;*.TIFF|BMP Files(*.BMP)|*.BMP|MHV Files(*.MH*)|*.MH;*.MH?;*.BW;*.BW?|Book "
    "Files(*.LPB)|*.LPB|PDF Files(*.PDF)|*.PDF|All Data Files|*.LPB;*.TIF;*.TIFF;*.BMP;*.MH;*.MH?;*.BW;*.BW?;*.FAX|All Files(*.*)|*.*||";
// The all-data pattern ".MH*" lacks its star; "*.MH*" is meant.
constexpr const char* kIndexFilters =
    "Index Files(*.LPX)|*.LPX|All Data Files|*.LPX;*.TIF;*.BMP*;*.MH*;*.BW*;*.FAX|All Files(*.*)|*.*||";

std::optional<DeleteScope> deleteScope(int id) {
    switch (id) {
        case kDeleteSentFiles: return DeleteScope::Sent;
        case kDeletePrintedFiles: return DeleteScope::Printed;
        case kDeleteCurrentFile: return DeleteScope::Current;
        case kDeleteSelectedFiles: return DeleteScope::Selected;
        case kDeleteAllFiles: return DeleteScope::All;
        default: return std::nullopt;
    }
}

// Asking the desktop for an editing program starts helper processes: the
// answer is looked up once per file, not at every menu update.
class RememberingFileEditor : public FileEditor {
public:
    bool knowsProgramFor(const std::string& path) override {
        auto found = known_.find(path);
        if (found == known_.end()) found = known_.emplace(path, desktop_.knowsProgramFor(path)).first;
        return found->second;
    }
    bool editAndWait(const std::string& path) override { return desktop_.editAndWait(path); }

private:
    DesktopFileEditor desktop_{[] { QApplication::processEvents(); }};
    std::map<std::string, bool> known_;
};

OverwritePolicy* overwriteFor(const SaveChoice& choice, std::optional<FixedOverwritePolicy>& holder) {
    holder.emplace(OverwriteOptions{choice.overwrite, choice.overwriteReadOnly});
    return &*holder;
}

}  // namespace

PageFileOperations& CMainFrame::pageFiles() const { return session_->pageFiles(); }

std::unique_ptr<FileEditor> CMainFrame::makeFileEditor() { return std::make_unique<RememberingFileEditor>(); }

void CMainFrame::addPageFileHandlers() {
    router().setHandler(kSaveIndex, [this] { saveIndexFile(); });
    router().setHandler(kSaveCurrentFile, [this] { saveCurrentPageFile(); });
    router().setHandler(kConvertSelected, [this] { convertPageFiles(true); });
    router().setHandler(kConvertAll, [this] { convertPageFiles(false); });
    router().setHandler(kEditCurrentFile, [this] { editCurrentPageFile(); });
    for (const int id :
         {kDeleteSentFiles, kDeletePrintedFiles, kDeleteCurrentFile, kDeleteSelectedFiles, kDeleteAllFiles})
        router().setHandler(id, [this, id] {
            moveMouseToCentre();
            pageFiles().deleteFiles(*deleteScope(id));
        });
}

std::optional<SaveChoice> CMainFrame::askSaveTarget(const SaveTargetDialog::Shape& shape, const SaveChoice& initial,
                                                    bool commonDialog) {
    if (commonDialog) {
        QFileDialog dialog(this, shape.title, QString::fromStdString(initial.path));
        dialog.setObjectName("commonSaveDialog");
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setNameFilters(shape.filters);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
        SaveChoice choice = initial;
        choice.path = dialog.selectedFiles().first().toStdString();
        // The standard dialog asked before replacing a file; read-only files stay.
        choice.overwrite = true;
        choice.overwriteReadOnly = false;
        return choice;
    }
    SaveTargetDialog dialog(shape, initial, this);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.choice();
}

void CMainFrame::saveCurrentPageFile() {
    SaveChoice initial = saveOptions_;
    const std::string folder = saveOptions_.path.empty() ? settings_.savePath : files::folderOf(saveOptions_.path);
    initial.path = files::joinPath(folder, files::fileNameOf(document_.path()));
    const SaveTargetDialog::Shape shape{kSaveAsTitle, qtFilters(kSaveFilters), false, true};
    const auto choice = askSaveTarget(shape, initial, settings_.useCommonDialog != 0);
    if (!choice) return;
    keepSaveOptions(*choice);
    std::optional<FixedOverwritePolicy> overwrite;
    pageFiles().saveCurrentPage(choice->path, *overwriteFor(*choice, overwrite), choice->copyComments);
}

void CMainFrame::keepSaveOptions(const SaveChoice& choice) {
    // The one-file option is not offered here and stays as the conversions left it.
    const bool oneFile = saveOptions_.oneFile;
    saveOptions_ = choice;
    saveOptions_.oneFile = oneFile;
}

void CMainFrame::convertPageFiles(bool selectedOnly) {
    SaveChoice initial = saveOptions_;
    if (initial.path.empty()) initial.path = files::joinPath(settings_.savePath, "");
    const SaveTargetDialog::Shape shape{kConvertTitle, qtFilters(kConvertFilters), true, true};
    const auto choice = askSaveTarget(shape, initial, settings_.useCommonDialog != 0);
    if (!choice) return;
    saveOptions_ = *choice;
    ConvertOptions options;
    options.oneFile = choice->oneFile;
    options.copyComments = choice->copyComments;
    options.firstNumber = conversionFirstNumber(startup_);
    options.pageStartPosition = settings_.pageStartPosition;
    TargetProblem problem = TargetProblem::None;
    const auto target = parseSaveTarget(choice->path, problem);
    if (target && target->type == FileTypeCode::Book) {
        const MarkCounts counts = MarkCounts::of(table_.words());
        BookOptionsDialog book(settings_.pageStartPosition, bookInformationText(), table_.totalPages(),
                               counts.selected, this);
        if (book.exec() != QDialog::Accepted) return;
        options.oneFile = true;
        options.pageStartPosition = book.pageStartPosition();
        options.bookInformation = book.information();
    }
    std::optional<FixedOverwritePolicy> overwrite;
    ConversionProgressDialog progress(this);
    const ConversionResult result =
        pageFiles().convertPages(selectedOnly, choice->path, options, *overwriteFor(*choice, overwrite), progress);
    progress.hide();
    refresh();
    if (result.pagesWritten > 0) offerAfterConversion(result);
}

// A book takes the comment of the index file in use as its information.
std::string CMainFrame::bookInformationText() const {
    const IndexState& index = table_.index();
    if (!index.inUse) return {};
    return CommentFile::read(index.path, 0).value_or(std::string{});
}

void CMainFrame::offerAfterConversion(const ConversionResult& result) {
    ConversionDoneDialog done(result.pagesWritten, static_cast<int>(result.files.size()), this);
    done.exec();
    if (done.deleteSources()) pageFiles().deleteMarked(DeleteScope::All);
    if (done.openWritten()) pageFiles().openWritten(result);
}

void CMainFrame::editCurrentPageFile() {
    pageFiles();
    pageFiles().editCurrent(session_->fileEditor());
}

void CMainFrame::saveIndexFile() {
    IndexFile& index = document_.index();
    const IndexState& state = table_.index();
    SaveChoice initial;
    initial.path = index.suggestedName();
    initial.overwrite = state.inUse && !state.writeProtected;
    const SaveTargetDialog::Shape shape{kSaveAsTitle, qtFilters(kIndexFilters), false, false};
    const auto choice = askSaveTarget(shape, initial, settings_.useCommonDialog != 0);
    if (!choice) return;
    std::string path = choice->path;
    if (QFileInfo(QString::fromStdString(path)).suffix().isEmpty()) path += ".LPX";
    std::optional<FixedOverwritePolicy> overwrite;
    if (!mayWriteTarget(path, *overwriteFor(*choice, overwrite))) return;
    index.saveAs(path);
    refresh();
}

}  // namespace lumipage
