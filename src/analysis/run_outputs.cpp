#include "analysis/run_outputs.h"

#include "analysis/analysis_page.h"
#include "analysis/log_analysis.h"

namespace analysis {

bool WriteAnalysisPage(const char* csvPath, std::string& reason) {
  if (csvPath == nullptr) {
    reason = "no log named";
    return false;
  }
  LogAnalysis analysis;
  if (!AnalyseLogFile(csvPath, LinearisationMode::Full, analysis, reason)) return false;
  return WritePage(analysis, PagePathFor(csvPath), reason);
}

bool MainFiguresOfLog(const char* csvPath, std::string& figures, std::string& reason) {
  if (csvPath == nullptr) {
    reason = "no log named";
    return false;
  }
  LogAnalysis analysis;
  if (!AnalyseLogFile(csvPath, LinearisationMode::Full, analysis, reason)) return false;
  figures = MainFigures(analysis);
  return true;
}

}  // namespace analysis
