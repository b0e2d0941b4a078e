#pragma once
#include <string>

namespace lumipage {

// The data folder: phone books, the file manager's lists and the comment
// forms. It is made ready at start-up from the program folder's copies.
namespace data_folder {

constexpr const char* kPhoneBook = "LpNormal.TEL";
constexpr const char* kOldPhoneBook = "LP98FAX.TEL";
constexpr const char* kFolderList = "LpFolder.LST";
constexpr const char* kProgramList = "LpProg.LST";
constexpr const char* kForms = "Form";

// Chooses and prepares the data folder: the program folder when asked
// (`useProgramFolder`) or when `preferred` cannot be created; renames the
// old phone book (never over an existing one), creates "Form" and, when the
// data folder is not the program folder, copies the initial files and forms
// from the program folder without replacing any. Returns the folder chosen.
std::string prepare(const std::string& preferred, const std::string& programFolder, bool useProgramFolder);

// Copies a file unless the target exists already; false when nothing was copied.
bool copyIfMissing(const std::string& from, const std::string& to);

}  // namespace data_folder
}  // namespace lumipage
