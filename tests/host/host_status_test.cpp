// t740-host status end to end: the built host, the built plug-in and the
// simulated card.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "output_sections.h"
#include "run_host.h"

namespace t740::test {
namespace {

namespace fs = std::filesystem;

const char* const kAlarmTexts[] = {
    "光口A:RS-TIM", "光口A:STM-LOS", "光口A:STM-LOF", "光口A:RS-OOF",
    "光口B:RS-TIM", "光口B:STM-LOS", "光口B:STM-LOF", "光口B:RS-OOF",
    "光口C:RS-TIM", "光口C:STM-LOS", "光口C:STM-LOF", "光口C:RS-OOF",
    "光口D:RS-TIM", "光口D:STM-LOS", "光口D:STM-LOF", "光口D:RS-OOF",
};

std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  std::istringstream stream(line);
  for (std::string word; stream >> word;) words.push_back(word);
  return words;
}

int CountRowsOf(const std::vector<std::string>& section, const std::string& label) {
  int count = 0;
  for (const std::string& line : section) count += line.find(label) != std::string::npos;
  return count;
}

TEST(HostStatusTest, PrintsTheSixteenAlarmsWithTheirLevels) {
  const HostRun run = RunHost({"status"});
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_EQ(run.err, "");
  const std::vector<std::string> alarms = Section(run.out, "Alarms");
  ASSERT_EQ(alarms.size(), 17u);  // heading and sixteen rows
  for (int type = 1; type <= 16; ++type) {
    const std::string& row = alarms[type];
    const bool present = type == 6 || type == 9;  // B STM-LOS, C RS-TIM
    const std::vector<std::string> expected = {std::to_string(type), kAlarmTexts[type - 1],
                                               present ? "0" : "5", present ? "PRESENT" : "clear"};
    EXPECT_EQ(Words(row), expected) << row;
  }
}

TEST(HostStatusTest, PrintsTheLedStatesAndEveryPerformanceRecord) {
  const HostRun run = RunHost({"status"});
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  const std::vector<std::string> leds = Section(run.out, "LEDs (12)");
  ASSERT_EQ(leds.size(), 2u);
  EXPECT_EQ(leds[1], "  State  0  0  2  2  0  0  0  0  0  0  0  0");

  const std::vector<std::string> current = Section(run.out, "Performance, 15 minutes, current");
  EXPECT_EQ(CountRowsOf(current, "current  A/C光口"), 1);
  EXPECT_EQ(CountRowsOf(current, "current  B/D光口"), 1);
  // The card has run long enough to fill the history.
  const std::vector<std::string> quarters = Section(run.out, "Performance, 15 minutes, history");
  EXPECT_EQ(CountRowsOf(quarters, "A/C光口"), 15);
  EXPECT_EQ(CountRowsOf(quarters, "B/D光口"), 15);
  EXPECT_EQ(CountRowsOf(Section(run.out, "Performance, 24 hours, current"), "光口"), 2);
  EXPECT_EQ(CountRowsOf(Section(run.out, "Performance, 24 hours, history"), "光口"), 4);
  // Port B has no signal: its unavailable seconds fill every 15 minutes.
  const std::vector<std::string> portB = Words(quarters[quarters.size() - 15]);
  ASSERT_EQ(portB.size(), 29u);
  const std::vector<std::string> start(portB.begin(), portB.begin() + 7);
  EXPECT_EQ(start,
            (std::vector<std::string>{"#0", "B/D光口", "0000", "0000", "0000", "0000", "0384"}));
}

QJsonObject ParseJson(const std::string& text) {
  QJsonParseError error;
  const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(text), &error);
  EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
  EXPECT_TRUE(document.isObject());
  return document.object();
}

std::string Utf8(const QJsonValue& value) {
  return value.toString().toStdString();
}

