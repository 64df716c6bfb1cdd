// What Error::Report and Error::OpenReported ask the error system for: a new error (create set, with its code
// and text) or an error that was reported earlier (create clear, with an index and a scope). The criterion
// lives on the caller's stack and points at the caller's arguments.
#pragma once

#include "resources/ResourceSearchCriterion.h"
#include "resources/error/ErrorCode.h"

#include <cstdint>

namespace Vemo {

class String;

class ErrorSearchCriterion : public ResourceSearchCriterion {
public:
    // The error family, a quick search, any engine; nothing to create and nothing to find yet.
    ErrorSearchCriterion();
    ~ErrorSearchCriterion() override;

    bool GetCreate() const { return m_create; }
    void SetCreate(bool create) { m_create = create; }
    const ErrorCode* GetCode() const { return m_code; }
    void SetCode(const ErrorCode* code) { m_code = code; }
    const String* GetText() const { return m_text; }
    void SetText(const String* text) { m_text = text; }
    const std::uint32_t* GetIndex() const { return m_index; }
    void SetIndex(const std::uint32_t* index) { m_index = index; }
    // True: count in the system's log; false: in the log of the engine that the criterion finds.
    const bool* GetSystemWide() const { return m_systemWide; }
    void SetSystemWide(const bool* systemWide) { m_systemWide = systemWide; }

private:
    bool m_create = false;
    const ErrorCode* m_code = nullptr;
    const String* m_text = nullptr;
    const std::uint32_t* m_index = nullptr;
    const bool* m_systemWide = nullptr;
};

} // namespace Vemo
