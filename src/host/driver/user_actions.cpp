// The driver's actions: input posted as the system posts a user's, activation as the
// system sends it.
#include <algorithm>
#include <cstdio>

#include "host/dinput/api_lock.h"
#include "host/dinput/device_entry.h"
#include "host/driver/user_driver.h"

namespace host::driver {
namespace {

// Scan codes of the keys the driver presses (set 1), with the extended-key flag.
struct KeyCode {
  WPARAM key;
  BYTE scan;
  bool extended;
};
constexpr KeyCode keyCodes[] = {
    {VK_BACK, 0x0E, false},  {VK_TAB, 0x0F, false},   {VK_RETURN, 0x1C, false}, {VK_ESCAPE, 0x01, false},
    {VK_SPACE, 0x39, false}, {VK_LEFT, 0x4B, true},   {VK_RIGHT, 0x4D, true},   {VK_UP, 0x48, true},
    {VK_DOWN, 0x50, true},   {VK_PRIOR, 0x49, true},  {VK_NEXT, 0x51, true},    {VK_HOME, 0x47, true},
    {VK_END, 0x4F, true},    {VK_DELETE, 0x53, true}, {VK_F4, 0x3E, false},
};

LPARAM KeyData(WPARAM key, bool up) {
  DWORD scan = 0;
  bool extended = false;
  for (const KeyCode& k : keyCodes) {
    if (k.key == key) {
      scan = k.scan;
      extended = k.extended;
    }
  }
  DWORD data = 1 | (scan << 16) | (extended ? 1u << 24 : 0u);
  if (up) data |= (1u << 30) | (1u << 31);
  return static_cast<LPARAM>(data);
}

bool DialogIsActive(HWND dialog) { return IsWindow(dialog) && GetForegroundWindow() == dialog; }

// A control the user can reach: it exists, is shown and enabled, in the active dialog.
HWND Reachable(HWND dialog, int id) {
  if (!DialogIsActive(dialog)) return nullptr;
  HWND control = GetDlgItem(dialog, id);
  if (control == nullptr || !IsWindowVisible(control) || !IsWindowEnabled(control)) return nullptr;
  return control;
}

LPARAM Point(LONG x, LONG y) {
  return MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(x)), static_cast<WORD>(static_cast<SHORT>(y)));
}

POINT Centre(HWND control) {
  RECT r = DialogUnitRect(control);
  return POINT{(r.right - r.left) / 2, (r.bottom - r.top) / 2};
}

bool Click(HWND control, POINT at) {
  return PostInputMessage(control, WM_LBUTTONDOWN, MK_LBUTTON, Point(at.x, at.y)) &&
         PostInputMessage(control, WM_LBUTTONUP, 0, Point(at.x, at.y));
}

// Keys go where the keyboard focus is, or to the active window when nothing has it.
HWND KeyTarget(HWND dialog) {
  HWND focus = GetFocus();
  return (focus == dialog || IsChild(dialog, focus)) ? focus : dialog;
}

bool Key(HWND target, WPARAM key, LPARAM down, LPARAM up) {
  return PostInputMessage(target, WM_KEYDOWN, key, down) && PostInputMessage(target, WM_KEYUP, key, up);
}

bool HasEditField(HWND control) {
  ControlClass kind = ClassOf(control);
  if (kind == ControlClass::Edit) return true;
  return kind == ControlClass::ComboBox && (GetWindowLongA(control, GWL_STYLE) & 3) != CBS_DROPDOWNLIST;
}

bool IsCheckBox(HWND control) {
  DWORD type = static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE)) & BS_TYPEMASK;
  return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE;
}

// Where the text of an edit field ends, a little further right.
LONG PastTheText(HWND control) { return (GetWindowTextLengthA(control) + 2) * editCharacterWidth; }

