// Drives the plug-in as a host does: through include/t740/abi.h and the
// shared object alone.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "t740/abi.h"

namespace {

static_assert(T740_ABI_VERSION_MAJOR == T740_SONAME_MAJOR,
              "the header's major version is the plug-in's soname");

// 光口A:STM-LOS in GBK.
const char kPortALos[] =
    "\xB9\xE2\xBF\xDA"
    "A:STM-LOS";

std::string AlarmStatus(const char* portBytes) {
  std::string status = std::string("000000") + portBytes;
  status.resize(62, '0');
  return status;
}

TEST(HostBoundary, CreatesAndReleasesCardObjects) {
  CCardBase* first = nullptr;
  EXPECT_EQ(CreateObject(0, &first), 1);
  ASSERT_NE(first, nullptr);
  first->SetRequestFunction(nullptr);
  first->SetHostValue(5, 99);
  CCardBase* second = nullptr;
  EXPECT_EQ(CreateObject(0, &second), 1);
  EXPECT_NE(first, second);
  first->Release();
  second->Release();
  EXPECT_EQ(CreateObject(0, nullptr), 1);
}

TEST(HostBoundary, DecodesAlarmsAndLeavesOutputsOnRejection) {
  int16_t level = -1;
  CText text("untouched");
  EXPECT_EQ(GetWarning(2, CText(AlarmStatus("24")), CText(), &level, &text), 1);
  EXPECT_EQ(level, 0);
  EXPECT_EQ(text, kPortALos);
  EXPECT_EQ(GetWarning(1, CText(AlarmStatus("24")), CText(), &level, &text), 1);
  EXPECT_EQ(level, 5);

  level = -1;
  text = "untouched";
  EXPECT_EQ(GetWarning(2, CText(AlarmStatus("24").substr(0, 61)), CText(), &level, &text), 0);
  EXPECT_EQ(GetWarning(17, CText(AlarmStatus("24")), CText(), &level, &text), 0);
  EXPECT_EQ(GetWarning(0, CText(AlarmStatus("24")), CText(), &level, &text), 0);
  EXPECT_EQ(level, -1);
  EXPECT_EQ(text, "untouched");
  EXPECT_EQ(GetWarning(2, CText(AlarmStatus("24")), CText(), nullptr, &text), 0);
  EXPECT_EQ(GetWarning(2, CText(AlarmStatus("24")), CText(), &level, nullptr), 0);
  EXPECT_EQ(level, -1);
}

TEST(HostBoundary, DecodesLedStates) {
  int16_t count = 0;
  CText states;
  EXPECT_EQ(GetLedState(0, CText(std::string(147, '0')), &count, &states), 0);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(GetLedState(0, CText(std::string(148, '0')), &count, &states), 1);
  EXPECT_EQ(count, 12);
  EXPECT_EQ(states, "002200000000");
  EXPECT_EQ(GetLedState(0, CText(std::string(148, '0')), nullptr, &states), 0);
}

TEST(HostBoundary, DecodesPerformanceIntoTheHostsArrays) {
  std::string field(900, '1');
  std::string first = field;
  first.replace(6, 2, "00");
  const std::string data = first + "," + field + "," + field + "," + field + "," + field + ",";
  std::array<CText, 44> texts;
  std::array<CText, 44> labels;
  EXPECT_EQ(GetPerformanceData(0, 15, 0, CText(data), texts.data(), labels.data(), CText()), 1);
  EXPECT_EQ(std::string(texts[0].c_str()).substr(0, 12), "O=A:1111,B:1");
  EXPECT_EQ(labels[22], "B/D\xB9\xE2\xBF\xDA");
  EXPECT_EQ(GetPerformanceData(0, 15, 0, CText(data), nullptr, labels.data(), CText()), 0);
  EXPECT_EQ(GetPerformanceData(0, 24, 1, CText(data), texts.data(), nullptr, CText()), 0);
  EXPECT_EQ(
      GetPerformanceData(0, 15, 0, CText(data.substr(1)), texts.data(), labels.data(), CText()), 0);
}

TEST(HostBoundary, APeriodThatWritesNothingNeedsNoArrays) {
  const std::string field(900, '0');
  const std::string data = field + "," + field + "," + field + "," + field + "," + field + ",";
  EXPECT_EQ(GetPerformanceData(0, 60, 0, CText(data), nullptr, nullptr, CText()), 1);
  EXPECT_EQ(GetPerformanceData(0, 0, 1, CText(data), nullptr, nullptr, CText()), 1);
  // The data is still judged first.
  EXPECT_EQ(GetPerformanceData(0, 60, 0, CText(data.substr(1)), nullptr, nullptr, CText()), 0);
}

TEST(HostBoundary, TakesAnyBytes) {
  std::string junk(1 << 20, '\0');
  for (size_t i = 0; i < junk.size(); ++i) junk[i] = static_cast<char>((i * 131) & 0xFF);
  int16_t level = 0;
  int16_t count = 0;
  CText text;
  std::array<CText, 44> texts;
  std::array<CText, 44> labels;
  for (int type = -1; type <= 18; ++type) GetWarning(type, CText(junk), CText(), &level, &text);
  EXPECT_EQ(GetLedState(0, CText(junk), &count, &text), 1);
  std::string commas = junk;
  for (char& c : commas) c = c == ',' ? '.' : c;
  for (size_t i = 950; i < commas.size(); i += 950) commas[i] = ',';
  EXPECT_EQ(GetPerformanceData(0, 15, 1, CText(commas), texts.data(), labels.data(), CText()), 1);
  EXPECT_EQ(GetPerformanceData(0, 24, 1, CText(commas), texts.data(), labels.data(), CText()), 1);
}

}  // namespace
