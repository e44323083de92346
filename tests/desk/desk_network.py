"""The alarm desk's surroundings, for its browser test and its page-load
benchmark: t740-sim with notifications, t740-alerter keeping its log in a
scratch directory, a real Alertmanager whose one receiver is a webhook in
this process, and Debian's chromium driven by chromedriver. Everything on
127.0.0.0/8, every wait bounded, every child stopped at the end.
"""
import http.server
import json
import os
import re
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import threading
import time
import urllib.request

CHROMIUM = "/usr/bin/chromium"
CHROMEDRIVER = "/usr/bin/chromedriver"
PATIENCE = 25  # seconds, the bound on any one wait


class Failure(Exception):
    pass


def free_port(kind=socket.SOCK_STREAM):
    with socket.socket(socket.AF_INET, kind) as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def ask(url, body=None, timeout=3):
    request = urllib.request.Request(url, data=None if body is None else json.dumps(body).encode(),
                                     headers={"Content-Type": "application/json"})
    with urllib.request.urlopen(request, timeout=timeout) as answer:
        return answer.read().decode()


def wait_for(what, observe, accept=bool, seconds=PATIENCE):
    deadline = time.monotonic() + seconds
    seen = None
    while time.monotonic() < deadline:
        try:
            seen = observe()
            if accept(seen):
                return seen
        except OSError as error:
            seen = error
        time.sleep(0.2)
    raise Failure("gave up waiting until " + what + " (last seen: " + repr(seen)[:500] + ")")


def fnv1a(text):
    value = 2166136261
    for byte in text.encode():
        value = ((value ^ byte) * 16777619) & 0xFFFFFFFF
    return value


def healthy(agent, card):
    """Whether t740-sim starts the card with every fibre in and no alarm."""
    return fnv1a(agent + "/" + card) % 20 <= 13


class Webhook:
    """Alertmanager's receiver: keeps every notification with its arrival."""

    def __init__(self):
        self.received, self.lock = [], threading.Lock()
        hook = self

        class Handler(http.server.BaseHTTPRequestHandler):
            def do_POST(self):
                body = self.rfile.read(int(self.headers.get("Content-Length", "0")))
                with hook.lock:
                    hook.received.append((time.monotonic(), json.loads(body)))
                self.send_response(200)
                self.send_header("Content-Length", "0")
                self.end_headers()

            def log_message(self, *args):
                pass

        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        self.url = "http://127.0.0.1:%d/hook" % self.server.server_address[1]
        threading.Thread(target=self.server.serve_forever, daemon=True).start()

    def firing(self, labels):
        """Arrival times of the notifications that told `labels` firing."""
        with self.lock:
            return [at for at, message in self.received for alert in message["alerts"]
                    if alert["status"] == "firing" and alert["labels"] == labels]

    def stop(self):
        self.server.shutdown()
        self.server.server_close()


