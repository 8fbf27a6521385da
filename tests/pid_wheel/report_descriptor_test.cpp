// The wheel's report descriptor against the byte layouts the device reads and writes: if the
// two disagree, the host's reports land in the wrong fields.
#include "pid_wheel/report_descriptor.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "pid_wheel/hid_descriptor_parser.h"
#include "pid_wheel/input_report.h"
#include "pid_wheel/pid_reports.h"

namespace {

using hid_test::ReportType;
using hid_test::Usage;
namespace pw = pid_wheel;

constexpr uint16_t desktop = 0x01;
constexpr uint16_t simulation = 0x02;
constexpr uint16_t button = 0x09;
constexpr uint16_t ordinals = 0x0A;
constexpr uint16_t pid = 0x0F;

const hid_test::ParsedDescriptor& Parsed() {
  static const hid_test::ParsedDescriptor parsed = [] {
    std::string error;
    auto result = hid_test::ParseDescriptor(pw::ReportDescriptor(), &error);
    EXPECT_TRUE(result.has_value()) << error;
    return result.value_or(hid_test::ParsedDescriptor{});
  }();
  return parsed;
}

TEST(ReportDescriptor, IsOneJoystickApplicationCollection) {
  ASSERT_EQ(Parsed().topLevelCollections.size(), 1u);
  EXPECT_EQ(Parsed().topLevelCollections[0], (Usage{desktop, 0x04}));
  // A driving device: the automobile simulation collection.
  const auto& all = Parsed().collections;
  EXPECT_NE(std::find(all.begin(), all.end(), Usage{simulation, 0x02}), all.end());
}

struct ReportLengthCase {
  ReportType type;
  uint8_t id;
  size_t length;
};

TEST(ReportDescriptor, EveryReportIsAsLongAsItsLayout) {
  const ReportLengthCase cases[] = {
      {ReportType::Input, pw::inputReportId, pw::inputReportLength},
      {ReportType::Input, pw::pid_state::id, pw::pid_state::length},
      {ReportType::Output, pw::set_effect::id, pw::set_effect::length},
      {ReportType::Output, pw::set_envelope::id, pw::set_envelope::length},
      {ReportType::Output, pw::set_condition::id, pw::set_condition::length},
      {ReportType::Output, pw::set_constant_force::id, pw::set_constant_force::length},
      {ReportType::Output, pw::effect_operation::id, pw::effect_operation::length},
      {ReportType::Output, pw::device_control::id, pw::device_control::length},
      {ReportType::Output, pw::device_gain::id, pw::device_gain::length},
      {ReportType::Output, pw::block_free::id, pw::block_free::length},
      {ReportType::Feature, pw::create_new_effect::id, pw::create_new_effect::length},
      {ReportType::Feature, pw::block_load::id, pw::block_load::length},
      {ReportType::Feature, pw::pool::id, pw::pool::length},
  };
  for (const ReportLengthCase& c : cases) {
    EXPECT_EQ(Parsed().ReportLength(c.type, c.id), c.length)
        << "report " << int(c.id) << " of type " << int(c.type);
  }
  size_t longestInput = 0;
  size_t longestFeature = 0;
  for (int id = 1; id < 256; ++id) {
    longestInput = std::max(longestInput, Parsed().ReportLength(ReportType::Input, static_cast<uint8_t>(id)));
    longestFeature = std::max(longestFeature, Parsed().ReportLength(ReportType::Feature, static_cast<uint8_t>(id)));
  }
  EXPECT_EQ(longestInput, pw::inputReportLength);
  EXPECT_EQ(longestFeature, pw::featureReportLength);
}

struct FieldCase {
  const char* what;
  ReportType type;
  uint8_t id;
  Usage usage;
  uint32_t byteOffset;  // counted as in pid_reports.h: the id byte is byte 0
  uint32_t bitInByte;
  uint32_t bitSize;
  int32_t logicalMin;
  int32_t logicalMax;
  int32_t unitExponent;
};

// Where pid_reports.h and input_report.h say each field is.
const FieldCase fieldCases[] = {
    {"X", ReportType::Input, 1, {desktop, 0x30}, 1, 0, 16, 0, 65535, 0},
    {"Y", ReportType::Input, 1, {desktop, 0x31}, 3, 0, 16, 0, 65535, 0},
    {"hat", ReportType::Input, 1, {desktop, 0x39}, 5, 0, 4, 1, 8, 0},
    {"button 1", ReportType::Input, 1, {button, 1}, 6, 0, 1, 0, 1, 0},
    {"button 12", ReportType::Input, 1, {button, 12}, 7, 3, 1, 0, 1, 0},
    {"set effect: block", ReportType::Output, 1, {pid, 0x22}, 1, 0, 8, 1, 32, 0},
    {"set effect: type", ReportType::Output, 1, {pid, 0x26}, 2, 0, 8, 1, 5, 0},
    {"set effect: duration", ReportType::Output, 1, {pid, 0x50}, 3, 0, 32, 0, 0x7FFFFFFF, -3},
    {"set effect: gain", ReportType::Output, 1, {pid, 0x52}, 7, 0, 8, 0, 255, 0},
    {"set effect: axis X enabled", ReportType::Output, 1, {desktop, 0x30}, 8, 0, 1, 0, 1, 0},
    {"set effect: axis Y enabled", ReportType::Output, 1, {desktop, 0x31}, 8, 1, 1, 0, 1, 0},
    {"set effect: direction enabled", ReportType::Output, 1, {pid, 0x56}, 8, 2, 1, 0, 1, 0},
    {"set effect: direction 1", ReportType::Output, 1, {ordinals, 1}, 9, 0, 16, 0, 35900, -2},
    {"set effect: direction 2", ReportType::Output, 1, {ordinals, 2}, 11, 0, 16, 0, 35900, -2},
    {"envelope: attack level", ReportType::Output, 2, {pid, 0x5B}, 2, 0, 16, 0, 10000, 0},
    {"envelope: fade level", ReportType::Output, 2, {pid, 0x5D}, 4, 0, 16, 0, 10000, 0},
    {"envelope: attack time", ReportType::Output, 2, {pid, 0x5C}, 6, 0, 16, 0, 32767, -3},
    {"envelope: fade time", ReportType::Output, 2, {pid, 0x5E}, 8, 0, 16, 0, 32767, -3},
    {"condition: parameter block offset", ReportType::Output, 3, {pid, 0x23}, 2, 0, 8, 0, 1, 0},
    {"condition: offset", ReportType::Output, 3, {pid, 0x60}, 3, 0, 16, -10000, 10000, 0},
    {"condition: positive coefficient", ReportType::Output, 3, {pid, 0x61}, 5, 0, 16, -10000, 10000, 0},
    {"condition: negative coefficient", ReportType::Output, 3, {pid, 0x62}, 7, 0, 16, -10000, 10000, 0},
    {"condition: positive saturation", ReportType::Output, 3, {pid, 0x63}, 9, 0, 16, 0, 10000, 0},
    {"condition: negative saturation", ReportType::Output, 3, {pid, 0x64}, 11, 0, 16, 0, 10000, 0},
    {"condition: dead band", ReportType::Output, 3, {pid, 0x65}, 13, 0, 16, 0, 10000, 0},
    {"constant force: magnitude", ReportType::Output, 4, {pid, 0x70}, 2, 0, 16, -10000, 10000, 0},
    {"operation: op", ReportType::Output, 5, {pid, 0x79}, 2, 0, 8, 1, 3, 0},
    {"operation: loop count", ReportType::Output, 5, {pid, 0x7C}, 3, 0, 8, 0, 255, 0},
    {"device control: command", ReportType::Output, 6, {pid, 0x97}, 1, 0, 8, 1, 6, 0},
    {"device gain", ReportType::Output, 7, {pid, 0x7E}, 1, 0, 8, 0, 255, 0},
    {"block free: block", ReportType::Output, 8, {pid, 0x22}, 1, 0, 8, 1, 32, 0},
    {"create new effect: type", ReportType::Feature, 9, {pid, 0x26}, 1, 0, 8, 1, 5, 0},
    {"block load: block", ReportType::Feature, 10, {pid, 0x22}, 1, 0, 8, 1, 32, 0},
    {"block load: status", ReportType::Feature, 10, {pid, 0x8C}, 2, 0, 8, 1, 3, 0},
    {"pool: size", ReportType::Feature, 11, {pid, 0x80}, 1, 0, 16, 0, 65535, 0},
    {"pool: effects at once", ReportType::Feature, 11, {pid, 0x83}, 3, 0, 8, 0, 255, 0},
    {"pool: device managed", ReportType::Feature, 11, {pid, 0xA9}, 4, 0, 1, 0, 1, 0},
    {"state: paused", ReportType::Input, 2, {pid, 0x9F}, 1, 0, 1, 0, 1, 0},
    {"state: actuators enabled", ReportType::Input, 2, {pid, 0xA0}, 1, 1, 1, 0, 1, 0},
    {"state: safety switch", ReportType::Input, 2, {pid, 0xA4}, 1, 2, 1, 0, 1, 0},
    {"state: override switch", ReportType::Input, 2, {pid, 0xA5}, 1, 3, 1, 0, 1, 0},
    {"state: power", ReportType::Input, 2, {pid, 0xA6}, 1, 4, 1, 0, 1, 0},
    {"state: effect playing", ReportType::Input, 2, {pid, 0x94}, 1, 5, 1, 0, 1, 0},
    {"state: block", ReportType::Input, 2, {pid, 0x22}, 2, 0, 8, 1, 32, 0},
};

class ReportFieldTest : public testing::TestWithParam<FieldCase> {};

TEST_P(ReportFieldTest, SitsWhereTheLayoutSays) {
  const FieldCase& c = GetParam();
  auto field = Parsed().Find(c.type, c.id, c.usage);
  ASSERT_TRUE(field.has_value()) << c.what;
  EXPECT_EQ(field->bitOffset, (c.byteOffset - 1) * 8 + c.bitInByte) << c.what;
  EXPECT_EQ(field->bitSize, c.bitSize) << c.what;
  EXPECT_EQ(field->logicalMin, c.logicalMin) << c.what;
  EXPECT_EQ(field->logicalMax, c.logicalMax) << c.what;
  // A nibble-coded exponent (0x0D for -3) would read 13 here.
  EXPECT_EQ(field->unitExponent, c.unitExponent) << c.what;
  // Ranges that a host scales through would change the values it writes.
  EXPECT_EQ(field->physicalMin, 0) << c.what;
  if (c.usage.id != 0x39) {
    EXPECT_EQ(field->physicalMax, 0) << c.what;
  }
}

INSTANTIATE_TEST_SUITE_P(Layout, ReportFieldTest, testing::ValuesIn(fieldCases));

struct ArrayCase {
  const char* what;
  ReportType type;
  uint8_t id;
  Usage first;
  std::vector<uint16_t> usages;  // PID page, in array order
};

TEST(ReportDescriptor, ArraysListTheirChoicesInTheOrderTheDeviceNumbersThem) {
  const std::vector<uint16_t> effectTypes = {0x26, 0x40, 0x41, 0x42, 0x43};  // EffectType 1..5
  const ArrayCase cases[] = {
      {"set effect: effect type", ReportType::Output, 1, {pid, 0x26}, effectTypes},
      {"create new effect: effect type", ReportType::Feature, 9, {pid, 0x26}, effectTypes},
      {"operation", ReportType::Output, 5, {pid, 0x79}, {0x79, 0x7A, 0x7B}},
      {"device control", ReportType::Output, 6, {pid, 0x97}, {0x97, 0x98, 0x99, 0x9A, 0x9B, 0x9C}},
      {"block load status", ReportType::Feature, 10, {pid, 0x8C}, {0x8C, 0x8D, 0x8E}},
  };
  for (const ArrayCase& c : cases) {
    auto field = Parsed().Find(c.type, c.id, c.first);
    ASSERT_TRUE(field.has_value()) << c.what;
    std::vector<uint16_t> usages;
    for (const Usage& usage : field->arrayUsages) {
      EXPECT_EQ(usage.page, pid) << c.what;
      usages.push_back(usage.id);
    }
    EXPECT_EQ(usages, c.usages) << c.what;
    EXPECT_EQ(field->logicalMin, 1) << c.what;
    EXPECT_EQ(field->logicalMax, static_cast<int32_t>(c.usages.size())) << c.what;
  }
}

// A host finds each force-feedback report by the logical collection around its fields.
TEST(ReportDescriptor, EachReportSitsInItsOwnPidCollection) {
  struct Case {
    ReportType type;
    uint8_t id;
    uint16_t collection;
  };
  const Case cases[] = {
      {ReportType::Output, 1, 0x21}, {ReportType::Output, 2, 0x5A}, {ReportType::Output, 3, 0x5F},
      {ReportType::Output, 4, 0x73}, {ReportType::Output, 5, 0x77}, {ReportType::Output, 6, 0x95},
      {ReportType::Output, 7, 0x7D}, {ReportType::Output, 8, 0x90}, {ReportType::Feature, 9, 0xAB},
      {ReportType::Feature, 10, 0x89}, {ReportType::Feature, 11, 0x7F}, {ReportType::Input, 2, 0x92},
  };
  for (const Case& c : cases) {
    bool any = false;
    for (const auto& field : Parsed().fields) {
      if (field.type != c.type || field.reportId != c.id) continue;
      any = true;
      // Application collection, then the report's own.
      ASSERT_GE(field.collections.size(), 2u);
      EXPECT_EQ(field.collections[1], (Usage{pid, c.collection})) << "report " << int(c.id);
    }
    EXPECT_TRUE(any) << "report " << int(c.id);
  }
}

}  // namespace
