#include "web_pages.h"

#include <cstdio>

#include "util/utf8.h"
#include "web_route.h"

namespace recorder::web {

namespace {

// Bytes that are not UTF-8 (a log named in another encoding) stand as U+FFFD: JSON is text.
std::string jsonString(const std::string& text) {
  std::string out = "\"";
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t from = pos;
    const char32_t c = util::nextCodePoint(text, pos);
    if (c == util::kReplacementCharacter && pos == from + 1 &&
        static_cast<unsigned char>(text[from]) >= 0x80) {
      out += "\\ufffd";
    } else if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c == 0x7F) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
      out += escape;
    } else {
      out.append(text, from, pos - from);
    }
  }
  return out + "\"";
}

const char* yesNo(bool value) { return value ? "yes" : "no"; }

// The page's own look and its script, inline: the page loads nothing from elsewhere.
constexpr char kHead[] =
    "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
    "<meta name=\"viewport\" content=\"width=device-width\">\n"
    "<style>body{font-family:sans-serif;margin:1em;background:#f4f4f4}"
    "img{max-width:100%;height:auto;border:1px solid #888}"
    "th{text-align:left;padding-right:1em}td{overflow-wrap:anywhere}"
    ".times{display:flex;justify-content:space-between;max-width:601px}"
    "#freshness.stale{color:#fff;background:#b00;padding:0 .3em}"
    "@media (max-width:480px){body{margin:.4em}h1{font-size:1.3em}th{padding-right:.4em}}"
    "</style>\n";

constexpr char kScript[] =
    "<script>\n"
    "(function () {\n"
    "  var chart = document.getElementById('chart');\n"
    "  var note = document.getElementById('freshness');\n"
    "  var updated = new Date();\n"
    "  // Says how old the values are; a failed refresh or a stopped recorder marks them stale.\n"
    "  function fresh(why) {\n"
    "    if (!why) updated = new Date();\n"
    "    var at = updated.toLocaleTimeString();\n"
    "    note.textContent = why ? 'Stale: ' + why + '; values as of ' + at : 'Updated ' + at;\n"
    "    note.className = why ? 'stale' : '';\n"
    "  }\n"
    "  function tick() {\n"
    "    fetch('/', {cache: 'no-store'})\n"
    "      .then(function (r) {\n"
    "        if (!r.ok) throw new Error('status ' + r.status);\n"
    "        return r.text();\n"
    "      })\n"
    "      .then(function (text) {\n"
    "        var page = new DOMParser().parseFromString(text, 'text/html');\n"
    "        page.querySelectorAll('[data-live]').forEach(function (e) {\n"
    "          var mine = document.querySelector('[data-live=\"' + e.dataset.live + '\"]');\n"
    "          if (mine) mine.textContent = e.textContent;\n"
    "        });\n"
    "        var next = new Image();\n"
    "        next.onload = function () { chart.src = next.src; };\n"
    "        next.src = '/chart.png?t=' + Date.now();\n"
    "        var rec = page.querySelector('[data-live=\"recording\"]');\n"
    "        fresh(rec && rec.textContent === 'yes' ? '' : 'the recorder is stopped');\n"
    "      })\n"
    "      .catch(function () { fresh('no answer from the recorder'); })\n"
    "      .then(function () { setTimeout(tick, 1000); });\n"
    "  }\n"
    "  setTimeout(tick, 1000);\n"
    "})();\n"
    "</script>\n";

}  // namespace

