#include "controls/FlashPlayerEventSink.h"

#include "controls/HostedPlayerText.h"
#include "controls/ShockwaveFlashControl.h"
#include "platform/com/ShockwavePlayers.h"

FlashPlayerEventSink::FlashPlayerEventSink(ShockwaveFlashControl& owner)
    : HostedEventSink(3, com::DIID_IShockwaveFlashEvents, SinkMap(owner)) {}

std::vector<com::IDispEventImpl::SinkEntry> FlashPlayerEventSink::SinkMap(ShockwaveFlashControl& owner) {
    return {
        {150,
         {com::VT_BSTR, com::VT_BSTR},
         [&owner](std::span<const com::VARIANT> arguments) {
             owner.OnFSCommand(HostedPlayerText::Narrow(HostedPlayerText::BstrArgument(arguments[0])),
                               HostedPlayerText::Narrow(HostedPlayerText::BstrArgument(arguments[1])));
             return win32::S_OK;
         }},
        {1958,
         {com::VT_I4},
         [&owner](std::span<const com::VARIANT> arguments) {
             owner.OnProgress(HostedPlayerText::IntegerArgument(arguments[0]));
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
