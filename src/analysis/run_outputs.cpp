#include "analysis/run_outputs.h"

#include "analysis/analysis_page.h"
#include "analysis/log_analysis.h"

namespace analysis {

bool WriteAnalysisPage(const char* csvPath, std::string& reason, std::string* mainFigures) {
  if (csvPath == nullptr) {
    reason = "no log named";
    return false;
  }
  LogAnalysis analysis;
  if (!AnalyseLogFile(csvPath, LinearisationMode::Full, analysis, reason)) return false;
  if (!WritePage(analysis, PagePathFor(csvPath), reason)) return false;
  if (mainFigures != nullptr) *mainFigures = MainFigures(analysis);
  return true;
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
