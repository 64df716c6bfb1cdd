// The one text type of the system: 8-bit, NUL-terminated, with a character buffer shared between copies.
//
// The buffer is one block: a share-count byte (0 = one holder, n = n holders besides the first, 255 at most)
// followed by capacity + 1 characters. A shared buffer is never written to; any change first makes it
// private. Copying from a buffer whose count has reached 255 makes a private copy instead.
#pragma once

#include "foundation/Less.h"

#include <cstddef>
#include <cstdint>

namespace Vemo {

class String {
public:
    static constexpr std::uint32_t kMaxLength = 0xFFFFFFFD;
    // Search result for nothing found; as a count, everything up to the end.
    static constexpr std::uint32_t kNotFound = 0xFFFFFFFF;
    static constexpr std::uint32_t kAll = 0xFFFFFFFF;

    String();
    String(const String& other);
    // The buffer changes hands as it is, its share count untouched; the source is left empty, without a
    // buffer. Each String keeps its own conversion buffer.
    String(String&& other) noexcept;
    String(const char* text);
    explicit String(const char16_t* text);
    virtual ~String();

    String& operator=(const String& other);
    String& operator=(String&& other) noexcept;
    String& Assign(const String& source, std::uint32_t pos, std::uint32_t count);
    String& Assign(const char* text, std::uint32_t count);
    String& Assign(std::size_t count, char c);
    String& AssignBounded(const char* text, std::uint32_t maximum);

    String& Append(const String& source, std::uint32_t pos, std::uint32_t count);
    String& Append(const String& source);
    String& Append(const char* text);
    String& Append(const char* text, std::uint32_t count);
    String& Append(std::uint32_t count, char c);
    String& Append(bool value);
    String& Insert(std::uint32_t pos, std::uint32_t count, char c);

    String& Erase(std::uint32_t pos, std::uint32_t count);
    void SetAt(std::uint32_t index, char c);
    const char* At(std::uint32_t index) const;

    String Substring(std::uint32_t pos, std::uint32_t count) const;

    std::uint32_t Find(const char* pattern, std::uint32_t pos, std::uint32_t count) const;
    std::uint32_t Find(const char* pattern, std::uint32_t pos = 0) const;
    std::uint32_t FindFirstOf(const char* set, std::uint32_t pos, std::uint32_t count) const;
    std::uint32_t FindLastOf(const char* set, std::uint32_t pos, std::uint32_t count) const;

    // Three-way, case-sensitive, bytes compared as unsigned.
    int Compare(const String& other) const;
    int Compare(const char* text) const;
    int Compare(std::uint32_t pos, std::uint32_t count, const char* text, std::uint32_t textCount) const;
    int CompareRange(std::uint32_t pos, std::uint32_t count, const char* text, std::uint32_t textCount) const;

    // Narrowing keeps the low byte of each 16-bit unit; widening copies each byte into a unit. The result
    // lives in this String's conversion buffer until the next conversion or the String's destruction.
    const char* NarrowFromWide(const char16_t* text, std::uint32_t count);
    const char16_t* WideFromNarrow(const char* text, std::uint32_t count);

    // Never null: a String without a buffer reads as the static empty text.
    const char* CStr() const;
    std::uint32_t Length() const { return m_length; }
    std::uint32_t Capacity() const { return m_capacity; }
    bool IsEmpty() const { return m_length == 0; }
    bool CanShare() const;
    // The share-count byte in front of the text; only valid while the String has a buffer.
    const std::uint8_t* CountByte() const;
    bool HasBuffer() const { return m_text != nullptr; }

protected:
    void Reallocate(std::uint32_t n);
    bool Grow(std::uint32_t n, bool trim);
    void Tidy(bool release);
    void Unshare();

private:
    // Holds a buffer this String has let go of until the characters still to be read from it are copied, so
    // that a source pointing into the String's own text survives a reallocation.
    class PreviousBuffer;

    void Reallocate(std::uint32_t n, PreviousBuffer& previous);
    bool Grow(std::uint32_t n, bool trim, PreviousBuffer& previous);
    void Detach(PreviousBuffer& previous);
    void CheckAddedCount(std::uint32_t count) const;
    bool MakeRoomToAppend(std::uint32_t count, PreviousBuffer& previous);
    void SetLength(std::uint32_t length);
    void Share(const String& source);
    char* ConversionBuffer(std::uint64_t need, char*& previous);
    void FreeConversionBuffer();

    char* m_text = nullptr;
    std::uint32_t m_length = 0;
    std::uint32_t m_capacity = 0;
    char* m_conversion = nullptr;
};

// Case-insensitive orderings of the system's name tables. Each byte is lowered as an unsigned char and only
// 'A'-'Z' fold, so bytes from 0x80 on order by their value in every locale.
int CompareNoCase(const char* a, const char* b);
int CompareNoCase(const char* a, const char* b, std::uint32_t count);
bool CompareNoCase(const String& a, const String& b);

// Units before the first 0 unit, but at most maximum (the text need not be terminated).
std::uint32_t BoundedWideLength(const char16_t* text, std::uint32_t maximum);

template <>
struct Less<String> {
    bool operator()(const String& a, const String& b) const { return a.Compare(b) < 0; }
};

} // namespace Vemo
