#include "pid_wheel/hid_descriptor_parser.h"

#include <algorithm>
#include <map>

namespace hid_test {

namespace {

struct GlobalState {
  uint16_t usagePage = 0;
  int32_t logicalMin = 0;
  int32_t logicalMax = 0;
  int32_t physicalMin = 0;
  int32_t physicalMax = 0;
  int32_t unitExponent = 0;
  uint32_t unit = 0;
  uint32_t reportSize = 0;
  uint8_t reportId = 0;
  uint32_t reportCount = 0;
};

int32_t Signed(uint32_t value, int size) {
  if (size == 1) return static_cast<int8_t>(value);
  if (size == 2) return static_cast<int16_t>(value);
  return static_cast<int32_t>(value);
}

Usage MakeUsage(uint32_t value, int size, uint16_t page) {
  // A four-byte usage carries its own page in the high half.
  if (size == 4) return {static_cast<uint16_t>(value >> 16), static_cast<uint16_t>(value & 0xFFFF)};
  return {page, static_cast<uint16_t>(value)};
}

}  // namespace

size_t ParsedDescriptor::ReportLength(ReportType type, uint8_t id) const {
  uint32_t bits = 0;
  bool any = false;
  for (const ReportField& field : fields) {
    if (field.type != type || field.reportId != id) continue;
    any = true;
    bits = std::max(bits, field.bitOffset + field.bitSize);
  }
  return any ? 1 + (bits + 7) / 8 : 0;
}

std::optional<ReportField> ParsedDescriptor::Find(ReportType type, uint8_t id, Usage usage) const {
  for (const ReportField& field : fields) {
    if (field.type == type && field.reportId == id && !field.constant && field.usage == usage) return field;
  }
  return std::nullopt;
}

std::optional<ParsedDescriptor> ParseDescriptor(std::span<const uint8_t> bytes, std::string* error) {
  ParsedDescriptor parsed;
  GlobalState global;
  std::vector<Usage> usages;
  std::optional<uint32_t> usageMinimum;
  std::vector<Usage> open;
  std::map<std::pair<ReportType, uint8_t>, uint32_t> nextBit;

  size_t at = 0;
  while (at < bytes.size()) {
    uint8_t prefix = bytes[at];
    if (prefix == 0xFE) {
      *error = "long item at byte " + std::to_string(at);
      return std::nullopt;
    }
    int size = prefix & 0x03;
    if (size == 3) size = 4;
    if (at + 1 + size > bytes.size()) {
      *error = "item runs past the end at byte " + std::to_string(at);
      return std::nullopt;
    }
    uint32_t value = 0;
    for (int i = 0; i < size; ++i) value |= static_cast<uint32_t>(bytes[at + 1 + i]) << (8 * i);
    int itemType = (prefix >> 2) & 0x03;
    int tag = prefix >> 4;
    size_t itemAt = at;
    at += 1 + size;

    if (itemType == 1) {  // global
      switch (tag) {
        case 0x0: global.usagePage = static_cast<uint16_t>(value); break;
        case 0x1: global.logicalMin = Signed(value, size); break;
        // Signed, as the HID specification has it: 255 takes two bytes.
        case 0x2: global.logicalMax = Signed(value, size); break;
        case 0x3: global.physicalMin = Signed(value, size); break;
        case 0x4: global.physicalMax = Signed(value, size); break;
        case 0x5: global.unitExponent = Signed(value, size); break;
        case 0x6: global.unit = value; break;
        case 0x7: global.reportSize = value; break;
        case 0x8: global.reportId = static_cast<uint8_t>(value); break;
        case 0x9: global.reportCount = value; break;
        default:
          *error = "unknown global item at byte " + std::to_string(itemAt);
          return std::nullopt;
      }
      continue;
    }
    if (itemType == 2) {  // local
      switch (tag) {
        case 0x0: usages.push_back(MakeUsage(value, size, global.usagePage)); break;
        case 0x1: usageMinimum = value; break;
        case 0x2:
          if (!usageMinimum) {
            *error = "usage maximum without minimum at byte " + std::to_string(itemAt);
            return std::nullopt;
          }
          for (uint32_t u = *usageMinimum; u <= value; ++u) usages.push_back({global.usagePage, static_cast<uint16_t>(u)});
          usageMinimum.reset();
          break;
        default:
          *error = "unknown local item at byte " + std::to_string(itemAt);
          return std::nullopt;
      }
      continue;
    }
    if (itemType != 0) {
      *error = "reserved item type at byte " + std::to_string(itemAt);
      return std::nullopt;
    }
    // Main items.
    if (tag == 0xA) {
      Usage usage = usages.empty() ? Usage{} : usages.front();
      if (open.empty()) parsed.topLevelCollections.push_back(usage);
      parsed.collections.push_back(usage);
      open.push_back(usage);
    } else if (tag == 0xC) {
      if (open.empty()) {
        *error = "end collection without a collection at byte " + std::to_string(itemAt);
        return std::nullopt;
      }
      open.pop_back();
    } else if (tag == 0x8 || tag == 0x9 || tag == 0xB) {
      if (open.empty()) {
        *error = "main item outside any collection at byte " + std::to_string(itemAt);
        return std::nullopt;
      }
      ReportType type = tag == 0x8 ? ReportType::Input : tag == 0x9 ? ReportType::Output : ReportType::Feature;
      uint32_t& bit = nextBit[{type, global.reportId}];
      bool constant = (value & 0x01) != 0;
      bool variable = (value & 0x02) != 0;
      ReportField field;
      field.type = type;
      field.reportId = global.reportId;
      field.constant = constant;
      field.logicalMin = global.logicalMin;
      field.logicalMax = global.logicalMax;
      field.physicalMin = global.physicalMin;
      field.physicalMax = global.physicalMax;
      field.unit = global.unit;
      field.unitExponent = global.unitExponent;
      field.collections = open;
      field.bitSize = global.reportSize;
      for (uint32_t i = 0; i < global.reportCount; ++i) {
        field.bitOffset = bit;
        if (!constant && variable && !usages.empty()) {
          field.usage = usages[std::min<size_t>(i, usages.size() - 1)];
        } else if (!constant && !usages.empty()) {
          field.usage = usages.front();
          field.arrayUsages = usages;
        }
        parsed.fields.push_back(field);
        bit += global.reportSize;
      }
    } else {
      *error = "unknown main item at byte " + std::to_string(itemAt);
      return std::nullopt;
    }
    usages.clear();
    usageMinimum.reset();
  }
  if (!open.empty()) {
    *error = std::to_string(open.size()) + " collection(s) left open";
    return std::nullopt;
  }
  return parsed;
}

}  // namespace hid_test
