#!/usr/bin/env python3
"""Both roads to one real Alertmanager: one alarm is one alert.

The network of network_test.py (t740-sim, two t740-exporters, Prometheus
with the shipped configuration and rules, `for` cut to 1s) sends its alerts
to a real Alertmanager, and t740-alerter, fed by the agents' notifications
(t740-sim --notify) and reading the same targets file, posts to the same
Alertmanager. While both roads report the scheduled fibre pull, Alertmanager
lists exactly one T740LossOfSignal for that card and port, with the labels
both give it; every other alarm of the network is one alert as well. The
restore resolves it. Everything runs on 127.0.0.1 and is stopped at the end.
"""
import argparse
import json
import os
import re
import socket
import sys
import tempfile
import time

from network_test import (PATIENCE, PULLED, Failure, Network, check_every_card_up, free_port, run,
                          get, wait_for)

# The labels the shipped rules' alarm alerts and the alerter's alerts carry.
ALARM_LABELS = {"alertname", "instance", "card", "port", "alarm", "severity"}
# How long Alertmanager is watched while both roads report the pull.
WATCH_SECONDS = 3


def free_udp_port():
    with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


class TwoRoads(Network):
    pull_at, restore_at = 10, 18

    def __init__(self, args, scratch):
        super().__init__(args, scratch)
        self.notifications = "127.0.0.1:%d" % free_udp_port()
        self.sim_options = ["--notify", self.notifications]
        self.alerter = "127.0.0.1:%d" % free_port()

    def start_alertmanager(self):
        config = self.write("alertmanager.yml", "route: {receiver: blackhole}\n"
                            "receivers: [{name: blackhole}]\n")
        self.start("alertmanager", [self.args.alertmanager, "--config.file=" + config,
                                    "--storage.path=" + os.path.join(self.scratch, "am"),
                                    "--web.listen-address=" + self.alertmanager,
                                    "--cluster.listen-address=", "--log.level=warn"])
        wait_for("Alertmanager is ready", lambda: get("http://%s/-/ready" % self.alertmanager),
                 bool, time.monotonic() + PATIENCE)

    def start_alerter(self):
        # The shipped example, with the pass-phrase files it names beside it
        # (start_exporters wrote them).
        config = self.write("t740-alerter.yml", self.shipped("examples/t740-alerter.yml"))
        self.start("t740-alerter", [self.args.alerter, "--alertmanager.url",
                                    "http://" + self.alertmanager, "--targets.file", self.targets,
                                    "--snmp.listen-address", self.notifications,
                                    "--web.listen-address", self.alerter, "--config.file", config,
                                    "--allow-target", "127.0.0.0/8"])
        wait_for("t740-alerter is ready", lambda: get("http://%s/-/ready" % self.alerter), bool,
                 time.monotonic() + PATIENCE)

    def manager_alerts(self):
        return json.loads(get("http://%s/api/v2/alerts" % self.alertmanager))

    def metric(self, address, name):
        total = 0.0
        for line in get("http://%s/metrics" % address).splitlines():
            found = re.match(r"%s(\{[^}]*\})? (\S+)$" % re.escape(name), line)
            if found:
                total += float(found.group(2))
        return total


def alerts_for(alerts, pulled):
    agent, card, port = pulled
    return [a for a in alerts if a["labels"].get("alertname") == "T740LossOfSignal" and
            a["labels"]["instance"].rsplit(":", 1)[0] == agent and
            a["labels"]["card"] == card and a["labels"].get("port") == port]


def check_one_alert_per_alarm(network):
    def both_roads():
        prometheus = [a for a in network.alerts() if a["state"] == "firing" and
                      a["labels"]["alertname"] == "T740LossOfSignal" and
                      (network.agent_of(a["labels"]), a["labels"]["card"],
                       a["labels"]["port"]) == PULLED]
        return (bool(prometheus) and
                network.metric(network.prometheus, "prometheus_notifications_sent_total") > 0 and
                network.metric(network.alerter, "t740_alerter_alerts_sent_total") > 0 and
                bool(alerts_for(network.manager_alerts(), PULLED)))
    if alerts_for(network.manager_alerts(), PULLED):
        raise Failure("loss of signal on %s before its fibre was pulled" % repr(PULLED))
    wait_for("both roads report the pulled fibre", both_roads, bool,
             network.sim_started + network.pull_at + PATIENCE)
    deadline = time.monotonic() + WATCH_SECONDS
    while time.monotonic() < deadline:
        alerts = network.manager_alerts()
        pulled = alerts_for(alerts, PULLED)
        if len(pulled) != 1:
            raise Failure("Alertmanager holds %d alerts for the pulled fibre: %s" %
                          (len(pulled), json.dumps(pulled)))
        if set(pulled[0]["labels"]) != ALARM_LABELS:
            raise Failure("the pulled fibre's alert has the labels %s" % sorted(pulled[0]["labels"]))
        seen = {}
        for alert in alerts:
            key = tuple(sorted(alert["labels"].items()))
            short = (alert["labels"]["alertname"], alert["labels"]["instance"],
                     alert["labels"]["card"], alert["labels"].get("port"))
            if short in seen and seen[short] != key:
                raise Failure("one alarm is two alerts: %s and %s" % (seen[short], key))
            seen[short] = key
        time.sleep(0.25)


def check_restore_resolves(network):
    wait_for("the restore resolves the pulled fibre's alert in Alertmanager",
             lambda: alerts_for(network.manager_alerts(), PULLED), lambda alerts: not alerts,
             network.sim_started + network.restore_at + PATIENCE)


def main():
    parser = argparse.ArgumentParser()
    for name in ["sim", "exporter", "alerter", "prometheus", "alertmanager", "source"]:
        parser.add_argument("--" + name, required=True)
    args = parser.parse_args()
    args.sim, args.exporter, args.alerter, args.source = map(
        os.path.abspath, [args.sim, args.exporter, args.alerter, args.source])
    scratch = tempfile.mkdtemp(prefix="t740-alerter-test-")
    network = TwoRoads(args, scratch)
    return run(network, [network.start_alertmanager, network.start_sim, network.start_exporters,
                         network.start_alerter, network.start_prometheus],
               [check_every_card_up, check_one_alert_per_alarm, check_restore_resolves], scratch)


if __name__ == "__main__":
    sys.exit(main())
