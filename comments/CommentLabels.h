#pragma once
#include <array>
#include <string_view>

namespace lumipage::comment_labels {

// The labels that mark items on a comment line, each list in the order it is searched.
inline constexpr std::array<std::string_view, 3> kTitle{"Title:", "TITLE:", "タイトル："};
inline constexpr std::array<std::string_view, 3> kContents{"Contents:", "CONTENTS:", "目次："};
inline constexpr std::array<std::string_view, 3> kKeywords{"キーワード：", "KeyWord:", "KEYWORD:"};
inline constexpr std::string_view kBookTitle = "書名：";
inline constexpr std::string_view kAuthor = "著者：";
inline constexpr std::string_view kProgramName = "プログラム名：";
inline constexpr std::string_view kCreator = "作成者：";
inline constexpr std::string_view kJapaneseTitle = "タイトル：";
inline constexpr std::string_view kJapaneseContents = "目次：";
inline constexpr std::string_view kJapaneseKeywords = "キーワード：";

// A page section starts with a line "<P." page ">" .
inline constexpr std::string_view kMarker = "<P.";

}  // namespace lumipage::comment_labels
