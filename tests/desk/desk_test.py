#!/usr/bin/python3
"""The alarm desk in a real browser against the real programs.

t740-sim serves 2 agents x 4 cards and pulls one healthy card's fibre on a
schedule, then puts it back; t740-alerter hears the notifications, keeps its
log in a scratch directory and posts to a real Alertmanager, whose one
receiver is a webhook in this test (group_wait 0s, group_interval 1s,
repeat_interval 5s, so that a repeat shows). Debian's chromium, headless
through chromedriver, opens the desk and:

- the page comes with its policy and without inline script, and shows the
  network's agents and the alarms the cards start with;
- the pulled fibre appears without a reload;
- acknowledging it on the page (a name holding <script>, a comment holding
  <img onerror>) makes the silence in Alertmanager, its matchers the alert's
  labels, after which the webhook hears no repeat; the name and comment
  show as text and nothing of them runs;
- the put-back fibre goes from the page by itself;
- the log lists the raise, the acknowledgement and the clear in that order
  with their times, and shows the alerter's reason for a bad filter;
- a card's view shows its ports and its performance records.

Screenshots of the three views go to --out (T740_DESK_SCREENSHOTS_TO, when
set, gets copies: docs/screenshots for the README).
"""
import argparse
import os
import re
import shutil
import sys
import time
import urllib.request

from desk_network import Failure, Network, PATIENCE, healthy, wait_for

AGENTS = 2
CARDS = "0101-0104"
PULL_AT, RESTORE_AT = 8, 27
# Long enough for a repeat at repeat_interval 5s and group_interval 1s.
NO_REPEAT_SECONDS = 6.5
NAME = "<script>window.pwned = 'name'</script>Ann"
COMMENT = "<img src=x onerror=\"window.pwned = 'comment'\"> splicing at the ODF"
TIME = re.compile(r"^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d$")

ROWS = """
return Array.from(document.querySelector(arguments[0]).tBodies[0].rows).map(row => ({
  key: row.dataset.key, kind: row.className,
  cells: Array.from(row.cells).map(cell => cell.textContent)}));
"""


def pulled_card():
    agent = "127.0.0.%d" % AGENTS
    for number in range(101, 105):
        if healthy(agent, "%04d" % number):
            return agent, "%04d" % number
    raise Failure("no healthy card at " + agent)


