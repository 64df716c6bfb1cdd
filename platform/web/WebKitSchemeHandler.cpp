#include "platform/web/WebKitSchemeHandler.h"

#include "platform/web/WebAddresses.h"
#include "platform/win32/LastError.h"
#include "platform/win32/files/TitleFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

namespace web {

namespace {

// The file's whole content; false with why.
bool ReadWhole(int descriptor, std::string& content, std::string& why) {
    struct stat info {};
    if (::fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
        why = "it is not a file";
        return false;
    }
    if (static_cast<std::size_t>(info.st_size) > WebKitSchemeHandler::kLargestFile) {
        why = "it is larger than 256 MiB";
        return false;
    }
    content.clear();
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(descriptor, buffer, sizeof(buffer));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            why = std::strerror(errno);
            return false;
        }
        if (got == 0) {
            return true;
        }
        content.append(buffer, static_cast<std::size_t>(got));
        if (content.size() > WebKitSchemeHandler::kLargestFile) {
            why = "it is larger than 256 MiB";
            return false;
        }
    }
}

std::string TitleFileFailure() {
    switch (win32::GetLastError()) {
    case win32::ERROR_FILE_NOT_FOUND:
    case win32::ERROR_PATH_NOT_FOUND:
        return "there is no such file on the emulated drives";
    case win32::ERROR_ACCESS_DENIED:
        return "it is not a file that can be read";
    default:
        return "it cannot be opened (error " + std::to_string(win32::GetLastError()) + ")";
    }
}

// Opens what the target names: a title file through the drives, a player file below the player's folder.
int OpenTarget(const SchemeTarget& target, std::string& name, std::string& why) {
    if (target.kind == SchemeTarget::Kind::TitleFile) {
        name = "title file " + target.path;
        const int descriptor = win32::OpenTitleFile(target.path.c_str(), win32::TitleFileKind::File);
        if (descriptor < 0) {
            why = TitleFileFailure();
        }
        return descriptor;
    }
    const std::string folder = PlayerFolder();
    name = "player file " + target.path;
    if (folder.empty()) {
        why = "no folder of player files is served";
        return -1;
    }
    const int descriptor = ::open((folder + "/" + target.path).c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (descriptor < 0) {
        why = std::strerror(errno);
    }
    return descriptor;
}

void Fail(WebKitURISchemeRequest* request, const std::string& what) {
    std::fprintf(stderr, "web view: %s\n", what.c_str());
    GError* error = g_error_new_literal(G_IO_ERROR, G_IO_ERROR_NOT_FOUND, what.c_str());
    webkit_uri_scheme_request_finish_error(request, error);
    g_error_free(error);
}

} // namespace

void WebKitSchemeHandler::Register(WebKitWebContext* context) {
    webkit_web_context_register_uri_scheme(context, kScheme, &WebKitSchemeHandler::Serve, nullptr, nullptr);
    WebKitSecurityManager* security = webkit_web_context_get_security_manager(context);
    webkit_security_manager_register_uri_scheme_as_secure(security, kScheme);
    webkit_security_manager_register_uri_scheme_as_cors_enabled(security, kScheme);
}

void WebKitSchemeHandler::Serve(WebKitURISchemeRequest* request, gpointer) {
    const std::string address = webkit_uri_scheme_request_get_uri(request);
    const std::optional<SchemeTarget> target = ParseSchemeAddress(address);
    if (!target) {
        Fail(request, "the address " + address + " names no file");
        return;
    }
    std::string name;
    std::string why;
    const int descriptor = OpenTarget(*target, name, why);
    std::string content;
    const bool read = descriptor >= 0 && ReadWhole(descriptor, content, why);
    if (descriptor >= 0) {
        ::close(descriptor);
    }
    if (!read) {
        Fail(request, "the " + name + " cannot be read for the page: " + why);
        return;
    }
    const gssize size = static_cast<gssize>(content.size());
    GBytes* bytes = g_bytes_new(content.data(), content.size());
    GInputStream* stream = g_memory_input_stream_new_from_bytes(bytes);
    WebKitURISchemeResponse* response = webkit_uri_scheme_response_new(stream, size);
    webkit_uri_scheme_response_set_content_type(response, ContentTypeOf(target->path).c_str());
    webkit_uri_scheme_response_set_status(response, 200, nullptr);
    // The player's page fetches a title's movie: files of the scheme answer requests of any origin of it.
    SoupMessageHeaders* headers = soup_message_headers_new(SOUP_MESSAGE_HEADERS_RESPONSE);
    soup_message_headers_append(headers, "Access-Control-Allow-Origin", "*");
    webkit_uri_scheme_response_set_http_headers(response, headers);
    webkit_uri_scheme_request_finish_with_response(request, response);
    g_object_unref(response);
    g_object_unref(stream);
    g_bytes_unref(bytes);
}

} // namespace web
