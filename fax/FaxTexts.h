#pragma once
#include <string>
#include <string_view>

namespace lumipage::faxtext {

// Set-up failures of the modem.
inline constexpr std::string_view kPortFault = "ＲＳ－２３２Ｃﾎﾟｰﾄが異常です";
inline constexpr std::string_view kModemOff = "モデムが接続されていないか、電源が入っていません";
inline constexpr std::string_view kBadSpeed = "ボーレートの指定が異常です";
inline constexpr std::string_view kNoResponse = "モデムからの応答がありません";
inline constexpr std::string_view kCannotInitialise = "初期化出来ません";
inline constexpr std::string_view kFaxCommandsInvalid = "ＦＡＸモデムのコマンドが無効です";
inline constexpr std::string_view kClass2Invalid = "クラス２ＦＡＸモデムのコマンドが無効です";
inline constexpr std::string_view kFaxInitError = "ＦＡＸモデムの初期化エラーです";

// Call results.
inline constexpr std::string_view kNoAnswer = "応答がありません";
inline constexpr std::string_view kBusy = "話中です";
inline constexpr std::string_view kNoDialTone = "ﾀﾞｲﾔﾙﾄｰﾝが検出できません";
inline constexpr std::string_view kBadNumber = "電話番号が不正です";

// Page results after the post-page message.
inline constexpr std::string_view kPageBad = "ページエラー";
inline constexpr std::string_view kPageGood = "ページ正常";
inline constexpr std::string_view kPageBadRetrain = "ページエラー、リトレイン要求";
inline constexpr std::string_view kPageGoodRetrain = "ページ正常、リトレイン要求";
inline constexpr std::string_view kPageBadOperator = "ページエラー、オペレータ操作要求";
inline constexpr std::string_view kPageGoodOperator = "ページ正常、オペレータ操作要求";
inline constexpr std::string_view kFileReadError = "ファイルリードエラー";
inline constexpr std::string_view kMemoryError = "メモリエラー";

// The send job.
inline constexpr std::string_view kNoNumber = "電話番号が入力されていません";
inline constexpr std::string_view kPortUnusable = "COM1ポートは使用できません";  // the digit is the port's
inline constexpr std::string_view kCannotOpenPort = "通信ポートがオープンできません";
inline constexpr std::string_view kStepInitialising = "モデム初期化中";
inline constexpr std::string_view kStepDialling = "ダイヤル中";
inline constexpr std::string_view kStepNotConnected = "接続出来ませんでした";
inline constexpr std::string_view kStepRedialWait = "再ダイヤル待機中";
inline constexpr std::string_view kStepPreparing = "準備中";
inline constexpr std::string_view kStepSending = "送信中";
inline constexpr std::string_view kStepConfirming = "確認中";
inline constexpr std::string_view kStepAborted = "強制終了";
inline constexpr std::string_view kStepError = "エラー";
inline constexpr std::string_view kStepDone = "正常終了";

// The voice call.
inline constexpr std::string_view kVoicePortFailed = "通信ポートがオープン出来ません";
inline constexpr std::string_view kVoiceCaption = "電話呼出中";
inline constexpr std::string_view kVoicePickUp =
    "相手が電話に出ましたら、受話器を取って\nリターンキーを押すか、OK をクリックしてください";
inline constexpr std::string_view kVoiceCannotDial = "ダイヤルが出来ません";

// A port message with the reason the port gave, on a line of its own.
inline std::string withProblem(std::string text, const std::string& problem) {
    if (!problem.empty()) text += "\n" + problem;
    return text;
}

}  // namespace lumipage::faxtext
