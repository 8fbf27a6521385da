#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <random>
#include <regex>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "host/driver/user_driver.h"
#include "host/window/host_window.h"
#include "settings/test_settings.h"
#include "support/program_fixture.h"
#include "support/user_session.h"

namespace {

namespace driver = host::driver;

class EditCommitTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    DestroyWindow(dialog);
    dialog = nullptr;
    AttachWheel();
  }
};

enum class Commit { Leave, Enter };

void TypeAndCommit(HWND dialog, int id, const std::string& text, Commit how) {
  ASSERT_TRUE(driver::TypeText(dialog, id, text)) << id << " " << text;
  if (how == Commit::Enter) {
    ASSERT_TRUE(driver::PressEnter(dialog));
  } else {
    ASSERT_TRUE(driver::PressTab(dialog));
  }
}

TEST_F(EditCommitTest, CommittedTextsShowTheValueTaken) {
  struct Case {
    int id;
    const char* typed;
    Commit how;
    const char* shown;
  };
  const Case cases[] = {
      {IDC_KP, "abc", Commit::Leave, "0.00"},
      {IDC_KD_AVG, "-3", Commit::Leave, "0.00"},
      {IDC_KD_AVG, "1.5", Commit::Enter, "0.99"},
      {IDC_KI, "1e999", Commit::Leave, "340282346638528859811704183484516925440.00"},
      {IDC_KP, "nan", Commit::Enter, "0.00"},
      {IDC_MAX_COUNT, "0", Commit::Leave, "1"},
      {IDC_MAX_COUNT, "0", Commit::Enter, "1"},
      {IDC_REPEAT, "0", Commit::Leave, "1"},
      {IDC_WHEEL_ANGLE, "2", Commit::Leave, "2"},
      {IDC_WHEEL_ANGLE, "2", Commit::Enter, "4"},
      {IDC_STEP_TIME, "0", Commit::Leave, "0"},
      {IDC_STEP_TIME, "0", Commit::Enter, "1"},
      {IDC_SLEEP, "99999999999999999999", Commit::Leave, "1000"},
      {IDC_REPEAT, "99999999999999999999", Commit::Leave, "2147483647"},
      {IDC_SLEEP, "-7", Commit::Enter, "0"},
      {IDC_MIN_FORCE, "7000", Commit::Leave, "5000"},
      {IDC_FORCE_MAP, "5000:3000", Commit::Enter, "0:0,5000:3000,10000:10000"},
      {IDC_FORCE_MAP, "0:0,5000:2000,4000:3000", Commit::Leave, "0:0,5000:2000,10000:10000"},
      // Last: leaving a box commits its text again, so the next click elsewhere would store 2.35.
      {IDC_KD, "2.345", Commit::Leave, "2.35"},
  };
  UserSession session;
  session.Wait(50);
  for (const Case& c : cases) {
    session.Then([c](HWND dialog) { TypeAndCommit(dialog, c.id, c.typed, c.how); })
        .Then([c](HWND dialog) {
          EXPECT_EQ(driver::Text(dialog, c.id), c.shown) << c.id << " " << c.typed;
        });
  }
  session.Then([](HWND dialog) {
    // The stored real is the clamped value itself, not the rounded text.
    EXPECT_EQ(testSettings.pidKd, 2.345f);
    EXPECT_EQ(testSettings.wheelAngle, 4);
    EXPECT_EQ(testSettings.stepTime, 1);
    driver::ClickCloseBox(dialog);
  });
  EXPECT_EQ(session.Run(), 0);
}

TEST_F(EditCommitTest, MinForceReplacesTheMapAndTheMapKeepsItsFirstOutput) {
  UserSession session;
  session.Wait(50)
      .Then([](HWND dialog) { TypeAndCommit(dialog, IDC_FORCE_MAP, "0:500,8000:9000", Commit::Enter); })
      .Then([](HWND dialog) {
        EXPECT_EQ(driver::Text(dialog, IDC_MIN_FORCE), "500");
        EXPECT_EQ(driver::Text(dialog, IDC_FORCE_MAP), "0:500,8000:9000,10000:10000");
        TypeAndCommit(dialog, IDC_MIN_FORCE, "700", Commit::Enter);
      })
      .Then([](HWND dialog) {
        EXPECT_EQ(driver::Text(dialog, IDC_FORCE_MAP), "0:700,10000:10000");
        EXPECT_EQ(testSettings.forceMapCount, 2);
        driver::ClickCloseBox(dialog);
      });
  EXPECT_EQ(session.Run(), 0);
}

