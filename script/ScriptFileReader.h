// The line syntax of script files: section lines "[Name]" and key lines "Name=value", with ";", "//", "REM "
// and "/* */" comments where a line or a value begins. The reader hands each section and key to a handler.
#pragma once

#include <cstddef>

class ScriptFileReader {
public:
    class Handler {
    public:
        virtual ~Handler();
        // Each returns false to end the scan.
        virtual bool OnSection(const char* name, std::size_t length) = 0;
        virtual bool OnKey(const char* name, std::size_t nameLength, const char* value,
                           std::size_t valueLength) = 0;
    };

    ScriptFileReader(const char* data, std::size_t size);

    // False when the handler ended the scan.
    bool Read(Handler& handler);

private:
    bool SkipComment(std::size_t& position, std::size_t end) const;
    void SkipSpaceAndComments(std::size_t& position) const;
    void SkipValueLead(std::size_t& position) const;
    std::size_t LineEnd(std::size_t position) const;
    std::size_t TrimEnd(std::size_t begin, std::size_t end) const;
    bool ReadSection(std::size_t& position, Handler& handler) const;
    bool ReadKey(std::size_t& position, Handler& handler) const;

    const char* m_data;
    std::size_t m_size;
};
