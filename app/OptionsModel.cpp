#include "app/OptionsModel.h"

#include <algorithm>
#include <cctype>

#include "base/Settings.h"

namespace lumipage {

namespace options {

namespace {

constexpr Radio kPageStartPositions[] = {
    {1165, "前頁と同じ", 0}, {1177, "上端", 1}, {1163, "左上端", 2}, {1164, "右上端", 3}};
constexpr int kDefaultPageStartPosition = 1;

constexpr int kOutCodeMH = 12;
constexpr int kOutCodeMR = 13;
constexpr int kOutCodeG4 = 14;
// Two-dimensional MH has no choice of its own here: it is shown, and kept, as MH.
constexpr Radio kOutCodes[] = {{1142, "圧縮無し", 10}, {1143, "CCITT G3(MH)", kOutCodeMH}, {1144, "CCITT G4(MMR)", kOutCodeG4}};

constexpr StartSizeRadio kStartSizes[] = {
    {1147, "前回終了時のサイズ", StartSize::AtLastExit}, {1148, "最大表示", StartSize::Maximised},
    {1149, "800 x 600", StartSize::Size800x600},      {1150, "1024 x 768 ", StartSize::Size1024x768},
    {1151, "サイズ指定", StartSize::Given}};

constexpr CheckBox kCheckBoxes[] = {
    {1146, "[ESC]キーで終了する", &Settings::enableEscKey},
    {1145, "印刷時の解像度変換をプリンタドライバ側で行う", &Settings::useStretchBlt},
    {1176, "ダイアログオープン時にマウスを中央に移動する", &Settings::autoMousePos},
    {1197, "Windows標準ダイアログを使用する", &Settings::useCommonDialog},
    {1243, "ファイル管理でコメントファイルを連動する", &Settings::linkCommentFile},
    {1244, "ファイル管理でインデックスファイルの付属ファイルを連動する", &Settings::linkIndexCompanion},
    {1256, "インデックスファイルにタイトルを書き込む", &Settings::addTitleToIndex},
    {1257, "インデックスファイルにページ数を書き込む", &Settings::addPageToIndex},
    {1321, "TIFFﾌｧｲﾙ読込時にBlackIsZeroの設定で白黒反転表示しない", &Settings::ignoreBlackIsZero},
    {kVerticalFileOpenDlg, "「開く」ダイアログを縦長表示にする", &Settings::verticalFileOpenDlg},
    {kSaveDialogPos, "モードレスダイアログの表示位置を保存する", &Settings::saveDialogPos},
    {kPreviewWideStd, "プレビューウィンドウの表示サイズを標準表示にする", &Settings::previewWideStd},
    {1346, "ファイル複写・移動時に作成日時もコピーする", &Settings::copyFileTime},
    {1486, "コメント編集ダイアログを書式設定機能付きで表示する", &Settings::useCommentExDlg},
    {1503, "XEROX TWAINドライバに対応", &Settings::xeroxTwain},
    {kAppDataModulePath, "プログラムインストールフォルダに設定データを保存する", &Settings::appDataModulePath},
};

struct FixedSize {
    StartSize size;
    int width;
    int height;
};
constexpr FixedSize kFixedSizes[] = {{StartSize::Size800x600, 800, 600}, {StartSize::Size1024x768, 1024, 768}};

const FixedSize* fixedSize(StartSize size) {
    for (const FixedSize& f : kFixedSizes)
        if (f.size == size) return &f;
    return nullptr;
}

}  // namespace

std::span<const Radio> pageStartPositions() { return kPageStartPositions; }
std::span<const Radio> outCodes() { return kOutCodes; }
std::span<const StartSizeRadio> startSizes() { return kStartSizes; }
std::span<const CheckBox> checkBoxes() { return kCheckBoxes; }

}  // namespace options

namespace {

using options::StartSize;

bool isChoice(std::span<const options::Radio> radios, int value) {
    return std::any_of(radios.begin(), radios.end(), [value](const options::Radio& r) { return r.value == value; });
}

int checkIndex(int id) {
    const auto boxes = options::checkBoxes();
    for (size_t i = 0; i < boxes.size(); ++i)
        if (boxes[i].id == id) return int(i);
    return -1;
}

}  // namespace

OptionsModel::OptionsModel(const Settings& settings, ScreenSize screen) : screen_(screen) {
    setPageStartPosition(settings.pageStartPosition);
    setOutCode(settings.outCode);
    for (const options::CheckBox& box : options::checkBoxes()) checks_.push_back(settings.*box.field != 0);

    const auto stored = settings.windowSize ? WindowSizeSetting::parse(*settings.windowSize) : std::nullopt;
    if (stored && stored->mode == WindowSizeSetting::kMaximised) {
        startSize_ = StartSize::Maximised;
    } else if (stored && stored->mode == WindowSizeSetting::kGiven) {
        // A fixed size is recognised also without its height, which start-up derives (4:3).
        startSize_ = StartSize::Given;
        width_ = stored->width;
        height_ = stored->height;
        for (const auto& f : options::kFixedSizes)
            if (stored->width == f.width && (stored->height == f.height || stored->height == WindowSizeSetting::kMissing)) {
                startSize_ = f.size;
                height_ = f.height;
            }
    }
    if (startSize_ != StartSize::AtLastExit) checks_[checkIndex(options::kSaveDialogPos)] = false;
}

void OptionsModel::setPageStartPosition(int value) {
    pageStartPosition_ = isChoice(options::pageStartPositions(), value) ? value : options::kDefaultPageStartPosition;
}

void OptionsModel::setOutCode(int value) {
    if (value == options::kOutCodeMR) value = options::kOutCodeMH;
    outCode_ = isChoice(options::outCodes(), value) ? value : options::kOutCodeG4;
}

bool OptionsModel::available(StartSize size) const {
    const auto* fixed = options::fixedSize(size);
    return !fixed || (screen_.width >= fixed->width && screen_.height >= fixed->height);
}

void OptionsModel::chooseStartSize(StartSize size) {
    if (!available(size)) return;
    startSize_ = size;
    if (const auto* fixed = options::fixedSize(size)) {
        width_ = fixed->width;
        height_ = fixed->height;
    } else if (size == StartSize::Given) {
        if (width_ == WindowSizeSetting::kMissing && height_ == WindowSizeSetting::kMissing) {
            width_ = screen_.width;
            height_ = screen_.height;
        }
    } else {
        width_ = height_ = WindowSizeSetting::kMissing;
    }
    if (size != StartSize::AtLastExit) checks_[checkIndex(options::kSaveDialogPos)] = false;
}

int OptionsModel::clampedToScreen(const std::string& text, int screenSide) const {
    const auto first = text.find_first_not_of(' ');
    const auto last = text.find_last_not_of(' ');
    if (first == std::string::npos) return WindowSizeSetting::kMissing;
    const std::string digits = text.substr(first, last - first + 1);
    if (!std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isdigit(c); }))
        return WindowSizeSetting::kMissing;
    // More digits than any screen has pixels: the screen's side.
    const int value = digits.size() > 6 ? screenSide : std::stoi(digits);
    if (value <= 0) return WindowSizeSetting::kMissing;
    return std::min(value, screenSide);
}

