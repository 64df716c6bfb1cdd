#include "platform/win32/kernel/CommandLine.h"

#include <cstddef>
#include <mutex>
#include <string>
#include <utility>

namespace win32 {

namespace {

std::mutex g_lock;
std::string g_commandLine;

bool NeedsQuotes(const char* argument) {
    if (*argument == '\0') {
        return true;
    }
    for (const char* c = argument; *c != '\0'; ++c) {
        if (*c == ' ' || *c == '\t' || *c == '"') {
            return true;
        }
    }
    return false;
}

void AppendQuoted(std::string& out, const char* argument) {
    out += '"';
    std::size_t backslashes = 0;
    for (const char* c = argument; *c != '\0'; ++c) {
        if (*c == '\\') {
            ++backslashes;
            continue;
        }
        if (*c == '"') {
            out.append(backslashes * 2 + 1, '\\');
        } else {
            out.append(backslashes, '\\');
        }
        backslashes = 0;
        out += *c;
    }
    out.append(backslashes * 2, '\\');
    out += '"';
}

// The program is split off by a simpler rule than the arguments: it ends at the next quote when it starts
// with one, else at the first space or tab, and backslashes are never escapes in it.
void AppendProgram(std::string& out, const char* program) {
    const std::string text(program);
    if (text.empty() || text.find_first_of(" \t") != std::string::npos) {
        out += '"' + text + '"';
    } else {
        out += text;
    }
}

} // namespace

LPSTR GetCommandLineA() {
    std::lock_guard<std::mutex> hold(g_lock);
    return g_commandLine.data();
}

namespace seam {

void SetCommandLineArguments(int count, const char* const* arguments) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        if (i > 0) {
            text += ' ';
        }
        if (i == 0) {
            AppendProgram(text, arguments[0]);
        } else if (NeedsQuotes(arguments[i])) {
            AppendQuoted(text, arguments[i]);
        } else {
            text += arguments[i];
        }
    }
    std::lock_guard<std::mutex> hold(g_lock);
    g_commandLine = std::move(text);
}

void SetCommandLineText(const char* text) {
    std::lock_guard<std::mutex> hold(g_lock);
    g_commandLine = text != nullptr ? text : "";
}

} // namespace seam

} // namespace win32
