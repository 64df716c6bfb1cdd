#include "platform/win32/headless/HeadlessRunScript.h"

#include "platform/video/HeadlessMessageBoxes.h"
#include "platform/win32/CodePage.h"
#include "platform/win32/TextLines.h"
#include "platform/win32/WindowMessages.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <limits>
#include <utility>

namespace win32 {

namespace {

struct NamedKey {
    const char* name;
    BYTE key;
};

constexpr NamedKey kNamedKeys[] = {
    {"Back", VK_BACK},         {"Backspace", VK_BACK},  {"Tab", VK_TAB},           {"Clear", VK_CLEAR},
    {"Return", VK_RETURN},     {"Enter", VK_RETURN},    {"Shift", VK_SHIFT},       {"Control", VK_CONTROL},
    {"Menu", VK_MENU},         {"Alt", VK_MENU},        {"Pause", VK_PAUSE},       {"Capital", VK_CAPITAL},
    {"Escape", VK_ESCAPE},     {"Space", VK_SPACE},     {"Prior", VK_PRIOR},       {"PageUp", VK_PRIOR},
    {"Next", VK_NEXT},         {"PageDown", VK_NEXT},   {"End", VK_END},           {"Home", VK_HOME},
    {"Left", VK_LEFT},         {"Up", VK_UP},           {"Right", VK_RIGHT},       {"Down", VK_DOWN},
    {"Snapshot", VK_SNAPSHOT}, {"Insert", VK_INSERT},   {"Delete", VK_DELETE},     {"LWin", VK_LWIN},
    {"RWin", VK_RWIN},         {"Apps", VK_APPS},       {"Multiply", VK_MULTIPLY}, {"Add", VK_ADD},
    {"Subtract", VK_SUBTRACT}, {"Decimal", VK_DECIMAL}, {"Divide", VK_DIVIDE},     {"NumLock", VK_NUMLOCK},
    {"Scroll", VK_SCROLL},     {"LShift", VK_LSHIFT},   {"RShift", VK_RSHIFT},     {"LControl", VK_LCONTROL},
    {"RControl", VK_RCONTROL}, {"LMenu", VK_LMENU},     {"RMenu", VK_RMENU},
};

// The number after a prefix ("F12", "Numpad7"), written without leading zeros, when it lies in the range;
// -1 otherwise.
int NumberAfter(std::string_view name, std::string_view prefix, int lowest, int highest) {
    if (name.size() <= prefix.size() || !EqualNoCase(name.substr(0, prefix.size()), prefix)) {
        return -1;
    }
    const std::string_view digits = name.substr(prefix.size());
    int number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    const bool leadingZero = digits.size() > 1 && digits.front() == '0';
    if (error != std::errc() || end != digits.data() + digits.size() || leadingZero || number < lowest ||
        number > highest) {
        return -1;
    }
    return number;
}

std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) {
            ++at;
        }
        const std::size_t start = at;
        while (at < line.size() && line[at] != ' ' && line[at] != '\t') {
            ++at;
        }
        if (at > start) {
            words.push_back(line.substr(start, at - start));
        }
    }
    return words;
}

bool ReadInteger(std::string_view word, std::int64_t lowest, std::int64_t highest, std::int64_t& value) {
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    return error == std::errc() && end == word.data() + word.size() && value >= lowest && value <= highest;
}

