#!/usr/bin/env python3
"""A real Prometheus watching a simulated network through two t740-exporters.

t740-sim serves 3 agents x 4 cards on 127.0.0.1-3 with a fibre pulled and
put back on a schedule; two exporters share the cards by the shipped scrape
configuration's hashmod shards; Prometheus scrapes every second and
evaluates the shipped rules. Prometheus's configuration is the shipped one
with the test's ports, files and one-second intervals, and the rules are the
shipped ones with every `for` cut to 1s so that an alert fires at the next
evaluation. Everything runs on 127.0.0.1 and is stopped at the end.
"""
import argparse
import json
import os
import re
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time
import urllib.parse
import urllib.request

AGENTS = ["127.0.0.1", "127.0.0.2", "127.0.0.3"]
CARDS = ["0110", "0111", "0112", "0113"]
# The card whose fibre the schedule pulls and puts back; healthy otherwise.
PULLED = ("127.0.0.2", "0112", "B")
PULL_AT, RESTORE_AT = 14, 20
# The network t740-sim documents: the first agent's first card has the lone
# card's faults; every other card's profile is picked by FNV-1a of
# "<agent>/<card>" modulo 20, its port by the hash divided by 20, modulo 4.
# These profiles raise an alarm on their own port: a pulled fibre loss of
# signal, a wrong far-end trace and a loopback inside the card (the port
# hears its own trace) RS-TIM.
PROFILE_ALARMS = {14: "STM-LOS", 15: "RS-TIM", 17: "RS-TIM"}
FIRST_CARD_ALARMS = {("B", "STM-LOS"), ("C", "RS-TIM")}
PATIENCE = 20


class Failure(Exception):
    pass


def fnv1a(text):
    value = 2166136261
    for byte in text.encode():
        value = ((value ^ byte) * 16777619) & 0xFFFFFFFF
    return value


