#include "platform/testing/MessageBoxTesting.h"

namespace win32::testing {

MessageBoxRecorder::MessageBoxRecorder() {
    video::HeadlessMessageBoxes::Instance().ClearAnswers();
    video::HeadlessMessageBoxes::Instance().SetRecording(true);
}

MessageBoxRecorder::~MessageBoxRecorder() {
    video::HeadlessMessageBoxes::Instance().SetRecording(false);
    video::HeadlessMessageBoxes::Instance().ClearAnswers();
}

void MessageBoxRecorder::Answer(int answer) {
    video::HeadlessMessageBoxes::Instance().QueueAnswer(answer, "a test's MessageBoxRecorder");
}

std::vector<ShownMessageBox> MessageBoxRecorder::Take() {
    return video::HeadlessMessageBoxes::Instance().TakeShown();
}

} // namespace win32::testing