std::string htmlEscape(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

// ",\"stations\":[...]" in a run with stations; nothing without.
std::string stationsJson(const std::vector<StationStatus>& stations) {
  if (stations.empty()) return {};
  std::string out = ",\"stations\":[";
  for (std::size_t i = 0; i < stations.size(); ++i) {
    const StationStatus& s = stations[i];
    out += std::string(i == 0 ? "" : ",") + "{\"call\":" + jsonString(s.call) +
           ",\"frequency_hz\":" + s.frequencyHz + ",\"level_db\":" + s.levelDb + "}";
  }
  return out + "]";
}

std::string statusJson(const WebStatus& s) {
  return "{\"clock\":" + jsonString(s.clock) + ",\"date\":" + jsonString(s.date) +
         ",\"level\":" + (s.level.empty() ? "0" : s.level) +
         ",\"chartLevel\":" + (s.chartLevel.empty() ? "0" : s.chartLevel) +
         ",\"recording\":" + (s.recording ? "true" : "false") +
         ",\"logging\":" + (s.logging ? "true" : "false") + ",\"log\":" + jsonString(s.log) +
         ",\"input\":" + jsonString(s.input) + ",\"sampleMs\":" + std::to_string(s.sampleMs) +
         ",\"chartSecondsPerDiv\":" + std::to_string(s.chartSecondsPerDiv) +
         stationsJson(s.stations) + "}\n";
}

std::string indexPage(const WebStatus& s) {
  auto live = [](const char* key, const std::string& value) {
    return std::string("<span data-live=\"") + key + "\">" + htmlEscape(value) + "</span>";
  };
  auto row = [&live](const char* label, const char* key, const std::string& value) {
    return std::string("<tr><th>") + label + "</th><td>" + live(key, value) + "</td></tr>\n";
  };
  std::string page = kHead;
  page += "<title>ZelkChart</title>\n</head>\n<body>\n<h1>ZelkChart</h1>\n";
  page += "<p><img id=\"chart\" src=\"/chart.png\" alt=\"The chart as of the last second\"></p>\n";
  page += "<div class=\"times\">" + live("left", s.left) + live("middle", s.middle) +
          live("clock", s.clock) + "</div>\n";
  page += "<p>" + live("status", s.statusLine) + "</p>\n";
  // Without scripting the values are as of loading the page; the script keeps this line true.
  page += "<p><span id=\"freshness\">As of loading this page</span></p>\n<table>\n";
  page += row("Clock", "clock2", s.clock);
  page += row("Date", "date", s.date);
  // In the chart's units, as its scale reads.
  page += "<tr><th>Level</th><td>" + live("level", s.chartLevel) + " on the chart's scale of " +
          live("scale", s.scale) + "</td></tr>\n";
  page += row("Recording", "recording", yesNo(s.recording));
  page += row("Logging", "logging", yesNo(s.logging));
  page += row("Log", "log", s.log);
  page += row("Input", "input", s.input);
  page += row("Sample size (ms)", "sampleMs", std::to_string(s.sampleMs));
  page += row("Chart speed (s/div)", "chartSecondsPerDiv", std::to_string(s.chartSecondsPerDiv));
  for (const StationStatus& station : s.stations) {
    page += "<tr><th>" + htmlEscape(station.call) + " (" + station.frequencyHz + " Hz)</th><td>" +
            htmlEscape(station.levelDb) + " dB</td></tr>\n";
  }
  page +=
      "</table>\n<p><a href=\"/day.png\">Today's day plot</a> &middot; "
      "<a href=\"/logs/\">The logs this run wrote</a> &middot; "
      "<a href=\"/status.json\">status.json</a></p>\n";
  page += kScript;
  page += "</body>\n</html>\n";
  return page;
}

std::string logListPage(const std::vector<LogEntry>& logs) {
  std::string page = kHead;
  page += "<title>ZelkChart logs</title>\n</head>\n<body>\n<h1>The logs this run wrote</h1>\n";
  if (logs.empty()) page += "<p>None yet.</p>\n";
  page += "<table>\n";
  for (const LogEntry& log : logs) {
    const std::string link = "/logs/" + percentEncodeName(log.name);
    // A SID file is CSV already: its own link serves it.
    const std::string csv = log.csv ? link : link + ".csv";
    page += "<tr><td><a href=\"" + link + "\">" + htmlEscape(log.name) + "</a></td><td>" +
            std::to_string(log.bytes) + " bytes</td><td><a href=\"" + csv +
            "\">CSV</a></td><td><a href=\"" + link + ".png\">day plot</a></td></tr>\n";
  }
  page += "</table>\n<p><a href=\"/\">The chart</a></p>\n</body>\n</html>\n";
  return page;
}

}  // namespace recorder::web
