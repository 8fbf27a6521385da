// Appending one report line: the cut at 2047 characters, the expanded state, a missing tree.
#include <string>

#include <gtest/gtest.h>

#include "app/control_ids.h"
#include "host/driver/user_driver.h"
#include "report/report_tree.h"
#include "support/program_fixture.h"

namespace {

namespace driver = host::driver;

class ReportItemTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    tree = host::AddHostControl(dialog, IDC_REPORT_TREE, host::ControlClass::TreeView);
  }
  HWND tree = nullptr;
};

TEST_F(ReportItemTest, LinesAreAppendedInOrderWithTheirStateAndLongOnesAreCut) {
  const std::string longName(3000, 'n');
  HTREEITEM root = AddReportItem(tree, nullptr, true, "%s", "Root");
  ASSERT_NE(root, nullptr);
  HTREEITEM group = AddReportItem(tree, root, false, "Group %d", 7);
  AddReportItem(tree, group, true, "%s", longName.c_str());
  AddReportItem(tree, root, true, "Last: %d%%", 40);
  std::string expected = "[+] Root\n  Group 7\n    [+] " + std::string(2047, 'n') + "\n  [+] Last: 40%\n";
  EXPECT_TRUE(driver::TreeText(dialog, IDC_REPORT_TREE) == expected);
}

TEST_F(ReportItemTest, WithoutATreeNothingIsInserted) {
  EXPECT_EQ(AddReportItem(nullptr, nullptr, true, "%s", "Root"), nullptr);
  EXPECT_EQ(driver::TreeText(dialog, IDC_REPORT_TREE), "");
}

}  // namespace
