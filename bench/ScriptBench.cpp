#include "foundation/String.h"
#include "script/Script.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr int kSections = 10000;
constexpr int kKeysPerSection = 10;

// A script of kSections sections of kKeysPerSection keys each, with the kinds of values titles write: calls
// with quoted and nested arguments, rectangles, repeated keys and comments.
const std::string& ScriptText() {
    static const std::string text = [] {
        std::string out = "; generated\r\nStart = State0\r\n\r\n";
        for (int s = 0; s < kSections; ++s) {
            const std::string n = std::to_string(s);
            out += "[State" + n + "]\r\n";
            out += "Class = NavigationState\r\n";
            out += "Rect = 10, 20, 640, 480\r\n";
            out += "Control = Button" + n + "(Play, \"Start Game\"), Text(TITLE_" + n + "(Strings))\r\n";
            out += "OpenAction = Sound(Click, 0x7F), SetVar(Seen, " + n + ")\r\n";
            out += "OpenAction = Progress(1), Done // repeated key\r\n";
            out += "CloseAction = Fade(\"Black\", 500), Stop(Music)\r\n";
            out += "Cursor = Hand\r\n";
            out += "Text = \"Line one\\nline two\"\r\n";
            out += "AutoAction = State" + std::to_string((s + 1) % kSections) + "\r\n";
            out += "Flags = true, toggle, 1 /* comment */\r\n\r\n";
        }
        return out;
    }();
    return text;
}

void BM_LoadScript(benchmark::State& state) {
    const std::string& text = ScriptText();
    for (auto _ : state) {
        Script script;
        benchmark::DoNotOptimize(script.LoadBuffer(text.data(), text.size(), false));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    state.counters["keys"] = kSections * kKeysPerSection;
}
BENCHMARK(BM_LoadScript)->Unit(benchmark::kMillisecond);

void BM_LoadAndParseEveryValue(benchmark::State& state) {
    const std::string& text = ScriptText();
    for (auto _ : state) {
        Script script;
        if (!script.LoadBuffer(text.data(), text.size(), true)) {
            state.SkipWithError("a value failed to parse");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    state.counters["keys"] = kSections * kKeysPerSection;
}
BENCHMARK(BM_LoadAndParseEveryValue)->Unit(benchmark::kMillisecond);

// Lookups of parsed values by section and key name, in another letter case than the file's.
void BM_LookupKeys(benchmark::State& state) {
    const std::string& text = ScriptText();
    Script script;
    script.LoadBuffer(text.data(), text.size(), true);
    std::vector<Vemo::String> sections;
    for (int s = 0; s < kSections; s += 7) {
        sections.push_back(Vemo::String(("STATE" + std::to_string(s)).c_str()));
    }
    const Vemo::String keys[] = {"class", "RECT", "Control", "openaction", "Text"};
    std::size_t i = 0;
    for (auto _ : state) {
        const Vemo::BasicArray<Fragment>* fragments = nullptr;
        const bool found = script.GetFragments(sections[i % sections.size()], keys[i % 5], fragments);
        benchmark::DoNotOptimize(found);
        benchmark::DoNotOptimize(fragments);
        ++i;
    }
}
BENCHMARK(BM_LookupKeys);

} // namespace
