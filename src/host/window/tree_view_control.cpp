// Tree views: items with a parent, an order among their siblings, text, state (expanded
// among it), a parameter and a children flag. Deleting items tells the parent about each
// (TVN_DELETEITEM, children before their parent); the first expansion of an item tells it
// TVN_ITEMEXPANDING (which may refuse) and TVN_ITEMEXPANDED, later ones do not.
#include <cstring>
#include <strings.h>

#include "host/window/tree_items.h"
#include "host/window/window_procedure.h"

namespace host::window {
namespace {

int RootOf(HWND tree) {
  Window* w = Find(tree);
  return w != nullptr ? w->treeRoot : -1;
}

// The item named by a handle, with TVI_ROOT and null naming the root.
int SlotOrRoot(HWND tree, HTREEITEM item) {
  if (item == nullptr || item == TVI_ROOT) return RootOf(tree);
  return TreeItemSlot(tree, item);
}

bool HasChildren(const TreeItem& item) { return item.firstChild >= 0 || item.childrenFlag != 0; }

void Link(TreeItem& parent, int parentSlot, int slot, int after) {
  TreeItem& item = *TreeItemAt(slot);
  item.parent = parentSlot;
  item.previous = after;
  item.next = after >= 0 ? TreeItemAt(after)->next : parent.firstChild;
  if (item.previous >= 0) {
    TreeItemAt(item.previous)->next = slot;
  } else {
    parent.firstChild = slot;
  }
  if (item.next >= 0) {
    TreeItemAt(item.next)->previous = slot;
  } else {
    parent.lastChild = slot;
  }
}

void Unlink(int slot) {
  TreeItem& item = *TreeItemAt(slot);
  TreeItem* parent = TreeItemAt(item.parent);
  if (item.previous >= 0) {
    TreeItemAt(item.previous)->next = item.next;
  } else if (parent != nullptr) {
    parent->firstChild = item.next;
  }
  if (item.next >= 0) {
    TreeItemAt(item.next)->previous = item.previous;
  } else if (parent != nullptr) {
    parent->lastChild = item.previous;
  }
  item.parent = item.next = item.previous = -1;
}

void StoreText(TreeItem& item, const char* text) {
  item.textLength = BoundedLength(text, treeItemTextRoom - 1);
  std::memcpy(item.text, text, item.textLength);
  item.text[item.textLength] = '\0';
}

// The sibling the new item goes after: -1 for first.
int InsertionPoint(HWND tree, int parentSlot, HTREEITEM insertAfter, const char* text) {
  const TreeItem& parent = *TreeItemAt(parentSlot);
  if (insertAfter == TVI_FIRST) return -1;
  if (insertAfter == TVI_SORT) {
    int after = -1;
    for (int i = parent.firstChild; i >= 0; i = TreeItemAt(i)->next) {
      if (strcasecmp(TreeItemAt(i)->text, text) > 0) break;
      after = i;
    }
    return after;
  }
  int sibling = TreeItemSlot(tree, insertAfter);
  // TVI_LAST, and a handle that is not one of the parent's children, insert last.
  if (sibling < 0 || TreeItemAt(sibling)->parent != parentSlot) return parent.lastChild;
  return sibling;
}

HTREEITEM Insert(HWND tree, const TVINSERTSTRUCTA* insert) {
  if (insert == nullptr) return nullptr;
  const TVITEMA& source = insert->item;
  // Text the parent supplies on request (LPSTR_TEXTCALLBACKA) is not modelled.
  if ((source.mask & TVIF_TEXT) && source.pszText == LPSTR_TEXTCALLBACKA) return nullptr;
  int parentSlot = SlotOrRoot(tree, insert->hParent);
  if (parentSlot < 0) return nullptr;
  const char* text = (source.mask & TVIF_TEXT) && source.pszText != nullptr ? source.pszText : "";
  int after = InsertionPoint(tree, parentSlot, insert->hInsertAfter, text);
  int slot = AllocateTreeItem(tree);
  if (slot < 0) return nullptr;
  TreeItem& item = *TreeItemAt(slot);
  StoreText(item, text);
  if (source.mask & TVIF_STATE) item.state = source.state & source.stateMask;
  if (source.mask & TVIF_PARAM) item.param = source.lParam;
  if (source.mask & TVIF_CHILDREN) item.childrenFlag = source.cChildren;
  if (source.mask & TVIF_IMAGE) item.image = source.iImage;
  if (source.mask & TVIF_SELECTEDIMAGE) item.selectedImage = source.iSelectedImage;
  Link(*TreeItemAt(parentSlot), parentSlot, slot, after);
  ++Find(tree)->treeItemCount;
  return TreeItemHandle(slot);
}

// Deletes the item's children (each after its own children), then the item itself.
void DeleteSubtree(HWND tree, int slot, bool deleteItself) {
  while (TreeItem* item = TreeItemAt(slot)) {
    if (item->firstChild < 0) break;
    DeleteSubtree(tree, item->firstChild, true);
  }
  if (!deleteItself || TreeItemAt(slot) == nullptr) return;
  NMTREEVIEWA notice{};
  notice.action = TVC_UNKNOWN;
  notice.itemOld.mask = TVIF_HANDLE | TVIF_PARAM;
  notice.itemOld.hItem = TreeItemHandle(slot);
  notice.itemOld.lParam = TreeItemAt(slot)->param;
  NotifyParent(tree, &notice.hdr, TVN_DELETEITEMA);
  if (TreeItemAt(slot) == nullptr) return;
  Unlink(slot);
  FreeTreeItem(slot);
  if (Window* w = Find(tree)) --w->treeItemCount;
}

BOOL Delete(HWND tree, HTREEITEM handle) {
  if (handle == nullptr || handle == TVI_ROOT) {
    DeleteSubtree(tree, RootOf(tree), false);
    return TRUE;
  }
  int slot = TreeItemSlot(tree, handle);
  if (slot < 0) return FALSE;
  DeleteSubtree(tree, slot, true);
  return TRUE;
}

// TVN_ITEMEXPANDING/ED for an item's first expansion; false when the parent refused.
bool NotifyExpansion(HWND tree, int slot, UINT code) {
  NMTREEVIEWA notice{};
  notice.action = TVE_EXPAND;
  TreeItem& item = *TreeItemAt(slot);
  notice.itemNew.mask = TVIF_HANDLE | TVIF_STATE | TVIF_PARAM;
  notice.itemNew.hItem = TreeItemHandle(slot);
  notice.itemNew.state = item.state;
  notice.itemNew.lParam = item.param;
  return NotifyParent(tree, &notice.hdr, code) == 0;
}

BOOL Expand(HWND tree, UINT flags, HTREEITEM handle) {
  int slot = TreeItemSlot(tree, handle);
  if (slot < 0) return FALSE;
  TreeItem* item = TreeItemAt(slot);
  UINT action = flags & TVE_TOGGLE;
  if (action == TVE_TOGGLE) action = (item->state & TVIS_EXPANDED) ? TVE_COLLAPSE : TVE_EXPAND;
  if (!HasChildren(*item)) return FALSE;
  if (action == TVE_COLLAPSE) {
    if ((item->state & TVIS_EXPANDED) == 0) return FALSE;
    item->state &= ~static_cast<UINT>(TVIS_EXPANDED);
    if (flags & TVE_COLLAPSERESET) {
      item->state &= ~static_cast<UINT>(TVIS_EXPANDEDONCE);
      DeleteSubtree(tree, slot, false);
    }
    return TRUE;
  }
  if (action != TVE_EXPAND) return FALSE;
  if (item->state & TVIS_EXPANDED) return TRUE;
  bool first = (item->state & TVIS_EXPANDEDONCE) == 0;
  if (first && !NotifyExpansion(tree, slot, TVN_ITEMEXPANDINGA)) return FALSE;
  if ((item = TreeItemAt(slot)) == nullptr) return FALSE;
  item->state |= TVIS_EXPANDED;
  if (first) {
    NotifyExpansion(tree, slot, TVN_ITEMEXPANDEDA);
    if ((item = TreeItemAt(slot)) != nullptr) item->state |= TVIS_EXPANDEDONCE;
  }
  return TRUE;
}

// Items whose ancestors are all expanded, in display order.
bool IsShown(int slot, int root) {
  for (int p = TreeItemAt(slot)->parent; p >= 0 && p != root; p = TreeItemAt(p)->parent) {
    if ((TreeItemAt(p)->state & TVIS_EXPANDED) == 0) return false;
  }
  return true;
}

int NextInDisplayOrder(int slot, int root) {
  const TreeItem* item = TreeItemAt(slot);
  if (item->firstChild >= 0 && (item->state & TVIS_EXPANDED)) return item->firstChild;
  while (slot >= 0 && slot != root) {
    item = TreeItemAt(slot);
    if (item->next >= 0) return item->next;
    slot = item->parent;
  }
  return -1;
}

HTREEITEM NextItem(HWND tree, UINT relation, HTREEITEM handle) {
  int root = RootOf(tree);
  if (root < 0) return nullptr;
  int slot = (relation == TVGN_ROOT || relation == TVGN_FIRSTVISIBLE || relation == TVGN_LASTVISIBLE)
                 ? root
                 : SlotOrRoot(tree, handle);
  if (slot < 0) return nullptr;
  const TreeItem* item = TreeItemAt(slot);
  switch (relation) {
    case TVGN_ROOT:
    case TVGN_FIRSTVISIBLE:
      return TreeItemHandle(TreeItemAt(root)->firstChild);
    case TVGN_CHILD:
      return TreeItemHandle(item->firstChild);
    case TVGN_NEXT:
      return slot == root ? nullptr : TreeItemHandle(item->next);
    case TVGN_PREVIOUS:
      return slot == root ? nullptr : TreeItemHandle(item->previous);
    case TVGN_PARENT:
      return item->parent == root ? nullptr : TreeItemHandle(item->parent);
    case TVGN_NEXTVISIBLE:
      if (slot == root || !IsShown(slot, root)) return nullptr;
      return TreeItemHandle(NextInDisplayOrder(slot, root));
    case TVGN_LASTVISIBLE: {
      int last = -1;
      for (int i = TreeItemAt(root)->firstChild; i >= 0; i = NextInDisplayOrder(i, root)) last = i;
      return TreeItemHandle(last);
    }
    default:
      return nullptr;  // no selection, drop highlight or previous-visible walk is modelled
  }
}

BOOL GetItem(HWND tree, TVITEMA* request) {
  if (request == nullptr) return FALSE;
  int slot = TreeItemSlot(tree, request->hItem);
  if (slot < 0) return FALSE;
  const TreeItem& item = *TreeItemAt(slot);
  if (request->mask & TVIF_TEXT) {
    if (request->pszText != nullptr && request->cchTextMax > 0) {
      CopyTextOut(item.text, item.textLength, request->pszText, static_cast<size_t>(request->cchTextMax));
    }
  }
  if (request->mask & TVIF_STATE) request->state = item.state & request->stateMask;
  if (request->mask & TVIF_PARAM) request->lParam = item.param;
  if (request->mask & TVIF_CHILDREN) {
    request->cChildren = item.childrenFlag != 0 ? item.childrenFlag : (item.firstChild >= 0 ? 1 : 0);
  }
  if (request->mask & TVIF_IMAGE) request->iImage = item.image;
  if (request->mask & TVIF_SELECTEDIMAGE) request->iSelectedImage = item.selectedImage;
  return TRUE;
}

BOOL SetItem(HWND tree, const TVITEMA* change) {
  if (change == nullptr) return FALSE;
  int slot = TreeItemSlot(tree, change->hItem);
  if (slot < 0) return FALSE;
  if ((change->mask & TVIF_TEXT) && change->pszText == LPSTR_TEXTCALLBACKA) return FALSE;
  TreeItem& item = *TreeItemAt(slot);
  if (change->mask & TVIF_TEXT) StoreText(item, change->pszText != nullptr ? change->pszText : "");
  if (change->mask & TVIF_STATE) item.state = (item.state & ~change->stateMask) | (change->state & change->stateMask);
  if (change->mask & TVIF_PARAM) item.param = change->lParam;
  if (change->mask & TVIF_CHILDREN) item.childrenFlag = change->cChildren;
  if (change->mask & TVIF_IMAGE) item.image = change->iImage;
  if (change->mask & TVIF_SELECTEDIMAGE) item.selectedImage = change->iSelectedImage;
  return TRUE;
}

void NotifyFocus(HWND tree, UINT code) {
  NMHDR header{};
  NotifyParent(tree, &header, code);
}

}  // namespace

bool AttachTreeRoot(HWND tree) {
  Window* w = Find(tree);
  if (w == nullptr) return false;
  w->treeRoot = AllocateTreeItem(tree);
  return w->treeRoot >= 0;
}

LRESULT TreeViewProcedure(HWND tree, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(tree);
  if (w == nullptr) return 0;
  if (w->treeRoot < 0) return DefaultWindowProcedure(tree, message, wParam, lParam);
  switch (message) {
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case TVM_INSERTITEMA:
      return reinterpret_cast<LRESULT>(Insert(tree, reinterpret_cast<const TVINSERTSTRUCTA*>(lParam)));
    case TVM_DELETEITEM:
      return Delete(tree, reinterpret_cast<HTREEITEM>(lParam));
    case TVM_EXPAND:
      return Expand(tree, static_cast<UINT>(wParam), reinterpret_cast<HTREEITEM>(lParam));
    case TVM_GETCOUNT:
      return w->treeItemCount;
    case TVM_GETNEXTITEM:
      return reinterpret_cast<LRESULT>(NextItem(tree, static_cast<UINT>(wParam), reinterpret_cast<HTREEITEM>(lParam)));
    case TVM_GETITEMA:
      return GetItem(tree, reinterpret_cast<TVITEMA*>(lParam));
    case TVM_SETITEMA:
      return SetItem(tree, reinterpret_cast<const TVITEMA*>(lParam));
    case WM_LBUTTONDOWN:
      SetFocus(tree);
      return 0;
    case WM_SETFOCUS:
      NotifyFocus(tree, NM_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      NotifyFocus(tree, NM_KILLFOCUS);
      return 0;
    case WM_DESTROY:
      DeleteSubtree(tree, w->treeRoot, false);
      return 0;
    default:
      return DefaultWindowProcedure(tree, message, wParam, lParam);
  }
}

}  // namespace host::window
