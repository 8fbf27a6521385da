// A small HID report descriptor parser for the tests: it lays out every field of every report
// the way a HID class driver does (short items only), so a test can compare the wheel's
// descriptor with the byte layouts its reports are read and written by.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace hid_test {

enum class ReportType { Input, Output, Feature };

struct Usage {
  uint16_t page = 0;
  uint16_t id = 0;
  bool operator==(const Usage&) const = default;
};

struct ReportField {
  ReportType type = ReportType::Input;
  uint8_t reportId = 0;
  uint32_t bitOffset = 0;  // from the start of the report's data, after the id byte
  uint32_t bitSize = 0;
  Usage usage;                // a variable field's usage; an array's first
  std::vector<Usage> arrayUsages;  // an array field's usages, in order
  bool constant = false;
  int32_t logicalMin = 0;
  int32_t logicalMax = 0;
  int32_t physicalMin = 0;
  int32_t physicalMax = 0;
  uint32_t unit = 0;
  int32_t unitExponent = 0;
  std::vector<Usage> collections;  // the enclosing collections' usages, outermost first
};

struct ParsedDescriptor {
  std::vector<ReportField> fields;
  std::vector<Usage> topLevelCollections;
  // Every collection's usage, in the order they open.
  std::vector<Usage> collections;

  // Bytes of report (type, id), the id byte included; 0 when it has no field.
  size_t ReportLength(ReportType type, uint8_t id) const;
  // The data field (not padding) with this usage in report (type, id).
  std::optional<ReportField> Find(ReportType type, uint8_t id, Usage usage) const;
};

// Fails with a message when the descriptor is malformed (unknown item, unbalanced
// collections, a main item outside any collection).
std::optional<ParsedDescriptor> ParseDescriptor(std::span<const uint8_t> descriptor, std::string* error);

}  // namespace hid_test
