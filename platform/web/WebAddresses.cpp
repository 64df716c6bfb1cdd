#include "platform/web/WebAddresses.h"

#include "platform/web/WebView.h"
#include "platform/win32/files/HostPath.h"

#include <algorithm>
#include <cctype>
#include <mutex>
#include <vector>

namespace web {

namespace {

constexpr const char* kPlayerHost = "player";

std::mutex g_lock;
std::string g_playerFolder;

bool Unreserved(unsigned char c) {
    return std::isalnum(c) != 0 || c == '-' || c == '.' || c == '_' || c == '~';
}

std::string Encode(const std::string& component) {
    static const char digits[] = "0123456789ABCDEF";
    std::string encoded;
    for (const unsigned char c : component) {
        if (Unreserved(c)) {
            encoded += static_cast<char>(c);
        } else {
            encoded += '%';
            encoded += digits[c >> 4];
            encoded += digits[c & 0xF];
        }
    }
    return encoded;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// The path's components, decoded; none when one is empty after the first, "." or "..", or badly encoded.
std::optional<std::vector<std::string>> DecodedComponents(const std::string& path) {
    std::vector<std::string> components;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string::npos) {
            end = path.size();
        }
        std::string component;
        for (std::size_t i = start; i < end; ++i) {
            if (path[i] != '%') {
                component += path[i];
                continue;
            }
            if (i + 2 >= end) {
                return std::nullopt;
            }
            const int high = HexValue(path[i + 1]);
            const int low = HexValue(path[i + 2]);
            if (high < 0 || low < 0) {
                return std::nullopt;
            }
            component += static_cast<char>(high * 16 + low);
            i += 2;
        }
        if (component == "." || component == ".." || component.find('\0') != std::string::npos) {
            return std::nullopt;
        }
        components.push_back(component);
        start = end + 1;
    }
    return components;
}

} // namespace

std::string SchemeOf(const std::string& address) {
    const std::size_t colon = address.find(':');
    if (colon == std::string::npos || colon < 2 ||
        std::isalpha(static_cast<unsigned char>(address[0])) == 0) {
        return {};
    }
    std::string scheme;
    for (std::size_t i = 0; i < colon; ++i) {
        const auto c = static_cast<unsigned char>(address[i]);
        if (std::isalnum(c) == 0 && c != '+' && c != '-' && c != '.') {
            return {};
        }
        scheme += static_cast<char>(std::tolower(c));
    }
    return scheme;
}

std::optional<SchemeTarget> ParseSchemeAddress(const std::string& address) {
    if (SchemeOf(address) != kScheme) {
        return std::nullopt;
    }
    const std::string prefix = std::string(kScheme) + "://";
    if (address.size() < prefix.size() || address.compare(prefix.size() - 3, 3, "://") != 0) {
        return std::nullopt;
    }
    std::string rest = address.substr(prefix.size());
    rest = rest.substr(0, rest.find_first_of("?#"));
    const std::size_t slash = rest.find('/');
    std::string host = rest.substr(0, slash);
    std::transform(host.begin(), host.end(), host.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const std::string path = slash == std::string::npos ? std::string() : rest.substr(slash + 1);
    std::optional<std::vector<std::string>> components = DecodedComponents(path);
    if (!components) {
        return std::nullopt;
    }
    SchemeTarget target;
    if (host == kPlayerHost) {
        target.kind = SchemeTarget::Kind::PlayerFile;
        for (const std::string& component : *components) {
            if (component.empty()) {
                return std::nullopt;
            }
            target.path += (target.path.empty() ? "" : "/") + component;
        }
        return target;
    }
    if (host.size() != 1 || host[0] < 'a' || host[0] > 'z') {
        return std::nullopt;
    }
    target.kind = SchemeTarget::Kind::TitleFile;
    target.path = std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(host[0])))) + ":";
    for (const std::string& component : *components) {
        target.path += "\\" + component;
    }
    return target;
}

std::string TitleFileAddress(const std::string& windowsPath) {
    win32::WindowsPath parsed;
    if (!win32::ParseWindowsPath(windowsPath.c_str(), parsed) || parsed.kind != win32::PathKind::Drive) {
        return {};
    }
    std::string address = std::string(kScheme) + "://" +
                          static_cast<char>(std::tolower(static_cast<unsigned char>(parsed.drive))) + "/";
    for (std::size_t i = 0; i < parsed.components.size(); ++i) {
        if (i != 0) {
            address += '/';
        }
        address += Encode(parsed.components[i]);
    }
    if (parsed.endsWithSeparator && !parsed.components.empty()) {
        address += "/";
    }
    return address;
}

void ServePlayerFiles(const std::string& hostFolder) {
    std::lock_guard guard(g_lock);
    g_playerFolder = hostFolder;
}

std::string PlayerFolder() {
    std::lock_guard guard(g_lock);
    return g_playerFolder;
}

std::string PlayerFileAddress(const std::string& relativePath) {
    std::string address = std::string(kScheme) + "://" + kPlayerHost + "/";
    std::size_t start = 0;
    while (start <= relativePath.size()) {
        std::size_t end = relativePath.find('/', start);
        if (end == std::string::npos) {
            end = relativePath.size();
        }
        if (start != 0) {
            address += '/';
        }
        address += Encode(relativePath.substr(start, end - start));
        start = end + 1;
    }
    return address;
}

std::string ContentTypeOf(const std::string& name) {
    static const std::pair<const char*, const char*> kTypes[] = {
        {"html", "text/html"},
        {"htm", "text/html"},
        {"xhtml", "application/xhtml+xml"},
        {"css", "text/css"},
        {"js", "text/javascript"},
        {"mjs", "text/javascript"},
        {"json", "application/json"},
        {"wasm", "application/wasm"},
        {"txt", "text/plain"},
        {"xml", "text/xml"},
        {"svg", "image/svg+xml"},
        {"png", "image/png"},
        {"jpg", "image/jpeg"},
        {"jpeg", "image/jpeg"},
        {"gif", "image/gif"},
        {"bmp", "image/bmp"},
        {"ico", "image/x-icon"},
        {"webp", "image/webp"},
        {"swf", "application/x-shockwave-flash"},
        {"mp3", "audio/mpeg"},
        {"wav", "audio/wav"},
        {"ogg", "audio/ogg"},
        {"mp4", "video/mp4"},
        {"webm", "video/webm"},
        {"woff", "font/woff"},
        {"woff2", "font/woff2"},
        {"ttf", "font/ttf"},
    };
    const std::size_t dot = name.find_last_of("./\\");
    if (dot == std::string::npos || name[dot] != '.') {
        return "application/octet-stream";
    }
    std::string extension = name.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const auto& [known, type] : kTypes) {
        if (extension == known) {
            return type;
        }
    }
    return "application/octet-stream";
}

} // namespace web
