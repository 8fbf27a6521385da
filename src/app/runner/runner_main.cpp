// vantrel-measure.exe's entry point.
#include <cstdio>

#include "app/runner/runner.h"

int main(int argc, char** argv) { return RunMeasureProgram(argc, argv, stdout, stderr); }
