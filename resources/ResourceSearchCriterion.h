// What a front-end asks its system for. Every family derives its own criterion with the fields its engines
// match on; the base carries only what the system needs to pick an engine.
#pragma once

#include <cstdint>

namespace Vemo {

class ResourceSearchCriterion {
public:
    // Quick matches only; quick then thorough on the engines that passed; thorough on every engine (a stopped
    // engine is started for its thorough match and stopped again).
    static constexpr std::uint32_t kSearchQuick = 1;
    static constexpr std::uint32_t kSearchQuickThenThorough = 2;
    static constexpr std::uint32_t kSearchThorough = 3;

    ResourceSearchCriterion(std::uint32_t familyId, std::uint32_t searchMode);
    virtual ~ResourceSearchCriterion();

    // Null for any engine of the family; else the type id of the one engine that may serve the request.
    const std::uint32_t* GetWantedEngineId() const { return m_wantedEngineId; }
    void SetWantedEngineId(const std::uint32_t* engineId) { m_wantedEngineId = engineId; }
    std::uint32_t GetSearchMode() const { return m_searchMode; }
    void SetSearchMode(std::uint32_t searchMode) { m_searchMode = searchMode; }
    std::uint32_t GetFamilyId() const { return m_familyId; }

private:
    const std::uint32_t* m_wantedEngineId = nullptr;
    std::uint32_t m_searchMode;
    std::uint32_t m_familyId;
};

} // namespace Vemo
