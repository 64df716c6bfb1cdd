#include "controls/TextNumber.h"

#include "script/Fragment.h"
#include "script/FragmentStream.h"

#include <cerrno>

std::int32_t TextToInteger(const Vemo::String& text) {
    std::int32_t number = 0;
    TextToFittingInteger(text, number);
    return number;
}

bool TextToFittingInteger(const Vemo::String& text, std::int32_t& number) {
    Vemo::BasicArray<Fragment> value;
    value.PushBack(Fragment(SubString(text), false));
    int read = 0;
    FragmentStream(value) >> read;
    number = read;
    return errno != ERANGE;
}
