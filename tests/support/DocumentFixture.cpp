#include "support/DocumentFixture.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "image/FaxPageFileWriter.h"
#include "image/LpPageFileWriter.h"
#include "platform/File.h"
#include "support/TestImages.h"

namespace lumipage::test {

DocumentFixture::DocumentFixture() : dir(tempFolder()) {}

std::string DocumentFixture::writeMH(const std::string& name, const std::vector<const PageRaster*>& pages,
                                     int32_t coding, const std::string& titleCp932) {
    const std::string path = dir + "/" + name;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    File f;
    LpPageFileWriter w;
    PageRaster target;
    target.setSize(pages[0]->width, pages[0]->height);
    target.dpi = pages[0]->dpi;
    target.coding = coding;
    bool ok = f.open(path, File::Mode::Create) && w.begin(f, int(pages.size()), target, titleCp932);
    for (const PageRaster* p : pages) ok = ok && w.append(f, *p);
    ok = ok && w.finish(f);
    return ok ? path : std::string();
}

std::string DocumentFixture::writeFax(const std::string& name, const PageRaster& page) {
    const std::string path = dir + "/" + name;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    File f;
    FaxPageFileWriter w;
    return f.open(path, File::Mode::Create) && w.write(f, page) ? path : std::string();
}

void DocumentFixture::writeText(const std::string& name, const std::string& bytes) {
    const std::string path = dir + "/" + name;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string DocumentFixture::readText(const std::string& name) const {
    std::ifstream in(name.starts_with('/') ? name : dir + "/" + name, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

}  // namespace lumipage::test
