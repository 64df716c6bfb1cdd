#include "platform/testing/HeadlessRunTesting.h"

#include "platform/win32/headless/HeadlessRunLog.h"
#include "platform/win32/headless/HeadlessRunner.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace win32::testing {

ScriptedRun::ScriptedRun(const std::string& steps) {
    std::vector<HeadlessStep> parsed;
    std::string error;
    if (!ParseHeadlessSteps(steps, parsed, error)) {
        throw std::invalid_argument(error);
    }
    m_runner = std::make_unique<HeadlessRunner>(std::move(parsed), "the test's steps");
    m_runner->Begin();
}

ScriptedRun::~ScriptedRun() = default;

bool ScriptedRun::StepsDone() const {
    return m_runner->StepsDone();
}

HeadlessLog::HeadlessLog(const std::string& path) : m_path(path) {
    std::string reason;
    if (!HeadlessRunLog::Instance().Open(path, reason)) {
        throw std::runtime_error(path + ": " + reason);
    }
}

HeadlessLog::~HeadlessLog() {
    HeadlessRunLog::Instance().Close();
}

std::string HeadlessLog::Text() const {
    std::ifstream file(m_path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

} // namespace win32::testing
