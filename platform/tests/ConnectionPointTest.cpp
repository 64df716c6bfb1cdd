#include "platform/com/Atl.h"
#include "platform/com/ConnectionPointImpl.h"
#include "platform/com/DispEventImpl.h"
#include "platform/tests/ComTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace com::tests {
namespace {

const IID DIID_PlayerEvents = {0x0C0FFEE4, 0x1234, 0x5678, {0x9A, 0xBC, 0xDE, 0xF0, 0x12, 0x34, 0x56, 0x78}};
const IID DIID_OtherEvents = {0x0C0FFEE5, 0x1234, 0x5678, {0x9A, 0xBC, 0xDE, 0xF0, 0x12, 0x34, 0x56, 0x78}};

// An event source with one connection point, for DIID_PlayerEvents.
class EventSource final : public ComObject<IConnectionPointContainer> {
public:
    static EventSource* Create() { return new EventSource; }

    HRESULT QueryInterface(REFIID iid, void** object) override {
        return Answer(iid, object,
                      {{&IID_IConnectionPointContainer, static_cast<IConnectionPointContainer*>(this)}});
    }
    HRESULT FindConnectionPoint(REFIID eventInterface, IConnectionPoint** point) override {
        return m_point->OfferFor(eventInterface, point);
    }

    ConnectionPointImpl& Point() { return *m_point; }

private:
    EventSource() : m_point(ConnectionPointImpl::Create(DIID_PlayerEvents)) {}
    ~EventSource() override { m_point->Release(); }

    ConnectionPointImpl* m_point;
};

class NamedSink : public IDispEventImpl {
public:
    NamedSink(const char* name, std::vector<std::string>& log, IID events = DIID_PlayerEvents)
        : IDispEventImpl(1, events, {{7, {VT_I4}, [this, name, &log](std::span<const VARIANT> a) {
                                          log.push_back(std::string(name) + std::to_string(a[0].lVal));
                                          if (onEvent) {
                                              onEvent();
                                          }
                                          return win32::S_OK;
                                      }}}) {}
    std::function<void()> onEvent;
};

class ConnectionPointTest : public ComTest {
protected:
    void TearDown() override {
        m_source->Release();
        ComTest::TearDown();
    }

    HRESULT Fire(LONG value) {
        VARIANT argument{};
        argument.vt = VT_I4;
        argument.lVal = value;
        return m_source->Point().Fire(7, std::span<VARIANT>(&argument, 1));
    }

    EventSource* m_source = EventSource::Create();
    std::vector<std::string> m_log;
};

TEST_F(ConnectionPointTest, ConnectedSinksHearEachEventInTheOrderTheyConnected) {
    NamedSink first("a", m_log);
    NamedSink second("b", m_log);
    DWORD firstCookie = 0;
    DWORD secondCookie = 0;
    ASSERT_EQ(AtlAdvise(m_source, &first, DIID_PlayerEvents, &firstCookie), win32::S_OK);
    ASSERT_EQ(AtlAdvise(m_source, &second, DIID_PlayerEvents, &secondCookie), win32::S_OK);
    EXPECT_NE(firstCookie, 0U);
    EXPECT_NE(firstCookie, secondCookie);
    EXPECT_EQ(first.References(), 1U);
    EXPECT_EQ(Fire(1), win32::S_OK);
    ASSERT_EQ(AtlUnadvise(m_source, DIID_PlayerEvents, firstCookie), win32::S_OK);
    EXPECT_EQ(first.References(), 0U);
    EXPECT_EQ(Fire(2), win32::S_OK);
    EXPECT_EQ(AtlUnadvise(m_source, DIID_PlayerEvents, firstCookie), CONNECT_E_NOCONNECTION);
    ASSERT_EQ(AtlUnadvise(m_source, DIID_PlayerEvents, secondCookie), win32::S_OK);
    EXPECT_EQ(Fire(3), win32::S_OK);
    EXPECT_EQ(m_log, (std::vector<std::string>{"a1", "b1", "b2"}));
}

TEST_F(ConnectionPointTest, ASinkMayDisconnectItselfWhileItHearsAnEvent) {
    NamedSink sink("a", m_log);
    DWORD cookie = 0;
    ASSERT_EQ(AtlAdvise(m_source, &sink, DIID_PlayerEvents, &cookie), win32::S_OK);
    sink.onEvent = [&] { EXPECT_EQ(AtlUnadvise(m_source, DIID_PlayerEvents, cookie), win32::S_OK); };
    EXPECT_EQ(Fire(1), win32::S_OK);
    EXPECT_EQ(Fire(2), win32::S_OK);
    EXPECT_EQ(m_log, std::vector<std::string>{"a1"});
    EXPECT_EQ(sink.References(), 0U);
}

TEST_F(ConnectionPointTest, ConnectionsThatCannotBeMadeLeaveNothingConnected) {
    NamedSink wrongEvents("a", m_log, DIID_OtherEvents);
    DWORD cookie = 5;
    EXPECT_EQ(AtlAdvise(m_source, &wrongEvents, DIID_PlayerEvents, &cookie), CONNECT_E_CANNOTCONNECT);
    EXPECT_EQ(AtlAdvise(m_source, &wrongEvents, DIID_OtherEvents, &cookie), CONNECT_E_NOCONNECTION);
    EXPECT_EQ(AtlAdvise(nullptr, &wrongEvents, DIID_PlayerEvents, &cookie), win32::E_INVALIDARG);
    EXPECT_EQ(AtlAdvise(m_source, nullptr, DIID_PlayerEvents, &cookie), win32::E_POINTER);
    TestThing* noEvents = TestThing::Create();
    EXPECT_EQ(AtlAdvise(noEvents, &wrongEvents, DIID_PlayerEvents, &cookie), win32::E_NOINTERFACE);
    EXPECT_EQ(AtlUnadvise(noEvents, DIID_PlayerEvents, 1), win32::E_NOINTERFACE);
    noEvents->Release();
    EXPECT_EQ(m_source->Point().ConnectionCount(), 0U);
    EXPECT_EQ(wrongEvents.References(), 0U);
}

} // namespace
} // namespace com::tests
