// A screen of controls drawn frame by frame beside memcpy of the frame: the title's viewport opened from its
// script section on the DirectX 6 engine (headless video backend, 640 x 480 x 32), and over a background
// picture as large as it 10 panels of 160 x 120 that overlap one another and 40 buttons of 40 x 30 in front
// of them, each kind half opaque and half transparent. Two frames are measured as the application draws them
// (the invalidation, then DrawFrame: the draw pass into the back buffer and the copy of what changed to the
// screen, which presents it): a full redraw, and one where a single button changes (each frame the next one),
// so that only its area is drawn. The full redraw's draw pass alone is measured as well, to show the share of
// the copy to the screen. The goals: a full redraw within 3x memcpy's time, a one-button frame within 0.1x;
// the ratios are printed after the table.
#include "engines/graphics/Graphic.h"
#include "engines/graphics/GraphicSystem.h"
#include "engines/graphics/directx/DirectX6GraphicEngine.h"
#include "engines/graphics/directx/DirectXWindow.h"
#include "platform/testing/WindowTesting.h"
#include "resources/hooks/DirectXEngineHook.h"
#include "resources/hooks/Win32EngineHook.h"
#include "resources/testing/TestResourceFamily.h"
#include "runtime/screen/Control.h"
#include "runtime/screen/ControlManager.h"
#include "runtime/screen/MessengerViewport.h"
#include "script/MessengerFactory.h"
#include "script/Script.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr std::int32_t kWidth = 640;
constexpr std::int32_t kHeight = 480;
constexpr std::uint32_t kCopy = 3;
constexpr int kPanels = 10;
constexpr int kButtons = 40;

// Fills what it is asked to draw with its colour.
class FilledControl : public Control {
public:
    FilledControl(const char* name, std::uint32_t pixel)
        : Control(Vemo::String(name), nullptr, nullptr), m_pixel(pixel) {}

    void Draw(const Vemo::Rect& localPart) override { FillRect(localPart, m_pixel, true, kCopy); }

    std::uint32_t m_pixel;
};

// Shows the part of a picture as large as itself.
class PictureControl : public Control {
public:
    explicit PictureControl(Vemo::Graphic& picture)
        : Control(Vemo::String("Background"), nullptr, nullptr), m_picture(picture) {}

    void Draw(const Vemo::Rect& localPart) override {
        DrawGraphicAt(Vemo::Point(localPart.left, localPart.top), m_picture, localPart, kCopy);
    }

private:
    Vemo::Graphic& m_picture;
};

// The picture and the controls over it, under a root.
class Controls {
public:
    Controls(Control* root, const Vemo::PixelFormat& format) {
        m_picture = std::make_unique<Vemo::Graphic>();
        m_picture->Open(kWidth, kHeight, &format, Vemo::GraphicSystem::Memory::System, 1);
        for (std::int32_t y = 0; y < kHeight; y += 16) {
            m_picture->FillRect(Vemo::Rect(0, y, kWidth, y + 16), static_cast<std::uint32_t>(y * 0x010203),
                                true, kCopy);
        }
        m_background = std::make_unique<PictureControl>(*m_picture);
        m_background->Configure(root, nullptr);
        m_background->SetSize(Vemo::Size(kWidth, kHeight));
        for (int index = 0; index < kPanels + kButtons; ++index) {
            const bool panel = index < kPanels;
            const int place = panel ? index : index - kPanels;
            const Vemo::Point at = panel ? Vemo::Point(8 + place % 5 * 124, 16 + place / 5 * 150)
                                         : Vemo::Point(20 + place % 10 * 60, 40 + place / 10 * 100);
            const std::string name = "Control" + std::to_string(index);
            auto control =
                std::make_unique<FilledControl>(name.c_str(), 0x102030u * static_cast<std::uint32_t>(index));
            control->Configure(root, nullptr);
            control->SetRectangle(Vemo::Rect(at, panel ? Vemo::Size(160, 120) : Vemo::Size(40, 30)));
            control->SetTransparent(index % 2 == 1);
            m_controls.push_back(std::move(control));
        }
    }

