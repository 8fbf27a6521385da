// A dialog procedure that writes down every message it receives, as readable lines such as
// "WM_COMMAND(1052, EN_KILLFOCUS)", for asserting the exact messages a dialog gets.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/platform.h"

namespace window_test {

// A message as the dialog procedure saw it. Structures that lParam points to live only
// during the call, so what matters of them is copied here.
struct Received {
  HWND dialog;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  // "WM_COMMAND(1052, EN_KILLFOCUS)", "WM_HSCROLL(TB_THUMBTRACK, 500)", "WM_ACTIVATE(WA_INACTIVE)"...
  std::string description;
  NMTREEVIEWA notice;  // WM_NOTIFY
};

// Describes a message while it is being delivered (lParam's structures still valid).
std::string Describe(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

class MessageRecorder {
 public:
  MessageRecorder();
  ~MessageRecorder();

  // The procedure to hand CreateDialogParamA or host::CreateHostDialog: it records into the
  // recorder alive at the time.
  static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

  // What the procedure answers (after recording): TRUE for WM_INITDIALOG and FALSE for the
  // rest unless a test says otherwise.
  std::function<INT_PTR(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)> answer;

  const std::vector<Received>& received() const { return received_; }
  // The received messages described, leaving out those in `ignored`.
  std::vector<std::string> Lines(const std::vector<UINT>& ignored = {}) const;
  void Clear() { received_.clear(); }

 private:
  std::vector<Received> received_;
};

// A dialog template script registered for one test (and unregistered after it).
class ScopedScript {
 public:
  ScopedScript(const char* name, const char* text, const host::EmbeddedFile* includes = nullptr,
               size_t includeCount = 0);
  ~ScopedScript();
  const host::ResourceScript& script() const { return script_; }

 private:
  std::string text_;
  host::ResourceScript script_;
};

// Each window-system test starts from nothing.
class WindowTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
};

}  // namespace window_test
