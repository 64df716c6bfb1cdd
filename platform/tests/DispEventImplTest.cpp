#include "platform/com/DispEventImpl.h"
#include "platform/tests/ComTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace com::tests {
namespace {

const IID DIID_TestEvents = {0x0C0FFEE3, 0x1234, 0x5678, {0x9A, 0xBC, 0xDE, 0xF0, 0x12, 0x34, 0x56, 0x78}};

VARIANT Long(LONG value) {
    VARIANT variant{};
    variant.vt = VT_I4;
    variant.lVal = value;
    return variant;
}

VARIANT Text(BSTR text) {
    VARIANT variant{};
    variant.vt = VT_BSTR;
    variant.bstrVal = text;
    return variant;
}

// A sink whose handlers write down what they were given: event 1 takes a text and a number, event 2 a number,
// event 3 nothing.
class RecordingSink : public IDispEventImpl {
public:
    RecordingSink()
        : IDispEventImpl(2, DIID_TestEvents,
                         {{1, {VT_BSTR, VT_I4}, [this](std::span<const VARIANT> a) { return Record(a); }},
                          {2, {VT_I4}, [this](std::span<const VARIANT> a) { return Record(a); }},
                          {3, {}, [this](std::span<const VARIANT> a) { return Record(a); }}}) {}

    std::vector<std::string> calls;

private:
    HRESULT Record(std::span<const VARIANT> arguments) {
        std::string call = "(";
        for (const VARIANT& argument : arguments) {
            if (argument.vt == VT_BSTR) {
                call += std::string(argument.bstrVal, argument.bstrVal + SysStringLen(argument.bstrVal));
            } else {
                call += std::to_string(argument.lVal);
            }
            call += ";";
        }
        calls.push_back(call + ")");
        return win32::S_OK;
    }
};

// Calls the sink as a source does: the arguments given first to last, held last first.
HRESULT Fire(IDispatch* sink, DISPID dispid, std::vector<VARIANT> arguments, UINT* argumentError = nullptr) {
    std::vector<VARIANT> reversed(arguments.rbegin(), arguments.rend());
    DISPPARAMS parameters{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    return sink->Invoke(dispid, IID_NULL, 0, DISPATCH_METHOD, &parameters, nullptr, nullptr, argumentError);
}

TEST(DispEventImplTest, HandlersGetTheArgumentsFirstToLastInTheirDeclaredTypes) {
    RecordingSink sink;
    BSTR text = SysAllocString(u"quit");
    EXPECT_EQ(Fire(&sink, 1, {Text(text), Long(-3)}), win32::S_OK);
    SysFreeString(text);
    EXPECT_EQ(sink.calls, std::vector<std::string>{"(quit;-3;)"});
}

TEST(DispEventImplTest, ReferencesAndSmallerIntegersReachANumberHandler) {
    RecordingSink sink;
    LONG state = 4;
    VARIANT byReference{};
    byReference.vt = VT_BYREF | VT_I4;
    byReference.plVal = &state;
    VARIANT shortValue{};
    shortValue.vt = VT_I2;
    shortValue.iVal = -609;
    VARIANT unsignedValue{};
    unsignedValue.vt = VT_UI4;
    unsignedValue.ulVal = 100;
    VARIANT inner = Long(12);
    VARIANT wrapped{};
    wrapped.vt = VT_BYREF | VT_VARIANT;
    wrapped.pvarVal = &inner;
    for (const VARIANT& value : {byReference, shortValue, unsignedValue, wrapped}) {
        EXPECT_EQ(Fire(&sink, 2, {value}), win32::S_OK);
    }
    EXPECT_EQ(sink.calls, (std::vector<std::string>{"(4;)", "(-609;)", "(100;)", "(12;)"}));
}

TEST(DispEventImplTest, ExtraArgumentsAreNotTheHandlersConcern) {
    RecordingSink sink;
    EXPECT_EQ(Fire(&sink, 3, {Long(1), Long(2)}), win32::S_OK);
    EXPECT_EQ(Fire(&sink, 2, {Long(5), Long(6)}), win32::S_OK);
    EXPECT_EQ(sink.calls, (std::vector<std::string>{"()", "(5;)"}));
}

TEST(DispEventImplTest, AnEventOutsideTheMapIsAnsweredAndGoesNowhere) {
    RecordingSink sink;
    EXPECT_EQ(Fire(&sink, 250, {Long(1)}), win32::S_OK);
    EXPECT_TRUE(sink.calls.empty());
}

TEST(DispEventImplTest, ArgumentsThatDoNotFitAreRefusedBeforeTheHandler) {
    RecordingSink sink;
    UINT argumentError = 99;
    EXPECT_EQ(Fire(&sink, 1, {Long(1)}), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(Fire(&sink, 1, {Long(1), Long(2)}, &argumentError), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argumentError, 1U) << "the first argument is the last one held";
    VARIANT large{};
    large.vt = VT_UI4;
    large.ulVal = 0x80000000u;
    EXPECT_EQ(Fire(&sink, 2, {large}, &argumentError), DISP_E_OVERFLOW);
    EXPECT_EQ(argumentError, 0U);
    VARIANT loop{};
    loop.vt = VT_BYREF | VT_VARIANT;
    VARIANT pointsBack{};
    pointsBack.vt = VT_BYREF | VT_VARIANT;
    pointsBack.pvarVal = &pointsBack;
    loop.pvarVal = &pointsBack;
    EXPECT_EQ(Fire(&sink, 2, {loop}), DISP_E_TYPEMISMATCH);
    DISPID named = 0;
    VARIANT value = Long(1);
    DISPPARAMS withNames{&value, &named, 1, 1};
    EXPECT_EQ(sink.Invoke(2, IID_NULL, 0, DISPATCH_METHOD, &withNames, nullptr, nullptr, nullptr),
              DISP_E_NONAMEDARGS);
    EXPECT_TRUE(sink.calls.empty());
}

TEST(DispEventImplTest, AnswersItsEventInterfaceAndLivesAsLongAsItsOwnerWants) {
    RecordingSink sink;
    void* answered = nullptr;
    for (const IID* iid : {&DIID_TestEvents, &IID_IDispatch, &IID_IUnknown}) {
        ASSERT_EQ(sink.QueryInterface(*iid, &answered), win32::S_OK);
        EXPECT_EQ(answered, static_cast<IDispatch*>(&sink));
    }
    EXPECT_EQ(sink.References(), 3U);
    EXPECT_EQ(sink.QueryInterface(IID_ITestThing, &answered), win32::E_NOINTERFACE);
    EXPECT_EQ(answered, nullptr);
    for (int i = 0; i < 4; ++i) {
        sink.Release();
    }
    EXPECT_EQ(sink.References(), 0U) << "releases never go below zero, nor delete the sink";
    EXPECT_EQ(sink.ControlId(), 2U);
    UINT count = 1;
    EXPECT_EQ(sink.GetTypeInfoCount(&count), win32::S_OK);
    EXPECT_EQ(count, 0U);
}

} // namespace
} // namespace com::tests
