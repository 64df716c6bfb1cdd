// The Flash player page's messages (fscommand texts come from the movie) on any bytes, read as a text pair
// and as a number: never a crash.
#include "platform/web/ScriptMessageJson.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string json(reinterpret_cast<const char*>(data), size);
    web::ScriptMessageJson::TextPair(json);
    web::ScriptMessageJson::Number(json);
    return 0;
}
