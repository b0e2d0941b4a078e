#pragma once
#include <functional>
#include <string_view>

namespace lumipage {

class Messages;
class ModemLink;

// The call settings of the voice call dialog.
struct VoiceCallSettings {
    int port = 1;           // 1..4
    char dialMethod = 'T';  // 'T' tone, 'P' pulse
    int volume = 2;         // speaker 0..3
    bool modemVolume = false;  // the modem has its own volume control: no speaker command
};

// Dials a number for the user to talk: the modem is used in the state it is
// in, dials and stays in command mode; the user picks up the handset and
// confirms `pickUp` (a box with the caption and text given), then the
// modem goes on hook. Failures are said through `messages`; the port is
// closed at the end. Returns whether the number was dialled.
bool placeVoiceCall(ModemLink& link, const VoiceCallSettings& settings, std::string_view number, Messages& messages,
                    const std::function<void(std::string_view caption, std::string_view text)>& pickUp);

}  // namespace lumipage
