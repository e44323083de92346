// What a card's t740AlarmChange notification says: which alarm of which
// port of which card rose or cleared, and when by the card's clock. Made
// from the notification's variable bindings by one pure function that
// trusts nothing in them.
#ifndef T740_ALERTER_NOTIFICATIONS_ALARM_CUE_H
#define T740_ALERTER_NOTIFICATIONS_ALARM_CUE_H

#include <chrono>
#include <string>
#include <variant>

struct variable_list;

namespace t740::alerter {

struct AlarmCue {
  std::string source;  // the sender's IP address
  std::string cardIp;
  std::string card;  // 2 to 4 digits
  std::string port;  // "A" to "D"
  std::string alarm;
  bool raised = false;
  std::chrono::system_clock::time_point cardTime;
  std::chrono::steady_clock::time_point arrived;
};

// The cue a notification's variable bindings carry, or why they carry
// none: another notification, an object missing, repeated or of the wrong
// type, or a value the card never sends.
std::variant<AlarmCue, std::string> AlarmCueOf(const variable_list* variables,
                                               const std::string& source,
                                               std::chrono::steady_clock::time_point arrived);

}  // namespace t740::alerter

#endif
