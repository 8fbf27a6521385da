#include "analysis/analysis_page.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <cstdio>

#include <nlohmann/json.hpp>

#include "analysis/figures_json.h"
#include "analysis/numeric.h"
#include "analysis/page_assets.h"
#include "analysis/plots.h"

namespace analysis {

namespace {

std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

nlohmann::json PlotJson(const Plot& plot) {
  nlohmann::json series = nlohmann::json::array();
  nlohmann::json data = nlohmann::json::array();
  data.push_back(plot.x);
  for (const PlotSeries& s : plot.series) {
    series.push_back({{"label", s.label},
                      {"unit", s.unit},
                      {"colour", s.colour},
                      {"rightAxis", s.rightAxis},
                      {"pointsOnly", s.pointsOnly},
                      {"dashed", s.dashed}});
    nlohmann::json values = nlohmann::json::array();
    for (double v : s.values) values.push_back(IsNone(v) ? nlohmann::json(nullptr) : nlohmann::json(v));
    data.push_back(std::move(values));
  }
  return {{"title", plot.title},     {"xLabel", plot.xLabel}, {"leftLabel", plot.leftLabel},
          {"rightLabel", plot.rightLabel}, {"rows", plot.x.size()}, {"sourceRows", plot.sourceRows},
          {"series", series},        {"data", data}};
}

std::string FigureTable(const LogAnalysis& a) {
  std::string html = "<table class=\"figures\">\n";
  for (const FigureLine& line : FigureLines(a)) {
    html += "<tr><th>" + Escaped(line.name) + "</th><td>" + Escaped(line.value);
    if (!line.unit.empty()) {
      html += ' ';
      html += Escaped(line.unit);
    }
    html += "</td></tr>\n";
  }
  return html + "</table>\n";
}

std::string StepTable(const StepFigures& f) {
  std::string html =
      "<table class=\"steps\">\n<tr><th>step</th><th>force</th><th>from (ms)</th><th>latency (ms)</th>"
      "<th>first move (ms)</th><th>initial acceleration (rad/s&sup2;)</th><th>peak speed (&deg;/s)</th>"
      "<th>reversal (ms)</th></tr>\n";
  for (size_t i = 0; i < f.steps.size(); ++i) {
    const ForceStep& s = f.steps[i];
    html += "<tr><td>" + std::to_string(i) + "</td><td>" + FormatFigure(s.force, 0) + "</td><td>" +
            FormatFigure(s.startMs, 0) + "</td><td>" + FormatFigure(s.latencyMs, 1) + "</td><td>" +
            FormatFigure(s.firstMoveMs, 0) + "</td><td>" + FormatFigure(s.initialAcceleration, 1) + "</td><td>" +
            FormatFigure(s.peakSpeed, 0) + "</td><td>" + FormatFigure(s.reversalMs, 1) + "</td></tr>\n";
  }
  return html + "</table>\n";
}

// The plots, drawn by uPlot from the JSON block; window.vantrelPlots keeps them for checks.
constexpr const char* pageScript = R"JS(
(function () {
  var data = JSON.parse(document.getElementById('vantrel-data').textContent);
  var holder = document.getElementById('plots');
  window.vantrelPlots = [];
  function width() { return Math.max(320, Math.min(holder.clientWidth || 900, 1200)); }
  data.plots.forEach(function (p) {
    var section = document.createElement('section');
    var title = document.createElement('h2');
    title.textContent = p.title;
    section.appendChild(title);
    if (p.rows < p.sourceRows) {
      var note = document.createElement('p');
      note.className = 'note';
      note.textContent = p.sourceRows + ' rows shown as ' + p.rows +
          ': the lowest and highest row of each series in every slice of the x axis.';
      section.appendChild(note);
    }
    var chart = document.createElement('div');
    section.appendChild(chart);
    holder.appendChild(section);
    var series = [{ label: p.xLabel }];
    p.series.forEach(function (s) {
      series.push({
        label: s.label,
        scale: s.rightAxis ? 'y2' : 'y',
        stroke: s.colour,
        width: 1.5,
        dash: s.dashed ? [8, 5] : undefined,
        paths: s.pointsOnly ? function () { return null; } : undefined,
        points: s.pointsOnly ? { show: true, size: 7, width: 1, stroke: s.colour, fill: s.colour } : { show: false },
        value: function (u, v) { return v == null ? '-' : (+v.toFixed(4)) + (s.unit ? ' ' + s.unit : ''); }
      });
    });
    var axes = [{ label: p.xLabel }, { label: p.leftLabel, scale: 'y' }];
    var scales = { x: { time: false }, y: {} };
    if (p.rightLabel) {
      axes.push({ label: p.rightLabel, scale: 'y2', side: 1, grid: { show: false } });
      scales.y2 = {};
    }
    var plot = new uPlot({
      width: width(), height: 360, series: series, axes: axes, scales: scales,
      cursor: { drag: { x: true, y: false } }
    }, p.data, chart);
    window.vantrelPlots.push(plot);
  });
  window.addEventListener('resize', function () {
    window.vantrelPlots.forEach(function (plot) { plot.setSize({ width: width(), height: 360 }); });
  });
})();
)JS";

constexpr const char* pageStyle = R"CSS(
body { font-family: system-ui, sans-serif; margin: 1.5em auto; max-width: 1240px; padding: 0 1em; color: #222; }
h1 { font-size: 1.4em; margin-bottom: 0.2em; }
h2 { font-size: 1.1em; margin: 1.4em 0 0.4em; }
.file { color: #555; margin-top: 0; word-break: break-all; }
table { border-collapse: collapse; margin: 0.6em 0; }
th, td { padding: 0.15em 0.8em 0.15em 0; text-align: left; vertical-align: top; }
table.steps th, table.steps td { border-bottom: 1px solid #ddd; text-align: right; }
.note, .hint { color: #555; font-size: 0.9em; }
input.map { width: 100%; font-family: monospace; }
)CSS";

}  // namespace

std::string PageHtml(const LogAnalysis& a) {
  nlohmann::json data;
  data["figures"] = FiguresJson(a);
  data["plots"] = nlohmann::json::array();
  for (const Plot& plot : PlotsFor(a)) data["plots"].push_back(PlotJson(plot));
  // Inside a script element "</" would end it early; JSON may write "<\/" for it.
  const std::string dumped = data.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
  std::string json;
  json.reserve(dumped.size());
  for (size_t i = 0; i < dumped.size(); ++i) {
    json += dumped[i];
    if (dumped[i] == '<' && i + 1 < dumped.size() && dumped[i + 1] == '/') json += '\\';
  }

  const std::string title = std::string(KindTitle(a.log.kind));
  std::string html;
  html.reserve(json.size() + UplotScript().size() + 16384);
  html += "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n";
  html += "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n";
  html += "<title>" + Escaped(title) + ": " + Escaped(a.log.file) + "</title>\n<style>\n";
  html += UplotStyle();
  html += pageStyle;
  html += "</style>\n</head>\n<body>\n";
  std::string heading = title;
  heading[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(heading[0])));
  html += "<h1>" + Escaped(heading) + "</h1>\n";
  html += "<p class=\"file\">" + Escaped(a.log.file) + ", " + std::to_string(a.log.rows()) + " rows</p>\n";
  html += FigureTable(a);
  if (a.linearisation) {
    html += "<p>For the program's Force Map box:</p>\n<input class=\"map\" readonly value=\"" +
            Escaped(a.linearisation->forceMap) + "\">\n";
  }
  if (a.step) html += StepTable(*a.step);
  html += "<p class=\"hint\">Drag across a plot to zoom in, double-click to zoom out; the values under the "
          "pointer show beneath it.</p>\n";
  html += "<div id=\"plots\"></div>\n";
  html += "<script type=\"application/json\" id=\"vantrel-data\">" + json + "</script>\n";
  html += "<script>\n/*! uPlot ";
  html += UplotVersion();
  html += " (the npm package uplot), inlined under its licence:\n";
  html += UplotLicence();
  html += "\n*/\n";
  html += UplotScript();
  html += "\n</script>\n<script>";
  html += pageScript;
  html += "</script>\n</body>\n</html>\n";
  return html;
}

std::string PagePathFor(const std::string& logPath) {
  const size_t dot = logPath.size() >= 4 ? logPath.size() - 4 : std::string::npos;
  if (dot != std::string::npos) {
    std::string extension = logPath.substr(dot);
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (extension == ".csv") return logPath.substr(0, dot) + ".html";
  }
  return logPath + ".html";
}

bool WritePage(const LogAnalysis& analysis, const std::string& pagePath, std::string& reason) {
  const std::string html = PageHtml(analysis);
  std::FILE* file = std::fopen(pagePath.c_str(), "wb");
  if (file == nullptr) {
    reason = pagePath + ": cannot be written (" + std::strerror(errno) + ")";
    return false;
  }
  const bool written = std::fwrite(html.data(), 1, html.size(), file) == html.size();
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) {
    reason = pagePath + ": could not be written in full";
    return false;
  }
  return true;
}

}  // namespace analysis
