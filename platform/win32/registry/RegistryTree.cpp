#include "platform/win32/registry/RegistryTree.h"

#include "platform/win32/CodePage.h"
#include "platform/win32/TextLines.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

namespace win32 {

namespace {

struct RootSpelling {
    const char* longName;
    const char* shortName;
};

constexpr std::array<RootSpelling, RegistryTree::kRootCount> kRoots{{
    {"HKEY_CLASSES_ROOT", "HKCR"},
    {"HKEY_CURRENT_USER", "HKCU"},
    {"HKEY_LOCAL_MACHINE", "HKLM"},
    {"HKEY_USERS", "HKU"},
}};

constexpr std::size_t kMaxKeyName = 255;
constexpr char kHexDigits[] = "0123456789abcdef";

bool IsControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// The names between the backslashes of a key path; a double-byte character's trail byte never separates.
std::vector<std::string> SplitNames(std::string_view text) {
    std::vector<std::string> names(1);
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = CharacterLength(text, i);
        if (length == 1 && text[i] == '\\') {
            names.emplace_back();
        } else {
            names.back().append(text.substr(i, length));
        }
        i += length;
    }
    return names;
}

int FindRoot(std::string_view name) {
    for (int root = 0; root < RegistryTree::kRootCount; ++root) {
        const RootSpelling& spelling = kRoots[static_cast<std::size_t>(root)];
        if (EqualNoCase(name, spelling.longName) || EqualNoCase(name, spelling.shortName)) {
            return root;
        }
    }
    return -1;
}

std::string QuotedName(std::string_view name) {
    std::string quoted = "\"";
    for (char c : name) {
        if (c == '\\' || c == '"') {
            quoted += '\\';
            quoted += c;
        } else if (IsControl(c)) {
            const auto byte = static_cast<unsigned char>(c);
            quoted += "\\x";
            quoted += kHexDigits[byte >> 4];
            quoted += kHexDigits[byte & 0xF];
        } else {
            quoted += c;
        }
    }
    return quoted + '"';
}

// The text of a REG_SZ value that the "sz:" form keeps exactly: one terminating zero, no other, no line
// break.
bool FitsTextForm(const RegistryValue& value) {
    if (value.type != REG_SZ || value.data.empty() || value.data.back() != 0) {
        return false;
    }
    return std::none_of(value.data.begin(), value.data.end() - 1,
                        [](BYTE b) { return b == 0 || b == '\n' || b == '\r'; });
}

std::string ValueLine(const RegistryValue& value) {
    std::string line = value.name.empty() ? "@" : QuotedName(value.name);
    line += '=';
    if (FitsTextForm(value)) {
        line += "sz:";
        line.append(value.data.begin(), value.data.end() - 1);
        return line;
    }
    line += "hex(" + std::to_string(value.type) + "):";
    for (BYTE b : value.data) {
        line += kHexDigits[b >> 4];
        line += kHexDigits[b & 0xF];
    }
    return line;
}

void WriteKey(const RegistryKey& key, const std::string& path, bool isRoot, std::string& out) {
    const bool named = !key.values.empty() || (key.subkeys.empty() && !isRoot);
    if (named) {
        out += "[" + path + "]\n";
        for (const RegistryValue& value : key.values) {
            out += ValueLine(value) + "\n";
        }
    }
    for (const auto& subkey : key.subkeys) {
        WriteKey(*subkey, path + "\\" + subkey->name, false, out);
    }
}

// Reads one line of the store into the tree.
class LineReader {
public:
    LineReader(RegistryTree& tree, RegistryKey*& current) : m_tree(tree), m_current(current) {}

    // Empty on success, else what is wrong.
    std::string Read(std::string_view line) {
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) {
            line.remove_prefix(1);
        }
        if (line.empty() || line.front() == '#') {
            return {};
        }
        if (line.front() == '[') {
            return ReadKey(line);
        }
        if (line.front() == '@' || line.front() == '"') {
            return ReadValue(line);
        }
        return "a line must be a key in brackets, a value, a comment or blank";
    }

private:
    std::string ReadKey(std::string_view line) {
        if (line.back() != ']' || line.size() < 2) {
            return "a key line ends with ']'";
        }
        std::vector<std::string> names = SplitNames(line.substr(1, line.size() - 2));
        const int root = FindRoot(names.front());
        if (root < 0) {
            return "unknown root \"" + names.front() +
                   "\" (HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE or HKEY_USERS)";
        }
        names.erase(names.begin());
        for (const std::string& name : names) {
            if (!IsValidKeyName(name)) {
                return "a key name must be 1 to 255 bytes without '\\' or control bytes";
            }
        }
        m_current = &m_tree.Make(root, names);
        return {};
    }

