#pragma once

namespace lumipage {

// Command identifiers of the application shell, as menus, tool bar and
// posted commands use them.
namespace command {
constexpr int kOpen = 57601;                // "開く(&O)..."
constexpr int kPrintAll = 57607;            // "全頁印刷(F6)"
constexpr int kExit = 57665;                // "[閉じる]"
constexpr int kFaxAll = 32825;              // "全頁送信..."
constexpr int kConvertAll = 32829;          // "全頁ファイル変換..."
constexpr int kScanNew = 32830;             // "スキャナ入力(新規)"
constexpr int kColourAdjust = 32839;        // "カラー調整..."
constexpr int kManual = 32869;              // "マニュアル"
constexpr int kSaveViewStateAndExit = 32874;  // "表示状態を保存して終了"
constexpr int kEditComment = 32875;         // "コメント編集"
constexpr int kGuideBook = 32984;           // "ガイドブック"
constexpr int kWholePage = 32779;           // "全体(&/)"
constexpr int kStandardSize = 32776;        // "標準(&=)"
constexpr int kDoubleSize = 32787;          // "２倍(&*)"
}  // namespace command

}  // namespace lumipage
