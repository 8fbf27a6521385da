// The whole report of the virtual wheel, as a user sees it in the tree view after start-up,
// against the committed text. VANTREL_UPDATE_GOLDEN=1 rewrites the file instead (review
// the diff before committing it).
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "app/control_ids.h"
#include "host/driver/user_driver.h"
#include "support/program_fixture.h"
#include "support/user_session.h"

namespace {

namespace driver = host::driver;

const std::string goldenPath = std::string(VANTREL_TEST_DATA_DIR) + "/virtual_wheel_report.txt";

class GoldenReportTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    DestroyWindow(dialog);
    dialog = nullptr;
  }
};

TEST_F(GoldenReportTest, TheVirtualWheelsReportIsTheCommittedOne) {
  AttachWheel();
  std::string tree;
  UserSession session;
  session.Wait(500).Then([&](HWND dialog) {
    tree = driver::TreeText(dialog, IDC_REPORT_TREE);
    driver::ClickCloseBox(dialog);
  });
  ASSERT_EQ(session.Run(), 0);
  ASSERT_FALSE(tree.empty());
  // The stand-in answers every call the report makes: nothing is traced as failing.
  for (const std::string& line : TraceLines()) EXPECT_EQ(line.find("Failed"), std::string::npos) << line;

  if (std::getenv("VANTREL_UPDATE_GOLDEN") != nullptr) {
    std::ofstream(goldenPath, std::ios::binary) << tree;
    GTEST_SKIP() << "rewrote " << goldenPath;
  }
  std::ifstream in(goldenPath, std::ios::binary);
  ASSERT_TRUE(in.good()) << goldenPath;
  std::string golden((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(tree, golden);
}

}  // namespace