void OptionsModel::enterWidth(const std::string& text) {
    if (sizeEditable()) width_ = clampedToScreen(text, screen_.width);
}

void OptionsModel::enterHeight(const std::string& text) {
    if (sizeEditable()) height_ = clampedToScreen(text, screen_.height);
}

bool OptionsModel::checked(int id) const {
    const int i = checkIndex(id);
    return i >= 0 && checks_[size_t(i)];
}

bool OptionsModel::checkEnabled(int id) const {
    if (id == options::kSaveDialogPos) return startSize_ == StartSize::AtLastExit;
    return checkIndex(id) >= 0;
}

void OptionsModel::setChecked(int id, bool on) {
    const int i = checkIndex(id);
    if (i >= 0 && checkEnabled(id)) checks_[size_t(i)] = on;
}

WindowSizeSetting OptionsModel::windowSize() const {
    switch (startSize_) {
        case StartSize::AtLastExit: return {};
        case StartSize::Maximised: return {WindowSizeSetting::kMaximised};
        default: break;
    }
    WindowSizeSetting size{WindowSizeSetting::kGiven, width_, height_};
    // Both edits emptied: the screen's size, as choosing a given size offers.
    if (width_ == WindowSizeSetting::kMissing && height_ == WindowSizeSetting::kMissing) {
        size.width = screen_.width;
        size.height = screen_.height;
    }
    return size;
}

OptionsChanges OptionsModel::store(Settings& settings) const {
    OptionsChanges changes;
    changes.pageStartPosition = settings.pageStartPosition != pageStartPosition_;
    changes.previewWideStd = (settings.previewWideStd != 0) != checked(options::kPreviewWideStd);
    changes.verticalFileOpenDlg = (settings.verticalFileOpenDlg != 0) != checked(options::kVerticalFileOpenDlg);
    settings.pageStartPosition = pageStartPosition_;
    settings.outCode = outCode_;
    settings.windowSize = windowSize().format();
    const auto boxes = options::checkBoxes();
    for (size_t i = 0; i < boxes.size(); ++i) settings.*boxes[i].field = checks_[i] ? 1 : 0;
    changes.commentFormWithFormatting = settings.useCommentExDlg != 0;
    return changes;
}

}  // namespace lumipage
