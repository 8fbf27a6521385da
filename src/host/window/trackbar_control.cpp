// Trackbars, as the common control behaves: positions are clamped into the range whatever
// sets them; dragging the thumb reports TB_THUMBTRACK at each new position and, on release,
// TB_THUMBPOSITION then TB_ENDTRACK; keys move by a line or a page and report the step
// (without a position: the parent asks TBM_GETPOS), with TB_ENDTRACK as the key comes up.
// Notifications go to the parent as WM_HSCROLL (WM_VSCROLL with TBS_VERT).
#include <algorithm>

#include "host/window/window_procedure.h"

namespace host::window {
namespace {

// The channel runs between these margins of the control, in dialog units.
constexpr LONG channelMargin = 4;
constexpr LONG thumbHalfWidth = 3;

void Notify(HWND trackbar, WORD code) {
  Window* w = Find(trackbar);
  if (w == nullptr || w->parent == nullptr) return;
  WORD position = (code == TB_THUMBTRACK || code == TB_THUMBPOSITION) ? static_cast<WORD>(w->trackbar.position) : 0;
  UINT message = (w->style & TBS_VERT) ? WM_VSCROLL : WM_HSCROLL;
  SendMessageA(w->parent, message, MAKEWPARAM(code, position), reinterpret_cast<LPARAM>(trackbar));
}

LONG Clamped(const TrackbarState& t, LONG position) {
  if (position < t.minimum) return t.minimum;
  if (position > t.maximum) return t.maximum;
  return position;
}

void DefaultPageSize(TrackbarState& t) { t.pageSize = std::max<LONG>(1, (t.maximum - t.minimum) / 5); }

void SetRange(TrackbarState& t, LONG minimum, LONG maximum) {
  t.minimum = minimum;
  t.maximum = maximum;
  t.position = Clamped(t, t.position);
  DefaultPageSize(t);
}

LONG ThumbX(const Window& w) {
  const TrackbarState& t = w.trackbar;
  LONG length =
      (w.style & TBS_VERT) ? w.dialogUnits.bottom - w.dialogUnits.top : w.dialogUnits.right - w.dialogUnits.left;
  LONG channel = std::max<LONG>(0, length - 2 * channelMargin);
  LONG span = t.maximum - t.minimum;
  if (span <= 0) return channelMargin;
  return channelMargin + static_cast<LONG>(static_cast<int64_t>(t.position - t.minimum) * channel / span);
}

// A key press: the step it makes, or false when the key is not a trackbar key or the
// thumb is already at that end.
bool KeyStep(const Window& w, WPARAM key, WORD* code, LONG* position) {
  const TrackbarState& t = w.trackbar;
  switch (key) {
    case VK_LEFT:
    case VK_UP:
      *code = TB_LINEUP;
      *position = t.position - t.lineSize;
      break;
    case VK_RIGHT:
    case VK_DOWN:
      *code = TB_LINEDOWN;
      *position = t.position + t.lineSize;
      break;
    case VK_PRIOR:
      *code = TB_PAGEUP;
      *position = t.position - t.pageSize;
      break;
    case VK_NEXT:
      *code = TB_PAGEDOWN;
      *position = t.position + t.pageSize;
      break;
    case VK_HOME:
      *code = TB_TOP;
      *position = t.minimum;
      break;
    case VK_END:
      *code = TB_BOTTOM;
      *position = t.maximum;
      break;
    default:
      return false;
  }
  bool towardsMinimum = *code == TB_LINEUP || *code == TB_PAGEUP || *code == TB_TOP;
  if (t.position == (towardsMinimum ? t.minimum : t.maximum)) return false;
  *position = Clamped(t, *position);
  return true;
}

bool IsTrackbarKey(WPARAM key) {
  switch (key) {
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_HOME:
    case VK_END:
      return true;
    default:
      return false;
  }
}

}  // namespace

LRESULT TrackbarProcedure(HWND trackbar, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(trackbar);
  if (w == nullptr) return 0;
  TrackbarState& t = w->trackbar;
  switch (message) {
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case TBM_GETPOS:
      return t.position;
    case TBM_GETRANGEMIN:
      return t.minimum;
    case TBM_GETRANGEMAX:
      return t.maximum;
    case TBM_SETPOS:
      t.position = Clamped(t, static_cast<LONG>(lParam));
      return 0;
    case TBM_SETRANGE:
      // Sixteen bits each, as the message packs them.
      SetRange(t, static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam)));
      return 0;
    case TBM_SETRANGEMIN:
      SetRange(t, static_cast<LONG>(lParam), t.maximum);
      return 0;
    case TBM_SETRANGEMAX:
      SetRange(t, t.minimum, static_cast<LONG>(lParam));
      return 0;
    case TBM_SETPAGESIZE: {
      LONG previous = t.pageSize;
      if (static_cast<LONG>(lParam) == -1) {
        DefaultPageSize(t);
      } else {
        t.pageSize = static_cast<LONG>(lParam);
      }
      return previous;
    }
    case TBM_GETPAGESIZE:
      return t.pageSize;
    case TBM_SETLINESIZE: {
      LONG previous = t.lineSize;
      t.lineSize = static_cast<LONG>(lParam);
      return previous;
    }
    case TBM_GETLINESIZE:
      return t.lineSize;
    case WM_LBUTTONDOWN: {
      SetFocus(trackbar);
      if ((w = Find(trackbar)) == nullptr) return 0;
      LONG x = static_cast<SHORT>((w->style & TBS_VERT) ? HIWORD(lParam) : LOWORD(lParam));
      LONG thumb = ThumbX(*w);
      if (x >= thumb - thumbHalfWidth && x <= thumb + thumbHalfWidth) {
        w->trackbar.dragging = true;
        return 0;
      }
      // Beside the thumb: a page towards the click.
      bool up = x < thumb;
      w->trackbar.paging = true;
      w->trackbar.position = Clamped(w->trackbar, w->trackbar.position + (up ? -1 : 1) * w->trackbar.pageSize);
      Notify(trackbar, up ? TB_PAGEUP : TB_PAGEDOWN);
      return 0;
    }
    case trackbarThumbDragMessage: {
      if (!t.dragging) return 0;
      LONG position = Clamped(t, static_cast<LONG>(static_cast<int32_t>(wParam)));
      if (position == t.position) return 0;
      t.position = position;
      Notify(trackbar, TB_THUMBTRACK);
      return 0;
    }
    case WM_LBUTTONUP:
      if (t.dragging) {
        t.dragging = false;
        Notify(trackbar, TB_THUMBPOSITION);
        Notify(trackbar, TB_ENDTRACK);
      } else if (t.paging) {
        t.paging = false;
        Notify(trackbar, TB_ENDTRACK);
      }
      return 0;
    case WM_KEYDOWN: {
      WORD code = 0;
      LONG position = 0;
      if (!KeyStep(*w, wParam, &code, &position)) return 0;
      t.position = position;
      Notify(trackbar, code);
      return 0;
    }
    case WM_KEYUP:
      if (IsTrackbarKey(wParam)) Notify(trackbar, TB_ENDTRACK);
      return 0;
    case WM_KILLFOCUS:
      t.dragging = t.paging = false;
      return 0;
    default:
      return DefaultWindowProcedure(trackbar, message, wParam, lParam);
  }
}

}  // namespace host::window

namespace host {

POINT TrackbarThumbPoint(HWND trackbar) {
  const window::Window* w = window::Find(trackbar);
  if (w == nullptr) return POINT{0, 0};
  LONG along = window::ThumbX(*w);
  LONG across = ((w->style & TBS_VERT) ? w->dialogUnits.right - w->dialogUnits.left
                                       : w->dialogUnits.bottom - w->dialogUnits.top) /
                2;
  return (w->style & TBS_VERT) ? POINT{across, along} : POINT{along, across};
}

}  // namespace host
