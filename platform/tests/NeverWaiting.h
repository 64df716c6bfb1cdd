// Calls that must never wait on a FIFO. The call runs on a thread of its own; when it has not come back after
// ten seconds, the FIFO is opened at both ends, which lets a waiting open through, and the test fails.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>

namespace platform::tests {

template <typename Call>
auto WithoutWaitingOn(const std::string& fifo, Call call) {
    auto result = std::async(std::launch::async, call);
    if (result.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        ADD_FAILURE() << "the call waited on " << fifo;
        ::close(::open(fifo.c_str(), O_RDWR | O_NONBLOCK));
    }
    return result.get();
}

} // namespace platform::tests
