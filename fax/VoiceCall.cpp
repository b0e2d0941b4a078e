#include "fax/VoiceCall.h"

#include <string>

#include "base/Messages.h"
#include "fax/DialCommand.h"
#include "fax/FaxTexts.h"
#include "fax/ModemLink.h"

namespace lumipage {

namespace {

constexpr int kVoiceSpeed = 1200;
constexpr int kEchoWait = 1000;
constexpr int kDialWait = 100000;
constexpr int kResponseWait = 10000;

bool dialForVoice(ModemLink& link, std::string_view number, char dialMethod) {
    const std::optional<std::string> dial = dialCommand(number, dialMethod);
    if (!dial) {
        link.callResultText = faxtext::kBadNumber;
        return false;
    }
    link.setSpeed(kVoiceSpeed);
    // The ";" keeps the modem in command mode once the number is dialled.
    std::optional<std::string> line;
    if (link.sendCommand(*dial + ";", kEchoWait)) line = link.readLine(kDialWait);
    ResponseKind kind = ResponseKind::None;
    if (!line) {
        link.callResultText = faxtext::kNoAnswer;
        return false;
    }
    return link.classify(*line, kind);
}

}  // namespace

bool placeVoiceCall(ModemLink& link, const VoiceCallSettings& settings, std::string_view number, Messages& messages,
                    const std::function<void(std::string_view, std::string_view)>& pickUp) {
    if (!link.openPort(settings.port, kVoiceSpeed)) {
        messages.message(faxtext::withProblem(std::string(faxtext::kVoicePortFailed), link.portProblem(settings.port)));
        return false;
    }
    if (!settings.modemVolume) link.setSpeakerVolume(settings.volume);
    const bool dialled = dialForVoice(link, number, settings.dialMethod);
    if (dialled) {
        if (pickUp) pickUp(faxtext::kVoiceCaption, faxtext::kVoicePickUp);
        if (!link.sendCommand("ATH", kEchoWait) || !link.readLine(kResponseWait))
            link.callResultText = faxtext::kNoAnswer;
    } else {
        messages.message(std::string(faxtext::kVoiceCannotDial));
    }
    link.closePort();
    return dialled;
}

}  // namespace lumipage
