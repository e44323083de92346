// The exporter against its peer: a t740-sim network of 50 agents x 20
// cards (0101-0120), every card probed in sweeps through t740-exporter and
// through Debian's prometheus-snmp-exporter (bench/snmp.yml asks for the
// same three status objects), with the same number of probes in flight on
// kept-alive connections; and the network's own ceiling, the same GET sent
// raw with no exporter in between. Prints the figures side by side with
// their ratios (t740-exporter's advantage: above 1.0 it is the better) and
// the goals.
//
//   exporter_sweep [--probes N] [--in-flight N] [--agents N] [--cards N]
//                  [--snmp-version 2c|3] [--exporter-cpu N] [--agent-delay MS]
//                  [--basic-auth]
//
// --probes: per exporter, rounded up to whole sweeps (100 000 by default).
// --exporter-cpu: pins the exporters to that CPU and the simulator and the
// clients to the others, to measure what one exporter carries on one core.
// --agent-delay: the agents answer that much later (t740-sim's lossy link),
// as agents across a network do.
// --basic-auth: t740-exporter is swept a second time behind basic
// authentication (a cost-10 bcrypt hash, as `htpasswd -nBC 10` makes), every
// probe carrying the password, and its figures set beside the first sweep's.
#include <arpa/inet.h>
#include <crypt.h>
#include <sched.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "http_connection.h"
#include "logged_process.h"
#include "sim_process.h"
#include "snmp_packets.h"

namespace {

using Clock = std::chrono::steady_clock;
using t740::bench::LoggedProcess;

constexpr char kBenchmark[] = "exporter_sweep";
constexpr int kFirstCard = 101;
// The SNMPv3 user on every side, authPriv with SHA-1 and AES-128: the
// protocols all three programs share.
constexpr char kUser[] = "bench";
constexpr char kAuthPass[] = "bench-auth-pass";
constexpr char kPrivPass[] = "bench-priv-pass";
// The web user, "prometheus:bench-scrape" in the Authorization header.
constexpr char kWebUser[] = "prometheus";
constexpr char kWebPassword[] = "bench-scrape";
constexpr int kBcryptCost = 10;

// The goals.
constexpr double kSweepSecondsGoal = 2.0;
constexpr double kMemoryGrowthGoalMb = 1.0;
constexpr double kBasicAuthCostGoal = 0.10;  // of probes per second

struct Settings {
  int probes = 100000;
  int inFlight = 16;
  int agents = 50;
  int cards = 20;
  bool v3 = false;
  int exporterCpu = -1;  // -1: not pinned
  int agentDelay = 0;    // milliseconds
  bool basicAuth = false;
};

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "%s: %s\n", kBenchmark, what.c_str());
  std::exit(1);
}

int Number(const char* text, int least) {
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (*end != '\0' || value < least || value > 10000000) Fail(std::string("bad count: ") + text);
  return static_cast<int>(value);
}

// The options that take a count, and the least each takes.
struct CountOption {
  const char* name;
  int Settings::*value;
  int least;
};

constexpr CountOption kCountOptions[] = {
    {"--probes", &Settings::probes, 1},
    {"--in-flight", &Settings::inFlight, 1},
    {"--agents", &Settings::agents, 1},
    {"--cards", &Settings::cards, 1},
    {"--exporter-cpu", &Settings::exporterCpu, 0},
    {"--agent-delay", &Settings::agentDelay, 0},
};

