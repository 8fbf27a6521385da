// vantrel-analyze FILE...: see analyze_command.h and the README.
#include <iostream>
#include <string>
#include <vector>

#include "analyze_cli/analyze_command.h"

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  return analyze_cli::RunAnalyzeCommand(arguments, std::cout, std::cerr);
}
