// Loading scripts and ini files of 10,000 sections x 10 keys, beside a plain ini parser (libinih, when the
// build finds it) that stores every pair in hash maps. The goal: Config and Script load at no less than half
// of inih's throughput on the same text; the ratios are printed after the table.
#include "foundation/String.h"
#include "script/Config.h"
#include "script/Script.h"

#include <benchmark/benchmark.h>

#if defined(VEMO_BENCH_WITH_INIH)
#include <ini.h>
#endif

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

constexpr int kSections = 10000;
constexpr int kKeysPerSection = 10;
constexpr double kGoalRatio = 0.5;

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

// User settings as a title keeps them: kSections sections of kKeysPerSection plain "Name = value" lines.
const std::string& ConfigText() {
    static const std::string text = [] {
        std::string out = "; settings\r\nVersion = 3\r\n\r\n";
        for (int s = 0; s < kSections; ++s) {
            const std::string n = std::to_string(s);
            out += "[Player" + n + "]\r\n";
            for (int k = 0; k < kKeysPerSection; ++k) {
                out += "Setting" + std::to_string(k) + " = value " + std::to_string(k * 7 + s) + " of " + n +
                       "\r\n";
            }
            out += "\r\n";
        }
        return out;
    }();
    return text;
}

bool LoadConfig(const std::string& text) {
    Config config;
    return config.LoadBuffer(text.data(), text.size());
}

bool LoadScript(const std::string& text) {
    Script script;
    return script.LoadBuffer(text.data(), text.size(), false);
}

void LoadRepeatedly(benchmark::State& state, const std::string& text, bool (*load)(const std::string&)) {
    for (auto _ : state) {
        if (!load(text)) {
            state.SkipWithError("the loader refused the text");
            return;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

#if defined(VEMO_BENCH_WITH_INIH)
using Pairs = std::unordered_map<std::string, std::unordered_map<std::string, std::string>>;

int StorePair(void* user, const char* section, const char* name, const char* value) {
    (*static_cast<Pairs*>(user))[section][name] = value;
    return 1;
}

bool LoadWithInih(const std::string& text) {
    Pairs pairs;
    return ini_parse_string(text.c_str(), StorePair, &pairs) == 0;
}

void BM_InihConfigText(benchmark::State& state) {
    LoadRepeatedly(state, ConfigText(), LoadWithInih);
}
BENCHMARK(BM_InihConfigText)->Unit(benchmark::kMillisecond);
#endif

void BM_LoadConfig(benchmark::State& state) {
    LoadRepeatedly(state, ConfigText(), LoadConfig);
}
BENCHMARK(BM_LoadConfig)->Unit(benchmark::kMillisecond);

#if defined(VEMO_BENCH_WITH_INIH)
void BM_InihScriptText(benchmark::State& state) {
    LoadRepeatedly(state, ScriptText(), LoadWithInih);
}
BENCHMARK(BM_InihScriptText)->Unit(benchmark::kMillisecond);
#endif

void BM_LoadScript(benchmark::State& state) {
    LoadRepeatedly(state, ScriptText(), LoadScript);
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

// Prints, after the table, each loader's throughput as a share of inih's on the same text: the processor
// time per load of the two benchmarks, each run in a loop of its own as a title loads one file after another.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            m_cpuTime[run.benchmark_name()] = run.GetAdjustedCPUTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        PrintRatio("Config load", "BM_LoadConfig", "BM_InihConfigText");
        PrintRatio("Script load", "BM_LoadScript", "BM_InihScriptText");
    }

private:
    void PrintRatio(const char* what, const std::string& ours, const std::string& theirs) const {
        const auto oursTime = m_cpuTime.find(ours);
        const auto theirsTime = m_cpuTime.find(theirs);
        if (oursTime == m_cpuTime.end() || theirsTime == m_cpuTime.end() || oursTime->second <= 0) {
            return;
        }
        std::printf("%s: %.2fx libinih's throughput (goal: at least %.2fx)\n", what,
                    theirsTime->second / oursTime->second, kGoalRatio);
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
