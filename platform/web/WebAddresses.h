// The engine's addresses of our own scheme, "vemo:": a title file is vemo://X/folder/file (X the drive letter
// of the emulated machine, each component percent-encoded), a player file vemo://player/relative/path. Pages
// that name their images, style sheets and scripts relatively find them beside themselves this way. Internal
// to the platform layer.
#pragma once

#include <optional>
#include <string>

namespace web {

constexpr const char* kScheme = "vemo";

// What an address of our scheme names.
struct SchemeTarget {
    enum class Kind {
        TitleFile,  // path is a Windows path of the emulated machine
        PlayerFile, // path is relative to the folder ServePlayerFiles named
    };
    Kind kind = Kind::TitleFile;
    std::string path;
};

// None for an address of another scheme, or of ours that names nothing (no drive letter, "..").
std::optional<SchemeTarget> ParseSchemeAddress(const std::string& address);

// The folder ServePlayerFiles named; empty when none.
std::string PlayerFolder();

// The scheme of an address ("http" for "HTTP://x"), lower case; empty when the text has none (a Windows path
// such as C:\x has a one-letter "scheme", which is a drive, and so none).
std::string SchemeOf(const std::string& address);

// The Content-Type a file is served with, by its name's extension.
std::string ContentTypeOf(const std::string& name);

} // namespace web
