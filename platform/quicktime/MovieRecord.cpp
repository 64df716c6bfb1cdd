#include "platform/quicktime/MovieRecord.h"

#include "platform/quicktime/Layer.h"

#include <algorithm>
#include <cmath>

namespace qt {

MovieRecord::MovieRecord(TimeScale scale) : scale(scale), m_anchorNanoseconds(detail::ClockNanoseconds()) {
    timeBase.movie = this;
    detail::Layer::Instance().movies.insert(this);
}

MovieRecord::~MovieRecord() {
    if (overlay != 0) {
        video::RemoveOverlay(overlay);
    }
    detail::Layer::Instance().movies.erase(this);
}

std::int64_t MovieRecord::Duration() const {
    std::int64_t duration = 0;
    for (const auto& track : tracks) {
        duration = std::max(duration, track->End());
    }
    return duration;
}

double MovieRecord::Normalized(double time) const {
    const double duration = static_cast<double>(Duration());
    if (duration <= 0) {
        return 0;
    }
    if (looping && m_active && m_rate != 0) {
        time = std::fmod(time, duration);
        return time < 0 ? time + duration : time;
    }
    time = std::clamp(time, 0.0, duration);
    if (endedAt >= 0 && m_rate > 0 && time > endedAt) {
        time = endedAt;
    }
    return time;
}

double MovieRecord::Now() {
    const std::uint64_t now = detail::ClockNanoseconds();
    double time = m_anchorTime;
    if (m_active && m_rate != 0 && now > m_anchorNanoseconds) {
        time += static_cast<double>(now - m_anchorNanoseconds) * 1e-9 * static_cast<double>(scale) *
                (static_cast<double>(m_rate) / kFixed1);
    }
    m_anchorTime = Normalized(time);
    m_anchorNanoseconds = now;
    return m_anchorTime;
}

void MovieRecord::SetTime(double time) {
    Now();
    m_anchorTime = std::clamp(time, 0.0, static_cast<double>(Duration()));
    for (auto& track : tracks) {
        track->voiceValid = false;
    }
}

void MovieRecord::SetRate(Fixed rate) {
    Now();
    m_rate = rate;
}

void MovieRecord::SetActive(bool active) {
    Now();
    m_active = active;
}

bool MovieRecord::IsDone() {
    const double time = Now();
    if (Forwards()) {
        return time >= static_cast<double>(Duration()) || (endedAt >= 0 && time >= endedAt);
    }
    return time <= 0;
}

void MovieRecord::Changed() {
    drawn.valid = false;
    Now();
}

} // namespace qt