class Network:
    def __init__(self, args, agents, cards, events=""):
        self.args = args
        self.scratch = tempfile.mkdtemp(prefix="t740-desk-")
        self.children = []
        self.agents, self.cards, self.events = agents, cards, events
        self.alertmanager = "127.0.0.1:%d" % free_port()
        self.alerter = "127.0.0.1:%d" % free_port()
        self.notifications = "127.0.0.1:%d" % free_port(socket.SOCK_DGRAM)
        self.webhook = None
        self.driver = None

    # Children ------------------------------------------------------------

    def start(self, name, command, stdout=None):
        log = open(os.path.join(self.scratch, name + ".log"), "wb")
        child = subprocess.Popen(command, stdin=subprocess.DEVNULL, stdout=stdout or log,
                                 stderr=log, cwd=self.scratch)
        self.children.append((name, child))
        return child

    def write(self, name, text):
        path = os.path.join(self.scratch, name)
        with open(path, "w") as out:
            out.write(text)
        os.chmod(path, 0o600)
        return path

    def start_alertmanager(self, repeat="5s"):
        self.webhook = Webhook()
        config = self.write("alertmanager.yml", (
            "route:\n  receiver: hook\n  group_by: ['...']\n  group_wait: 0s\n"
            "  group_interval: 1s\n  repeat_interval: %s\n"
            "receivers:\n  - name: hook\n    webhook_configs:\n      - url: %s\n"
            "        send_resolved: true\n") % (repeat, self.webhook.url))
        self.start("alertmanager", [self.args.alertmanager, "--config.file=" + config,
                                    "--storage.path=" + os.path.join(self.scratch, "am"),
                                    "--web.listen-address=" + self.alertmanager,
                                    "--cluster.listen-address=", "--log.level=warn"])
        wait_for("Alertmanager is ready", lambda: ask("http://%s/-/ready" % self.alertmanager))

    def start_sim(self):
        self.targets = os.path.join(self.scratch, "targets.json")
        command = [self.args.sim, "--agents", str(self.agents), "--cards", self.cards,
                   "--port", "0", "--targets-file", self.targets, "--notify", self.notifications]
        if self.events:
            command += ["--events", self.write("events", self.events)]
        sim = self.start("t740-sim", command, subprocess.PIPE)
        line = sim.stdout.readline().decode()
        found = re.search(r"listening on 127\.0\.0\.1:(\d+)", line)
        if not found:
            raise Failure("t740-sim did not start: " + repr(line))
        self.sim_port = int(found.group(1))
        self.sim_started = time.monotonic()
        # The rest of its lines go nowhere: nothing reads them.
        threading.Thread(target=sim.stdout.read, daemon=True).start()
        wait_for("t740-sim wrote its targets", lambda: os.path.exists(self.targets), seconds=10)

    def start_alerter(self):
        config = self.write("t740-alerter.yml",
                            "auths:\n  public_v2:\n    version: 2c\n    community: public\n"
                            "notifications:\n  communities: [public]\n  users: []\n")
        self.start("t740-alerter", [self.args.alerter, "--alertmanager.url",
                                    "http://" + self.alertmanager, "--targets.file", self.targets,
                                    "--snmp.listen-address", self.notifications,
                                    "--web.listen-address", self.alerter, "--config.file", config,
                                    "--allow-target", "127.0.0.0/8", "--storage.path",
                                    os.path.join(self.scratch, "alerter")])
        wait_for("t740-alerter is ready", lambda: ask("http://%s/-/ready" % self.alerter),
                 seconds=60)

    def start_browser(self):
        from selenium import webdriver
        from selenium.webdriver.chrome.service import Service
        options = webdriver.ChromeOptions()
        options.binary_location = CHROMIUM
        for argument in ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                         "--no-first-run", "--disable-background-networking",
                         "--disable-component-update", "--disable-sync", "--lang=en-US",
                         "--window-size=1280,900",
                         "--user-data-dir=" + os.path.join(self.scratch, "chromium")]:
            options.add_argument(argument)
        options.add_experimental_option("prefs", {"intl.accept_languages": "en-US"})
        options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
        self.driver = webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)
        self.driver.set_page_load_timeout(PATIENCE)
        return self.driver

    def stop(self):
        if self.driver:
            try:
                self.driver.quit()
            except Exception:  # a browser already gone
                pass
        for _, child in reversed(self.children):
            if child.poll() is None:
                child.send_signal(signal.SIGTERM)
        for _, child in self.children:
            try:
                child.wait(timeout=5)
            except subprocess.TimeoutExpired:
                child.kill()
                child.wait()
        if self.webhook:
            self.webhook.stop()

    def logs(self):
        for name, _ in self.children:
            with open(os.path.join(self.scratch, name + ".log"), errors="replace") as log:
                print("---- " + name + "\n" + log.read()[-3000:], file=sys.stderr)
        if self.driver:
            try:
                for entry in self.driver.get_log("browser"):
                    print("---- console: %s" % entry, file=sys.stderr)
            except Exception:  # a browser already gone
                pass

    def remove(self):
        shutil.rmtree(self.scratch, ignore_errors=True)

    # Questions -----------------------------------------------------------

    def api(self, path, body=None):
        return json.loads(ask("http://%s%s" % (self.alerter, path), body))

    def manager(self, path):
        return json.loads(ask("http://%s/api/v2/%s" % (self.alertmanager, path)))

