#include "alerter/history/log_query.h"

#include <gtest/gtest.h>

namespace t740::alerter {
namespace {

using Parameters = std::multimap<std::string, std::string>;

TEST(ParseLogQuery, TakesEveryFilter) {
  const auto parsed = ParseLogQuery({{"card", "0107"},
                                     {"agent", "127.0.0.2:16100"},
                                     {"port", "C"},
                                     {"alarm", "RS-OOF"},
                                     {"from", "2024-05-01T12:00:00Z"},
                                     {"to", "2024-05-01T15:00:00+02:00"},
                                     {"before", "981"},
                                     {"limit", "500"}});
  ASSERT_TRUE(std::holds_alternative<LogQuery>(parsed)) << std::get<std::string>(parsed);
  const LogQuery& query = std::get<LogQuery>(parsed);
  EXPECT_EQ(query.card, "0107");
  EXPECT_EQ(query.instance, "127.0.0.2:16100");
  EXPECT_EQ(query.port, "C");
  EXPECT_EQ(query.alarm, "RS-OOF");
  EXPECT_EQ(*query.to - *query.from, std::chrono::hours(1));
  EXPECT_EQ(query.before, 981);
  EXPECT_EQ(query.limit, 500);
}

struct Refusal {
  Parameters parameters;
  const char* reason;
};

TEST(ParseLogQuery, RefusesWithOneLineSayingWhy) {
  const Refusal kRefusals[] = {
      {{{"card", "7"}}, "card '7' is not 2 to 4 digits"},
      {{{"card", "01075"}}, "card '01075' is not 2 to 4 digits"},
      {{{"card", "01a"}}, "card '01a' is not 2 to 4 digits"},
      {{{"port", "E"}}, "port 'E' is not a port A to D"},
      {{{"port", "a"}}, "port 'a' is not a port A to D"},
      {{{"alarm", "stm-los"}}, "alarm 'stm-los' is not an alarm the card reports"},
      {{{"agent", "127.0.0.2"}}, "agent '127.0.0.2' is not an IPv4 ADDRESS:PORT"},
      {{{"agent", "127.0.0.256:161"}}, "is not an IPv4 ADDRESS:PORT"},
      {{{"agent", "127.0.0.2:0"}}, "is not an IPv4 ADDRESS:PORT"},
      {{{"agent", "127.0.0.2:65536"}}, "is not an IPv4 ADDRESS:PORT"},
      {{{"agent", "127.0.1:161"}}, "is not an IPv4 ADDRESS:PORT"},
      {{{"agent", "127.0.0.02:161"}}, "is not an IPv4 ADDRESS:PORT"},
      {{{"from", "yesterday"}}, "from 'yesterday' is not an RFC 3339 time"},
      {{{"to", "2024-13-01T00:00:00Z"}}, "is not an RFC 3339 time"},
      {{{"from", "2024-05-01T12:00:00Z"}, {"to", "2024-05-01T12:00:00Z"}}, "from is not before to"},
      {{{"before", "0"}}, "before '0' is not a positive whole number"},
      {{{"before", "-5"}}, "is not a positive whole number"},
      {{{"before", "99999999999999999999"}}, "is not a positive whole number"},
      {{{"limit", "0"}}, "limit '0' is not a whole number from 1 to 500"},
      {{{"limit", "501"}}, "is not a whole number from 1 to 500"},
      {{{"limit", "050"}}, "is not a whole number from 1 to 500"},
      {{{"cards", "0107"}}, "unknown parameter 'cards'"},
      {{{"card", "0107"}, {"card", "0108"}}, "parameter 'card' is given twice"},
      {{{"card", "01\n07"}}, "card '01?07' is not 2 to 4 digits"},
  };
  for (const Refusal& refusal : kRefusals) {
    const auto parsed = ParseLogQuery(refusal.parameters);
    ASSERT_TRUE(std::holds_alternative<std::string>(parsed)) << refusal.reason;
    const std::string& why = std::get<std::string>(parsed);
    EXPECT_NE(why.find(refusal.reason), std::string::npos) << why;
    EXPECT_EQ(why.find('\n'), std::string::npos) << why;
  }
}

}  // namespace
}  // namespace t740::alerter
