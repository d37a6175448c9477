// The clock port: local time for file names, headers and database rows; ticks and sleep for waits.
#pragma once

#include <memory>

#include "common/base.h"

namespace ph {

struct LocalTime {
  int year = 1970;  // four digits
  int month = 1;    // 1..12
  int day = 1;      // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalTime Now() = 0;
  // Milliseconds since some start, wrapping at 2^32 as GetTickCount does.
  virtual std::uint32_t TickCount() = 0;
  virtual void Sleep(std::uint32_t milliseconds) = 0;
};

std::unique_ptr<Clock> MakeSystemClock();

// A clock that stands still until told otherwise; Sleep moves it forward.
class FakeClock : public Clock {
 public:
  explicit FakeClock(LocalTime now = {}) : now_(now) {}
  LocalTime Now() override { return now_; }
  std::uint32_t TickCount() override { return ticks_; }
  void Sleep(std::uint32_t ms) override { ticks_ += ms; }
  void Set(LocalTime now) { now_ = now; }
  void SetTicks(std::uint32_t ticks) { ticks_ = ticks; }

 private:
  LocalTime now_;
  std::uint32_t ticks_ = 0;
};

}  // namespace ph
