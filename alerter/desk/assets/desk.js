// The t740 alarm desk: the network's summary, its current alarms kept
// live through the alerter's long poll, acknowledgements, the alarm log
// and each card's own view, all from the alerter's JSON API under /api/.
//
// Whatever a card or an operator wrote (card addresses, traces, names,
// comments) reaches the page through textContent alone, never as markup.
"use strict";

(function () {
  // Every text of the page, English and Chinese; zh* browsers get Chinese.
  const TEXTS = {
    en: {
      title: "t740 alarm desk",
      navDesk: "Alarms",
      navLog: "Log",
      summary: "Network",
      alarms: "Current alarms",
      agent: "Agent",
      cards: "Cards",
      answering: "Answering",
      silent: "Silent",
      alarmed: "Alarmed",
      severity: "Severity",
      card: "Card",
      port: "Port",
      alarm: "Alarm",
      since: "Since (card time)",
      acknowledged: "Acknowledged",
      silences: "Silences",
      noAlarms: "No alarm stands.",
      acknowledge: "Acknowledge",
      unacknowledge: "Withdraw",
      cancel: "Cancel",
      ackTitle: "Acknowledge the alarm",
      yourName: "Your name",
      comment: "Comment",
      nameNeeded: "Give your name.",
      log: "Alarm log",
      any: "any",
      from: "From",
      to: "Until",
      search: "Search",
      clear: "Clear",
      older: "Older entries",
      logEmpty: "No entry matches.",
      cardTime: "Card time",
      what: "What",
      operator: "Operator",
      learnt: "Learnt",
      cardTitle: "Card",
      ports: "Ports",
      performance: "Performance",
      recentLog: "Recent log",
      current: "current",
      completed: "latest completed",
      minutes15: "15 minutes",
      hours24: "24 hours",
      noRecords: "The card gave no performance records.",
      answers: "answers",
      silentBadge: "silent",
      portClear: "clear",
      metrics: "metrics",
      ready: "ready",
      live: "live",
      offline: "connection lost, retrying",
      logHealth: "The alarm log cannot be written: {0}",
      logGap: "{0} log entries could not be kept.",
      totals: "{0} cards: {1} answering, {2} silent, {3} alarmed",
      ackBy: "{0}: {1}",
      silenceBy: "{0} until {1}",
      viaSilence: "silence",
      failed: "The alerter refused: {0}",
      kind_raised: "raised",
      kind_cleared: "cleared",
      kind_acknowledged: "acknowledged",
      kind_unacknowledged: "acknowledgement withdrawn",
      sev_critical: "critical",
      sev_major: "major",
      sev_minor: "minor",
      sev_warning: "warning",
      sev_info: "info",
    },
    zh: {
      title: "t740 告警台",
      navDesk: "告警",
      navLog: "日志",
      summary: "网络",
      alarms: "当前告警",
      agent: "代理",
      cards: "板卡",
      answering: "在线",
      silent: "无应答",
      alarmed: "有告警",
      severity: "级别",
      card: "板卡",
      port: "光口",
      alarm: "告警",
      since: "发生时间（板卡）",
      acknowledged: "确认",
      silences: "静默",
      noAlarms: "当前无告警。",
      acknowledge: "确认",
      unacknowledge: "撤销确认",
      cancel: "取消",
      ackTitle: "确认告警",
      yourName: "您的姓名",
      comment: "备注",
      nameNeeded: "请填写姓名。",
      log: "告警日志",
      any: "全部",
      from: "起",
      to: "止",
      search: "查询",
      clear: "清除",
      older: "更早的记录",
      logEmpty: "没有匹配的记录。",
      cardTime: "板卡时间",
      what: "事件",
      operator: "操作员",
      learnt: "获知时间",
      cardTitle: "板卡",
      ports: "光口",
      performance: "性能",
      recentLog: "近期日志",
      current: "当前",
      completed: "最近完成",
      minutes15: "15 分钟",
      hours24: "24 小时",
      noRecords: "板卡未给出性能记录。",
      answers: "在线",
      silentBadge: "无应答",
      portClear: "正常",
      metrics: "指标",
      ready: "就绪",
      live: "实时",
      offline: "连接中断，正在重试",
      logHealth: "告警日志无法写入：{0}",
      logGap: "{0} 条日志未能保存。",
      totals: "{0} 块板卡：{1} 在线，{2} 无应答，{3} 有告警",
      ackBy: "{0}：{1}",
      silenceBy: "{0}，至 {1}",
      viaSilence: "静默",
      failed: "告警服务拒绝：{0}",
      kind_raised: "产生",
      kind_cleared: "消除",
      kind_acknowledged: "确认",
      kind_unacknowledged: "撤销确认",
      sev_critical: "紧急",
      sev_major: "主要",
      sev_minor: "次要",
      sev_warning: "警告",
      sev_info: "提示",
    },
  };
  const LANG = /^zh/i.test(navigator.language || "") ? "zh" : "en";

  function t(key, ...values) {
    const text = TEXTS[LANG][key] ?? TEXTS.en[key] ?? key;
    return text.replace(/\{(\d)\}/g, (_, n) => String(values[Number(n)] ?? ""));
  }

  const SEVERITY_RANK = { critical: 0, major: 1, minor: 2, warning: 3, info: 4 };
  const POLL_SECONDS = 15;  // the long poll answers within 8 s
  const RETRY_MS = 2000;
  const RELOAD_SECONDS = 30;
  const LOG_PAGE = 50;

  const $ = (id) => document.getElementById(id);
  const state = {
    session: null,
    seq: null,
    alarms: [],
    view: "desk",
    card: null,  // {agent, card} while a card's view shows
    logQuery: null,
    logNext: null,
    ackKey: null,
    refreshing: null,
    firstRender: true,
  };

  // Elements ------------------------------------------------------------

  function el(tag, text, className) {
    const node = document.createElement(tag);
    if (text !== undefined && text !== null) node.textContent = String(text);
    if (className) node.className = className;
    return node;
  }

  function cell(row, text, className) {
    const td = el("td", text, className);
    row.appendChild(td);
    return td;
  }

  function show(node, visible) {
    node.hidden = !visible;
  }

  function problem(node, text) {
    node.textContent = text || "";
    show(node, Boolean(text));
  }

  function severityText(severity) {
    const key = "sev_" + severity;
    return TEXTS.en[key] ? t(key) : String(severity ?? "");
  }

  function severityClass(severity) {
    return "sev sev-" + (severity in SEVERITY_RANK ? severity : "other");
  }

  function pad(n) {
    return String(n).padStart(2, "0");
  }

  // RFC 3339 as the browser's local date and time; anything else as given.
  function when(value) {
    if (value === null || value === undefined || value === "") return "";
    const date = new Date(value);
    if (Number.isNaN(date.getTime())) return String(value);
    return date.getFullYear() + "-" + pad(date.getMonth() + 1) + "-" + pad(date.getDate()) +
      " " + pad(date.getHours()) + ":" + pad(date.getMinutes()) + ":" + pad(date.getSeconds());
  }

  function timeCell(row, value) {
    const td = cell(row, when(value), "time");
    if (value) td.title = String(value);
    return td;
  }

  function cardButton(instance, card) {
    const link = el("a", card, "card-link");
    const target = new URLSearchParams({ agent: instance ?? "", card: card ?? "" });
    link.href = "#/card?" + target.toString();
    return link;
  }

  // The API -------------------------------------------------------------

  class ApiError extends Error {
    constructor(status, reason) {
      super(reason);
      this.status = status;
    }
  }

  async function reasonOf(response) {
    const body = await response.text();
    try {
      const parsed = JSON.parse(body);
      if (parsed && typeof parsed === "object") {
        return String(parsed.error ?? parsed.reason ?? parsed.message ?? body);
      }
    } catch (_) {
      // a plain-text reason
    }
    return body.trim() || response.status + " " + response.statusText;
  }

  // Every request in flight, to be ended when the page goes: the browser
  // keeps at most six connections to the alerter, and a long poll left
  // running by a page gone would hold one until the alerter answers it.
  const inFlight = new Set();
  window.addEventListener("pagehide", () => {
    for (const abort of inFlight) abort.abort();
  });

  async function api(path, options = {}) {
    const abort = new AbortController();
    inFlight.add(abort);
    const timer = setTimeout(() => abort.abort(), (options.seconds ?? 10) * 1000);
    try {
      const init = { credentials: "same-origin", cache: "no-store", signal: abort.signal };
      if (options.body !== undefined) {
        init.method = "POST";
        init.headers = {
          "Content-Type": "application/json",
          "X-T740-Token": state.session ? state.session.token : "",
        };
        init.body = JSON.stringify(options.body);
      }
      const response = await fetch(path, init);
      if (!response.ok) throw new ApiError(response.status, await reasonOf(response));
      const type = response.headers.get("Content-Type") || "";
      return type.includes("json") ? response.json() : response.text();
    } finally {
      clearTimeout(timer);
      inFlight.delete(abort);
    }
  }

  function setLive(ok) {
    const live = $("live");
    live.textContent = ok ? t("live") : t("offline");
    live.className = ok ? "live on" : "live off";
  }

  // The summary ---------------------------------------------------------

  function renderSummary(summary) {
    $("totals").textContent = t("totals", summary.cards, summary.answering, summary.silent,
      summary.alarmed);
    const log = summary.log || {};
    const troubles = [];
    if (log.writable === false) troubles.push(t("logHealth", log.error || ""));
    if (log.gap > 0) troubles.push(t("logGap", log.gap));
    problem($("log-health"), troubles.join(" "));
    const body = document.createElement("tbody");
    const choices = $("agent-list");
    choices.replaceChildren();
    for (const agent of summary.agents || []) {
      const row = body.insertRow();
      cell(row, agent.instance, "agent");
      cell(row, agent.cards, "num");
      cell(row, agent.answering, "num");
      cell(row, agent.silent, agent.silent > 0 ? "num bad" : "num");
      cell(row, agent.alarmed, agent.alarmed > 0 ? "num bad" : "num");
      const option = document.createElement("option");
      option.value = String(agent.instance ?? "");
      choices.appendChild(option);
    }
    $("agents").tBodies[0].replaceWith(body);
  }

  async function loadSummary() {
    renderSummary(await api("/api/summary"));
  }

  // The current alarms --------------------------------------------------

  function worstFirst(a, b) {
    const rank = (x) => SEVERITY_RANK[x.severity] ?? 9;
    if (rank(a) !== rank(b)) return rank(a) - rank(b);
    const since = (x) => Date.parse(x.since) || 0;
    if (since(a) !== since(b)) return since(a) - since(b);
    return String(a.key).localeCompare(String(b.key));
  }

  function alarmRow(alarm) {
    const row = document.createElement("tr");
    row.dataset.key = String(alarm.key ?? "");
    row.className = alarm.acknowledged ? "acked" : "";
    cell(row, severityText(alarm.severity), severityClass(alarm.severity));
    cell(row).appendChild(cardButton(alarm.instance, alarm.card));
    cell(row, alarm.instance, "agent");
    cell(row, alarm.port, "port");
    cell(row, alarm.alarm, "alarm");
    timeCell(row, alarm.since);
    const ack = cell(row, null, "ack");
    if (alarm.acknowledged) {
      const a = alarm.acknowledged;
      ack.appendChild(el("span", a.who, "who"));
      if (a.comment) ack.appendChild(el("span", a.comment, "comment"));
      if (a.at) ack.appendChild(el("span", when(a.at), "time"));
    }
    // The silences made elsewhere: the acknowledgement's own shows beside it.
    const own = alarm.acknowledged ? alarm.acknowledged.silence : null;
    const silences = cell(row, null, "silences");
    for (const silence of (alarm.silencedBy || []).filter((s) => !own || s.id !== own)) {
      const item = el("div", null, "silence");
      item.appendChild(el("span", silence.createdBy, "who"));
      if (silence.comment) item.appendChild(el("span", silence.comment, "comment"));
      if (silence.endsAt) item.appendChild(el("span", "→ " + when(silence.endsAt), "time"));
      item.title = String(silence.id ?? "");
      silences.appendChild(item);
    }
    const actions = cell(row, null, "actions");
    const button = el("button", alarm.acknowledged ? t("unacknowledge") : t("acknowledge"));
    button.type = "button";
    button.className = alarm.acknowledged ? "unack" : "ack-button";
    button.addEventListener("click", () =>
      alarm.acknowledged ? unacknowledge(alarm) : openAck(alarm));
    actions.appendChild(button);
    return row;
  }

  function renderAlarms() {
    const body = document.createElement("tbody");
    for (const alarm of state.alarms) body.appendChild(alarmRow(alarm));
    $("alarm-table").tBodies[0].replaceWith(body);
    $("alarm-count").textContent = "(" + state.alarms.length + ")";
    show($("no-alarms"), state.alarms.length === 0);
    if (state.firstRender) {
      state.firstRender = false;
      performance.mark("desk-alarms-rendered");
      document.documentElement.dataset.alarmsRendered = String(performance.now());
    }
  }

  async function loadAlarms() {
    const answer = await api("/api/alarms");
    state.alarms = (answer.alarms || []).slice().sort(worstFirst);
    if (state.seq === null || answer.seq > state.seq) state.seq = answer.seq;
    renderAlarms();
    return answer.seq;
  }

  // One refresh at a time; a change while one runs makes one more.
  function refresh() {
    if (state.refreshing) {
      state.again = true;
      return state.refreshing;
    }
    state.refreshing = (async () => {
      try {
        do {
          state.again = false;
          await Promise.all([loadAlarms(), loadSummary()]);
          if (state.view === "card" && state.card) await loadCard();
        } while (state.again);
      } catch (error) {
        problem($("problem"), t("failed", error.message));
      } finally {
        state.refreshing = null;
      }
    })();
    return state.refreshing;
  }

  async function follow() {
    for (;;) {
      try {
        const answer = await api("/api/events?after=" + encodeURIComponent(state.seq ?? 0),
          { seconds: POLL_SECONDS });
        setLive(true);
        if (answer.reset) {
          state.seq = null;
          await refresh();
        } else {
          if (typeof answer.seq === "number") state.seq = answer.seq;
          if ((answer.events || []).length > 0) await refresh();
        }
      } catch (_) {
        setLive(false);
        await new Promise((resolve) => setTimeout(resolve, RETRY_MS));
        state.seq = null;
        await refresh();
      }
    }
  }

  // Acknowledgements ----------------------------------------------------

  function openAck(alarm) {
    state.ackKey = alarm.key;
    const form = $("ack-form");
    $("ack-what").textContent = [alarm.instance, alarm.card, alarm.port, alarm.alarm]
      .filter((x) => x).join(" · ");
    const anonymous = !(state.session && state.session.user);
    show($("ack-name-row"), anonymous);
    form.elements.name.value = localStorage.getItem("t740-desk-name") || "";
    form.elements.comment.value = "";
    problem($("ack-error"), "");
    $("ack-dialog").showModal();
    (anonymous && !form.elements.name.value ? form.elements.name : form.elements.comment).focus();
  }

  async function sendAck(event) {
    event.preventDefault();
    const form = $("ack-form");
    const anonymous = !(state.session && state.session.user);
    const name = anonymous ? form.elements.name.value.trim() : state.session.user;
    if (!name) {
      problem($("ack-error"), t("nameNeeded"));
      return;
    }
    if (anonymous) localStorage.setItem("t740-desk-name", name);
    $("ack-send").disabled = true;
    try {
      await api("/api/alarms/ack",
        { body: { key: state.ackKey, name, comment: form.elements.comment.value } });
      $("ack-dialog").close();
      await refresh();
    } catch (error) {
      problem($("ack-error"), t("failed", error.message));
    } finally {
      $("ack-send").disabled = false;
    }
  }

  async function unacknowledge(alarm) {
    try {
      await api("/api/alarms/unack", { body: { key: alarm.key } });
      problem($("problem"), "");
      await refresh();
    } catch (error) {
      problem($("problem"), t("failed", error.message));
    }
  }

  // The log -------------------------------------------------------------

  function kindText(kind) {
    return TEXTS.en["kind_" + kind] ? t("kind_" + kind) : String(kind ?? "");
  }

  function logRow(entry, withCard) {
    const row = document.createElement("tr");
    row.className = "kind-" + String(entry.kind ?? "").replace(/[^a-z-]/g, "");
    row.dataset.id = String(entry.id ?? "");
    // An operator's entry has no card time: the alerter's then.
    timeCell(row, entry.cardTime || entry.learnt);
    cell(row, kindText(entry.kind), "kind");
    if (withCard) {
      cell(row).appendChild(cardButton(entry.instance, entry.card));
      cell(row, entry.instance, "agent");
    }
    cell(row, entry.port, "port");
    cell(row, entry.alarm, "alarm");
    cell(row, severityText(entry.severity), severityClass(entry.severity));
    cell(row, entry.who, "who");
    cell(row, entry.comment, "comment");
    if (withCard) {
      const learnt = timeCell(row, entry.learnt);
      if (entry.road) learnt.title = String(entry.learnt ?? "") + " · " + String(entry.road);
    }
    return row;
  }

  // datetime-local's value, a local time, as RFC 3339.
  function rfc3339(local) {
    if (!local) return "";
    const date = new Date(local);
    return Number.isNaN(date.getTime()) ? local : date.toISOString();
  }

  function logParameters() {
    const form = $("log-filter");
    const query = new URLSearchParams();
    for (const name of ["card", "agent", "port", "alarm"]) {
      const value = form.elements[name].value.trim();
      if (value) query.set(name, value);
    }
    for (const name of ["from", "to"]) {
      const value = rfc3339(form.elements[name].value);
      if (value) query.set(name, value);
    }
    query.set("limit", String(LOG_PAGE));
    return query;
  }

  async function loadLog(more) {
    const query = new URLSearchParams(state.logQuery);
    if (more && state.logNext !== null) query.set("before", String(state.logNext));
    problem($("log-error"), "");
    const table = $("log-table");
    let answer;
    try {
      answer = await api("/api/log?" + query.toString());
    } catch (error) {
      if (!more) table.tBodies[0].replaceChildren();
      show($("log-more"), false);
      problem($("log-error"), error instanceof ApiError ? error.message : t("offline"));
      return;
    }
    const body = more ? table.tBodies[0] : document.createElement("tbody");
    for (const entry of answer.entries || []) body.appendChild(logRow(entry, true));
    if (!more) table.tBodies[0].replaceWith(body);
    state.logNext = answer.next ?? null;
    show($("log-more"), state.logNext !== null);
    show($("log-empty"), body.rows.length === 0);
  }

  // A card's view -------------------------------------------------------

  function portAlarmName(item) {
    if (item === null || typeof item !== "object") return { alarm: String(item) };
    return { alarm: item.alarm ?? item.name ?? "", severity: item.severity, since: item.since };
  }

  function renderPorts(ports) {
    const grid = document.createElement("div");
    grid.id = "port-grid";
    grid.className = "grid";
    const names = Object.keys(ports || {});
    for (const port of ["A", "B", "C", "D"]) if (!names.includes(port)) names.push(port);
    names.sort();
    for (const port of names) {
      const box = el("div", null, "port-box");
      box.dataset.port = port;
      box.appendChild(el("div", port, "port-name"));
      const alarms = (ports && ports[port]) || [];
      if (alarms.length === 0) box.appendChild(el("div", t("portClear"), "clear"));
      for (const item of alarms) {
        const alarm = portAlarmName(item);
        const line = el("div", alarm.alarm, severityClass(alarm.severity));
        if (alarm.since) line.title = when(alarm.since);
        box.appendChild(line);
      }
      box.classList.toggle("alarmed", alarms.length > 0);
      grid.appendChild(box);
    }
    $("port-grid").replaceWith(grid);
  }

  // The current record and the latest completed one of each period and
  // port, their groups' counters as the plug-in decoded them.
  function renderPerformance(status) {
    const holder = el("div");
    holder.id = "performance";
    const records = (status && Array.isArray(status.performance)) ? status.performance : [];
    const chosen = [];
    const latest = new Map();
    for (const record of records) {
      if (!record.history) {
        chosen.push(record);
      } else {
        const key = record.period + "/" + record.port;
        const seen = latest.get(key);
        if (!seen || (record.index ?? 0) < (seen.index ?? 0)) latest.set(key, record);
      }
    }
    chosen.push(...latest.values());
    chosen.sort((a, b) => (a.period - b.period) ||
      String(a.port).localeCompare(String(b.port)) || (a.history - b.history));
    if (chosen.length === 0) holder.appendChild(el("p", t("noRecords"), "quiet"));
    for (const record of chosen) {
      const box = el("div", null, "record");
      const period = record.period === 15 ? t("minutes15")
        : record.period === 24 ? t("hours24") : String(record.period);
      box.appendChild(el("h4", [record.label || record.port, period,
        record.history ? t("completed") : t("current")].join(" · ")));
      const groups = record.groups || {};
      const letters = [];
      for (const counters of Object.values(groups)) {
        for (const letter of Object.keys(counters || {})) {
          if (!letters.includes(letter)) letters.push(letter);
        }
      }
      letters.sort();
      if (Object.keys(groups).length === 0) {
        box.appendChild(el("pre", record.text, "raw"));
      } else {
        const table = el("table", null, "counters");
        const head = table.createTHead().insertRow();
        head.appendChild(el("th"));
        for (const letter of letters) head.appendChild(el("th", letter));
        const body = table.createTBody();
        for (const [group, counters] of Object.entries(groups)) {
          const row = body.insertRow();
          row.appendChild(el("th", group));
          for (const letter of letters) {
            const value = counters ? counters[letter] : undefined;
            cell(row, value === null || value === undefined ? "–" : value, "num");
          }
        }
        box.appendChild(table);
      }
      holder.appendChild(box);
    }
    $("performance").replaceWith(holder);
  }

  async function loadCard() {
    const { agent, card } = state.card;
    let answer;
    try {
      answer = await api("/api/card?" + new URLSearchParams({ agent, card }).toString());
    } catch (error) {
      problem($("card-error"), error instanceof ApiError ? error.message : t("offline"));
      return;
    }
    // A card that does not answer: the probe's reason.
    problem($("card-error"), answer.answering ? "" : String(answer.reason ?? ""));
    $("card-name").textContent = (answer.card ?? card) + " @ " + (answer.instance ?? agent);
    const badge = $("card-answering");
    badge.textContent = answer.answering ? t("answers") : t("silentBadge");
    badge.className = answer.answering ? "badge good" : "badge bad";
    renderPorts(answer.ports);
    renderPerformance(answer.status);
    const body = document.createElement("tbody");
    for (const entry of answer.log || []) body.appendChild(logRow(entry, false));
    $("card-log").tBodies[0].replaceWith(body);
  }

  // Views ---------------------------------------------------------------

  function route() {
    const hash = location.hash.replace(/^#\/?/, "");
    const [name, query] = hash.split("?");
    const parameters = new URLSearchParams(query || "");
    state.view = name === "log" ? "log" : name === "card" ? "card" : "desk";
    show($("desk-view"), state.view === "desk");
    show($("log-view"), state.view === "log");
    show($("card-view"), state.view === "card");
    $("nav-desk").className = state.view === "desk" ? "here" : "";
    $("nav-log").className = state.view === "log" ? "here" : "";
    if (state.view === "log") {
      const form = $("log-filter");
      for (const key of ["card", "agent", "port", "alarm"]) {
        if (parameters.has(key)) form.elements[key].value = parameters.get(key);
      }
      state.logQuery = logParameters();
      state.logNext = null;
      loadLog(false);
    } else if (state.view === "card") {
      state.card = { agent: parameters.get("agent") || "", card: parameters.get("card") || "" };
      $("card-name").textContent = state.card.card + " @ " + state.card.agent;
      loadCard();
    }
  }

  function translate() {
    document.documentElement.lang = LANG === "zh" ? "zh-CN" : "en";
    document.title = t("title");
    for (const node of document.querySelectorAll("[data-t]")) node.textContent = t(node.dataset.t);
  }

  async function start() {
    translate();
    $("log-filter").addEventListener("submit", (event) => {
      event.preventDefault();
      state.logQuery = logParameters();
      state.logNext = null;
      loadLog(false);
    });
    $("log-filter").addEventListener("reset", () => setTimeout(() => {
      state.logQuery = logParameters();
      state.logNext = null;
      loadLog(false);
    }));
    $("log-more").addEventListener("click", () => loadLog(true));
    $("ack-form").addEventListener("submit", sendAck);
    $("ack-cancel").addEventListener("click", () => $("ack-dialog").close());
    window.addEventListener("hashchange", route);
    route();
    try {
      state.session = await api("/api/session");
      $("user").textContent = state.session.user || "";
      $("version").textContent = state.session.version ? "t740-alerter " + state.session.version
        : "";
    } catch (error) {
      problem($("problem"), t("failed", error.message));
    }
    await refresh();
    setLive(true);
    follow();
    // Silences made in Alertmanager itself and the cards' health come with
    // no event: the list is read again now and then as well.
    setInterval(refresh, RELOAD_SECONDS * 1000);
  }

  if (document.readyState === "loading") {
    document.addEventListener("DOMContentLoaded", start);
  } else {
    start();
  }
})();