    ~Controls() {
        m_controls.clear();
        m_background.reset();
        m_picture.reset();
    }

    bool IsOpen() const { return m_picture->IsOpen(); }
    FilledControl& Button(std::size_t index) { return *m_controls[kPanels + index]; }

private:
    std::unique_ptr<Vemo::Graphic> m_picture;
    std::unique_ptr<PictureControl> m_background;
    std::vector<std::unique_ptr<FilledControl>> m_controls;
};

// The title's viewport on the DirectX 6 engine with the headless video backend: the window hooks, the main
// window, the engine, the viewport opened from its script section at 32 bits, and the controls under its
// root. A frame is the viewport's own: the dirty area drawn into the back buffer and copied to the screen,
// which presents it.
class ViewportScreen {
public:
    ViewportScreen() {
        win32::testing::UseVideoBackend(win32::testing::VideoBackendKind::Headless);
        const auto instance = reinterpret_cast<win32::HINSTANCE>(static_cast<win32::ULONG_PTR>(0x400000));
        m_hooked =
            Vemo::Win32EngineHook::Install(instance) &&
            Vemo::Win32EngineHook::RegisterWindowClass("Thornwickstead Window Class", win32::CS_DBLCLKS,
                                                       nullptr, nullptr, nullptr, nullptr, Vemo::String()) &&
            Vemo::DirectXEngineHook::Install(instance);
        m_main = std::make_unique<Vemo::DirectXWindow>(true);
        const Vemo::Point position(0, 0);
        const Vemo::Size size(kWidth, kHeight);
        m_hooked = m_hooked && m_main->Create("Main", &position, &size, true, true, 0, win32::WS_POPUP,
                                              nullptr, nullptr, false, false);
        m_systems.m_graphicSystem = Vemo::GraphicSystem::Create();
        Vemo::DirectX6GraphicEngine* engine = Vemo::DirectX6GraphicEngine::Install();
        m_hooked =
            m_hooked && engine != nullptr && m_systems.m_graphicSystem->AddEngine(engine) && engine->Start();
        const char text[] = "[Viewport]\nClass=Viewport\nTitle=\"Bench\"\nDepth=32,Quality\n";
        m_script = std::make_unique<Script>();
        m_script->LoadBuffer(text, sizeof(text) - 1, false);
        m_viewport.reset(dynamic_cast<MessengerViewport*>(
            MessengerFactory::CreateFromScript(Vemo::String("Viewport"), nullptr, m_script.get())));
        if (m_viewport != nullptr) {
            m_controls =
                std::make_unique<Controls>(m_viewport->GetRootControl(), m_viewport->GetDisplayPixelFormat());
            m_viewport->DrawFrame(false);
        }
    }

    ~ViewportScreen() {
        m_controls.reset();
        m_viewport.reset();
        m_systems.m_graphicSystem->Shutdown();
        m_systems.m_graphicSystem = nullptr;
        m_main.reset();
        Vemo::DirectXEngineHook::Uninstall();
        Vemo::Win32EngineHook::Uninstall();
    }

    bool IsWhole(benchmark::State& state) {
        if (m_hooked && m_viewport != nullptr && m_controls->IsOpen() && m_systems.TakeReports().empty()) {
            return true;
        }
        state.SkipWithError("the viewport could not be made");
        return false;
    }

    MessengerViewport& Viewport() { return *m_viewport; }
    FilledControl& Button(std::size_t index) { return m_controls->Button(index); }

private:
    VemoTest::TestApplication m_systems;
    bool m_hooked = false;
    std::unique_ptr<Vemo::DirectXWindow> m_main;
    std::unique_ptr<Script> m_script;
    std::unique_ptr<MessengerViewport> m_viewport;
    std::unique_ptr<Controls> m_controls;
};

