#include "platform/web/GLibRunLoopGuest.h"

namespace web {

void GLibRunLoopGuest::Drain() {
    for (int i = 0; i < kMostIterations && g_main_context_iteration(nullptr, FALSE); ++i) {
    }
    if (m_afterDrain) {
        m_afterDrain();
    }
}

int GLibRunLoopGuest::PrepareWait(std::vector<Descriptor>& descriptors) {
    GMainContext* context = g_main_context_default();
    m_acquired = g_main_context_acquire(context) != FALSE;
    if (!m_acquired) {
        return -1;
    }
    const bool ready = g_main_context_prepare(context, &m_priority) != FALSE;
    gint timeout = -1;
    m_polled.resize(16);
    for (;;) {
        const gint count = g_main_context_query(context, m_priority, &timeout, m_polled.data(),
                                                static_cast<gint>(m_polled.size()));
        if (count <= static_cast<gint>(m_polled.size())) {
            m_polled.resize(static_cast<std::size_t>(count));
            break;
        }
        m_polled.resize(static_cast<std::size_t>(count));
    }
    for (const GPollFD& polled : m_polled) {
        descriptors.push_back(Descriptor{polled.fd, static_cast<short>(polled.events), 0});
    }
    return ready ? 0 : timeout;
}

void GLibRunLoopGuest::FinishWait(const std::vector<Descriptor>& descriptors) {
    if (!m_acquired) {
        return;
    }
    GMainContext* context = g_main_context_default();
    for (std::size_t i = 0; i < m_polled.size() && i < descriptors.size(); ++i) {
        m_polled[i].revents = static_cast<gushort>(descriptors[i].revents);
    }
    if (g_main_context_check(context, m_priority, m_polled.data(), static_cast<gint>(m_polled.size()))) {
        g_main_context_dispatch(context);
    }
    g_main_context_release(context);
    m_acquired = false;
}

} // namespace web