// HID device paths name the vendor and product, an instance and the interface class.
std::string DevicePath(DeviceId device, uint16_t vendorId, uint16_t productId) {
  char path[160];
  std::snprintf(path, sizeof(path), "\\\\?\\HID#VID_%04X&PID_%04X#7&%08x&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}",
                vendorId, productId, static_cast<unsigned>(device));
  return path;
}

}  // namespace

bool ClickButton(HWND dialog, int id) {
  HWND button = Reachable(dialog, id);
  if (button == nullptr || ClassOf(button) != ControlClass::Button) return false;
  return Click(button, Centre(button));
}

bool SetCheck(HWND dialog, int id, bool checked) {
  HWND box = Reachable(dialog, id);
  if (box == nullptr || ClassOf(box) != ControlClass::Button || !IsCheckBox(box)) return false;
  bool isChecked = SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
  if (isChecked == checked) return true;
  return Click(box, Centre(box));
}

bool FocusControl(HWND dialog, int id) {
  HWND control = Reachable(dialog, id);
  if (control == nullptr) return false;
  switch (ClassOf(control)) {
    case ControlClass::Edit:
      return Click(control, POINT{PastTheText(control), 2});
    case ControlClass::ComboBox:
      return Click(control, POINT{HasEditField(control) ? PastTheText(control) : Centre(control).x, 2});
    case ControlClass::Trackbar:
      return Click(control, TrackbarThumbPoint(control));
    case ControlClass::Button: {
      // Released off the button, a press gives the focus and no click.
      POINT at = Centre(control);
      return PostInputMessage(control, WM_LBUTTONDOWN, MK_LBUTTON, Point(at.x, at.y)) &&
             PostInputMessage(control, WM_MOUSEMOVE, MK_LBUTTON, Point(-20, -20)) &&
             PostInputMessage(control, WM_LBUTTONUP, 0, Point(-20, -20));
    }
    default:
      return Click(control, Centre(control));
  }
}

bool ChooseComboItem(HWND dialog, int id, int index) {
  HWND combo = Reachable(dialog, id);
  if (combo == nullptr || ClassOf(combo) != ControlClass::ComboBox) return false;
  if (index < 0 || index >= static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0))) return false;
  POINT button = ComboDropButtonPoint(combo);
  return Click(combo, button) && PostInputMessage(combo, comboListPickMessage, static_cast<WPARAM>(index), 0);
}

bool DragTrackbar(HWND dialog, int id, LONG position, int steps) {
  HWND trackbar = Reachable(dialog, id);
  if (trackbar == nullptr || ClassOf(trackbar) != ControlClass::Trackbar || steps < 1) return false;
  LONG minimum = static_cast<LONG>(SendMessageA(trackbar, TBM_GETRANGEMIN, 0, 0));
  LONG maximum = static_cast<LONG>(SendMessageA(trackbar, TBM_GETRANGEMAX, 0, 0));
  LONG start = static_cast<LONG>(SendMessageA(trackbar, TBM_GETPOS, 0, 0));
  LONG target = std::clamp(position, minimum, std::max(minimum, maximum));
  POINT thumb = TrackbarThumbPoint(trackbar);
  if (!PostInputMessage(trackbar, WM_LBUTTONDOWN, MK_LBUTTON, Point(thumb.x, thumb.y))) return false;
  for (int step = 1; step <= steps; ++step) {
    LONG at = start + static_cast<LONG>(static_cast<int64_t>(target - start) * step / steps);
    if (!PostInputMessage(trackbar, trackbarThumbDragMessage, static_cast<WPARAM>(static_cast<DWORD>(at)), 0))
      return false;
  }
  return PostInputMessage(trackbar, WM_LBUTTONUP, 0, Point(thumb.x, thumb.y));
}

bool ClickCloseBox(HWND dialog) {
  if (!DialogIsActive(dialog)) return false;
  RECT r = DialogUnitRect(dialog);
  return PostInputMessage(dialog, WM_NCLBUTTONDOWN, HTCLOSE, Point(r.right - 6, r.top + 4));
}

