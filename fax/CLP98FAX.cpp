#include "fax/CLP98FAX.h"

#include "base/Settings.h"
#include "fax/VoiceCall.h"
#include "platform/SerialPort.h"

namespace lumipage {

namespace {

std::unique_ptr<SerialLine> orSerialPort(std::unique_ptr<SerialLine> line) {
    return line ? std::move(line) : std::make_unique<SerialPort>();
}

}  // namespace

CLP98FAX::CLP98FAX(Settings& settings, std::unique_ptr<SerialLine> line, FaxTiming timing)
    : settings_(settings), line_(orSerialPort(std::move(line))), link_(*line_, timing), transmitter_(link_) {
    link_.setDevices(settings.comDevices);
    sendValues_.takeSettings(settings);
}

CLP98FAX::~CLP98FAX() { link_.closePort(); }

std::vector<std::string> CLP98FAX::pickList(const std::string& path, PhoneBook::Number which) {
    phoneBook_.load(path);
    if (settings_.chkSort) phoneBook_.sort();
    std::vector<std::string> lines;
    lines.reserve(phoneBook_.size());
    for (size_t i = 0; i < phoneBook_.size(); ++i) lines.push_back(phoneBook_.entryLine(i, which));
    return lines;
}

bool CLP98FAX::voiceCall(std::string_view number, Messages& messages,
                         const std::function<void(std::string_view, std::string_view)>& pickUp) {
    voiceNumber_ = number;
    link_.setDevices(settings_.comDevices);
    const VoiceCallSettings call{settings_.commPort, settings_.dyalType == 'P' ? 'P' : 'T', settings_.volume,
                                 settings_.modemVolume != 0};
    return placeVoiceCall(link_, call, number, messages, pickUp);
}

}  // namespace lumipage
