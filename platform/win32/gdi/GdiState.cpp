#include "platform/win32/gdi/GdiState.h"

#include "platform/win32/gdi/Gdi.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>

namespace win32::gdi {
namespace {

// Every call a test may make fail, by the name Windows gives it.
constexpr std::array<std::string_view, 29> kCallNames{
    "CreateCompatibleDC",
    "CreateDCA",
    "DeleteDC",
    "GetDC",
    "ReleaseDC",
    "SelectObject",
    "DeleteObject",
    "SetMapMode",
    "SetBkMode",
    "SetBkColor",
    "SetTextAlign",
    "SetTextColor",
    "SetTextCharacterExtra",
    "SetTextJustification",
    "GetDeviceCaps",
    "CreateRectRgn",
    "GetClipRgn",
    "SelectClipRgn",
    "CreateFontA",
    "CreateFontIndirectA",
    "GetTextMetricsA",
    "GetGlyphOutlineA",
    "GetCharABCWidthsA",
    "GetKerningPairsA",
    "CreateDIBSection",
    "CreateSolidBrush",
    "FillRect",
    "TextOutA",
    "DrawTextA",
};

struct Failure {
    int skip = 0;
    int times = 0; // negative: always
};

struct Stock {
    HGDIOBJ font = nullptr;
    HGDIOBJ brush = nullptr;
    HGDIOBJ blackBrush = nullptr;
    HGDIOBJ bitmap = nullptr;
    bool made = false;
};

// Objects or DCs by handle value.
template <class T>
class Table {
public:
    std::uintptr_t Add(std::uintptr_t key, std::shared_ptr<T> entry) {
        m_entries.emplace(key, std::move(entry));
        return key;
    }
    std::shared_ptr<T> Find(const void* handle) const {
        auto found = m_entries.find(reinterpret_cast<std::uintptr_t>(handle));
        return found == m_entries.end() ? nullptr : found->second;
    }
    void Remove(const void* handle) { m_entries.erase(reinterpret_cast<std::uintptr_t>(handle)); }
    const std::unordered_map<std::uintptr_t, std::shared_ptr<T>>& Entries() const { return m_entries; }

private:
    std::unordered_map<std::uintptr_t, std::shared_ptr<T>> m_entries;
};

struct State {
    std::mutex mutex;
    std::uintptr_t nextHandle = 0x10000;
    Table<GdiObject> objects;
    Table<GdiDeviceContext> dcs;
    std::unordered_map<std::string, Failure> failures;
    Stock stock;
};

State& TheState() {
    static State* state = new State;
    return *state;
}

std::uintptr_t NextKey(State& state) {
    state.nextHandle += 4;
    return state.nextHandle;
}

bool TakeFailure(State& state, std::string_view name) {
    auto found = state.failures.find(std::string(name));
    if (found == state.failures.end()) {
        return false;
    }
    Failure& failure = found->second;
    if (failure.skip > 0) {
        --failure.skip;
        return false;
    }
    if (failure.times > 0 && --failure.times == 0) {
        state.failures.erase(found);
    }
    return true;
}

HGDIOBJ AddStock(std::shared_ptr<GdiObject> object) {
    if (!object) {
        return nullptr;
    }
    object->stock = true;
    return AddObject(std::move(object));
}

// The 1x1 monochrome bitmap a new memory DC holds.
std::shared_ptr<GdiBitmap> MakeStockBitmap() {
    auto bitmap = std::make_shared<GdiBitmap>();
    bitmap->memory = std::make_unique<std::uint8_t[]>(4);
    bitmap->palette = {RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 255, 255, 0}};
    bitmap->target = GdiBitmapTarget{bitmap->memory.get(), 4, 1, 1, 1, 0, 0, 0, bitmap->palette.data(), 2};
    return bitmap;
}

// Windows' default font is its bold "System" face at 16 pixels; here it is whatever fontconfig offers for
// that.
std::shared_ptr<GdiFont> MakeStockFont() {
    LOGFONTA logFont{};
    logFont.lfHeight = 16;
    logFont.lfWeight = FW_BOLD;
    logFont.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    std::copy_n("System", 7, logFont.lfFaceName);
    return MakeFontObject(logFont);
}

void MakeStockObjects(State& state) {
    if (state.stock.made) {
        return;
    }
    state.stock.made = true;
    auto brush = std::make_shared<GdiBrush>();
    brush->color = 0xFFFFFF;
    state.stock.brush = AddStock(brush);
    state.stock.blackBrush = AddStock(std::make_shared<GdiBrush>());
    state.stock.bitmap = AddStock(MakeStockBitmap());
    state.stock.font = AddStock(MakeStockFont());
}

} // namespace

