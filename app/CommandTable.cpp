#include "app/CommandTable.h"

#include <algorithm>
#include <array>

#include "base/CommandIds.h"
#include "app/CommandLine.h"

namespace lumipage {

namespace {

using namespace command;

constexpr const char* kSeparator = nullptr;

constexpr std::array kMainMenu = std::to_array<MenuLine>({
    {0, 0, kFileMenu},
    {1, kOpen, "開く(&O)..."},
    {1, kCloseCurrent, "閉じる(&C)"},
    {1, kCloseSelected, "選択頁を閉じる"},
    {1, kCloseAll, "全て閉じる"},
    {1, 0, kSeparator},
    {1, kSaveIndex, "ｲﾝﾃﾞｯｸｽﾌｧｲﾙ作成..."},
    {1, 0, kSeparator},
    {1, kSaveCurrentFile, "現頁ﾌｧｲﾙ保存(&A)..."},
    {1, kConvertSelected, "選択頁ファイル変換..."},
    {1, kConvertAll, "全頁ファイル変換..."},
    {1, kEditCurrentFile, "現頁ファイル編集(&E)"},
    {1, 0, kSeparator},
    {1, kDeleteSentFiles, "送信済頁ファイル削除"},
    {1, kDeletePrintedFiles, "印刷済頁ファイル削除"},
    {1, kDeleteCurrentFile, "現頁ファイル削除"},
    {1, kDeleteSelectedFiles, "選択頁ファイル削除"},
    {1, kDeleteAllFiles, "全頁ファイル削除"},
    {1, 0, kSeparator},
    {1, kEditComment, "コメント編集"},
    {1, kBookInformation, "ブック情報"},
    {1, 0, kSeparator},
    {1, kSaveStateAndExit, "表示状態を保存して終了"},
    {1, kExit, "終了(&X)"},

    {0, 0, kScanMenu},
    {1, kSelectScanner, "スキャナ選択..."},
    {1, kScanNew, "スキャナ入力(新規)..."},
    {1, kRescan, "スキャナ入力(再スキャン)..."},

    {0, 0, kCopyMenu},
    {1, kCopyDirect, "コピー（ダイレクト）..."},
    {1, kCopyWithPrinterSetup, "コピー（ﾌﾟﾘﾝﾀ設定付）..."},

    {0, 0, kPrintMenu},
    {1, kPrintAllDialog, "全頁印刷(&P)..."},
    {1, kPrintAll, "全頁印刷(F6)"},
    {1, kPrintDirect, "直接印刷"},
    {1, kPrintSelected, "選択頁印刷..."},
    {1, kPrintScreen, "現画面印刷..."},
    {1, 0, kSeparator},
    {1, kPreviewAll, "全頁印刷ﾌﾟﾚﾋﾞｭｰ(&V)"},
    {1, kPreviewSelected, "選択頁印刷ﾌﾟﾚﾋﾞｭｰ"},
    {1, kPreviewScreen, "現画面印刷ﾌﾟﾚﾋﾞｭｰ"},
    {1, 0, kSeparator},
    {1, kPrinterSetup, "ﾌﾟﾘﾝﾀの設定..."},

    {0, 0, kFaxMenu},
    {1, kFaxSend, "ＦＡＸ送信(F4)"},
    {1, kFaxSelected, "選択頁送信..."},
    {1, kFaxAll, "全頁送信..."},
    {1, kFaxFromScanner, "スキャナから送信..."},
    {1, 0, kSeparator},
    {1, kPhoneBook, "電話帳編集..."},
    {1, kVoiceCall, "電話呼出..."},

    {0, 0, "表示(&V)"},
    {1, kZoomIn, "拡大(&+)"},
    {1, kZoomOut, "縮小(&-)"},
    {1, 0, kSeparator},
    {1, kFitPageWidth, "標準(&=)"},
    {1, kFitTwicePageWidth, "２倍(&*)"},
    {1, kFitWholePage, "全体(&/)"},
    {1, 0, kSeparator},
    {1, kZoomByMouse, "拡大縮小(&Z)"},
    {1, kZoomFrame, "枠内拡大縮小(&F)"},
    {1, kEnlargeFrame, "枠拡大"},
    {1, kShrinkFrame, "枠縮小"},
    {1, 0, kSeparator},
    {1, kAutoScroll, "オートスクロール(&A)"},
    {1, kCatchScroll, "キャッチスクロール"},
    {1, kViewCenter, "中央"},
    {1, kViewFrameShadow, "影付フレーム"},
    {1, 0, kSeparator},
    {1, kColourAdjustment, "カラー調整..."},
    {1, kOptions, "オプション..."},

    {0, 0, "頁(&G)"},
    {1, kNextPage, "次頁"},
    {1, kPreviousPage, "前頁"},
    {1, kFirstPage, "先頭頁"},
    {1, kLastPage, "最終頁"},
    {1, kJump, "ｼﾞｬﾝﾌﾟ..."},
    {1, kBack, "戻る"},
    {1, 0, kSeparator},
    {1, kNextSelected, "次選択頁"},
    {1, kPreviousSelected, "前選択頁"},
    {1, 0, kSeparator},
    {1, kToggleSelection, "現頁選択/解除"},
    {1, kSelectAll, "全頁選択"},
    {1, kClearSelection, "全項選択解除"},
    {1, kInvertSelection, "選択反転"},
    {1, 0, kSeparator},
    {1, kClearPrintedMarks, "印刷済表示消去"},
    {1, kClearSentMarks, "送信済表示消去"},

    {0, 0, "回転(&R)"},
    {1, 0, "回転角度"},
    {2, kRotate0, "０度"},
    {2, kRotate90, "+90度"},
    {2, kRotate180, "180度"},
    {2, kRotate270, "-90度"},
    {1, 0, "全頁回転"},
    {2, kRotateAll0, "０度"},
    {2, kRotateAll90, "+90度"},
    {2, kRotateAll180, "180度"},
    {2, kRotateAll270, "-90度"},
    {1, kTurnLeft, "左回転(&L)"},
    {1, kTurnRight, "右回転(&R)"},
    {1, kTurnHalf, "半回転(&I)"},
    {1, 0, kSeparator},
    {1, kInvert, "白黒反転"},
    {1, kInvertAll, "全頁白黒反転"},
    {1, kMirrorLeftRight, "左右反転"},
    {1, kMirrorLeftRightAll, "全頁左右反転"},
    {1, kMirrorUpDown, "上下反転"},
    {1, kMirrorUpDownAll, "全頁上下反転"},

    {0, 0, "ﾍﾙﾌﾟ(&H)"},
    {1, kManual, "マニュアル"},
    {1, kGuideBook, "ガイドブック"},

    {0, kContents, "[目次]"},
    {0, kKeywordIndex, "[索引]"},
    {0, kPageCounter, "[現頁    /  ]"},
    {0, kSelectionCounter, "[選択  ]"},
});

constexpr std::array kToolBar = std::to_array<int>({
    kOpen, kEditComment, 0,
    kPrintAll, kPrintSelected, 0,
    kFaxSend, kVoiceCall, 0,
    kScanNew, kCopyDirect, 0,
    kPreviousPage, kNextPage, kPreviousSelected, kNextSelected, kBack, 0,
    kZoomIn, kZoomOut, kFitWholePage, kFitPageWidth, 0,
    kTurnLeft, kTurnRight, 0,
    kContents, kKeywordIndex,
});

// Every line lies at most one level below the submenu that holds it, and
// the menu bar has no separators.
constexpr bool wellFormed(std::span<const MenuLine> lines) {
    int depth = -1;
    for (const MenuLine& line : lines) {
        if (line.depth < 0 || line.depth > depth + 1) return false;
        depth = line.isSubmenu() ? line.depth : line.depth - 1;
        if (line.isSeparator() && line.depth == 0) return false;
    }
    return true;
}
static_assert(wellFormed(kMainMenu));

}  // namespace

std::span<const MenuLine> mainMenu() { return kMainMenu; }
std::span<const int> toolBarButtons() { return kToolBar; }

const char* captionOf(int id) {
    for (const MenuLine& line : kMainMenu)
        if (id != 0 && line.id == id) return line.caption;
    return nullptr;
}

bool MenuShape::hidesButton(int id) const {
    return std::find(hiddenButtons.begin(), hiddenButtons.end(), id) != hiddenButtons.end();
}

bool MenuShape::removesItem(int id) const {
    return std::find(removedItems.begin(), removedItems.end(), id) != removedItems.end();
}

MenuShape MenuShape::of(const StartupRequest& request, int screenWidth) {
    MenuShape shape;
    shape.removedItems.push_back(kPrintDirect);
    if (!request.fileMenu) {
        shape.fileMenu = false;
        shape.hiddenButtons.insert(shape.hiddenButtons.end(), {kOpen, kEditComment});
    }
    if (!request.scanning) {
        shape.scanMenus = false;
        shape.removedItems.push_back(kFaxFromScanner);
        shape.hiddenButtons.insert(shape.hiddenButtons.end(), {kScanNew, kCopyDirect});
        if (screenWidth <= kNarrowScreen)
            shape.hiddenButtons.insert(shape.hiddenButtons.end(), {kPreviousSelected, kNextSelected});
    }
    if (!request.fax) {
        shape.faxMenu = false;
        shape.hiddenButtons.insert(shape.hiddenButtons.end(), {kFaxSend, kVoiceCall});
    }
    if (request.menuMode == 1) shape.hiddenButtons.insert(shape.hiddenButtons.end(), {kContents, kKeywordIndex});
    if (request.menuMode == 0) shape.menuBar = false;
    return shape;
}

}  // namespace lumipage
