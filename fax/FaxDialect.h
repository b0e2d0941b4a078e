#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumipage {

// The two command sets a fax modem may offer for sending. Service class 2
// is the older one the program was written for; service class 2.0 (ITU-T
// T.32, also offered as 2.1) renames its commands and reports, reports the
// hang-up cause in hexadecimal and ends each page inside the data stream
// instead of with a command.
enum class FaxDialect { Class2, Class20 };

// What the modem is set to for a call: the value of AT+FCLASS= and the
// command set that goes with it.
struct FaxClassChoice {
    std::string value;
    FaxDialect dialect = FaxDialect::Class2;
};

// The class to use from the answer to AT+FCLASS=? ("0,1,2", "0,1,2.0",
// "(0,1,1.0,2.0,8)", "+FCLASS: 0,1,2.1"...): class 2 when offered, else
// 2.0, else 2.1; any other answer holding a 2 is class 2, as the program
// always took it; nothing without a 2.
std::optional<FaxClassChoice> chooseFaxClass(std::string_view offered);

// The answer to AT+FCLASS? as the value to restore afterwards ("0", "2.0"):
// the leading digits and points; empty when it does not start with a digit.
std::string currentFaxClass(std::string_view answer);

// A T.30 parameter list "VR,BR,WD,LN,DF,EC,BF,ST[,JP]" as its values' text,
// with a "+FCC:" or "+FIS:" style prefix and blanks dropped.
std::vector<std::string> parameterValues(std::string_view list);
std::string joinParameters(const std::vector<std::string>& values);

// A class 2.0 hang-up status (two hexadecimal digits, "A0" for receive
// phase D) as the class 2 number of the same cause (100), so that both
// dialects report a hang-up with the same text.
int class2HangUpCode(std::string_view hex);

}  // namespace lumipage