// In a terminal without Chinese too: the document is UTF-8 for scripts.
TEST(HostStatusTest, JsonHoldsTheDecodedAlarmsLedsAndRecords) {
  const HostRun run = RunHost({"status", "--format", "json"}, "C");
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  const QJsonObject status = ParseJson(run.out);
  EXPECT_TRUE(status["complete"].toBool());
  EXPECT_EQ(Utf8(status["card"]["cardAddress"]), "0107");

  const QJsonArray alarms = status["alarms"].toArray();
  ASSERT_EQ(alarms.size(), 16);
  for (int type = 1; type <= 16; ++type) {
    const QJsonObject alarm = alarms[type - 1].toObject();
    const bool present = type == 6 || type == 9;  // B STM-LOS, C RS-TIM
    EXPECT_EQ(alarm["type"].toInt(), type);
    EXPECT_EQ(Utf8(alarm["text"]), kAlarmTexts[type - 1]);
    EXPECT_EQ(Utf8(alarm["port"]), std::string(1, static_cast<char>('A' + (type - 1) / 4)));
    EXPECT_EQ("光口" + Utf8(alarm["port"]) + ":" + Utf8(alarm["name"]), kAlarmTexts[type - 1]);
    EXPECT_EQ(alarm["level"].toInt(), present ? 0 : 5) << type;
    EXPECT_EQ(alarm["present"].toBool(), present) << type;
  }

  EXPECT_EQ(status["leds"]["count"].toInt(), 12);
  std::string states;
  for (const QJsonValue& state : status["leds"]["states"].toArray()) states += Utf8(state);
  EXPECT_EQ(states, "002200000000");

  // 2 current and 30 history quarters, 2 current and 4 history days.
  const QJsonArray records = status["performance"].toArray();
  ASSERT_EQ(records.size(), 38);
  const QJsonObject quarterB = records[2 + 15].toObject();
  EXPECT_EQ(quarterB["period"].toInt(), 15);
  EXPECT_TRUE(quarterB["history"].toBool());
  EXPECT_EQ(quarterB["index"].toInt(), 0);
  EXPECT_EQ(Utf8(quarterB["port"]), "B/D");
  // Port B has no signal: 900 unavailable seconds a quarter, as a number.
  EXPECT_EQ(quarterB["groups"]["O"]["E"].toInt(-1), 900);
  EXPECT_EQ(quarterB["groups"]["R"].toObject().size(), 7);
  EXPECT_TRUE(records[0]["index"].isNull());
  EXPECT_EQ(records[37]["period"].toInt(), 24);
}

TEST(HostStatusTest, JsonOfAFailedPartIsNullAndTheRestStays) {
  const HostRun run = RunHost({"--sim-fault", "short:alarm", "status", "--format=json"});
  EXPECT_EQ(run.exitStatus, 1);
  const QJsonObject status = ParseJson(run.out);
  EXPECT_FALSE(status["complete"].toBool(true));
  EXPECT_TRUE(status["alarms"].isNull());
  EXPECT_EQ(status["leds"]["count"].toInt(), 12);
}

TEST(HostStatusTest, TerminalWithoutChineseGetsQuestionMarks) {
  const HostRun run = RunHost({"status"}, "C");
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_NE(run.out.find("??B:STM-LOS"), std::string::npos);
  EXPECT_NE(run.out.find("A/C??"), std::string::npos);
  for (unsigned char c : run.out) ASSERT_LT(c, 0x80);
}

// Columns a terminal gives a UTF-8 text: a Chinese character (three bytes
// here) takes two.
size_t Columns(const std::string& text) {
  size_t columns = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char byte = static_cast<unsigned char>(text[i]);
    if ((byte & 0xC0) == 0x80) continue;
    columns += byte >= 0xE0 ? 2 : 1;
  }
  return columns;
}

TEST(HostStatusTest, ColumnsLineUpOnTheScreenWithOrWithoutChinese) {
  for (const char* locale : {"C.UTF-8", "C"}) {
    const HostRun run = RunHost({"status"}, locale);
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    const std::vector<std::string> alarms = Section(run.out, "Alarms");
    ASSERT_EQ(alarms.size(), 17u) << locale;
    // The level's digit stands under the last letter of "Level".
    const size_t levelColumn = Columns(alarms[0].substr(0, alarms[0].find("Level") + 4));
    for (size_t row = 1; row < alarms.size(); ++row) {
      const std::string& line = alarms[row];
      const size_t digit = line.rfind("  ") - 1;
      EXPECT_EQ(Columns(line.substr(0, digit)), levelColumn) << locale << ": " << line;
    }
    // The first counter stands under the letter of "O:A".
    const std::vector<std::string> current = Section(run.out, "Performance, 15 minutes, current");
    ASSERT_EQ(current.size(), 3u) << locale;
    const size_t counterColumn = Columns(current[0].substr(0, current[0].find("O:A") + 2));
    const std::string& row = current[1];
    const size_t counter = row.find_first_of("0123456789ABCDEF", row.find("A/C") + 3);
    EXPECT_EQ(Columns(row.substr(0, counter)), counterColumn) << locale << ": " << row;
  }
}

