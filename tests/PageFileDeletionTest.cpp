// Deleting files by mark with their comment files, and editing the current
// page's file in another program.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>

#include "base/FileEditor.h"
#include "document/PageFileOperations.h"
#include "platform/DesktopFileEditor.h"
#include "platform/FileSystem.h"
#include "support/DocumentFixture.h"
#include "support/TestImages.h"

namespace lumipage {
namespace {

class FakeEditor : public FileEditor {
public:
    bool known = true;
    std::function<void(const std::string&)> edit;
    std::vector<std::string> edited;
    bool knowsProgramFor(const std::string&) override { return known; }
    bool editAndWait(const std::string& path) override {
        edited.push_back(path);
        if (edit) edit(path);
        return true;
    }
};

struct Deletion : test::DocumentFixture, ::testing::Test {
    PageRaster page = test::makePage(test::Pattern::Text, 96, 40, 1);
    PageRaster fax = test::makePage(test::Pattern::Text, 1728, 2290, 2);
    PageFileOperations ops{doc, settings, messages, &observer};
    std::string three, one, two;

    Deletion() {
        three = writeMH("three.MH", {&page, &page, &page});
        one = writeFax("one.FAX", fax);
        two = writeMH("two.MH", {&page, &page});
        for (const char* name : {"three.MH.()", "one.FAX.()", "two.MH.()"}) writeText(name, "note\r\n");
        EXPECT_TRUE(table.append(three) && table.append(one) && table.append(two));
        EXPECT_TRUE(doc.goToPage(1));
    }
    bool gone(const std::string& path) { return !files::exists(path) && !files::exists(path + ".()"); }
};

TEST_F(Deletion, OnlyFilesWhosePagesAreAllMarkedGo) {
    FakeEditor editor;
    EXPECT_FALSE(ops.enabled(PageFileCommand::DeleteSent, editor));
    EXPECT_FALSE(ops.enabled(PageFileCommand::ConvertSelected, editor));
    for (const int sent : {1, 2, 4, 5, 6}) table.setMarks(sent, PageWord::kSent, PageWord::kSendMarks);
    EXPECT_TRUE(ops.enabled(PageFileCommand::DeleteSent, editor));
    EXPECT_FALSE(ops.enabled(PageFileCommand::DeletePrinted, editor));
    messages.answer = false;
    EXPECT_EQ(ops.deleteFiles(DeleteScope::Sent), 0);
    EXPECT_EQ(messages.last(), "送信済ファイルを削除します。\nよろしいですか？");
    EXPECT_TRUE(files::exists(one));

    messages.answer = true;
    EXPECT_EQ(ops.deleteFiles(DeleteScope::Sent), 2);
    EXPECT_TRUE(gone(one));
    EXPECT_TRUE(gone(two));
    // Two of its three pages were sent: it stays, comment and all.
    EXPECT_TRUE(files::exists(three) && files::exists(three + ".()"));
    ASSERT_EQ(table.fileCount(), 1);
    EXPECT_EQ(table.entry(1).path, three);
    EXPECT_EQ(doc.path(), three);
}

TEST_F(Deletion, TheCurrentFileAndEveryFile) {
    ASSERT_TRUE(doc.goToPage(4));
    EXPECT_EQ(ops.deleteFiles(DeleteScope::Current), 1);
    EXPECT_EQ(messages.last(), one + " を削除します。\nよろしいですか？");
    EXPECT_TRUE(gone(one));
    EXPECT_EQ(table.fileCount(), 2);
    EXPECT_TRUE(doc.isLoaded());
    EXPECT_NE(doc.path(), one);

    EXPECT_EQ(ops.deleteFiles(DeleteScope::All), 2);
    EXPECT_TRUE(gone(three) && gone(two));
    EXPECT_TRUE(table.empty());
    EXPECT_FALSE(doc.isLoaded());
}

TEST_F(Deletion, AFileThatCannotBeDeletedStaysOpen) {
    // A folder in its place cannot be removed as a file.
    table.selectAll(true);
    const std::string stuck = dir + "/stuck.MH";
    writeMH("stuck.MH", {&page});
    ASSERT_TRUE(table.append(stuck));
    table.select(7, true);
    files::removeFile(stuck);
    std::filesystem::create_directories(stuck + "/inside");
    EXPECT_EQ(ops.deleteFiles(DeleteScope::Selected), 3);
    ASSERT_EQ(table.fileCount(), 1);
    EXPECT_EQ(table.entry(1).path, stuck);
}

TEST_F(Deletion, EditingShowsTheChangedFileOrClosesARemovedOne) {
    FakeEditor editor;
    EXPECT_FALSE(ops.canEditCurrent(editor));  // three pages
    ASSERT_TRUE(doc.goToPage(4));
    editor.known = false;
    EXPECT_FALSE(ops.canEditCurrent(editor));
    editor.known = true;
    ASSERT_TRUE(ops.canEditCurrent(editor));

    const PageRaster other = test::makePage(test::Pattern::Text, 1728, 2290, 9);
    editor.edit = [&](const std::string&) {
        EXPECT_TRUE(ops.editing());
        writeFax("one.FAX.new", other);
        std::filesystem::rename(one + ".new", one);
        std::filesystem::last_write_time(one, std::filesystem::last_write_time(one) + std::chrono::seconds(2));
    };
    ASSERT_TRUE(ops.editCurrent(editor));
    EXPECT_EQ(editor.edited, std::vector<std::string>{one});
    EXPECT_EQ(test::firstDifferentRow(doc.raster(), other), -1);

    editor.edit = [&](const std::string& path) { files::removeFile(path); };
    ASSERT_TRUE(ops.editCurrent(editor));
    EXPECT_EQ(table.find(one), 0);
    EXPECT_EQ(table.fileCount(), 2);
}

TEST(DesktopFileEditor, ExecLinesBecomeArguments) {
    using V = std::vector<std::string>;
    const std::string p = "/home/u/My Scans/page 1.tif";
    EXPECT_EQ(DesktopFileEditor::execArguments("gimp-2.10 %U", p), (V{"gimp-2.10", p}));
    EXPECT_EQ(DesktopFileEditor::execArguments("\"/opt/Paint Box/bin/paint\" --edit %f", p),
              (V{"/opt/Paint Box/bin/paint", "--edit", p}));
    EXPECT_EQ(DesktopFileEditor::execArguments("viewer %i --name=%c %k", p), (V{"viewer", "--name=", p}));
    EXPECT_EQ(DesktopFileEditor::execArguments("draw --scale=50%%", p), (V{"draw", "--scale=50%", p}));
    EXPECT_EQ(DesktopFileEditor::execArguments("sh -c \"echo \\\"a b\\\"\" %F", p), (V{"sh", "-c", "echo \"a b\"", p}));
    EXPECT_TRUE(DesktopFileEditor::execArguments("   ", p).empty());

    const char* desktop =
        "[Desktop Action New]\nExec=wrong --new\n[Desktop Entry]\r\nName=Paint\r\nExec=paint %f\r\n";
    EXPECT_EQ(DesktopFileEditor::execLineOf(desktop), "paint %f");
    EXPECT_FALSE(DesktopFileEditor::execLineOf("[Other]\nExec=x\n"));
}

}  // namespace
}  // namespace lumipage
