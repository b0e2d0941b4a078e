// The manual and guide book the build lays out: read back with the
// program's own readers, every page decodes and shows ink, and the contents
// entries and keywords of their comments lead to pages that show those words.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "comments/BookContents.h"
#include "comments/CommentFile.h"
#include "support/DocumentFixture.h"
#include "support/TestImages.h"

namespace lumipage {
namespace {

namespace fs = std::filesystem;

// The page texts the layout tool reports: "=== n" lines, each followed by the lines of page n.
std::map<int, std::string> readPageTexts(const std::string& path) {
    std::ifstream in(path);
    std::map<int, std::string> pages;
    std::string line;
    int page = 0;
    while (std::getline(in, line)) {
        if (line.rfind("=== ", 0) == 0) page = std::stoi(line.substr(4));
        else pages[page] += line + "\n";
    }
    return pages;
}

std::vector<std::string> chapterHeadings(const std::string& source) {
    std::ifstream in(source);
    std::vector<std::string> headings;
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("# ", 0) == 0) headings.push_back(line.substr(2));
    return headings;
}

struct ProgramBook {
    const char* book;     // under the build folder
    const char* pages;    // the layout tool's page texts
    const char* source;   // under the source folder
    const char* title;
};

class ProgramBooks : public test::DocumentFixture, public ::testing::TestWithParam<ProgramBook> {};

TEST_P(ProgramBooks, PagesDecodeAndContentsAndKeywordsLeadToTheirPages) {
    const ProgramBook& b = GetParam();
    const std::string built = std::string(LUMIPAGE_BUILD_DIR) + "/" + b.book;
    ASSERT_TRUE(fs::exists(built)) << built << " is not built";
    // A copy, since opening a book writes its comment file beside it.
    const std::string path = dir + "/" + fs::path(b.book).filename().string();
    fs::copy_file(built, path);
    const auto texts = readPageTexts(std::string(LUMIPAGE_BUILD_DIR) + "/books/" + b.pages);

    ASSERT_TRUE(doc.open(path, 1));
    ASSERT_EQ(doc.filePages(), int(texts.size()));
    ASSERT_GE(doc.filePages(), 5);
    for (int p = 1; p <= doc.filePages(); ++p) {
        ASSERT_TRUE(doc.showPage(p)) << "page " << p;
        const PageRaster& r = doc.raster();
        EXPECT_EQ(r.width, 1654);
        EXPECT_EQ(r.height, 2339);
        EXPECT_EQ(r.dpi, 200);
        size_t ink = 0;
        for (size_t i = 0; i < r.imageSize; ++i) ink += r.bits()[i] != 0;
        EXPECT_GT(ink, 1000u) << "page " << p << " is (nearly) blank";
    }
    EXPECT_TRUE(messages.said.empty()) << messages.last();

    EXPECT_EQ(CommentFile::title(path, 0), b.title);
    const auto entries = contentsEntries(path, 1, doc.filePages());
    std::vector<std::string> entryTexts;
    for (const auto& e : entries) {
        entryTexts.push_back(e.text);
        ASSERT_TRUE(texts.count(e.page)) << e;
        EXPECT_NE(texts.at(e.page).find(e.text), std::string::npos) << e << " is not on its page";
    }
    for (const auto& chapter : chapterHeadings(std::string(LUMIPAGE_SOURCE_DIR) + "/books/" + b.source))
        EXPECT_NE(std::find(entryTexts.begin(), entryTexts.end(), chapter), entryTexts.end()) << chapter;

    KeywordIndex index;
    index.addFile(path, 1, doc.filePages());
    ASSERT_GE(index.rows().size(), 5u);
    for (const auto& row : index.rows())
        for (int page : row.pages)
            EXPECT_NE(texts.at(page).find(row.keyword), std::string::npos)
                << row.keyword << " is not on page " << page;
}

INSTANTIATE_TEST_SUITE_P(Built, ProgramBooks,
                         ::testing::Values(ProgramBook{"GuideBook/Lumipage活用ガイド.LPB", "guide.pages.txt",
                                                       "guide.txt", "Lumipage活用ガイド"},
                                           ProgramBook{"Manual/LpManual.LPB", "manual.pages.txt", "manual.txt",
                                                       "Lumipageマニュアル"}),
                         [](const auto& info) { return info.index == 0 ? "GuideBook" : "Manual"; });

// Without the font the books are set in, the tool stops with a message that
// names the package to install, and writes no book of empty pages.
TEST(ProgramBookTool, MissingFontFailsNamingThePackage) {
    const std::string dir = test::tempFolder();
    {
        std::ofstream conf(dir + "/fonts.conf");
        conf << "<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n";
    }
    const std::string book = dir + "/out.LPB";
    const int status = test::runCommand("FONTCONFIG_FILE='" + dir + "/fonts.conf' ASAN_OPTIONS=detect_leaks=0 '" +
                                        LUMIPAGE_BOOKS_TOOL + "' '" + LUMIPAGE_SOURCE_DIR + "/books/guide.txt' '" +
                                        book + "' '" + dir + "/pages.txt' 2>'" + dir + "/err.txt'");
    EXPECT_NE(status, 0);
    EXPECT_FALSE(fs::exists(book));
    std::ifstream err(dir + "/err.txt");
    std::stringstream said;
    said << err.rdbuf();
    EXPECT_NE(said.str().find("fonts-noto-cjk"), std::string::npos) << said.str();
}

}  // namespace
}  // namespace lumipage
