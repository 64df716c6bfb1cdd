#include "platform/directx/DirectInput.h"
#include "platform/testing/DirectInputTesting.h"

#include <gtest/gtest.h>

namespace dinput {
namespace {

const HINSTANCE kInstance = reinterpret_cast<HINSTANCE>(static_cast<win32::ULONG_PTR>(0x400000));

TEST(DirectInputTest, EachCreateGivesAnObjectOfItsOwnThatLivesUntilItsLastRelease) {
    int before = testing::LiveDirectInputObjects();
    IDirectInputA* first = nullptr;
    IDirectInputA* second = nullptr;
    ASSERT_EQ(DirectInputCreateA(kInstance, 0x0700, &first, nullptr), DI_OK);
    ASSERT_EQ(DirectInputCreateA(kInstance, 0x0700, &second, nullptr), DI_OK);
    EXPECT_NE(first, second);
    EXPECT_EQ(testing::LiveDirectInputObjects(), before + 2);

    void* queried = nullptr;
    ASSERT_EQ(first->QueryInterface(IID_IDirectInput2A, &queried), DI_OK);
    EXPECT_EQ(static_cast<IDirectInput2A*>(queried), static_cast<IDirectInput2A*>(first));
    EXPECT_EQ(first->Release(), 1U) << "the queried interface holds a reference of its own";
    EXPECT_EQ(testing::LiveDirectInputObjects(), before + 2);
    EXPECT_EQ(static_cast<IDirectInput2A*>(queried)->Release(), 0U);
    EXPECT_EQ(testing::LiveDirectInputObjects(), before + 1);

    void* none = &queried;
    EXPECT_EQ(second->QueryInterface(com::IID{1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}}, &none),
              DIERR_NOINTERFACE);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(second->Release(), 0U);
    EXPECT_EQ(testing::LiveDirectInputObjects(), before);
}

TEST(DirectInputTest, CreateRefusesWhatItCannotServe) {
    struct Case {
        HINSTANCE instance;
        DWORD version;
        bool outer;
        HRESULT expected;
    };
    IDirectInputA* outerObject = nullptr;
    ASSERT_EQ(DirectInputCreateA(kInstance, 0x0700, &outerObject, nullptr), DI_OK);
    for (Case test : {Case{nullptr, 0x0700, false, DIERR_INVALIDPARAM},
                      Case{kInstance, 0x0200, false, DIERR_OLDDIRECTINPUTVERSION},
                      Case{kInstance, 0x0800, false, DIERR_BETADIRECTINPUTVERSION},
                      Case{kInstance, 0x0700, true, CLASS_E_NOAGGREGATION}}) {
        IDirectInputA* created = reinterpret_cast<IDirectInputA*>(&test);
        EXPECT_EQ(
            DirectInputCreateA(test.instance, test.version, &created, test.outer ? outerObject : nullptr),
            test.expected)
            << std::hex << test.version;
        EXPECT_EQ(created, nullptr);
    }
    EXPECT_EQ(DirectInputCreateA(kInstance, 0x0700, nullptr, nullptr), win32::E_POINTER);
    outerObject->Release();

    testing::FailNextDirectInputCreate(win32::E_FAIL);
    IDirectInputA* failed = nullptr;
    EXPECT_EQ(DirectInputCreateA(kInstance, 0x0700, &failed, nullptr), win32::E_FAIL);
    ASSERT_EQ(DirectInputCreateA(kInstance, 0x0300, &failed, nullptr), DI_OK) << "only the next call fails";
    failed->Release();
}

} // namespace
} // namespace dinput