TEST_F(EditCommitTest, EnterOnATrackbarOrACheckBoxChangesNothing) {
  UserSession session;
  session.Wait(50);
  for (int focused : {IDC_OFFSET_X, IDC_ADD_SIN}) {
    session
        .Then([focused](HWND dialog) {
          ASSERT_TRUE(driver::FocusControl(dialog, focused));
          // Text that reaches the box without the focus passing through it (as a paste by
          // another program would) is not committed by anything but the box itself.
          SetWindowTextA(GetDlgItem(dialog, IDC_KP), "7");
        })
        .Then([](HWND dialog) { ASSERT_TRUE(driver::PressEnter(dialog)); })
        .Then([focused](HWND dialog) {
          EXPECT_EQ(driver::FocusedControlId(dialog), focused);
          EXPECT_EQ(driver::Text(dialog, IDC_KP), "7") << focused;
          EXPECT_EQ(testSettings.pidKp, 5.0f) << focused;
          EXPECT_FALSE(driver::IsChecked(dialog, IDC_ADD_SIN));
        });
  }
  session.Then([](HWND dialog) { driver::ClickCloseBox(dialog); });
  EXPECT_EQ(session.Run(), 0);
}

// Whatever is typed, the committed text is the canonical form of a value within the box's
// bounds, the setting holds that value, and committing it again changes nothing.
TEST_F(EditCommitTest, RandomTextsAlwaysCommitToACanonicalClampedValue) {
  struct Box {
    int id;
    bool real;
    double minimum;
    double maximum;  // below minimum: no upper bound
    const void* field;
  };
  const Box boxes[] = {
      {IDC_KP, true, 0, -1, &testSettings.pidKp},          {IDC_KI, true, 0, -1, &testSettings.pidKi},
      {IDC_KD, true, 0, -1, &testSettings.pidKd},          {IDC_KD_AVG, true, 0, 0.99, &testSettings.pidKdAvg},
      {IDC_SLEEP, false, 0, 1000, &testSettings.loopSleepMs}, {IDC_REPEAT, false, 1, -1, &testSettings.testRepeat},
      {IDC_MIN_FORCE, false, 0, 5000, nullptr},            {IDC_MAX_COUNT, false, 1, -1, &testSettings.testMaxCount},
      {IDC_STEP_TIME, false, 0, -1, &testSettings.stepTime}, {IDC_WHEEL_ANGLE, false, 0, -1, &testSettings.wheelAngle},
  };
  const char* const pieces[] = {"", "-", "+", "0", "7", "42", "3.14159", "1e9", "1e40", "-1e40", "99999999999999999999",
                                "%s", "%n", "%d%d%d", "abc", " ", ".", "e", "nan", "inf", "-0", "0x1F", ":", ","};
  std::mt19937 random(20261210);
  std::regex realText("^-?[0-9]+\\.[0-9]{2}$");
  std::regex intText("^-?[0-9]+$");
  UserSession session;
  session.Wait(50);
  for (int round = 0; round < 300; ++round) {
    for (const Box& box : boxes) {
      std::string text;
      int parts = static_cast<int>(random() % 6);
      for (int p = 0; p < parts; ++p) text += pieces[random() % (sizeof(pieces) / sizeof(pieces[0]))];
      if (random() % 50 == 0) text = std::string(300 + random() % 2000, static_cast<char>('0' + random() % 10));
      // Non-ASCII and control bytes cannot be typed; they arrive as pasted text.
      bool pasted = random() % 10 == 0;
      if (pasted) text += "\xc3\xa9\xff\x01";
      auto committed = std::make_shared<std::string>();
      session
          .Then([box, text, pasted](HWND dialog) {
            if (pasted) {
              ASSERT_TRUE(driver::FocusControl(dialog, box.id));
              SetWindowTextA(GetDlgItem(dialog, box.id), text.c_str());
              ASSERT_TRUE(driver::PressTab(dialog));
            } else {
              TypeAndCommit(dialog, box.id, text, (text.size() % 2) ? Commit::Enter : Commit::Leave);
            }
          })
          .Then([box, text, shown = committed, &realText, &intText](HWND dialog) {
            *shown = driver::Text(dialog, box.id);
            ASSERT_TRUE(std::regex_match(*shown, box.real ? realText : intText)) << box.id << " '" << text << "' -> " << *shown;
            double value = std::strtod(shown->c_str(), nullptr);
            ASSERT_GE(value, box.minimum) << box.id << " '" << text << "'";
            if (box.maximum >= box.minimum) {
              ASSERT_LE(value, box.maximum + 1e-9) << box.id << " '" << text << "'";
            }
            if (box.field == nullptr) {
              ASSERT_EQ(testSettings.forceMap[0].output, static_cast<int32_t>(value));
            } else if (box.real) {
              ASSERT_NEAR(*static_cast<const float*>(box.field), value, std::max(0.0051, value * 1e-6)) << box.id;
            } else {
              ASSERT_EQ(*static_cast<const int32_t*>(box.field), static_cast<int32_t>(value)) << box.id;
            }
            TypeAndCommit(dialog, box.id, *shown, Commit::Leave);
          })
          .Then([box, shown = committed](HWND dialog) { ASSERT_EQ(driver::Text(dialog, box.id), *shown) << box.id; });
    }
  }
  session.Then([](HWND dialog) { driver::ClickCloseBox(dialog); });
  EXPECT_EQ(session.Run(), 0);
}

}  // namespace
