// What a front end calls when a measurement run has written its log: the page beside it,
// and the main figures as one line for a summary.
#pragma once

#include <string>

namespace analysis {

// Reads and analyses the log at csvPath and writes its page beside it (same name, ".html");
// `mainFigures`, when given, receives the log's main figures from the same analysis. False
// with a one-line reason; the log itself is only read.
bool WriteAnalysisPage(const char* csvPath, std::string& reason, std::string* mainFigures = nullptr);

// The log's main figures in one line, e.g. "step test: latency 15.2 ms, initial acceleration
// 68.4 rad/s^2, peak speed 1180 deg/s, reversal 301.0 ms". False with a reason instead.
bool MainFiguresOfLog(const char* csvPath, std::string& figures, std::string& reason);

}  // namespace analysis
