#pragma once
// Runs a test in a time zone, restoring the one before: server dates and file
// dates are compared in local time.
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>

namespace quorrel::test {

class TimeZone {
 public:
  explicit TimeZone(const char* zone) {
    const char* old = std::getenv("TZ");
    if (old) saved_ = std::make_unique<std::string>(old);
    setenv("TZ", zone, 1);
    tzset();
  }
  ~TimeZone() {
    if (saved_) {
      setenv("TZ", saved_->c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }
  TimeZone(const TimeZone&) = delete;
  TimeZone& operator=(const TimeZone&) = delete;

 private:
  std::unique_ptr<std::string> saved_;
};

}  // namespace quorrel::test