void BM_Memcpy32(benchmark::State& state) {
    const std::size_t size = static_cast<std::size_t>(kWidth) * kHeight * 4;
    std::vector<std::uint8_t> from(size, 1);
    std::vector<std::uint8_t> to(size);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), size);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}

void BM_ViewportFullRedraw(benchmark::State& state) {
    ViewportScreen screen;
    if (!screen.IsWhole(state)) {
        return;
    }
    for (auto _ : state) {
        screen.Viewport().Invalidate(nullptr);
        screen.Viewport().DrawFrame(false);
        benchmark::ClobberMemory();
    }
}

void BM_ViewportDrawPass(benchmark::State& state) {
    ViewportScreen screen;
    if (!screen.IsWhole(state)) {
        return;
    }
    for (auto _ : state) {
        screen.Viewport().Invalidate(nullptr);
        Vemo::Rect bounds;
        screen.Viewport().Draw(bounds, screen.Viewport());
        benchmark::ClobberMemory();
    }
}

void BM_ViewportOneButtonChanges(benchmark::State& state) {
    ViewportScreen screen;
    if (!screen.IsWhole(state)) {
        return;
    }
    std::size_t next = 0;
    for (auto _ : state) {
        FilledControl& control = screen.Button(next);
        next = (next + 1) % kButtons;
        control.m_pixel ^= 0x00FFFFFF;
        screen.Viewport().InvalidateControl(&control, nullptr);
        screen.Viewport().DrawFrame(false);
        benchmark::ClobberMemory();
    }
}

// Each benchmark repeated, its fastest repetition kept: other work on the machine only ever slows a run down.
void Repeated(benchmark::internal::Benchmark* benchmark) {
    benchmark->Unit(benchmark::kMicrosecond)
        ->Repetitions(7)
        ->ReportAggregatesOnly(true)
        ->ComputeStatistics("min", [](const std::vector<double>& values) {
            return *std::min_element(values.begin(), values.end());
        });
}

BENCHMARK(BM_Memcpy32)->Apply(Repeated);
BENCHMARK(BM_ViewportFullRedraw)->Apply(Repeated);
BENCHMARK(BM_ViewportDrawPass)->Apply(Repeated);
BENCHMARK(BM_ViewportOneButtonChanges)->Apply(Repeated);

// Prints, after the table, each frame's time over memcpy's for the whole frame, both measured in this run:
// the fastest repetitions, or the single runs when repetitions are turned off.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if ((run.run_type == Run::RT_Iteration && run.repetitions <= 1) ||
                (run.run_type == Run::RT_Aggregate && run.aggregate_name == "min")) {
                m_cpuTime[run.run_name.function_name] = run.GetAdjustedCPUTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        PrintRatio("BM_ViewportFullRedraw", 3.0);
        PrintRatio("BM_ViewportDrawPass", 0);
        PrintRatio("BM_ViewportOneButtonChanges", 0.1);
    }

private:
    // A goal of 0: the ratio alone.
    void PrintRatio(const std::string& frame, double goal) const {
        const auto frameTime = m_cpuTime.find(frame);
        const auto memcpyTime = m_cpuTime.find("BM_Memcpy32");
        if (frameTime == m_cpuTime.end() || memcpyTime == m_cpuTime.end() || memcpyTime->second <= 0) {
            return;
        }
        const double ratio = frameTime->second / memcpyTime->second;
        if (goal <= 0) {
            std::printf("%-26s %6.3fx memcpy of the frame\n", frame.c_str() + 3, ratio);
            return;
        }
        std::printf("%-26s %6.3fx memcpy of the frame (goal: at most %.1fx)%s\n", frame.c_str() + 3, ratio,
                    goal, ratio <= goal ? "" : "  <- over the goal");
    }

    std::map<std::string, double> m_cpuTime;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