bool TypeText(HWND dialog, int id, const std::string& text) {
  HWND field = Reachable(dialog, id);
  if (field == nullptr || !HasEditField(field)) return false;
  for (char c : text) {
    if (c < 0x20 || c > 0x7E) return false;
  }
  LONG end = PastTheText(field);
  if (!(PostInputMessage(field, WM_LBUTTONDOWN, MK_LBUTTON, Point(0, 2)) &&
        PostInputMessage(field, WM_MOUSEMOVE, MK_LBUTTON, Point(end, 2)) &&
        PostInputMessage(field, WM_LBUTTONUP, 0, Point(end, 2)))) {
    return false;
  }
  if (text.empty()) return Key(field, VK_BACK, KeyData(VK_BACK, false), KeyData(VK_BACK, true));
  for (char c : text) {
    // As SendInput types a character: VK_PACKET with the character in the scan code.
    LPARAM down = static_cast<LPARAM>(1 | (static_cast<DWORD>(static_cast<unsigned char>(c)) << 16));
    LPARAM up = static_cast<LPARAM>(static_cast<DWORD>(down) | (1u << 30) | (1u << 31));
    if (!Key(field, VK_PACKET, down, up)) return false;
  }
  return true;
}

bool PressKey(HWND dialog, WPARAM virtualKey) {
  if (!DialogIsActive(dialog)) return false;
  return Key(KeyTarget(dialog), virtualKey, KeyData(virtualKey, false), KeyData(virtualKey, true));
}

bool PressEnter(HWND dialog) { return PressKey(dialog, VK_RETURN); }
bool PressEscape(HWND dialog) { return PressKey(dialog, VK_ESCAPE); }
bool PressTab(HWND dialog) { return PressKey(dialog, VK_TAB); }

bool StepTrackbarLine(HWND dialog, int id, int direction) {
  HWND trackbar = Reachable(dialog, id);
  if (trackbar == nullptr || ClassOf(trackbar) != ControlClass::Trackbar || direction == 0) return false;
  if (GetFocus() != trackbar && !FocusControl(dialog, id)) return false;
  WPARAM key = direction > 0 ? VK_RIGHT : VK_LEFT;
  return Key(trackbar, key, KeyData(key, false), KeyData(key, true));
}

void SwitchToOtherApplication(HWND dialog, bool minimise) {
  (void)dialog;  // the active window, whichever it is, is the one deactivated
  SetApplicationActive(false);
  ActivateOtherApplication(minimise);
}

bool SwitchBack(HWND dialog) {
  if (!IsWindowVisible(dialog)) return false;
  SetApplicationActive(true);
  return ActivateFromOtherApplication(dialog);
}

DeviceId PlugDevice(const DeviceDescription& description) {
  DeviceId device = AttachDevice(description);
  if (device == noDevice) return noDevice;
  BroadcastDeviceInterfaceChange(DBT_DEVICEARRIVAL, hidDeviceInterfaceClass,
                                 DevicePath(device, description.vendorId, description.productId).c_str());
  return device;
}

bool UnplugDevice(DeviceId device) {
  std::string path;
  {
    dinput::ApiLock lock;
    std::shared_ptr<dinput::DeviceEntry> entry = dinput::EntryFor(device);
    if (!entry) return false;
    path = DevicePath(device, entry->description().vendorId, entry->description().productId);
  }
  if (!DetachDevice(device)) return false;
  BroadcastDeviceInterfaceChange(DBT_DEVICEREMOVECOMPLETE, hidDeviceInterfaceClass, path.c_str());
  return true;
}

size_t PumpMessages(HWND dialog) {
  size_t retrieved = 0;
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    ++retrieved;
    if (message.message == WM_QUIT) break;
    if (IsDialogMessageA(dialog, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return retrieved;
}

}  // namespace host::driver
