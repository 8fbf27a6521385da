// The measurement tests' CSV logs as the checker finds them in the documents folder.
#pragma once

#include <set>
#include <string>
#include <vector>

// The documents folder as the shell names it to the program, or empty.
std::string DocumentsFolderPath();
// Names of the files matching `pattern` ("log2 2*.csv") in `folder`.
std::set<std::string> LogNames(const std::string& folder, const std::string& pattern);
// The newest name matching `pattern` that was not in `before`, or empty.
std::string NewLogName(const std::string& folder, const std::string& pattern, const std::set<std::string>& before);
std::string ReadWholeFile(const std::string& path);
// Lines without their CR LF; false when one does not end in CR LF.
bool SplitCrLfLines(const std::string& bytes, std::vector<std::string>* lines);
