// What a front end decides for the engine: where the logs go and whether the process runs at
// real-time priority while one is open.
#pragma once

enum class PriorityPolicy {
  RealTimeWhileLogging,  // real time while a log is open, high otherwise (the dialog)
  Unchanged,             // never touched by the engine
};

struct EnginePolicies {
  // The folder the logs are written into; null for the user's documents folder.
  const char* logFolder = nullptr;
  PriorityPolicy priority = PriorityPolicy::RealTimeWhileLogging;
};

// Copied, the folder text too. False, changing nothing, when the folder does not fit a path.
bool SetEnginePolicies(const EnginePolicies& policies);
const EnginePolicies& CurrentEnginePolicies();
