#include "alerter/alertmanager/rfc3339.h"

#include <cstdint>
#include <cstdio>
#include <stdexcept>

namespace t740::alerter {
namespace {

using std::chrono::system_clock;

// Days since 1970-01-01 of a proleptic Gregorian date, and back (Howard
// Hinnant's civil calendar algorithms), so no time zone is ever consulted.
std::int64_t DaysFromCivil(std::int64_t year, unsigned month, unsigned day) {
  year -= month <= 2;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const auto yearOfEra = static_cast<unsigned>(year - era * 400);
  const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}

struct CivilDate {
  std::int64_t year;
  unsigned month;
  unsigned day;
};

CivilDate CivilFromDays(std::int64_t days) {
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const auto dayOfEra = static_cast<unsigned>(days - era * 146097);
  const unsigned yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const unsigned shifted = (5 * dayOfYear + 2) / 153;
  const unsigned day = dayOfYear - (153 * shifted + 2) / 5 + 1;
  const unsigned month = shifted < 10 ? shifted + 3 : shifted - 9;
  return {static_cast<std::int64_t>(yearOfEra) + era * 400 + (month <= 2), month, day};
}

std::int64_t FloorDiv(std::int64_t value, std::int64_t divisor) {
  return value / divisor - (value % divisor < 0 ? 1 : 0);
}

class TimeReader {
 public:
  explicit TimeReader(std::string_view text) : text_(text) {}

  unsigned Digits(std::size_t count, unsigned low, unsigned high) {
    unsigned value = 0;
    for (std::size_t i = 0; i < count; ++i) value = value * 10 + Digit();
    if (value < low || value > high) Fail("field out of range");
    return value;
  }

  unsigned Digit() {
    if (at_ >= text_.size() || text_[at_] < '0' || text_[at_] > '9') Fail("expected a digit");
    return static_cast<unsigned>(text_[at_++] - '0');
  }

  void Expect(char upper, char lower) {
    if (at_ >= text_.size() || (text_[at_] != upper && text_[at_] != lower)) {
      Fail(std::string("expected '") + upper + "'");
    }
    ++at_;
  }

  bool Next(char c) {
    if (at_ >= text_.size() || text_[at_] != c) return false;
    ++at_;
    return true;
  }

  bool AtDigit() const { return at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9'; }
  bool Done() const { return at_ == text_.size(); }

  [[noreturn]] void Fail(const std::string& what) const {
    throw std::runtime_error("bad RFC 3339 time \"" + std::string(text_) + "\": " + what);
  }

 private:
  std::string_view text_;
  std::size_t at_ = 0;
};

// Nanoseconds of the fraction after the seconds; digits past the ninth are
// read and dropped.
std::int64_t FractionNanoseconds(TimeReader& reader) {
  if (!reader.Next('.')) return 0;
  std::int64_t nanoseconds = 0;
  int digits = 0;
  do {
    const unsigned digit = reader.Digit();
    if (digits++ < 9) nanoseconds = nanoseconds * 10 + digit;
  } while (reader.AtDigit());
  for (; digits < 9; ++digits) nanoseconds *= 10;
  return nanoseconds;
}

std::int64_t OffsetSeconds(TimeReader& reader) {
  if (reader.Next('Z') || reader.Next('z')) return 0;
  int sign = 1;
  if (reader.Next('-')) {
    sign = -1;
  } else if (!reader.Next('+')) {
    reader.Fail("expected Z or an offset");
  }
  const unsigned hours = reader.Digits(2, 0, 23);
  reader.Expect(':', ':');
  const unsigned minutes = reader.Digits(2, 0, 59);
  return sign * static_cast<std::int64_t>(hours * 3600 + minutes * 60);
}

system_clock::time_point FromSeconds(std::int64_t seconds, std::int64_t nanoseconds,
                                     const TimeReader& reader) {
  using Ticks = system_clock::duration;
  const auto maxSeconds = std::chrono::duration_cast<std::chrono::seconds>(Ticks::max()).count();
  if (seconds >= maxSeconds || seconds <= -maxSeconds) reader.Fail("beyond this clock's range");
  return system_clock::time_point(std::chrono::duration_cast<Ticks>(
      std::chrono::seconds(seconds) + std::chrono::nanoseconds(nanoseconds)));
}

}  // namespace

std::string FormatRfc3339(system_clock::time_point time) {
  const auto milliseconds =
      std::chrono::floor<std::chrono::milliseconds>(time.time_since_epoch()).count();
  const std::int64_t seconds = FloorDiv(milliseconds, 1000);
  const std::int64_t days = FloorDiv(seconds, 86400);
  const std::int64_t secondOfDay = seconds - days * 86400;
  const CivilDate date = CivilFromDays(days);
  char text[64];
  std::snprintf(text, sizeof text, "%04lld-%02u-%02uT%02lld:%02lld:%02lld.%03lldZ",
                static_cast<long long>(date.year), date.month, date.day,
                static_cast<long long>(secondOfDay / 3600),
                static_cast<long long>(secondOfDay / 60 % 60),
                static_cast<long long>(secondOfDay % 60),
                static_cast<long long>(milliseconds - seconds * 1000));
  return text;
}

system_clock::time_point ParseRfc3339(std::string_view text) {
  TimeReader reader(text);
  const unsigned year = reader.Digits(4, 0, 9999);
  reader.Expect('-', '-');
  const unsigned month = reader.Digits(2, 1, 12);
  reader.Expect('-', '-');
  const unsigned day = reader.Digits(2, 1, 31);
  reader.Expect('T', 't');
  const unsigned hour = reader.Digits(2, 0, 23);
  reader.Expect(':', ':');
  const unsigned minute = reader.Digits(2, 0, 59);
  reader.Expect(':', ':');
  const unsigned second = reader.Digits(2, 0, 60);
  const std::int64_t nanoseconds = FractionNanoseconds(reader);
  const std::int64_t offset = OffsetSeconds(reader);
  if (!reader.Done()) reader.Fail("text after the time");
  if (year == 1 && month == 1 && day == 1 && hour == 0 && minute == 0 && second == 0 &&
      nanoseconds == 0 && offset == 0) {
    return system_clock::time_point();
  }
  const std::int64_t seconds =
      DaysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second - offset;
  return FromSeconds(seconds, nanoseconds, reader);
}

}  // namespace t740::alerter