GdiCall::GdiCall(std::string_view name) : m_lock(TheState().mutex) {
    m_failed = TakeFailure(TheState(), name);
}

HGDIOBJ AddObject(std::shared_ptr<GdiObject> object) {
    State& state = TheState();
    return reinterpret_cast<HGDIOBJ>(state.objects.Add(NextKey(state), std::move(object)));
}

std::shared_ptr<GdiObject> FindObject(HGDIOBJ handle) {
    return TheState().objects.Find(handle);
}

void RemoveObject(HGDIOBJ handle) {
    TheState().objects.Remove(handle);
}

HDC AddDc(std::shared_ptr<GdiDeviceContext> dc) {
    State& state = TheState();
    return reinterpret_cast<HDC>(state.dcs.Add(NextKey(state), std::move(dc)));
}

std::shared_ptr<GdiDeviceContext> FindDc(HDC handle) {
    return TheState().dcs.Find(handle);
}

void RemoveDc(HDC handle) {
    TheState().dcs.Remove(handle);
}

std::shared_ptr<GdiDeviceContext> MakeDc(DcKind kind) {
    State& state = TheState();
    MakeStockObjects(state);
    auto dc = std::make_shared<GdiDeviceContext>(kind);
    Reselect(dc->font, state.stock.font, FindObjectAs<GdiFont>(state.stock.font));
    Reselect(dc->brush, state.stock.brush, FindObjectAs<GdiBrush>(state.stock.brush));
    if (kind == DcKind::Memory) {
        Reselect(dc->bitmap, state.stock.bitmap, FindObjectAs<GdiBitmap>(state.stock.bitmap));
    }
    return dc;
}

void ReleaseSelections(GdiDeviceContext& dc) {
    Reselect<GdiFont>(dc.font, nullptr, nullptr);
    Reselect<GdiBrush>(dc.brush, nullptr, nullptr);
    Reselect<GdiBitmap>(dc.bitmap, nullptr, nullptr);
}

std::vector<HGDIOBJ> LiveObjectHandles() {
    std::lock_guard lock(TheState().mutex);
    std::vector<HGDIOBJ> handles;
    for (const auto& [key, object] : TheState().objects.Entries()) {
        if (!object->stock) {
            handles.push_back(reinterpret_cast<HGDIOBJ>(key));
        }
    }
    return handles;
}

std::vector<HDC> LiveDcHandles() {
    std::lock_guard lock(TheState().mutex);
    std::vector<HDC> handles;
    for (const auto& [key, dc] : TheState().dcs.Entries()) {
        handles.push_back(reinterpret_cast<HDC>(key));
    }
    return handles;
}

bool FailCall(std::string_view name, int times, int skip) {
    bool known = false;
    for (std::string_view call : kCallNames) {
        known = known || call == name;
    }
    if (!known || times == 0) {
        return known;
    }
    std::lock_guard lock(TheState().mutex);
    TheState().failures[std::string(name)] = Failure{skip, times};
    return true;
}

void ClearFailures() {
    std::lock_guard lock(TheState().mutex);
    TheState().failures.clear();
}

} // namespace win32::gdi

namespace win32 {

HGDIOBJ GetStockObject(int index) {
    gdi::State& state = gdi::TheState();
    std::lock_guard lock(state.mutex);
    gdi::MakeStockObjects(state);
    switch (index) {
    case WHITE_BRUSH:
        return state.stock.brush;
    case BLACK_BRUSH:
        return state.stock.blackBrush;
    default:
        return nullptr;
    }
}

} // namespace win32
