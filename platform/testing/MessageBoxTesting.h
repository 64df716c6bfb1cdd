// Test-only message boxes: the answers headless boxes give, and the boxes they were asked for; the box the
// program draws itself when the host's cannot show (platform/win32/desktop/DrawnMessageBox.h), which
// VEMO_TEST_HOST_BOX=fail brings up in place of every box of the host, as on an X server without the core
// fonts.
#pragma once

#include "platform/video/HeadlessMessageBoxes.h"
#include "platform/win32/desktop/DrawnMessageBox.h"
#include "platform/win32/windows/Window.h"

#include <vector>

namespace win32::testing {

using ShownMessageBox = video::ShownMessageBox;

// While it exists, headless boxes are kept for Take, and answer with what Answer queued (then as by
// default). Queued answers that no box took are dropped with it.
class MessageBoxRecorder {
public:
    MessageBoxRecorder();
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    // The answer of the next box that has no answer yet: IDOK, IDCANCEL, ...
    void Answer(int answer);
    // The boxes shown since the last Take, in order, with their answers.
    std::vector<ShownMessageBox> Take();
};

// From any thread: where the drawn box that is up now shows, once it does.
using win32::DrawnMessageBoxPlace;
using win32::DrawnMessageBoxShown;

} // namespace win32::testing
