#include "interaction_checks.h"

#include <commctrl.h>

#include <optional>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "remote_window.h"

namespace {

constexpr DWORD reactionWaitMs = 3000;

struct ExpectedText {
  int id;
  const char* text;
};

struct EditCommitCase {
  int editId;
  const char* typed;
  std::vector<ExpectedText> afterLeaving;
};

const EditCommitCase editCommitCases[] = {
    {IDC_KP, "abc", {{IDC_KP, "0.00"}}},                      // not a number: zero
    {IDC_KD_AVG, "1.5", {{IDC_KD_AVG, "0.99"}}},              // the average weight stays below one
    {IDC_MIN_FORCE, "7000", {{IDC_MIN_FORCE, "5000"}, {IDC_FORCE_MAP, "0:5000,10000:10000"}}},
    {IDC_WHEEL_ANGLE, "2", {{IDC_WHEEL_ANGLE, "2"}}},          // leaving applies no lower limit
};

struct EnterCase {
  int editId;
  const char* typed;
  const char* afterEnter;
};

// Enter commits the angle box with a lower limit of 4, which leaving it does not apply.
const EnterCase enterCase = {IDC_WHEEL_ANGLE, "2", "4"};

constexpr int wheelWithForceMode = 6;
constexpr char wheelWithForceName[] = "Wheel with Force";
constexpr LRESULT wheelWithForceSaturationMax = 30000;

std::string Box(int id) { return "edit " + std::to_string(id); }

DWORD DialogThread(HWND dialog) { return GetWindowThreadProcessId(dialog, nullptr); }

// Moves the focus as the dialog manager does for Tab and mnemonics, inside the program's thread.
bool FocusControl(HWND dialog, HWND control) {
  remote::Send(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
  DWORD thread = DialogThread(dialog);
  return remote::WaitUntil([&] { return remote::FocusedWindow(thread) == control; }, reactionWaitMs);
}

// The text once it equals the expected one, or the last text seen when it never does.
std::string WaitForText(HWND control, const std::string& expected) {
  std::string seen = "<no reply>";
  remote::WaitUntil(
      [&] {
        std::optional<std::string> text = remote::Text(control);
        if (text) seen = *text;
        return text && *text == expected;
      },
      reactionWaitMs);
  return seen;
}

// Types into a box the way WM_SETTEXT does for a paste: the box holds the new text, uncommitted.
bool TypeInto(CheckLog& log, HWND dialog, int id, const std::string& typed) {
  HWND edit = GetDlgItem(dialog, id);
  if (!log.Expect(FocusControl(dialog, edit), "focus reaches " + Box(id))) return false;
  remote::SetText(edit, typed);
  return log.ExpectText(Box(id) + " holds what was typed", typed,
                        remote::Text(edit).value_or("<no reply>"));
}

void RunEditCommitCase(CheckLog& log, HWND dialog, const EditCommitCase& commit) {
  if (!TypeInto(log, dialog, commit.editId, commit.typed)) return;
  HWND edit = GetDlgItem(dialog, commit.editId);
  DWORD thread = DialogThread(dialog);
  remote::PressKey(edit, VK_TAB);
  bool left = remote::WaitUntil([&] { return remote::FocusedWindow(thread) != edit; }, reactionWaitMs);
  if (!log.Expect(left, "Tab moves the focus out of " + Box(commit.editId))) return;
  // The focus moves before the box's EN_KILLFOCUS has been handled: wait for the program's
  // loop to come back for messages, so a text that is right before the commit cannot pass.
  remote::Settle(dialog);
  for (const ExpectedText& expected : commit.afterLeaving) {
    log.ExpectText(Box(expected.id) + " after leaving " + Box(commit.editId) + " with " + Quoted(commit.typed),
                   expected.text, WaitForText(GetDlgItem(dialog, expected.id), expected.text));
  }
}

}  // namespace

void CheckEditCommits(CheckLog& log, HWND dialog) {
  for (const EditCommitCase& commit : editCommitCases) RunEditCommitCase(log, dialog, commit);
}

void CheckEnterCommit(CheckLog& log, HWND dialog) {
  if (!TypeInto(log, dialog, enterCase.editId, enterCase.typed)) return;
  HWND edit = GetDlgItem(dialog, enterCase.editId);
  // The program's loop passes the key to IsDialogMessageA, which sends the default button's command.
  log.Expect(remote::PressKey(edit, VK_RETURN), "Enter posted to " + Box(enterCase.editId));
  log.ExpectText(Box(enterCase.editId) + " after Enter with " + Quoted(enterCase.typed), enterCase.afterEnter,
                 WaitForText(edit, enterCase.afterEnter));
  // Enter commits without moving the focus.
  log.Expect(remote::FocusedWindow(DialogThread(dialog)) == edit,
             "the focus stays in " + Box(enterCase.editId) + " after Enter");
}

void CheckModeSelection(CheckLog& log, HWND dialog) {
  HWND mode = GetDlgItem(dialog, IDC_MODE);
  log.ExpectText("mode combo item " + std::to_string(wheelWithForceMode), wheelWithForceName,
                 remote::ComboItem(mode, wheelWithForceMode).value_or("<no reply>"));
  remote::Send(mode, CB_SETCURSEL, wheelWithForceMode, 0);
  // The combo tells its dialog as it does when the user picks an item from the list.
  remote::Send(dialog, WM_COMMAND, MAKEWPARAM(IDC_MODE, CBN_SELCHANGE), reinterpret_cast<LPARAM>(mode));
  HWND saturation = GetDlgItem(dialog, IDC_SATURATION_X);
  log.ExpectNumber("trackbar 1024 range maximum in mode \"Wheel with Force\"", wheelWithForceSaturationMax,
                   remote::Send(saturation, TBM_GETRANGEMAX, 0, 0).value_or(-1));
}