TEST(HostStatusTest, OptionsNameTheCardWhereverTheyStand) {
  const HostRun run = RunHost({"--ip=10.0.0.5", "status", "--card", "0108"});
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_EQ(run.out.rfind("t740 card 0108 at 10.0.0.5 (simulated card)", 0), 0u) << run.out;
}

class HostCopyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char directory[] = "/tmp/t740-host-copy-XXXXXX";
    ASSERT_TRUE(mkdtemp(directory));
    dir = directory;
    host = dir / "t740-host";
    fs::copy_file(HostPath(), host);
  }
  void TearDown() override { fs::remove_all(dir); }

  fs::path dir;
  fs::path host;
};

// Only the program itself: nothing beside it was made or written.
std::vector<std::string> Entries(const fs::path& directory) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(directory)) {
    names.push_back(entry.path().filename());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// The plug-in named in the status heading.
fs::path LoadedPlugIn(const std::string& out) {
  const std::string marker = ", plug-in ";
  const size_t start = out.find(marker);
  if (start == std::string::npos) return fs::path();
  const size_t from = start + marker.size();
  return out.substr(from, out.find('\n', from) - from);
}

TEST(HostPlugInSearch, TheBuiltHostFindsTheBuiltPlugInRelativeToItself) {
  const HostRun run = RunHost({"status"});
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_TRUE(fs::equivalent(LoadedPlugIn(run.out), T740_PLUGIN)) << run.out;
}

TEST_F(HostCopyTest, ACopyElsewhereLoadsNoPlugInOfTheBuild) {
  // A library beside the host is no candidate either: anyone who can
  // write there could plant one.
  fs::create_symlink(T740_PLUGIN, dir / "libt740.so");
  fs::create_symlink(T740_PLUGIN, dir / "libt740.so.1");
  // Only the host's own search counts here, not a search path the test run
  // was given (the sanitizer run names the build's plug-in directory).
  const char* given = std::getenv("LD_LIBRARY_PATH");
  const std::string searchPath = given ? given : "";
  unsetenv("LD_LIBRARY_PATH");
  const HostRun run = RunHostAt(host, {"status"});
  if (given) setenv("LD_LIBRARY_PATH", searchPath.c_str(), 1);
  if (run.exitStatus == 0) {
    // A plug-in the loader found in the system's own directories.
    EXPECT_FALSE(fs::equivalent(LoadedPlugIn(run.out), T740_PLUGIN)) << run.out;
  } else {
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_NE(run.err.find("cannot load the plug-in libt740.so.1: "), std::string::npos) << run.err;
  }
  EXPECT_EQ(Entries(dir), (std::vector<std::string>{"libt740.so", "libt740.so.1", "t740-host"}));
}

TEST_F(HostCopyTest, FindsTheInstalledPlugInRelativeToItsBinDirectory) {
  const fs::path bin = dir / "bin";
  fs::create_directory(bin);
  fs::copy_file(host, bin / "t740-host");
  const fs::path installed = bin / T740_INSTALLED_PLUGIN;
  fs::create_directories(installed.lexically_normal().parent_path());
  fs::create_symlink(T740_PLUGIN, installed);
  const HostRun run = RunHostAt(bin / "t740-host", {"status"});
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_EQ(LoadedPlugIn(run.out), installed) << run.out;
  EXPECT_EQ(Entries(bin), (std::vector<std::string>{"t740-host"}));
}

TEST_F(HostCopyTest, KeepsDevicesInTheStateDirectoryOrWhereItIsTold) {
  const std::string plugin = std::string("--plugin=") + T740_PLUGIN;
  const fs::path state = dir / "state";
  const fs::path told = dir / "told";
  const fs::path option = dir / "option";
  const std::vector<std::string> stateHome = {"XDG_STATE_HOME=" + state.string()};
  ASSERT_EQ(RunHostAt(host, {plugin, "status"}, "C.UTF-8", stateHome).exitStatus, 0);
  EXPECT_TRUE(fs::is_directory(state / "t740" / "Devices"));
  EXPECT_EQ(fs::status(state / "t740").permissions(), fs::perms::owner_all);

  const std::vector<std::string> both = {stateHome[0], "T740_HOST_DIRECTORY=" + told.string()};
  ASSERT_EQ(RunHostAt(host, {plugin, "status"}, "C.UTF-8", both).exitStatus, 0);
  EXPECT_TRUE(fs::is_directory(told / "Devices"));
  ASSERT_EQ(
      RunHostAt(host, {plugin, "--host-directory", option.string(), "status"}, "C.UTF-8", both)
          .exitStatus,
      0);
  EXPECT_TRUE(fs::is_directory(option / "Devices"));
  EXPECT_EQ(Entries(dir), (std::vector<std::string>{"option", "state", "t740-host", "told"}));
}

TEST_F(HostCopyTest, ARelativeStateHomeIsIgnored) {
  const fs::path home = dir / "home";
  const HostRun run = RunHostAt(host, {std::string("--plugin=") + T740_PLUGIN, "status"}, "C.UTF-8",
                                {"XDG_STATE_HOME=relative", "HOME=" + home.string()});
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_TRUE(fs::is_directory(home / ".local" / "state" / "t740" / "Devices"));
}

TEST_F(HostCopyTest, DevicesThatCannotBeMadeOnlyWarns) {
  std::ofstream(dir / "Devices") << "x";
  const HostRun run = RunHostAt(
      host, {std::string("--plugin=") + T740_PLUGIN, "--host-directory", dir.string(), "status"});
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_NE(run.err.find("warning: " + (dir / "Devices").string() +
                         " exists but is not a directory; port remarks cannot be saved"),
            std::string::npos)
      << run.err;
  EXPECT_NE(run.out.find("Alarms"), std::string::npos);
}

struct FaultRun {
  const char* name;
  std::vector<std::string> arguments;
  std::vector<std::string> messages;
  bool ledsShown;
};

class HostFaultTest : public ::testing::TestWithParam<FaultRun> {};

TEST_P(HostFaultTest, FailsWithItsMessageAndShowsTheRest) {
  const FaultRun& fault = GetParam();
  const HostRun run = RunHost(fault.arguments);
  EXPECT_EQ(run.exitStatus, 1);
  for (const std::string& message : fault.messages) {
    EXPECT_NE(run.err.find("t740-host: " + message), std::string::npos) << run.err;
  }
  EXPECT_EQ(run.out.find("LEDs (12)") != std::string::npos, fault.ledsShown) << run.out;
}

INSTANTIATE_TEST_SUITE_P(
    Faults, HostFaultTest,
    ::testing::Values(
        FaultRun{"ShortAlarm",
                 {"--sim-fault", "short:alarm", "status"},
                 {"the plug-in rejected the alarm status (6 characters)"},
                 true},
        FaultRun{"NoCard",
                 {"--sim-fault", "nothing", "status"},
                 {"no alarm status from the card at 192.168.1.100, card address 0107",
                  "no LED status from", "no performance data from"},
                 false},
        FaultRun{"ThrowingTransport",
                 {"--sim-fault=throw:performance", "status"},
                 {"fetching the performance data failed: simulated card: the transport failed"},
                 true},
        FaultRun{"ShortPerformance",
                 {"--sim-fault", "short:performance", "status"},
                 {"the plug-in rejected the performance data (6 characters)"},
                 true},
        FaultRun{"MissingPlugIn",
                 {"--plugin", "/nonexistent/libt740.so", "status"},
                 {"cannot load the plug-in /nonexistent/libt740.so"},
                 false}),
    [](const ::testing::TestParamInfo<FaultRun>& info) { return info.param.name; });

}  // namespace
}  // namespace t740::test
