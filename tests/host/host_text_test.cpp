// The host's own pieces of output and its watchdog, without a plug-in: JSON
// texts, display widths and the time limit.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <atomic>
#include <clocale>
#include <sstream>
#include <thread>

#include "hosting/plugin/time_limit.h"
#include "hosting/status/perf_record_text.h"
#include "hosting/text/display_width.h"
#include "hosting/text/json_writer.h"

namespace t740::host {
namespace {

using namespace std::chrono_literals;

TEST(JsonWriterTest, EscapedTextsReadBackAsWritten) {
  const std::string texts[] = {"quote \" and \\ back", "tab\tline\nend\x01", "光口A", ""};
  std::ostringstream out;
  JsonWriter json(out);
  json.BeginArray();
  for (const std::string& text : texts) json.String(text);
  json.BeginObject();
  json.EndObject();
  json.EndArray();
  const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(out.str()));
  ASSERT_TRUE(document.isArray()) << out.str();
  const QJsonArray array = document.array();
  ASSERT_EQ(array.size(), 5);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(array[i].toString().toStdString(), texts[i]);
  EXPECT_TRUE(array[4].isObject());
}

TEST(DisplayWidthTest, ChineseTakesTwoColumnsInAUtf8Terminal) {
  ASSERT_TRUE(std::setlocale(LC_ALL, "C.UTF-8"));
  EXPECT_EQ(DisplayWidth("光口A:RS-TIM"), 12u);
  EXPECT_EQ(PadToWidth("A/C光口", 9), "A/C光口  ");
  EXPECT_EQ(PadToWidth("longer than that", 4), "longer than that");
  // A byte that is no character still takes a column.
  EXPECT_EQ(DisplayWidth("A\xFF"), 2u);
  std::setlocale(LC_ALL, "C");
}

TEST(PerfRecordTextTest, CountersAreHexOrNothing) {
  EXPECT_EQ(CounterValue("0384"), 900);
  EXPECT_EQ(CounterValue("00fF"), 255);
  EXPECT_EQ(CounterValue(""), std::nullopt);
  EXPECT_EQ(CounterValue("00G1"), std::nullopt);
  const auto groups = ParseRecord("O=A:0001,B:,;R=A:0002,;");
  ASSERT_TRUE(groups);
  ASSERT_EQ(groups->size(), 2u);
  EXPECT_EQ((*groups)[0].counters[1].second, "");
  EXPECT_FALSE(ParseRecord("O=A:0001,B:0000"));
}

// Waits, a bounded while, for the flag.
bool Becomes(const std::atomic<bool>& flag) {
  for (int i = 0; i < 500 && !flag; ++i) std::this_thread::sleep_for(10ms);
  return flag;
}

TEST(TimeLimitTest, TheWatchdogEndsARunThatNoWindowEnds) {
  std::atomic<bool> ended{false};
  std::atomic<bool> windowsWereUp{true};
  TimeLimit limit(10ms, 10ms, [&](bool windowsUp) {
    windowsWereUp = windowsUp;
    ended = true;
  });
  EXPECT_TRUE(Becomes(ended));
  EXPECT_TRUE(limit.Expired());
  EXPECT_FALSE(windowsWereUp);
  EXPECT_FALSE(limit.TakeEnding());
}

TEST(TimeLimitTest, WindowsThatTakeTheEndingOverKeepTheWatchdogOut) {
  std::atomic<bool> ended{false};
  {
    TimeLimit limit(10ms, 20ms, [&](bool) { ended = true; });
    limit.SetWatched(true);
    for (int i = 0; i < 5000 && !limit.Expired(); ++i) std::this_thread::sleep_for(1ms);
    ASSERT_TRUE(limit.Expired());
    EXPECT_TRUE(limit.TakeEnding());
    std::this_thread::sleep_for(100ms);  // past the grace time
  }
  EXPECT_FALSE(ended);
  // A run that ends in time is never ended.
  {
    TimeLimit limit(10s, 10ms, [&](bool) { ended = true; });
  }
  EXPECT_FALSE(ended);
}

}  // namespace
}  // namespace t740::host
