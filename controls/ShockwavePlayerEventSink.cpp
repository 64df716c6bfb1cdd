#include "controls/ShockwavePlayerEventSink.h"

#include "controls/HostedPlayerText.h"
#include "controls/ShockwaveControl.h"
#include "platform/com/ShockwavePlayers.h"

ShockwavePlayerEventSink::ShockwavePlayerEventSink(ShockwaveControl& owner)
    : HostedEventSink(2, com::DIID_ShockwavePlayerEvents, SinkMap(owner)) {}

std::vector<com::IDispEventImpl::SinkEntry> ShockwavePlayerEventSink::SinkMap(ShockwaveControl& owner) {
    return {
        {1,
         {com::VT_BSTR},
         [&owner](std::span<const com::VARIANT> arguments) {
             const com::BSTR text = HostedPlayerText::BstrArgument(arguments[0]);
             if (text != nullptr) {
                 owner.OnExternalEvent(HostedPlayerText::Narrow(text));
             }
             return win32::S_OK;
         }},
        {2,
         {com::VT_I4},
         [&owner](std::span<const com::VARIANT> arguments) {
             owner.OnPlayerNotification(HostedPlayerText::IntegerArgument(arguments[0]));
             return win32::S_OK;
         }},
        {-609,
         {com::VT_I4},
         [&owner](std::span<const com::VARIANT> arguments) {
             owner.OnReadyStateChange(HostedPlayerText::IntegerArgument(arguments[0]));
             return win32::S_OK;
         }},
    };
}