// Reads one step that is not blank; empty on success, else what is wrong.
std::string ReadStep(std::string_view line, HeadlessStep& step) {
    const std::vector<std::string_view> words = Words(line);
    const std::string_view verb = words.front();
    const std::size_t arguments = words.size() - 1;
    using Kind = HeadlessStep::Kind;
    if (EqualNoCase(verb, "wait")) {
        std::int64_t milliseconds = 0;
        if (arguments != 1 ||
            !ReadInteger(words[1], 0, std::numeric_limits<std::uint32_t>::max(), milliseconds)) {
            return "wait takes the milliseconds to run, a whole number from 0 to 4294967295";
        }
        step.kind = Kind::Wait;
        step.milliseconds = static_cast<std::uint32_t>(milliseconds);
        return {};
    }
    const std::array<std::pair<const char*, Kind>, 4> pointing{
        {{"move", Kind::Move}, {"click", Kind::Click}, {"down", Kind::Down}, {"up", Kind::Up}}};
    for (const auto& [name, kind] : pointing) {
        if (!EqualNoCase(verb, name)) {
            continue;
        }
        const std::size_t most = kind == Kind::Move ? 2 : 3;
        std::int64_t x = 0;
        std::int64_t y = 0;
        if (arguments < 2 || arguments > most || !ReadInteger(words[1], -32768, 32767, x) ||
            !ReadInteger(words[2], -32768, 32767, y)) {
            return std::string(name) +
                   (kind == Kind::Move ? " takes X Y" : " takes X Y and optionally left or right") +
                   ", client coordinates from -32768 to 32767";
        }
        step.kind = kind;
        step.x = static_cast<int>(x);
        step.y = static_cast<int>(y);
        if (arguments == 3) {
            if (EqualNoCase(words[3], "right")) {
                step.button = HeadlessStep::Button::Right;
            } else if (!EqualNoCase(words[3], "left")) {
                return std::string(name) + "'s button is left or right";
            }
        }
        return {};
    }
    if (EqualNoCase(verb, "key")) {
        const BYTE key = arguments == 1 ? VirtualKeyFromName(words[1]) : 0;
        if (key == 0) {
            return "key takes one virtual-key name: Escape, Return, Space, A, 1, F1, ...";
        }
        step.kind = Kind::Key;
        step.value = key;
        return {};
    }
    if (EqualNoCase(verb, "answer")) {
        const int answer = arguments == 1 ? video::AnswerFromWord(words[1]) : 0;
        if (answer == 0) {
            return "answer takes OK, Cancel, Yes, No, Abort, Retry or Ignore";
        }
        step.kind = Kind::Answer;
        step.value = answer;
        return {};
    }
    if (EqualNoCase(verb, "snapshot")) {
        const std::string_view file = TrimBlanks(TrimBlanks(line).substr(verb.size()));
        if (file.empty()) {
            return "snapshot takes the file to write";
        }
        step.kind = Kind::Snapshot;
        step.file = std::string(file);
        return {};
    }
    if (EqualNoCase(verb, "close")) {
        if (arguments != 0) {
            return "close takes nothing";
        }
        step.kind = Kind::Close;
        return {};
    }
    return "unknown step \"" + std::string(verb) +
           "\" (wait, move, click, down, up, key, answer, snapshot, close)";
}

} // namespace

BYTE VirtualKeyFromName(std::string_view name) {
    if (name.size() == 1) {
        const char c = FoldCase(name.front());
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
            return static_cast<BYTE>(c);
        }
        return 0;
    }
    for (const NamedKey& named : kNamedKeys) {
        if (EqualNoCase(name, named.name)) {
            return named.key;
        }
    }
    if (const int number = NumberAfter(name, "F", 1, 24); number > 0) {
        return static_cast<BYTE>(VK_F1 + number - 1);
    }
    if (const int number = NumberAfter(name, "Numpad", 0, 9); number >= 0) {
        return static_cast<BYTE>(VK_NUMPAD0 + number);
    }
    return 0;
}

bool ParseHeadlessSteps(std::string_view text, std::vector<HeadlessStep>& steps, std::string& error) {
    steps.clear();
    // Editors on Windows start a UTF-8 file with a byte order mark, which would glue itself to the first
    // word.
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        text.remove_prefix(kByteOrderMark.size());
    }
    const bool read = ReadLines(text, [&](std::string_view line, int number) {
        line = line.substr(0, line.find('#'));
        if (TrimBlanks(line).empty()) {
            return true;
        }
        HeadlessStep step;
        step.line = number;
        const std::string problem = ReadStep(line, step);
        if (!problem.empty()) {
            error = "line " + std::to_string(number) + ": " + problem;
            return false;
        }
        steps.push_back(std::move(step));
        return true;
    });
    if (!read) {
        steps.clear();
    }
    return read;
}

} // namespace win32