Settings Parse(int argc, char** argv) {
  Settings settings;
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    if (option == "--basic-auth") {
      settings.basicAuth = true;
      continue;
    }
    if (++i >= argc) Fail(option + " needs a value");
    const std::string value = argv[i];
    if (option == "--snmp-version") {
      if (value != "2c" && value != "3") Fail("--snmp-version: 2c or 3");
      settings.v3 = value == "3";
      continue;
    }
    const CountOption* count = nullptr;
    for (const CountOption& candidate : kCountOptions) {
      if (option == candidate.name) count = &candidate;
    }
    if (!count) Fail("unknown option " + option);
    settings.*(count->value) = Number(value.c_str(), count->least);
  }
  return settings;
}

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// A scratch directory for configuration files, removed at the end.
class ScratchFiles {
 public:
  ScratchFiles() {
    char pattern[] = "/tmp/exporter_sweep-XXXXXX";
    if (!mkdtemp(pattern)) Fail("cannot make a temporary directory");
    directory_ = pattern;
  }
  ~ScratchFiles() {
    for (const std::string& file : files_) unlink(file.c_str());
    rmdir(directory_.c_str());
  }
  // Writes a file private to its owner; its path.
  std::string Write(const std::string& name, const std::string& text) {
    const std::string path = directory_ + "/" + name;
    std::ofstream(path) << text;
    chmod(path.c_str(), 0600);
    files_.push_back(path);
    return path;
  }

 private:
  std::string directory_;
  std::vector<std::string> files_;
};

// A process's CPU time (user and system) and resident memory, from /proc.
double CpuSeconds(pid_t pid) {
  std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  // Fields after the command's closing parenthesis, from the state (3rd).
  std::istringstream fields(text.substr(text.rfind(')') + 2));
  std::string field;
  double ticks = 0;
  for (int number = 3; number <= 15 && fields >> field; ++number) {
    if (number >= 14) ticks += std::atof(field.c_str());
  }
  return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

double ResidentMb(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmRSS:", 0) == 0) return std::atof(line.c_str() + 6) / 1024;
  }
  return 0;
}

// The CPUs a process of the run may use: the exporters' one, or the rest.
void PinTo(pid_t pid, int cpu, bool exporter) {
  cpu_set_t set;
  CPU_ZERO(&set);
  const int cpus = static_cast<int>(std::thread::hardware_concurrency());
  for (int k = 0; k < cpus; ++k) {
    if ((k == cpu) == exporter) CPU_SET(k, &set);
  }
  if (sched_setaffinity(pid, sizeof set, &set) != 0) Fail("cannot pin to the CPUs");
}

// Spawned children inherit the pinning of the thread that starts them.
std::vector<std::string> Pinned(std::vector<std::string> argv, int cpu) {
  if (cpu < 0) return argv;
  argv.insert(argv.begin(), {"taskset", "-c", std::to_string(cpu)});
  return argv;
}

struct Card {
  std::string agent;  // "127.0.0.3"
  std::string card;   // "0104"
  int number;         // 104
};

std::vector<Card> Cards(const Settings& settings) {
  std::vector<Card> cards;
  for (int agent = 0; agent < settings.agents; ++agent) {
    for (int k = 0; k < settings.cards; ++k) {
      const int number = kFirstCard + k;
      cards.push_back({t740::bench::AgentIp(agent), "0" + std::to_string(number), number});
    }
  }
  return cards;
}

// What a run of sweeps measured of one road to the cards.
struct Measured {
  long probes = 0;
  long failed = 0;
  std::string firstFailure;
  double seconds = 0;
  std::vector<double> latencies;  // seconds
  std::vector<double> sweeps;     // seconds each
  double cpuSeconds = 0;          // the exporter's
  double simCpuSeconds = 0;
  double residentBeforeMb = 0;  // after the warm-up sweep
  double residentAfterMb = 0;

  double PerSecond() const { return probes / seconds; }
  double Percentile(double share) const {
    std::vector<double> sorted = latencies;
    std::sort(sorted.begin(), sorted.end());
    return sorted[std::min(sorted.size() - 1, static_cast<size_t>(share * sorted.size()))];
  }
  double MedianSweep() const {
    std::vector<double> sorted = sweeps;
    std::sort(sorted.begin(), sorted.end());
    return sorted[sorted.size() / 2];
  }
};

// One probe by worker `worker` of card `card`: its failure, empty when it
// succeeded.
using ProbeFunction = std::function<std::string(size_t worker, size_t card)>;

