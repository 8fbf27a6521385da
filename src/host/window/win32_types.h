// Window-system types of the Win32 API, laid out as on 64-bit Windows (field order and
// widths from the published documentation).
#pragma once

#include "host/com_base.h"
#include "host/win32_base.h"

struct HFONT__;
typedef HFONT__* HFONT;
struct HMENU__;
typedef HMENU__* HMENU;
typedef void* HDEVNOTIFY;
typedef HDEVNOTIFY* PHDEVNOTIFY;

typedef LRESULT(CALLBACK* WNDPROC)(HWND, UINT, WPARAM, LPARAM);
typedef INT_PTR(CALLBACK* DLGPROC)(HWND, UINT, WPARAM, LPARAM);

typedef struct tagPOINT {
  LONG x;
  LONG y;
} POINT, *PPOINT, *LPPOINT;

typedef struct tagRECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
} RECT, *PRECT, *LPRECT;
typedef const RECT* LPCRECT;

typedef struct tagMSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;
  POINT pt;
  DWORD lPrivate;
} MSG, *PMSG, *LPMSG;

typedef struct tagNMHDR {
  HWND hwndFrom;
  UINT_PTR idFrom;
  UINT code;
} NMHDR, *LPNMHDR;

typedef struct tagINITCOMMONCONTROLSEX {
  DWORD dwSize;
  DWORD dwICC;
} INITCOMMONCONTROLSEX, *LPINITCOMMONCONTROLSEX;

#define MAKEINTRESOURCEA(i) ((LPSTR)((ULONG_PTR)((WORD)(i))))
#define MAKEINTRESOURCE MAKEINTRESOURCEA
#define IS_INTRESOURCE(r) ((((ULONG_PTR)(r)) >> 16) == 0)
#define MAKEWPARAM(l, h) ((WPARAM)(DWORD)MAKELONG(l, h))
#define MAKELPARAM(l, h) ((LPARAM)(DWORD)MAKELONG(l, h))
#define MAKELRESULT(l, h) ((LRESULT)(DWORD)MAKELONG(l, h))

// Tree view items.
struct _TREEITEM;
typedef _TREEITEM* HTREEITEM;

#define TVI_ROOT ((HTREEITEM)(ULONG_PTR)-0x10000)
#define TVI_FIRST ((HTREEITEM)(ULONG_PTR)-0x0FFFF)
#define TVI_LAST ((HTREEITEM)(ULONG_PTR)-0x0FFFE)
#define TVI_SORT ((HTREEITEM)(ULONG_PTR)-0x0FFFD)

#define LPSTR_TEXTCALLBACKA ((LPSTR)-1L)
#define I_CHILDRENCALLBACK (-1)

typedef struct tagTVITEMA {
  UINT mask;
  HTREEITEM hItem;
  UINT state;
  UINT stateMask;
  LPSTR pszText;
  int cchTextMax;
  int iImage;
  int iSelectedImage;
  int cChildren;
  LPARAM lParam;
} TVITEMA, *LPTVITEMA;
typedef TVITEMA TV_ITEMA;

typedef struct tagTVITEMEXA {
  UINT mask;
  HTREEITEM hItem;
  UINT state;
  UINT stateMask;
  LPSTR pszText;
  int cchTextMax;
  int iImage;
  int iSelectedImage;
  int cChildren;
  LPARAM lParam;
  int iIntegral;
  UINT uStateEx;
  HWND hwnd;
  int iExpandedImage;
  int iReserved;
} TVITEMEXA, *LPTVITEMEXA;

typedef struct tagTVINSERTSTRUCTA {
  HTREEITEM hParent;
  HTREEITEM hInsertAfter;
  union {
    TVITEMEXA itemex;
    TV_ITEMA item;
  };
} TVINSERTSTRUCTA, *LPTVINSERTSTRUCTA;
typedef TVINSERTSTRUCTA TV_INSERTSTRUCTA;

typedef struct tagNMTREEVIEWA {
  NMHDR hdr;
  UINT action;
  TVITEMA itemOld;
  TVITEMA itemNew;
  POINT ptDrag;
} NMTREEVIEWA, *LPNMTREEVIEWA;

// The program is built without UNICODE: the generic names are the ANSI ones.
typedef TVITEMA TVITEM;
typedef TVITEMA TV_ITEM;
typedef LPTVITEMA LPTVITEM;
typedef TVITEMEXA TVITEMEX;
typedef TVINSERTSTRUCTA TVINSERTSTRUCT;
typedef TVINSERTSTRUCTA TV_INSERTSTRUCT;
typedef LPTVINSERTSTRUCTA LPTVINSERTSTRUCT;
typedef NMTREEVIEWA NMTREEVIEW;
typedef LPNMTREEVIEWA LPNMTREEVIEW;