def documented_alarms():
    alarms = {(AGENTS[0], CARDS[0], port, alarm) for port, alarm in FIRST_CARD_ALARMS}
    for agent in AGENTS:
        for card in CARDS:
            if (agent, card) == (AGENTS[0], CARDS[0]):
                continue
            value = fnv1a(agent + "/" + card)
            alarm = PROFILE_ALARMS.get(value % 20)
            if alarm:
                alarms.add((agent, card, "ABCD"[value // 20 % 4], alarm))
    return alarms


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def replaced(text, old, new):
    if old not in text:
        raise Failure("the shipped file no longer holds " + repr(old))
    return text.replace(old, new)


def get(url, timeout=2):
    with urllib.request.urlopen(url, timeout=timeout) as answer:
        return answer.read().decode()


def wait_for(what, observe, accept, deadline):
    seen = None
    while time.monotonic() < deadline:
        try:
            seen = observe()
            if accept(seen):
                return seen
        except OSError as error:
            seen = error
        time.sleep(0.25)
    raise Failure("gave up waiting until " + what + " (last seen: " + repr(seen) + ")")


class Network:
    pull_at, restore_at = PULL_AT, RESTORE_AT

    def __init__(self, args, scratch):
        self.args, self.scratch, self.children = args, scratch, []
        self.exporters = ["127.0.0.1:%d" % free_port() for _ in range(2)]
        self.prometheus = "127.0.0.1:%d" % free_port()
        # Where Prometheus sends its alerts: nothing listens there unless a
        # test starts an Alertmanager.
        self.alertmanager = "127.0.0.1:%d" % free_port()
        self.sim_options = []

    def start(self, name, command, stdout=None):
        log = open(os.path.join(self.scratch, name + ".log"), "wb")
        child = subprocess.Popen(command, stdin=subprocess.DEVNULL, stdout=stdout or log,
                                 stderr=log, cwd=self.scratch)
        self.children.append((name, child))
        return child

    def stop(self):
        for _, child in reversed(self.children):
            child.send_signal(signal.SIGTERM)
        for _, child in self.children:
            try:
                child.wait(timeout=5)
            except subprocess.TimeoutExpired:
                child.kill()
                child.wait()

    def logs(self):
        for name, _ in self.children:
            with open(os.path.join(self.scratch, name + ".log"), errors="replace") as log:
                print("---- " + name + "\n" + log.read()[-3000:], file=sys.stderr)

    def write(self, name, text):
        path = os.path.join(self.scratch, name)
        with open(path, "w") as out:
            out.write(text)
        os.chmod(path, 0o600)
        return path

    def shipped(self, path):
        with open(os.path.join(self.args.source, "exporter", path)) as shipped:
            return shipped.read()

    def start_sim(self):
        agent, card, port = PULLED
        events = self.write("events", "+%ds %s %s %s fibre-pulled\n+%ds %s %s %s fibre-restored\n" %
                            (self.pull_at, agent, card, port, self.restore_at, agent, card, port))
        self.targets = os.path.join(self.scratch, "targets.json")
        sim = self.start("t740-sim", [self.args.sim, "--agents", str(len(AGENTS)), "--cards",
                                      CARDS[0] + "-" + CARDS[-1], "--port", "0", "--events",
                                      events, "--targets-file", self.targets] + self.sim_options,
                         subprocess.PIPE)
        line = sim.stdout.readline().decode()
        found = re.search(r"listening on 127\.0\.0\.1:(\d+)", line)
        if not found:
            raise Failure("t740-sim did not start: " + repr(line))
        self.sim_port = int(found.group(1))
        self.sim_started = time.monotonic()
        wait_for("t740-sim wrote its targets", lambda: os.path.exists(self.targets), bool,
                 time.monotonic() + 5)

    def start_exporters(self):
        # The shipped configuration, with the pass-phrase files it names beside it.
        config = self.shipped("examples/t740-exporter.yml")
        for name in re.findall(r"password_file: (\S+)", config):
            self.write(name, "pass-phrase-of-" + name + "\n")
        config = self.write("t740-exporter.yml", config)
        for k, address in enumerate(self.exporters):
            self.start("t740-exporter-%d" % k,
                       [self.args.exporter, "--web.listen-address=" + address,
                        "--config.file=" + config, "--allow-target=127.0.0.0/8"])

    def start_prometheus(self):
        rules = re.sub(r"\bfor: \w+", "for: 1s", self.shipped("rules/t740-alerts.yml"))
        rules = self.write("t740-alerts.yml", rules)
        config = self.shipped("examples/prometheus.yml")
        for old, new in [("scrape_interval: 15s", "scrape_interval: 1s"),
                         ("scrape_timeout: 10s", "scrape_timeout: 1s"),
                         ("evaluation_interval: 15s", "evaluation_interval: 1s"),
                         ("../rules/t740-alerts.yml", rules), ("t740-targets.json", self.targets),
                         ("127.0.0.1:9740", self.exporters[0]),
                         ("127.0.0.1:9742", self.exporters[1]),
                         ("127.0.0.1:9093", self.alertmanager)]:
            config = replaced(config, old, new)
        config = self.write("prometheus.yml", config)
        self.start("prometheus", [self.args.prometheus, "--config.file=" + config,
                                  "--storage.tsdb.path=" + os.path.join(self.scratch, "data"),
                                  "--web.listen-address=" + self.prometheus, "--log.level=warn"])
        wait_for("Prometheus is ready", lambda: get("http://%s/-/ready" % self.prometheus), bool,
                 time.monotonic() + PATIENCE)

    def query(self, expression):
        url = "http://%s/api/v1/query?%s" % (self.prometheus,
                                             urllib.parse.urlencode({"query": expression}))
        return json.loads(get(url))["data"]["result"]

    def alerts(self):
        answer = json.loads(get("http://%s/api/v1/alerts" % self.prometheus))
        return answer["data"]["alerts"]

    def agent_of(self, labels):
        return labels["instance"].rsplit(":", 1)[0]


def firing(network, name):
    return {(network.agent_of(a["labels"]), a["labels"]["card"], a["labels"]["port"])
            for a in network.alerts() if a["labels"]["alertname"] == name and a["state"] == "firing"}


def check_every_card_up(network):
    wait_for("every card is up", lambda: len(network.query("t740_up == 1")),
             lambda count: count == len(AGENTS) * len(CARDS), time.monotonic() + PATIENCE)


def check_documented_alarms(network):
    expected = documented_alarms()
    if len({card for _, card, *_ in expected}) < 3:
        raise Failure("the network's mix no longer holds faulty cards beside the first")
    pulled = PULLED + ("STM-LOS",)

    def seen():
        active = {(network.agent_of(r["metric"]), r["metric"]["card"], r["metric"]["port"],
                   r["metric"]["alarm"]) for r in network.query("t740_alarm_active == 1")}
        return active - {pulled}
    wait_for("the alarms are those of the documented faulty cards " + repr(expected), seen,
             lambda alarms: alarms == expected, time.monotonic() + PATIENCE)
    for name, alarm in [("T740LossOfSignal", "STM-LOS"), ("T740TraceMismatch", "RS-TIM")]:
        want = {entry[:3] for entry in expected if entry[3] == alarm}
        wait_for(name + " fires for " + repr(want), lambda: firing(network, name) - {PULLED},
                 lambda alerts: alerts == want, time.monotonic() + PATIENCE)


def check_scheduled_pull(network):
    def status():
        return PULLED in firing(network, "T740LossOfSignal")
    if network.sim_started + PULL_AT <= time.monotonic():
        raise Failure("the fibre was pulled before the network could be seen healthy")
    if status():
        raise Failure("loss of signal on %s before its fibre was pulled" % repr(PULLED))
    wait_for("the pulled fibre fires T740LossOfSignal", status, bool,
             network.sim_started + PULL_AT + PATIENCE)
    wait_for("T740LossOfSignal resolves once the fibre is back", status, lambda on: not on,
             network.sim_started + RESTORE_AT + PATIENCE)


def probes(exporter, outcome):
    text = get("http://%s/metrics" % exporter)
    found = re.search(r'^t740_exporter_probes_total\{outcome="%s"\} (\S+)$' % outcome, text,
                      re.MULTILINE)
    return float(found.group(1)) if found else 0.0


def check_sharing(network):
    scraped = network.query('count by (instance, card) (up{card!=""})')
    if len(scraped) != len(AGENTS) * len(CARDS) or any(r["value"][1] != "1" for r in scraped):
        raise Failure("not every card is scraped exactly once: " + json.dumps(scraped))
    shards = network.query('count by (job) (up{card!=""})')
    if len(shards) != 2:
        raise Failure("the cards are not shared by both shards: " + json.dumps(shards))
    for shard in shards:
        k = int(shard["metric"]["job"][-1])
        success = probes(network.exporters[k], "success")
        if success < float(shard["value"][1]):
            raise Failure("exporter %d answered %g probes for its %s cards" %
                          (k, success, shard["value"][1]))
        print("exporter %d: %s cards, %g probes" % (k, shard["value"][1], success))


def run(network, starts, checks, scratch):
    """Starts the network's parts in order and runs the checks, timing each;
    the exit status. A failure prints every part's log."""
    started = time.monotonic()
    try:
        for start in starts:
            start()
        for check in checks:
            check(network)
            print("%5.1f s %s" % (time.monotonic() - started, check.__name__))
    except Exception as failure:
        network.stop()
        network.logs()
        print("FAILED: %s" % failure, file=sys.stderr)
        return 1
    finally:
        network.stop()
        shutil.rmtree(scratch, ignore_errors=True)
    print("passed in %.1f s" % (time.monotonic() - started))
    return 0


def main():
    parser = argparse.ArgumentParser()
    for name in ["sim", "exporter", "prometheus", "source"]:
        parser.add_argument("--" + name, required=True)
    args = parser.parse_args()
    args.sim, args.exporter, args.source = map(os.path.abspath, [args.sim, args.exporter,
                                                                  args.source])
    scratch = tempfile.mkdtemp(prefix="t740-prometheus-test-")
    network = Network(args, scratch)
    return run(network, [network.start_sim, network.start_exporters, network.start_prometheus],
               [check_every_card_up, check_documented_alarms, check_scheduled_pull,
                check_sharing], scratch)


if __name__ == "__main__":
    sys.exit(main())
