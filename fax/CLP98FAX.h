#pragma once
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "fax/Class2Transmitter.h"
#include "fax/FaxSendJob.h"
#include "fax/ModemLink.h"
#include "fax/PhoneBook.h"

namespace lumipage {

class Messages;
struct Settings;

// The program's one fax object, alive for the whole run: the modem link,
// the class 2 transmitter, the phone book and the values the send and voice
// call dialogs keep between uses.
class CLP98FAX {
public:
    // `line` defaults to a termios serial port.
    explicit CLP98FAX(Settings& settings, std::unique_ptr<SerialLine> line = nullptr, FaxTiming timing = {});
    ~CLP98FAX();
    CLP98FAX(const CLP98FAX&) = delete;
    CLP98FAX& operator=(const CLP98FAX&) = delete;

    ModemLink& link() { return link_; }
    Class2Transmitter& transmitter() { return transmitter_; }
    PhoneBook& phoneBook() { return phoneBook_; }
    FaxSendValues& sendValues() { return sendValues_; }
    std::string& voiceNumber() { return voiceNumber_; }

    // The file of the phone book in the data folder.
    static std::string phoneBookPath(const std::string& dataFolder) {
        return dataFolder + "/" + PhoneBook::kFileName;
    }
    // Reloads the book for a pick list, sorted when the setting asks for it,
    // and gives its lines (fax or telephone numbers with names).
    std::vector<std::string> pickList(const std::string& path, PhoneBook::Number which);
    // A voice call with the settings' port, dial method and volume.
    bool voiceCall(std::string_view number, Messages& messages,
                   const std::function<void(std::string_view, std::string_view)>& pickUp);

private:
    Settings& settings_;
    std::unique_ptr<SerialLine> line_;
    ModemLink link_;
    Class2Transmitter transmitter_;
    PhoneBook phoneBook_;
    FaxSendValues sendValues_;
    std::string voiceNumber_;
};

}  // namespace lumipage
