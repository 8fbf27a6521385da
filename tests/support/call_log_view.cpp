#include "support/call_log_view.h"

std::vector<host::CallRecord> CallsSince(size_t first) {
  std::vector<host::CallRecord> records;
  for (size_t i = first; i < host::CallLogSize(); ++i) records.push_back(host::CallLogAt(i));
  return records;
}

std::vector<host::CallRecord> CallsOf(host::Method method, size_t first) {
  std::vector<host::CallRecord> records;
  for (size_t i = first; i < host::CallLogSize(); ++i) {
    if (host::CallLogAt(i).method == method) records.push_back(host::CallLogAt(i));
  }
  return records;
}

std::vector<std::string> MethodNamesSince(size_t first) {
  std::vector<std::string> names;
  for (size_t i = first; i < host::CallLogSize(); ++i) {
    host::Method method = host::CallLogAt(i).method;
    if (method == host::Method::AddRef || method == host::Method::Release ||
        method == host::Method::QueryInterface) {
      continue;
    }
    names.emplace_back(host::MethodName(method));
  }
  return names;
}