class DeskTest:
    def __init__(self, args):
        self.args = args
        self.agent, self.card = pulled_card()
        self.network = Network(args, AGENTS, CARDS, "+%ds %s %s B fibre-pulled\n"
                               "+%ds %s %s B fibre-restored\n" %
                               (PULL_AT, self.agent, self.card, RESTORE_AT, self.agent,
                                self.card))
        self.shots = []

    @property
    def driver(self):
        return self.network.driver

    def base(self):
        return "http://" + self.network.alerter

    def instance(self, agent):
        return "%s:%d" % (agent, self.network.sim_port)

    def alarm_rows(self):
        return [r["cells"] for r in self.driver.execute_script(ROWS, "#alarm-table")]

    def pulled_row(self):
        for cells in self.alarm_rows():
            if cells[1:5] == [self.card, self.instance(self.agent), "B", "STM-LOS"]:
                return cells
        return None

    def shoot(self, name):
        path = os.path.join(self.args.out, "desk-%s.png" % name)
        self.driver.save_screenshot(path)
        self.shots.append(path)

    def alert_labels(self):
        for alert in self.network.manager("alerts"):
            labels = alert["labels"]
            if (labels.get("instance"), labels.get("card"), labels.get("port"),
                    labels.get("alarm")) == (self.instance(self.agent), self.card, "B",
                                             "STM-LOS"):
                return labels
        return None

    # Checks --------------------------------------------------------------

    def check_page_loads(self):
        with urllib.request.urlopen(self.base() + "/", timeout=3) as answer:
            page = answer.read().decode()
            policy = answer.headers.get("Content-Security-Policy", "")
            if "default-src 'self'" not in policy or "unsafe-inline" in policy:
                raise Failure("the page's policy is " + repr(policy))
            if answer.headers.get("X-Content-Type-Options") != "nosniff":
                raise Failure("the page may be sniffed")
        if re.search(r"<script(?![^>]*\bsrc=)", page) or re.search(r"\son\w+=", page):
            raise Failure("the page holds inline script")
        if "metrics" not in page:
            raise Failure("the page lost its link to /metrics")
        self.driver.get(self.base() + "/")
        wait_for("the alarm list is rendered", lambda: self.driver.execute_script(
            "return document.documentElement.dataset.alarmsRendered"))
        wait_for("the first card's pulled fibre is listed", lambda: [
            c for c in self.alarm_rows() if c[1:5] == ["0101", self.instance("127.0.0.1"), "B",
                                                       "STM-LOS"]])
        agents = self.driver.execute_script(ROWS, "#agents")
        if sorted(a["cells"][0] for a in agents) != [self.instance("127.0.0.%d" % k)
                                                     for k in range(1, AGENTS + 1)]:
            raise Failure("the summary lists the agents %s" % agents)
        if sum(int(a["cells"][1]) for a in agents) != AGENTS * 4:
            raise Failure("the summary counts the cards %s" % agents)
        if self.pulled_row():
            raise Failure("the page loaded after the fibre was pulled")
        self.driver.execute_script("window.deskMarker = 'never reloaded'")

    def check_pull_shows_live(self):
        wait_for("the pulled fibre shows on the page", self.pulled_row,
                 seconds=self.network.sim_started + PULL_AT + PATIENCE - time.monotonic())
        if self.driver.execute_script("return window.deskMarker") != "never reloaded":
            raise Failure("the page was reloaded")

    def check_acknowledgement_silences(self):
        labels = wait_for("Alertmanager holds the pulled fibre's alert", self.alert_labels)
        # A repeat must be able to show for its absence to mean anything.
        wait_for("the webhook hears the alert repeated",
                 lambda: self.network.webhook.firing(labels), lambda seen: len(seen) >= 2)
        row = [r for r in self.driver.find_elements("css selector", "#alarm-table tbody tr")
               if r.get_attribute("data-key") == self.pulled_key()][0]
        row.find_element("css selector", "button").click()
        name = self.driver.find_element("css selector", "#ack-form input[name=name]")
        wait_for("the dialog asks for a name", name.is_displayed)
        name.send_keys(NAME)
        self.driver.find_element("css selector", "#ack-form textarea").send_keys(COMMENT)
        self.driver.find_element("id", "ack-send").click()
        acknowledged = wait_for("the page shows the acknowledgement",
                                lambda: (self.pulled_row() or [""] * 7)[6],
                                lambda ack: COMMENT in ack)
        if NAME not in acknowledged:
            raise Failure("the acknowledgement shows as %r" % acknowledged)
        if self.driver.execute_script("return window.pwned") is not None:
            raise Failure("an operator's text ran as script")
        if self.driver.find_elements("css selector", "#alarm-table img, #alarm-table script"):
            raise Failure("an operator's text became markup")
        wanted = sorted((name, value) for name, value in labels.items())

        def silences():
            return [s for s in self.network.manager("silences") if s["status"]["state"] ==
                    "active" and all(m["isEqual"] and not m["isRegex"] for m in s["matchers"])
                    and sorted((m["name"], m["value"]) for m in s["matchers"]) == wanted]
        wait_for("Alertmanager holds a silence matching the alert's labels", silences)
        silenced_at = time.monotonic()
        self.shoot("alarms")
        time.sleep(NO_REPEAT_SECONDS)
        repeats = [at - silenced_at for at in self.network.webhook.firing(labels)
                   if at > silenced_at + 0.5]
        if repeats:
            raise Failure("the webhook heard the acknowledged alert again %s s later" % repeats)

    def pulled_key(self):
        for row in self.driver.execute_script(ROWS, "#alarm-table"):
            if row["cells"][1:5] == [self.card, self.instance(self.agent), "B", "STM-LOS"]:
                return row["key"]
        raise Failure("the pulled fibre left the page")

    def check_restore_clears(self):
        wait_for("the put-back fibre goes from the page", lambda: self.pulled_row() is None,
                 seconds=self.network.sim_started + RESTORE_AT + PATIENCE - time.monotonic())

    def check_log(self):
        self.driver.get(self.base() + "/#/log?card=%s&agent=%s&port=B&alarm=STM-LOS" %
                        (self.card, self.instance(self.agent)))

        def kinds():
            rows = self.driver.execute_script(ROWS, "#log-table")
            return list(reversed(rows))  # oldest first
        rows = wait_for("the log lists the clear", kinds,
                        lambda rows: any(r["kind"] == "kind-cleared" for r in rows))
        story, times, at = [], [], 0
        for want in ["kind-raised", "kind-acknowledged", "kind-cleared"]:
            while at < len(rows) and rows[at]["kind"] != want:
                at += 1
            if at == len(rows):
                raise Failure("the log, oldest first, lacks %s after %s: %s" %
                              (want, [s["kind"] for s in story], rows))
            story.append(rows[at])
            if not TIME.match(rows[at]["cells"][0]):
                raise Failure("the log's %s has the time %r" % (want, rows[at]["cells"][0]))
            times.append(rows[at]["cells"][0])
        if times != sorted(times):
            raise Failure("the log's times run backwards: %s" % times)
        if NAME not in story[1]["cells"] or COMMENT not in story[1]["cells"]:
            raise Failure("the log shows the acknowledgement as %s" % story[1]["cells"])
        self.shoot("log")
        # A filter the alerter refuses: its reason shows.
        card = self.driver.find_element("css selector", "#log-filter input[name=card]")
        card.clear()
        card.send_keys("1x")
        self.driver.find_element("css selector", "#log-filter button[type=submit]").click()
        wait_for("the log shows the alerter's reason for a bad card",
                 lambda: self.driver.find_element("id", "log-error").text)

    def check_card_view(self):
        self.driver.get(self.base() + "/#/card?agent=%s&card=0101" % self.instance("127.0.0.1"))
        wait_for("the card's view shows port B's loss of signal", lambda: self.driver.find_element(
            "css selector", "#port-grid [data-port=B]").text, lambda text: "STM-LOS" in text)
        wait_for("the card's view shows its performance records", lambda: len(
            self.driver.find_elements("css selector", "#performance .record")),
            lambda count: count >= 2)
        self.shoot("card")

    def run(self):
        network = self.network
        network.start_alertmanager()
        network.start_sim()
        network.start_alerter()
        network.start_browser()
        started = time.monotonic()
        for check in [self.check_page_loads, self.check_pull_shows_live,
                      self.check_acknowledgement_silences, self.check_restore_clears,
                      self.check_log, self.check_card_view]:
            check()
            print("%5.1f s %s" % (time.monotonic() - started, check.__name__), flush=True)


def main():
    parser = argparse.ArgumentParser()
    for name in ["sim", "alerter", "alertmanager", "out"]:
        parser.add_argument("--" + name, required=True)
    args = parser.parse_args()
    args.sim, args.alerter, args.out = map(os.path.abspath, [args.sim, args.alerter, args.out])
    os.makedirs(args.out, exist_ok=True)
    test = DeskTest(args)
    started = time.monotonic()
    try:
        test.run()
    except Exception as failure:
        test.network.logs()
        print("FAILED: %s: %s" % (type(failure).__name__, failure), file=sys.stderr)
        return 1
    finally:
        test.network.stop()
        test.network.remove()
    copies = os.environ.get("T740_DESK_SCREENSHOTS_TO")
    for shot in test.shots:
        print("screenshot: " + shot)
        if copies:
            shutil.copy(shot, copies)
    print("passed in %.1f s" % (time.monotonic() - started))
    return 0


if __name__ == "__main__":
    sys.exit(main())
