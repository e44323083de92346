// The host's command line: help, and the exit status and message of each
// kind of bad argument.
#include <gtest/gtest.h>

#include "run_host.h"

namespace t740::test {
namespace {

TEST(HostArgumentsTest, HelpListsTheCommandsAndExitsZero) {
  for (const char* help : {"--help", "-h"}) {
    const HostRun run = RunHost({help});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.out.rfind("Usage: t740-host [options] <command>", 0), 0u);
    EXPECT_NE(run.out.find("\n  status "), std::string::npos);
    EXPECT_NE(run.out.find("--sim-fault"), std::string::npos);
    EXPECT_EQ(run.err, "");
  }
}

TEST(HostArgumentsTest, CommandHelpComesBeforeOrAfterTheCommand) {
  for (const auto& words :
       {std::vector<std::string>{"status", "--help"}, std::vector<std::string>{"-h", "status"}}) {
    const HostRun run = RunHost(words);
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.out.rfind("Usage: t740-host [options] status [--format text|json]\n", 0), 0u)
        << run.out;
  }
}

struct BadArguments {
  const char* name;
  std::vector<std::string> arguments;
  const char* message;
};

class HostBadArgumentsTest : public ::testing::TestWithParam<BadArguments> {};

TEST_P(HostBadArgumentsTest, ExitsTwoWithAMessageAndNoOutput) {
  const BadArguments& bad = GetParam();
  const HostRun run = RunHost(bad.arguments);
  EXPECT_EQ(run.exitStatus, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, std::string("t740-host: ") + bad.message + "\nTry 't740-host --help'.\n");
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, HostBadArgumentsTest,
    ::testing::Values(
        BadArguments{"NoCommand", {}, "no command given"},
        BadArguments{"UnknownCommand", {"stats"}, "unknown command 'stats'"},
        BadArguments{"UnknownOption", {"--verbose", "status"}, "unknown option '--verbose'"},
        BadArguments{
            "UnknownCommandOption", {"status", "--verbose"}, "status: unknown option '--verbose'"},
        BadArguments{"ExtraArgument", {"status", "now"}, "status: unexpected argument 'now'"},
        BadArguments{"MissingValue", {"status", "--ip"}, "--ip needs a value"},
        BadArguments{
            "BadIp", {"--ip", "192.168.1", "status"}, "--ip: '192.168.1' is not an IPv4 address"},
        BadArguments{"IpOutOfRange",
                     {"--ip=10.0.0.256", "status"},
                     "--ip: '10.0.0.256' is not an IPv4 address"},
        BadArguments{"LongCardAddress",
                     {"--card", "01077", "status"},
                     "--card: '01077' is not a card address of 2 to 4 digits"},
        BadArguments{"OneDigitCardAddress",
                     {"--card", "7", "status"},
                     "--card: '7' is not a card address of 2 to 4 digits"},
        BadArguments{"CardAddressNotDigits",
                     {"--card", "01a7", "status"},
                     "--card: '01a7' is not a card address of 2 to 4 digits"},
        BadArguments{"EmptyCardAddress",
                     {"--card=", "status"},
                     "--card: '' is not a card address of 2 to 4 digits"},
        BadArguments{"UnknownTransport",
                     {"--transport", "serial", "status"},
                     "--transport: unknown transport 'serial'"},
        BadArguments{
            "UnknownFault", {"--sim-fault", "slow", "status"}, "--sim-fault: unknown fault 'slow'"},
        BadArguments{"UnknownFaultTarget",
                     {"--sim-fault", "short:.14", "configure"},
                     "--sim-fault: unknown target '.14' (a group .1, .11, .12, .13, .50, .51 or "
                     "alarm, led, performance)"},
        BadArguments{"FaultValueNotADelay",
                     {"--sim-fault", "delay=soon:.11", "status"},
                     "--sim-fault: 'soon' is not a delay of 1 to 999999999 milliseconds"},
        BadArguments{"FaultValueOfAnotherKind",
                     {"--sim-fault", "short=3", "status"},
                     "--sim-fault: the fault 'short' takes no value"},
        BadArguments{"FaultOverSnmp",
                     {"--snmp", "127.0.0.1:1161", "--sim-fault", "short:.11", "status"},
                     "--sim-fault: only the simulated card takes faults, not --snmp or "
                     "--transport snmp"},
        BadArguments{"TimeLimitZero",
                     {"--time-limit", "0", "configure"},
                     "--time-limit: '0' is not a positive number of seconds"},
        BadArguments{"TimeLimitNotANumber",
                     {"--time-limit=soon", "status"},
                     "--time-limit: 'soon' is not a positive number of seconds"},
        BadArguments{"TimeLimitNegative",
                     {"status", "--time-limit", "-5"},
                     "--time-limit: '-5' is not a positive number of seconds"},
        BadArguments{"UnknownFormat",
                     {"status", "--format", "xml"},
                     "--format: unknown format 'xml' (text or json)"}),
    [](const ::testing::TestParamInfo<BadArguments>& info) { return info.param.name; });

}  // namespace
}  // namespace t740::test
