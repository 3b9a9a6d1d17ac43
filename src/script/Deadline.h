#pragma once

#include "script/ScriptError.h"

#include <chrono>

namespace script {

/// The per-call time limit. Work is counted in steps (a token read, an instruction run, a
/// stretch of text copied); the clock is read once every few thousand steps, and a call
/// past its limit raises error 18.
class Deadline
{
public:
    using Clock = std::chrono::steady_clock;
    using Now = Clock::time_point (*)();

    /// Starts a call with a limit in milliseconds (zero or less: none). The clock starts at
    /// the first reading, so calls shorter than kStepsPerReading never read it.
    void start(int limitMs, Now now) noexcept
    {
        limitMs_ = limitMs;
        now_ = now;
        budget_ = kStepsPerReading;
        started_ = false;
    }

    void step(long steps = 1)
    {
        if ((budget_ -= steps) < 0)
            read();
    }

private:
    static constexpr long kStepsPerReading = 4096;

    void read()
    {
        budget_ = kStepsPerReading;
        if (limitMs_ <= 0)
            return;
        const auto t = now_();
        if (!started_) {
            started_ = true;
            start_ = t;
            return;
        }
        if (t - start_ > std::chrono::milliseconds(limitMs_))
            throw ScriptError(errc::UserInterrupt, "time limit exceeded");
    }

    int limitMs_ = 0;
    Now now_ = &Clock::now;
    long budget_ = kStepsPerReading;
    bool started_ = false;
    Clock::time_point start_;
};

} // namespace script