    std::string ReadValue(std::string_view line) {
        std::string name;
        std::size_t at = 1;
        if (line.front() == '"') {
            std::string problem = ReadQuotedName(line, at, name);
            if (!problem.empty()) {
                return problem;
            }
        }
        if (at >= line.size() || line[at] != '=') {
            return "a value's name is followed by '='";
        }
        RegistryValue value;
        value.name = name;
        std::string problem = ReadData(line.substr(at + 1), value);
        if (!problem.empty()) {
            return problem;
        }
        if (m_current == nullptr) {
            return "a value needs a key line above it";
        }
        if (m_current->FindValue(value.name) != nullptr) {
            return "the value " + (name.empty() ? std::string("@") : QuotedName(name)) +
                   " is given twice in its key";
        }
        m_current->values.push_back(std::move(value));
        return {};
    }

    static std::string ReadQuotedName(std::string_view line, std::size_t& at, std::string& name) {
        for (;;) {
            if (at >= line.size()) {
                return "a quoted name ends with '\"'";
            }
            const char c = line[at++];
            if (c == '"') {
                return {};
            }
            if (c != '\\') {
                name += c;
                continue;
            }
            if (at >= line.size()) {
                return "a quoted name ends with '\"'";
            }
            const char escaped = line[at++];
            if (escaped == '\\' || escaped == '"') {
                name += escaped;
            } else if (escaped == 'x' && at + 1 < line.size() && HexValue(line[at]) >= 0 &&
                       HexValue(line[at + 1]) >= 0) {
                name += static_cast<char>(HexValue(line[at]) * 16 + HexValue(line[at + 1]));
                at += 2;
            } else {
                return "a name knows only the escapes \\\\, \\\" and \\xHH";
            }
        }
    }

    static std::string ReadData(std::string_view data, RegistryValue& value) {
        if (data.substr(0, 3) == "sz:") {
            value.type = REG_SZ;
            value.data.assign(data.begin() + 3, data.end());
            value.data.push_back(0);
            return {};
        }
        if (data.substr(0, 4) != "hex(") {
            return "a value's data is \"sz:\" and a text, or \"hex(TYPE):\" and bytes";
        }
        const std::size_t close = data.find("):", 4);
        std::string_view number = data.substr(4, close == std::string_view::npos ? 0 : close - 4);
        std::uint32_t type = 0;
        const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), type);
        if (number.empty() || error != std::errc() || end != number.data() + number.size()) {
            return "a value's type is a decimal number from 0 to 4294967295";
        }
        value.type = type;
        std::string_view hex = data.substr(close + 2);
        if (hex.size() % 2 != 0) {
            return "a value's bytes are pairs of hexadecimal digits";
        }
        value.data.reserve(hex.size() / 2);
        for (std::size_t i = 0; i < hex.size(); i += 2) {
            const int high = HexValue(hex[i]);
            const int low = HexValue(hex[i + 1]);
            if (high < 0 || low < 0) {
                return "a value's bytes are pairs of hexadecimal digits";
            }
            value.data.push_back(static_cast<BYTE>(high * 16 + low));
        }
        return {};
    }

    RegistryTree& m_tree;
    RegistryKey*& m_current;
};

} // namespace

RegistryKey::RegistryKey(const RegistryKey& other) : name(other.name), values(other.values) {
    subkeys.reserve(other.subkeys.size());
    for (const auto& subkey : other.subkeys) {
        subkeys.push_back(std::make_unique<RegistryKey>(*subkey));
    }
}

RegistryKey& RegistryKey::operator=(const RegistryKey& other) {
    if (this != &other) {
        RegistryKey copy(other);
        name = std::move(copy.name);
        values = std::move(copy.values);
        subkeys = std::move(copy.subkeys);
    }
    return *this;
}

