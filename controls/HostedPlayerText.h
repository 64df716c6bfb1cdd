// Texts between the title and the hosted ActiveX controls, and the messages those controls send to it.
#pragma once

#include "foundation/String.h"
#include "platform/com/OleAuto.h"
#include "platform/win32/windows/Window.h"

#include <cstdint>

class Control;
class Fragment;

namespace HostedPlayerText {

// The text widened from the system's ANSI code page; SysFreeString frees it. Null when memory runs out.
com::BSTR ToBstr(const Vemo::String& text);
// The low byte of each character, as the players' texts are narrowed; empty for a null text.
Vemo::String Narrow(com::BSTR text);

// An event's argument as the sink helper hands it on: of its declared type, or by reference to one.
com::BSTR BstrArgument(const com::VARIANT& argument);
unsigned IntegerArgument(const com::VARIANT& argument);

// The full path, in the host's spelling, of the file the name finds along the application's search order;
// a name not found is reported by the file finder. False without an application.
bool FindFullPath(const Fragment& name, Vemo::String& fullPath);

// At most limit characters of a text file, read as a text-mode read does: each CR LF becomes LF before it
// counts. False when the file cannot be opened.
bool ReadText(const Vemo::String& path, std::uint32_t limit, Vemo::String& text);

// The movie a player control is given for a file name: empty for an empty name, else the file's full path;
// false, reported, when the file is not found.
bool ResolveMovie(const Fragment& name, Vemo::String& path);

// The control announces the message word to itself and its subscribers. The word is taken as one word
// whatever it holds: a player's text that holds commas, parentheses or quotes adds no further message and
// no arguments.
bool AnnounceWord(Control& control, const Vemo::String& word);

// Announces the message of the player's ready state; nothing above 4.
void AnnounceReadyState(Control& control, unsigned state);

// Has the window painted again at once, its background left as it is.
void Redraw(win32::HWND window);

// The message of a player's ready state: "ExternalEvent.ReadyStateUnInitialized" for 0 to
// "ExternalEvent.ReadyComplete" for 4; empty above 4.
Vemo::String ReadyStateWord(unsigned state);

} // namespace HostedPlayerText
