// How message boxes answer without a display: in order, the answers a scripted run (VEMO_HEADLESS_INPUT's
// "answer" steps) or a test queued, else the box's default: Cancel where the box has that button, else OK.
// A box answered while no test records boxes and no run log (VEMO_HEADLESS_LOG) is written is said on the
// standard error, so that it leaves a trace.
// Internal to the platform layer; platform/testing/MessageBoxTesting.h is its test API.
#pragma once

#include "platform/win32/Types.h"

#include <deque>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace video {

struct MessageBoxSpec;

struct ShownMessageBox {
    win32::HWND owner = nullptr;
    std::string caption;
    std::string text;
    win32::UINT type = 0;
    int answer = 0;
};

class HeadlessMessageBoxes {
public:
    static HeadlessMessageBoxes& Instance();

    // origin names where the answer came from, for the message when it fits no button of its box.
    void QueueAnswer(int answer, std::string origin);
    // The next box's answer: the first queued one (when it is no button of the box, the default, and the
    // standard error says so), else the default.
    int Answer(const MessageBoxSpec& box);

    // While recording, every box answered is kept for TakeShown.
    void SetRecording(bool recording);
    std::vector<ShownMessageBox> TakeShown();
    void ClearAnswers();

private:
    struct Queued {
        int answer;
        std::string origin;
    };

    HeadlessMessageBoxes() = default;

    std::mutex m_lock;
    std::deque<Queued> m_answers;
    bool m_recording = false;
    std::vector<ShownMessageBox> m_shown;
};

// The word of an answer ("OK", "Cancel", "Abort", "Retry", "Ignore", "Yes", "No"), or null.
const char* AnswerWord(int answer);
// The answer a word names, without regard to case; 0 for none.
int AnswerFromWord(std::string_view word);

} // namespace video
