#include "platform/win32/input/HeadlessRun.h"

#include "platform/video/FrameStore.h"
#include "platform/video/HeadlessMessageBoxes.h"
#include "platform/win32/HostDescriptor.h"
#include "platform/win32/headless/HeadlessRunLog.h"
#include "platform/win32/headless/HeadlessRunner.h"
#include "platform/win32/input/HostEvents.h"
#include "platform/win32/windows/WindowActions.h"
#include "platform/win32/windows/WindowSystem.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <thread>

namespace win32 {

namespace {

std::atomic<HeadlessRunner*> g_current{nullptr};

[[noreturn]] void EndBeforeStart(const std::string& message) {
    EndRun(message);
}

// The steps come from a regular file or a pipe (a shell's process substitution, a named pipe a test writes
// to). A folder would read as empty and pass for a run without steps; a device may never end or block; so
// anything else ends the run, and so does more than any script of steps needs.
std::string ReadSteps(const char* input, const std::string& origin) {
    struct stat named {};
    if (::stat(input, &named) == 0 && !S_ISREG(named.st_mode) && !S_ISFIFO(named.st_mode)) {
        EndBeforeStart(origin + ": is neither a regular file nor a pipe");
    }
    HostDescriptor file(::open(input, O_RDONLY | O_CLOEXEC | O_NOCTTY));
    struct stat info {};
    if (file.Get() < 0 || ::fstat(file.Get(), &info) != 0) {
        EndBeforeStart(origin + ": cannot be read: " + std::strerror(errno));
    }
    if (!S_ISREG(info.st_mode) && !S_ISFIFO(info.st_mode)) {
        EndBeforeStart(origin + ": is neither a regular file nor a pipe");
    }
    std::string text;
    const ReadOutcome outcome = ReadUpTo(file.Get(), kMostBytesReadWhole, text);
    if (outcome == ReadOutcome::TooLarge) {
        EndBeforeStart(origin + ": is larger than 64 MiB");
    }
    if (outcome == ReadOutcome::Failed) {
        EndBeforeStart(origin + ": cannot be read: " + std::strerror(errno));
    }
    return text;
}

void WriteExitLine(int code, void*) {
    HeadlessRunLog::Instance().Exit(code);
}

void PutLittleEndian(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

// A 24-bit BMP of the frame, its rows stored bottom-up and each padded to 4 bytes.
std::string BmpOf(const video::Frame& frame) {
    const auto width = static_cast<std::uint32_t>(frame.width);
    const auto height = static_cast<std::uint32_t>(frame.height);
    const std::uint32_t rowBytes = (width * 3 + 3) & ~3u;
    const std::uint32_t imageBytes = rowBytes * height;
    std::string bmp = "BM";
    PutLittleEndian(bmp, 54 + imageBytes, 4);
    PutLittleEndian(bmp, 0, 4);
    PutLittleEndian(bmp, 54, 4);
    PutLittleEndian(bmp, 40, 4);
    PutLittleEndian(bmp, width, 4);
    PutLittleEndian(bmp, height, 4);
    PutLittleEndian(bmp, 1, 2);
    PutLittleEndian(bmp, 24, 2);
    PutLittleEndian(bmp, 0, 4);
    PutLittleEndian(bmp, imageBytes, 4);
    PutLittleEndian(bmp, 2835, 4); // 72 dots an inch
    PutLittleEndian(bmp, 2835, 4);
    PutLittleEndian(bmp, 0, 4);
    PutLittleEndian(bmp, 0, 4);
    for (int y = frame.height - 1; y >= 0; --y) {
        for (int x = 0; x < frame.width; ++x) {
            PutLittleEndian(bmp, frame.At(x, y), 3);
        }
        bmp.append(rowBytes - width * 3, '\0');
    }
    return bmp;
}

host::MouseButton HostButton(HeadlessStep::Button button) {
    return button == HeadlessStep::Button::Right ? host::MouseButton::Right : host::MouseButton::Left;
}

} // namespace

HeadlessRunner* HeadlessRunner::Current() {
    return g_current.load();
}

HeadlessRunner::HeadlessRunner(std::vector<HeadlessStep> steps, std::string origin)
    : m_steps(std::move(steps)), m_origin(std::move(origin)) {
    g_current.store(this);
}

HeadlessRunner::~HeadlessRunner() {
    g_current.store(nullptr);
}

void HeadlessRunner::Begin() {
    RunSteps(true);
}

void HeadlessRunner::EndOfStep() {
    if (!IsMainThread()) {
        return;
    }
    m_clock.EndOfStep();
    if (m_done) {
        if (m_clock.NowMilliseconds() - m_doneAt >= kEndingMilliseconds) {
            EndRun(m_origin + ": the program did not end within " + std::to_string(kEndingMilliseconds) +
                   " ms of its clock after the steps closed its main window; it is ended");
        }
        return;
    }
    if (!m_clock.Waiting()) {
        RunSteps(false);
    }
}

void HeadlessRunner::RunSteps(bool atStart) {
    while (m_next < m_steps.size()) {
        const HeadlessStep& step = m_steps[m_next];
        if (step.kind == HeadlessStep::Kind::Answer) {
            video::HeadlessMessageBoxes::Instance().QueueAnswer(step.value, m_origin + ", line " +
                                                                                std::to_string(step.line));
            ++m_next;
            continue;
        }
        if (step.kind == HeadlessStep::Kind::Wait) {
            ++m_next;
            if (step.milliseconds > 0) {
                m_clock.BeginWait(step.milliseconds);
                return;
            }
            continue;
        }
        if (atStart) {
            return;
        }
        ++m_next;
        Perform(step);
    }
    if (atStart) {
        return;
    }
    m_done = true;
    m_doneAt = m_clock.NowMilliseconds();
    const HWND window = MainWindow();
    if (window != nullptr) {
        host::CloseRequested(window);
    }
    m_clock.BeginWait(HeadlessRunClock::kEndless);
}

HWND HeadlessRunner::MainWindow() const {
    WindowSystem& system = WindowSystem::Instance();
    std::lock_guard guard(system.Lock());
    return system.MainWindowOf(std::this_thread::get_id());
}

void HeadlessRunner::Say(int line, const std::string& what) const {
    std::fprintf(stderr, "%s, line %d: %s\n", m_origin.c_str(), line, what.c_str());
}

void HeadlessRunner::Perform(const HeadlessStep& step) {
    const HWND window = MainWindow();
    if (window == nullptr) {
        Say(step.line, "no main window is shown; the step does nothing");
        return;
    }
    using Kind = HeadlessStep::Kind;
    switch (step.kind) {
    case Kind::Move:
        host::MouseMoved(window, step.x, step.y);
        break;
    case Kind::Click:
    case Kind::Down:
    case Kind::Up:
        host::MouseMoved(window, step.x, step.y);
        if (step.kind != Kind::Up) {
            host::MouseButtonChanged(window, HostButton(step.button), true, step.x, step.y, 1);
        }
        if (step.kind != Kind::Down) {
            host::MouseButtonChanged(window, HostButton(step.button), false, step.x, step.y, 1);
        }
        break;
    case Kind::Key:
        host::VirtualKeyChanged(window, static_cast<BYTE>(step.value), true, false);
        host::VirtualKeyChanged(window, static_cast<BYTE>(step.value), false, false);
        break;
    case Kind::Snapshot:
        Snapshot(step, window);
        break;
    case Kind::Close:
        host::CloseRequested(window);
        break;
    default:
        break;
    }
}

void HeadlessRunner::Snapshot(const HeadlessStep& step, HWND window) {
    SIZE client{};
    ClientSizeOf(window, client);
    std::optional<video::Frame> shown = video::FrameStore::Instance().Shown(window);
    const video::Frame frame = shown.has_value() && shown->fullscreen
                                   ? *shown
                                   : video::InClientArea(shown.value_or(video::Frame{}), client);
    std::ofstream file(step.file, std::ios::binary | std::ios::trunc);
    file << BmpOf(frame);
    file.close();
    if (!file) {
        Say(step.line, "the snapshot " + step.file + " cannot be written: " + std::strerror(errno));
        return;
    }
    HeadlessRunLog::Instance().Snapshot(step.file);
}

void StartHeadlessRunFromEnvironment() {
    const char* log = std::getenv("VEMO_HEADLESS_LOG");
    if (log != nullptr && *log != '\0') {
        std::string reason;
        if (!HeadlessRunLog::Instance().Open(log, reason)) {
            EndBeforeStart(std::string("VEMO_HEADLESS_LOG ") + log + ": cannot be written: " + reason);
        }
        ::on_exit(WriteExitLine, nullptr);
    }
    const char* input = std::getenv("VEMO_HEADLESS_INPUT");
    if (input == nullptr || *input == '\0') {
        return;
    }
    const std::string origin = std::string("VEMO_HEADLESS_INPUT ") + input;
    const char* video = std::getenv("VEMO_VIDEO");
    if (video != nullptr && std::strcmp(video, "sdl") == 0) {
        EndBeforeStart(origin + ": a scripted run is headless, and VEMO_VIDEO asks for sdl");
    }
    const std::string text = ReadSteps(input, origin);
    std::vector<HeadlessStep> steps;
    std::string error;
    if (!ParseHeadlessSteps(text, steps, error)) {
        EndBeforeStart(origin + ", " + error);
    }
    // Stays for the life of the process.
    static HeadlessRunner* runner = new HeadlessRunner(std::move(steps), origin);
    runner->Begin();
}

void HoldScriptedClockWhile(std::function<bool()> busy) {
    HeadlessRunClock::SetHold(std::move(busy));
}

bool ThreadTimersMayFire() {
    HeadlessRunner* runner = HeadlessRunner::Current();
    return runner == nullptr || runner->IsMainThread();
}

namespace {

// Before the program's own static objects, so that the clock reads 0 from the very start and a run that
// cannot start ends before anything else happens.
[[gnu::constructor(101)]] void StartAtLoad() {
    StartHeadlessRunFromEnvironment();
}

} // namespace

} // namespace win32