RegistryKey* RegistryKey::FindSubkey(std::string_view subkeyName) const {
    for (const auto& subkey : subkeys) {
        if (EqualNoCase(subkey->name, subkeyName)) {
            return subkey.get();
        }
    }
    return nullptr;
}

RegistryValue* RegistryKey::FindValue(std::string_view valueName) {
    for (RegistryValue& value : values) {
        if (EqualNoCase(value.name, valueName)) {
            return &value;
        }
    }
    return nullptr;
}

void RegistryKey::SetValue(const RegistryValue& value) {
    if (RegistryValue* existing = FindValue(value.name)) {
        existing->type = value.type;
        existing->data = value.data;
    } else {
        values.push_back(value);
    }
}

bool RegistryKey::operator==(const RegistryKey& other) const {
    if (name != other.name || values != other.values || subkeys.size() != other.subkeys.size()) {
        return false;
    }
    for (std::size_t i = 0; i < subkeys.size(); ++i) {
        if (!(*subkeys[i] == *other.subkeys[i])) {
            return false;
        }
    }
    return true;
}

int RegistryTree::RootIndex(HKEY key) {
    // Both the sign-extended values and the plain 32-bit ones name the roots.
    const auto value = reinterpret_cast<std::uintptr_t>(key);
    const auto high = static_cast<std::uint64_t>(value) >> 32;
    const auto low = static_cast<std::uint32_t>(value);
    if ((high != 0 && high != 0xFFFFFFFFu) || low < 0x80000000u ||
        low >= 0x80000000u + static_cast<std::uint32_t>(kRootCount)) {
        return -1;
    }
    return static_cast<int>(low - 0x80000000u);
}

int RegistryTree::RootFromName(std::string_view name) {
    return FindRoot(name);
}

HKEY RegistryTree::RootKey(int root) {
    const std::array<HKEY, kRootCount> keys{HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE,
                                            HKEY_USERS};
    return keys[static_cast<std::size_t>(root)];
}

const char* RegistryTree::RootName(int root) {
    return kRoots[static_cast<std::size_t>(root)].longName;
}

RegistryKey* RegistryTree::Find(int root, const std::vector<std::string>& path) {
    RegistryKey* key = &Root(root);
    for (const std::string& name : path) {
        key = key->FindSubkey(name);
        if (key == nullptr) {
            return nullptr;
        }
    }
    return key;
}

RegistryKey& RegistryTree::Make(int root, const std::vector<std::string>& path) {
    RegistryKey* key = &Root(root);
    for (const std::string& name : path) {
        RegistryKey* next = key->FindSubkey(name);
        if (next == nullptr) {
            key->subkeys.push_back(std::make_unique<RegistryKey>(name));
            next = key->subkeys.back().get();
        }
        key = next;
    }
    return *key;
}

bool RegistryTree::Parse(std::string_view text, std::string& error) {
    *this = RegistryTree();
    RegistryKey* current = nullptr;
    LineReader reader(*this, current);
    const bool read = ReadLines(text, [&](std::string_view line, int number) {
        const std::string problem = reader.Read(line);
        if (!problem.empty()) {
            error = "line " + std::to_string(number) + ": " + problem;
        }
        return problem.empty();
    });
    if (!read) {
        *this = RegistryTree();
    }
    return read;
}

std::string RegistryTree::Text() const {
    std::string out = "# The emulated machine's registry, one key a bracketed line with its values below it "
                      "(format: platform/win32/registry/Registry.h). Comments are not kept.\n";
    for (int root = 0; root < kRootCount; ++root) {
        WriteKey(m_roots[static_cast<std::size_t>(root)], RootName(root), true, out);
    }
    return out;
}

bool IsValidKeyName(std::string_view name) {
    return !name.empty() && name.size() <= kMaxKeyName && SplitNames(name).size() == 1 &&
           std::none_of(name.begin(), name.end(), IsControl);
}

bool SplitKeyPath(LPCSTR subKey, std::vector<std::string>& names) {
    names.clear();
    if (subKey == nullptr || *subKey == '\0') {
        return true;
    }
    names = SplitNames(subKey);
    if (names.size() > 1 && names.back().empty()) {
        names.pop_back();
    }
    return std::none_of(names.begin(), names.end(), [](const std::string& name) { return name.empty(); });
}

} // namespace win32
