// The values pages post to the program (WebViewEvents::scriptMessage gives each as JSON text) that the Flash
// player's page sends: a pair of texts, or a number. Any other text is none of them.
#pragma once

#include <optional>
#include <string>
#include <utility>

namespace web {

class ScriptMessageJson {
public:
    // ["text", "text"], each text as UTF-16 (the JSON text is UTF-8; a malformed byte stands for itself).
    static std::optional<std::pair<std::u16string, std::u16string>> TextPair(const std::string& json);
    // A number, its fraction dropped; it must fit an int.
    static std::optional<int> Number(const std::string& json);
};

} // namespace web
