#include "platform/video/HeadlessMessageBoxes.h"

#include "platform/video/VideoBackend.h"
#include "platform/win32/CodePage.h"
#include "platform/win32/headless/HeadlessRunLog.h"
#include "platform/win32/windows/Window.h"

#include <array>
#include <cstdio>
#include <utility>

namespace video {

namespace {

constexpr std::array<const char*, 8> kWords{nullptr, "OK", "Cancel", "Abort", "Retry", "Ignore", "Yes", "No"};

bool HasButton(win32::UINT buttons, int answer) {
    return answer == win32::IDOK || (answer == win32::IDCANCEL && buttons == win32::MB_OKCANCEL);
}

int DefaultAnswer(win32::UINT buttons) {
    return buttons == win32::MB_OKCANCEL ? win32::IDCANCEL : win32::IDOK;
}

} // namespace

HeadlessMessageBoxes& HeadlessMessageBoxes::Instance() {
    static HeadlessMessageBoxes* boxes = new HeadlessMessageBoxes;
    return *boxes;
}

void HeadlessMessageBoxes::QueueAnswer(int answer, std::string origin) {
    std::lock_guard guard(m_lock);
    m_answers.push_back(Queued{answer, std::move(origin)});
}

int HeadlessMessageBoxes::Answer(const MessageBoxSpec& box) {
    std::lock_guard guard(m_lock);
    int answer = DefaultAnswer(box.buttons);
    if (!m_answers.empty()) {
        const Queued queued = std::move(m_answers.front());
        m_answers.pop_front();
        if (HasButton(box.buttons, queued.answer)) {
            answer = queued.answer;
        } else {
            std::fprintf(stderr, "%s: the answer %s is no button of the box \"%s\"; it answers %s\n",
                         queued.origin.c_str(), AnswerWord(queued.answer), box.caption.c_str(),
                         AnswerWord(answer));
        }
    }
    if (m_recording) {
        m_shown.push_back(ShownMessageBox{box.owner, box.caption, box.text, box.type, answer});
    } else if (!win32::HeadlessRunLog::Instance().IsOpen()) {
        // Nobody sees a box without a display, and without a log it would leave no trace: a title's
        // failure (a missing file, a broken script) would end the program in silence.
        std::fprintf(stderr, "headless %s\n",
                     win32::HeadlessRunLog::BoxLine(box.caption, box.text, AnswerWord(answer)).c_str());
    }
    return answer;
}

void HeadlessMessageBoxes::SetRecording(bool recording) {
    std::lock_guard guard(m_lock);
    m_recording = recording;
    m_shown.clear();
}

std::vector<ShownMessageBox> HeadlessMessageBoxes::TakeShown() {
    std::lock_guard guard(m_lock);
    return std::exchange(m_shown, {});
}

void HeadlessMessageBoxes::ClearAnswers() {
    std::lock_guard guard(m_lock);
    m_answers.clear();
}

const char* AnswerWord(int answer) {
    return answer > 0 && answer < static_cast<int>(kWords.size()) ? kWords[static_cast<std::size_t>(answer)]
                                                                  : nullptr;
}

int AnswerFromWord(std::string_view word) {
    for (std::size_t answer = 1; answer < kWords.size(); ++answer) {
        if (win32::EqualNoCase(word, kWords[answer])) {
            return static_cast<int>(answer);
        }
    }
    return 0;
}

} // namespace video