// Every card once, `workers` probes in flight: each worker takes the next
// card until none is left.
double Sweep(size_t cards, int workers, const ProbeFunction& probe, Measured& measured) {
  std::atomic<size_t> next{0};
  std::vector<std::vector<double>> latencies(workers);
  std::vector<std::string> failures(workers);
  std::vector<long> failed(workers, 0);
  const Clock::time_point start = Clock::now();
  std::vector<std::thread> threads;
  for (int w = 0; w < workers; ++w) {
    threads.emplace_back([&, w] {
      for (size_t card; (card = next++) < cards;) {
        const Clock::time_point asked = Clock::now();
        const std::string failure = probe(w, card);
        latencies[w].push_back(SecondsSince(asked));
        if (failure.empty()) continue;
        if (failed[w]++ == 0) failures[w] = failure;
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  const double seconds = SecondsSince(start);
  for (int w = 0; w < workers; ++w) {
    measured.latencies.insert(measured.latencies.end(), latencies[w].begin(), latencies[w].end());
    measured.failed += failed[w];
    if (measured.firstFailure.empty()) measured.firstFailure = failures[w];
  }
  measured.probes += static_cast<long>(cards);
  return seconds;
}

// A warm-up sweep, then `sweeps` measured ones; `exporter` 0 for none.
Measured Sweeps(size_t cards, int sweeps, int workers, const ProbeFunction& probe, pid_t exporter,
                pid_t sim) {
  Measured warmUp;
  Sweep(cards, workers, probe, warmUp);
  if (warmUp.failed > 0) {
    std::fprintf(stderr, "%s: warm-up: %ld probes failed, the first: %s\n", kBenchmark,
                 warmUp.failed, warmUp.firstFailure.c_str());
  }
  Measured measured;
  if (exporter > 0) measured.residentBeforeMb = ResidentMb(exporter);
  const double cpuBefore = exporter > 0 ? CpuSeconds(exporter) : 0;
  const double simCpuBefore = CpuSeconds(sim);
  const Clock::time_point start = Clock::now();
  for (int s = 0; s < sweeps; ++s)
    measured.sweeps.push_back(Sweep(cards, workers, probe, measured));
  measured.seconds = SecondsSince(start);
  measured.simCpuSeconds = CpuSeconds(sim) - simCpuBefore;
  if (exporter > 0) {
    measured.cpuSeconds = CpuSeconds(exporter) - cpuBefore;
    measured.residentAfterMb = ResidentMb(exporter);
  }
  return measured;
}

// An exporter's probes over kept-alive connections, one a worker; a probe
// succeeds when answered 200 with `success` in the body.
// `headers` go with every request.
Measured SweepExporter(const Settings& settings, uint16_t port,
                       const std::vector<std::string>& targets, const std::string& success,
                       const LoggedProcess& exporter, pid_t sim, int sweeps,
                       const std::string& headers = "") {
  std::vector<std::unique_ptr<t740::bench::HttpConnection>> connections;
  for (int w = 0; w < settings.inFlight; ++w) {
    connections.push_back(std::make_unique<t740::bench::HttpConnection>(port, headers));
  }
  const ProbeFunction probe = [&](size_t worker, size_t card) -> std::string {
    const t740::bench::HttpAnswer answer = connections[worker]->Get(targets[card]);
    if (answer.status == 200 && answer.body.find(success) != std::string::npos) return "";
    return targets[card] + ": HTTP " + std::to_string(answer.status) + ": " +
           answer.body.substr(0, 200);
  };
  return Sweeps(targets.size(), sweeps, settings.inFlight, probe, exporter.Pid(), sim);
}

// The raw GET of each card's three status texts, one UDP socket a worker.
Measured SweepNetwork(const Settings& settings, const std::vector<Card>& cards, uint16_t simPort,
                      pid_t sim, int sweeps) {
  std::vector<std::pair<sockaddr_in, t740::bench::Bytes>> requests;
  for (size_t k = 0; k < cards.size(); ++k) {
    requests.emplace_back(
        t740::bench::Address(cards[k].agent, simPort),
        t740::bench::StatusRequest(cards[k].number, static_cast<uint32_t>(k + 1)));
  }
  std::vector<int> sockets;
  for (int w = 0; w < settings.inFlight; ++w) {
    sockets.push_back(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    timeval timeout{1, 0};
    setsockopt(sockets.back(), SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
  }
  const ProbeFunction probe = [&](size_t worker, size_t card) -> std::string {
    uint8_t answer[65536];
    const auto& [address, request] = requests[card];
    sendto(sockets[worker], request.data(), request.size(), 0,
           reinterpret_cast<const sockaddr*>(&address), sizeof address);
    const ssize_t got = recv(sockets[worker], answer, sizeof answer, 0);
    if (got > 0 && t740::bench::AnsweredWithTexts(answer, static_cast<size_t>(got))) return "";
    return cards[card].agent + " " + cards[card].card + ": no answer of three texts";
  };
  Measured measured = Sweeps(requests.size(), sweeps, settings.inFlight, probe, 0, sim);
  for (int socket : sockets) close(socket);
  return measured;
}

std::string V3UsersFile(ScratchFiles& files) {
  return files.Write(
      "users", std::string(kUser) + " authPriv SHA " + kAuthPass + " AES " + kPrivPass + "\n");
}

// t740-exporter's configuration: the auth "bench", SNMPv3 authPriv.
std::string ExporterConfigFile(ScratchFiles& files) {
  files.Write("auth.pass", std::string(kAuthPass) + "\n");
  files.Write("priv.pass", std::string(kPrivPass) + "\n");
  return files.Write("t740-exporter.yml",
                     std::string("auths:\n  bench:\n    version: 3\n    username: ") + kUser +
                         "\n    security_level: authPriv\n    auth_protocol: SHA\n"
                         "    password_file: auth.pass\n    priv_protocol: AES\n"
                         "    priv_password_file: priv.pass\n");
}

// bench/snmp.yml with every module's community replaced by the v3 user.
std::string GenericV3Config(ScratchFiles& files) {
  std::ifstream file(T740_SNMP_YML);
  std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  const std::string v2 = "  version: 2\n  auth:\n    community: public\n";
  const std::string v3 =
      std::string("  version: 3\n  auth:\n    username: ") + kUser +
      "\n    security_level: authPriv\n    password: " + kAuthPass +
      "\n    auth_protocol: SHA\n    priv_protocol: AES\n    priv_password: " + kPrivPass + "\n";
  for (size_t at; (at = text.find(v2)) != std::string::npos;) text.replace(at, v2.size(), v3);
  return files.Write("snmp.yml", text);
}

std::string Base64(const std::string& bytes) {
  static const char kAlphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string text;
  for (size_t i = 0; i < bytes.size(); i += 3) {
    const size_t left = bytes.size() - i;
    unsigned value = static_cast<unsigned char>(bytes[i]) << 16;
    if (left > 1) value |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    if (left > 2) value |= static_cast<unsigned char>(bytes[i + 2]);
    for (size_t k = 0; k < 4; ++k) {
      text += k <= left ? kAlphabet[(value >> (18 - 6 * k)) & 0x3F] : '=';
    }
  }
  return text;
}

// A web configuration with the one user, the password's bcrypt hash made
// here as htpasswd makes it.
std::string WebConfig(ScratchFiles& files) {
  char salt[CRYPT_GENSALT_OUTPUT_SIZE];
  if (!crypt_gensalt_rn("$2b$", kBcryptCost, nullptr, 0, salt, sizeof salt)) {
    Fail("no bcrypt salt");
  }
  auto work = std::make_unique<crypt_data>();
  const char* hash = crypt_rn(kWebPassword, salt, work.get(), sizeof(crypt_data));
  if (!hash || hash[0] == '*') Fail("no bcrypt hash");
  return files.Write("web-config.yml",
                     std::string("basic_auth_users:\n  ") + kWebUser + ": " + hash + "\n");
}

std::string AuthorizationHeader() {
  return "Authorization: Basic " + Base64(std::string(kWebUser) + ":" + kWebPassword) + "\r\n";
}

uint16_t FreePort() {
  const int probe = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address = t740::bench::Address("127.0.0.1", 0);
  socklen_t length = sizeof address;
  if (bind(probe, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    Fail("no free port");
  }
  close(probe);
  return ntohs(address.sin_port);
}

// `basicAuth`: behind basic authentication, every probe carrying the
// password.
Measured RunT740Exporter(const Settings& settings, const std::vector<Card>& cards, uint16_t simPort,
                         pid_t sim, int sweeps, ScratchFiles& files, bool basicAuth) {
  std::vector<std::string> argv = {T740_EXPORTER, "--web.listen-address", "127.0.0.1:0", "--plugin",
                                   T740_PLUGIN};
  if (settings.v3) argv.insert(argv.end(), {"--config.file", ExporterConfigFile(files)});
  if (basicAuth) argv.insert(argv.end(), {"--web.config.file", WebConfig(files)});
  const LoggedProcess exporter(kBenchmark, Pinned(argv, settings.exporterCpu),
                               "msg=listening address=127.0.0.1:");
  const uint16_t port = static_cast<uint16_t>(std::atoi(exporter.AfterMarker().c_str()));
  std::vector<std::string> targets;
  for (const Card& card : cards) {
    targets.push_back("/probe?target=" + card.agent + ":" + std::to_string(simPort) +
                      "&card=" + card.card + (settings.v3 ? "&auth=bench" : ""));
  }
  return SweepExporter(settings, port, targets, "\nt740_up 1\n", exporter, sim, sweeps,
                       basicAuth ? AuthorizationHeader() : "");
}

Measured RunGenericExporter(const Settings& settings, const std::vector<Card>& cards,
                            uint16_t simPort, pid_t sim, int sweeps, ScratchFiles& files) {
  const uint16_t port = FreePort();
  const std::string config = settings.v3 ? GenericV3Config(files) : T740_SNMP_YML;
  const LoggedProcess exporter(
      kBenchmark,
      Pinned({T740_SNMP_EXPORTER, "--config.file=" + config,
              "--web.listen-address=127.0.0.1:" + std::to_string(port), "--log.level=warn"},
             settings.exporterCpu),
      "");
  // It logs nothing at this level once it listens: the first answer tells.
  t740::bench::HttpConnection ready(port);
  for (int tries = 0; ready.Get("/").status != 200; ++tries) {
    if (tries == 500) Fail("prometheus-snmp-exporter did not start: " + exporter.Log());
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  std::vector<std::string> targets;
  for (const Card& card : cards) {
    targets.push_back("/snmp?target=" + card.agent + ":" + std::to_string(simPort) +
                      "&module=card_" + card.card);
  }
  return SweepExporter(settings, port, targets, "\nt740PerformanceStatus{", exporter, sim, sweeps);
}

const char* Verdict(bool met) {
  return met ? "met" : "MISSED";
}

// A ratio of 0 is left blank: the figures of that row are not compared.
void Row(const char* what, const char* format, double ours, double theirs, double ratio,
         const std::string& goal) {
  char a[32], b[32], r[16] = "";
  std::snprintf(a, sizeof a, format, ours);
  std::snprintf(b, sizeof b, format, theirs);
  if (ratio > 0) std::snprintf(r, sizeof r, "%.2f", ratio);
  std::printf("| %-44s | %13s | %13s | %6s | %-26s |\n", what, a, b, r, goal.c_str());
}

void Report(const Settings& settings, size_t cards, int sweeps, const Measured& ours,
            const Measured& theirs, const Measured& network) {
  std::printf(
      "network: %d agents x %d cards = %zu cards, SNMP%s, %d probes in flight, %d sweeps "
      "(%ld probes) an exporter%s%s\n\n",
      settings.agents, settings.cards, cards, settings.v3 ? "v3 authPriv" : "v2c",
      settings.inFlight, sweeps, ours.probes,
      settings.exporterCpu >= 0
          ? (", exporters on CPU " + std::to_string(settings.exporterCpu)).c_str()
          : "",
      settings.agentDelay > 0
          ? (", agents answering " + std::to_string(settings.agentDelay) + " ms late").c_str()
          : "");
  std::printf("| %-44s | %13s | %13s | %6s | %-26s |\n", "", "t740-exporter", "snmp_exporter",
              "ratio", "goal");
  std::printf("|%s|--------------:|--------------:|-------:|%s|\n", std::string(46, '-').c_str(),
              std::string(28, '-').c_str());
  const double perSecondRatio = ours.PerSecond() / theirs.PerSecond();
  Row("probes per second", "%.0f", ours.PerSecond(), theirs.PerSecond(), perSecondRatio,
      std::string("ratio >= 1.0: ") + Verdict(perSecondRatio >= 1.0));
  const double medianRatio = theirs.Percentile(0.5) / ours.Percentile(0.5);
  Row("median probe latency, ms", "%.2f", ours.Percentile(0.5) * 1000,
      theirs.Percentile(0.5) * 1000, medianRatio,
      std::string("ratio >= 1.0: ") + Verdict(medianRatio >= 1.0));
  Row("99th-percentile probe latency, ms", "%.2f", ours.Percentile(0.99) * 1000,
      theirs.Percentile(0.99) * 1000, theirs.Percentile(0.99) / ours.Percentile(0.99), "");
  const double ourCpu = ours.cpuSeconds * 1000 / ours.probes;
  const double theirCpu = theirs.cpuSeconds * 1000 / theirs.probes;
  Row("exporter CPU seconds per 1000 probes", "%.3f", ourCpu, theirCpu, theirCpu / ourCpu,
      std::string("ratio >= 1.0: ") + Verdict(theirCpu >= ourCpu));
  Row("resident memory after the warm-up sweep, MB", "%.1f", ours.residentBeforeMb,
      theirs.residentBeforeMb, theirs.residentBeforeMb / ours.residentBeforeMb, "");
  char after[64];
  std::snprintf(after, sizeof after, "resident memory after %ld probes, MB", ours.probes);
  Row(after, "%.1f", ours.residentAfterMb, theirs.residentAfterMb,
      theirs.residentAfterMb / ours.residentAfterMb, "");
  const double growth = ours.residentAfterMb - ours.residentBeforeMb;
  Row("  growth, MB", "%.2f", growth, theirs.residentAfterMb - theirs.residentBeforeMb, 0,
      "< 1 MB: " + std::string(Verdict(growth < kMemoryGrowthGoalMb)));
  Row("sweep of every card, median, s", "%.3f", ours.MedianSweep(), theirs.MedianSweep(),
      theirs.MedianSweep() / ours.MedianSweep(),
      "<= 2 s: " + std::string(Verdict(ours.MedianSweep() <= kSweepSecondsGoal)));
  Row("  slowest sweep, s", "%.3f", *std::max_element(ours.sweeps.begin(), ours.sweeps.end()),
      *std::max_element(theirs.sweeps.begin(), theirs.sweeps.end()), 0, "");
  Row("simulator's CPU, share of one core", "%.2f", ours.simCpuSeconds / ours.seconds,
      theirs.simCpuSeconds / theirs.seconds, 0, "");
  std::printf(
      "\nthe network alone (raw SNMPv2c GET of the three texts, %d in flight, %ld requests):\n"
      "  %.0f requests per second, median %.3f ms, 99th percentile %.3f ms, simulator's CPU "
      "%.2f of a core\n",
      settings.inFlight, network.probes, network.PerSecond(), network.Percentile(0.5) * 1000,
      network.Percentile(0.99) * 1000, network.simCpuSeconds / network.seconds);
  std::printf(
      "  the sweep reaches %.0f %% of it through t740-exporter, %.0f %% through "
      "snmp_exporter\n",
      100 * ours.PerSecond() / network.PerSecond(), 100 * theirs.PerSecond() / network.PerSecond());
  for (const auto& [name, measured] :
       {std::pair{"t740-exporter", &ours}, std::pair{"snmp_exporter", &theirs},
        std::pair{"the network", &network}}) {
    if (measured->failed > 0) {
      std::printf("%s: %ld probes failed, the first: %s\n", name, measured->failed,
                  measured->firstFailure.c_str());
    }
  }
}

void ReportBasicAuth(const Measured& plain, const Measured& behind) {
  std::printf("\nt740-exporter behind basic authentication (bcrypt cost %d), %ld probes:\n\n",
              kBcryptCost, behind.probes);
  std::printf("| %-44s | %13s | %13s | %6s | %-26s |\n", "", "basic auth", "none", "ratio", "goal");
  std::printf("|%s|--------------:|--------------:|-------:|%s|\n", std::string(46, '-').c_str(),
              std::string(28, '-').c_str());
  const double ratio = behind.PerSecond() / plain.PerSecond();
  Row("probes per second", "%.0f", behind.PerSecond(), plain.PerSecond(), ratio,
      std::string("within 10 %: ") + Verdict(ratio >= 1 - kBasicAuthCostGoal));
  Row("median probe latency, ms", "%.2f", behind.Percentile(0.5) * 1000,
      plain.Percentile(0.5) * 1000, plain.Percentile(0.5) / behind.Percentile(0.5), "");
  Row("99th-percentile probe latency, ms", "%.2f", behind.Percentile(0.99) * 1000,
      plain.Percentile(0.99) * 1000, plain.Percentile(0.99) / behind.Percentile(0.99), "");
  const double behindCpu = behind.cpuSeconds * 1000 / behind.probes;
  const double plainCpu = plain.cpuSeconds * 1000 / plain.probes;
  Row("exporter CPU seconds per 1000 probes", "%.3f", behindCpu, plainCpu, plainCpu / behindCpu,
      "");
  if (behind.failed > 0) {
    std::printf("basic auth: %ld probes failed, the first: %s\n", behind.failed,
                behind.firstFailure.c_str());
  }
}

}  // namespace

int main(int argc, char** argv) {
  const Settings settings = Parse(argc, argv);
  ScratchFiles files;
  std::vector<std::string> simArguments = {
      "--agents", std::to_string(settings.agents), "--cards",
      "0" + std::to_string(kFirstCard) + "-0" + std::to_string(kFirstCard + settings.cards - 1)};
  if (settings.v3) simArguments.insert(simArguments.end(), {"--v3-users", V3UsersFile(files)});
  if (settings.agentDelay > 0) {
    simArguments.insert(simArguments.end(), {"--delay", std::to_string(settings.agentDelay)});
  }
  if (settings.exporterCpu >= 0) PinTo(0, settings.exporterCpu, false);
  const t740::bench::SimProcess sim(kBenchmark, simArguments);
  const std::vector<Card> cards = Cards(settings);
  const int sweeps = std::max<int>(1, (settings.probes + cards.size() - 1) / cards.size());

  const Measured network = SweepNetwork(settings, cards, sim.Port(), sim.Pid(), sweeps / 5 + 1);
  const Measured ours =
      RunT740Exporter(settings, cards, sim.Port(), sim.Pid(), sweeps, files, false);
  const Measured behind = settings.basicAuth ? RunT740Exporter(settings, cards, sim.Port(),
                                                               sim.Pid(), sweeps, files, true)
                                             : Measured{};
  const Measured theirs = RunGenericExporter(settings, cards, sim.Port(), sim.Pid(), sweeps, files);
  Report(settings, cards.size(), sweeps, ours, theirs, network);
  if (settings.basicAuth) ReportBasicAuth(ours, behind);
  return ours.failed + behind.failed + theirs.failed + network.failed == 0 ? 0 : 1;
}
