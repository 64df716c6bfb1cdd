// Reads a list of fragments one after the other, as the arguments of a message or the value of a key. Every
// read takes the next fragment and moves on by one. At the end of the list a read changes neither the stream
// nor its target; a fragment with an empty text leaves numeric and bool targets unchanged and gives text
// targets the empty text. Numbers out of a target's range are clamped and set errno to ERANGE; errno is set
// to 0 before each conversion, so callers may test it after a read.
//
// The stream does not own the fragments: the array it reads must outlive it.
#pragma once

#include "foundation/BasicArray.h"
#include "foundation/Rect.h"
#include "foundation/String.h"
#include "script/Fragment.h"
#include "script/SubString.h"

#include <cstdint>

class FragmentStream {
public:
    FragmentStream();
    explicit FragmentStream(const Vemo::BasicArray<Fragment>& fragments);
    FragmentStream(const FragmentStream& other);
    FragmentStream& operator=(const FragmentStream& other);
    virtual ~FragmentStream();

    bool AtEnd() const { return m_current == m_end; }
    // The fragments not read yet.
    std::size_t Remaining() const { return static_cast<std::size_t>(m_end - m_current); }

    // A fragment with children is a locale reference: its text is the key, its first child names the table.
    // The key's text in that table is stored (empty when the table lacks it); without such a table the target
    // is unchanged.
    FragmentStream& operator>>(Vemo::String& target);
    FragmentStream& operator>>(SubString& target);

    // A text that begins with a digit is true when its number is not 0; any other is true only when it is the
    // word "true" in any case.
    FragmentStream& operator>>(bool& target);
    // As the bool read, except that the word "toggle" in any case inverts the target.
    FragmentStream& ReadBoolOrToggle(bool& target);

    // Integers take their base from the text ("0x" hexadecimal, a leading 0 octal, else decimal) and are
    // converted in 32 bits, as the value syntax always has; long long is the 64-bit reader, sign-extended.
    FragmentStream& operator>>(int& target);
    FragmentStream& operator>>(long& target);
    FragmentStream& operator>>(long long& target);
    FragmentStream& operator>>(unsigned int& target);
    FragmentStream& operator>>(unsigned long& target);
    FragmentStream& operator>>(signed char& target);
    FragmentStream& operator>>(unsigned char& target);
    FragmentStream& operator>>(short& target);
    FragmentStream& operator>>(unsigned short& target);
    FragmentStream& operator>>(float& target);
    FragmentStream& operator>>(double& target);

    FragmentStream& ReadPosition(Vemo::Point& target);
    FragmentStream& ReadSize(Vemo::Size& target);
    // Left, top, right, bottom.
    FragmentStream& operator>>(Vemo::Rect& target);
    // Three numbers clamped to 0..255, in bits 0-7, 8-15 and 16-23 of packed (a missing or empty one is 0),
    // and the flag set to 1. At the end of the stream both are unchanged.
    FragmentStream& ReadPackedBytes(std::uint32_t& packed, std::uint32_t& flag);

    FragmentStream& operator>>(Fragment& target);
    // Null at the end of the stream.
    FragmentStream& operator>>(const Fragment*& target);
    // Appends every fragment not read yet.
    FragmentStream& operator>>(Vemo::BasicArray<Fragment>& target);

private:
    // The next fragment when it has a text to convert (the stream moves on), else null.
    const Fragment* NextNumber();
    template <class T>
    FragmentStream& ReadSignedClamped(T& target, long minimum, long maximum);
    template <class T>
    FragmentStream& ReadUnsignedClamped(T& target, unsigned long maximum);

    const Fragment* m_current;
    const Fragment* m_end;
};
