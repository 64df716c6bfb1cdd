#include "controls/TextNumber.h"

#include "script/Fragment.h"
#include "script/FragmentStream.h"

std::int32_t TextToInteger(const Vemo::String& text) {
    Vemo::BasicArray<Fragment> value;
    value.PushBack(Fragment(SubString(text), false));
    int number = 0;
    FragmentStream(value) >> number;
    return number;
}
