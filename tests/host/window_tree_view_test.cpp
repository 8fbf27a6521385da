// The tree view: insertion (root, first, last, sorted, after a sibling), item data, the
// relations TVM_GETNEXTITEM walks, expansion and its notifications, deletion and its
// notifications, long texts and a few thousand items.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/driver/user_driver.h"
#include "host/window_message_recorder.h"
#include "platform/platform.h"

namespace window_test {
namespace {

constexpr int treeId = 60;

class TreeViewTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    dialog = host::CreateHostDialog(MessageRecorder::Procedure);
    tree = host::AddHostControl(dialog, treeId, host::ControlClass::TreeView);
  }

  HTREEITEM Insert(HTREEITEM parent, HTREEITEM after, const char* text, LPARAM param = 0, UINT state = 0) {
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_STATE;
    insert.item.pszText = const_cast<char*>(text);
    insert.item.lParam = param;
    insert.item.state = state;
    insert.item.stateMask = state;
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
  }

  HTREEITEM Next(UINT relation, HTREEITEM item) {
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
  }

  std::string Tree() { return host::driver::TreeText(dialog, treeId); }

  // The items TVN_DELETEITEM named, by their parameter.
  std::vector<LPARAM> DeletedParams() {
    std::vector<LPARAM> params;
    for (const Received& r : recorder.received()) {
      if (r.message != WM_NOTIFY) continue;
      if (r.notice.hdr.code == TVN_DELETEITEMA) params.push_back(r.notice.itemOld.lParam);
    }
    return params;
  }

  MessageRecorder recorder;
  HWND dialog = nullptr;
  HWND tree = nullptr;
};

TEST_F(TreeViewTest, InsertsWhereItIsAsked) {
  HTREEITEM b = Insert(TVI_ROOT, TVI_LAST, "b");
  HTREEITEM d = Insert(nullptr, TVI_LAST, "d");
  Insert(TVI_ROOT, TVI_FIRST, "a");
  Insert(TVI_ROOT, b, "c");
  Insert(TVI_ROOT, TVI_SORT, "bb");
  HTREEITEM child = Insert(d, TVI_LAST, "d2");
  Insert(d, TVI_FIRST, "d1");
  // A sibling from elsewhere in the tree puts the item last.
  Insert(d, b, "d3");
  Insert(child, TVI_SORT, "Y");
  Insert(child, TVI_SORT, "x");
  EXPECT_EQ(Tree(), "a\nb\nbb\nc\nd\n  d1\n  d2\n    x\n    Y\n  d3\n");
  EXPECT_EQ(SendMessageA(tree, TVM_GETCOUNT, 0, 0), 10);
  EXPECT_EQ(Next(TVGN_PARENT, child), d);
  EXPECT_EQ(Next(TVGN_PARENT, d), nullptr);
  EXPECT_EQ(Next(TVGN_NEXT, d), nullptr);
  EXPECT_EQ(Next(TVGN_PREVIOUS, Next(TVGN_ROOT, nullptr)), nullptr);
  EXPECT_EQ(Next(TVGN_CHILD, nullptr), Next(TVGN_ROOT, nullptr));
  // A parent that is no item of this tree.
  EXPECT_EQ(Insert(reinterpret_cast<HTREEITEM>(0x4321), TVI_LAST, "orphan"), nullptr);
}

TEST_F(TreeViewTest, ItemsKeepTextStateParameterAndChildrenFlag) {
  HTREEITEM item = Insert(TVI_ROOT, TVI_LAST, "Device", 42, TVIS_BOLD);
  char text[8];
  TVITEMA get{};
  get.mask = TVIF_TEXT | TVIF_STATE | TVIF_PARAM | TVIF_CHILDREN;
  get.hItem = item;
  get.stateMask = 0xFF;
  get.pszText = text;
  get.cchTextMax = 4;  // cut to three characters and a NUL
  ASSERT_TRUE(SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&get)));
  EXPECT_STREQ(text, "Dev");
  EXPECT_EQ(get.state, static_cast<UINT>(TVIS_BOLD));
  EXPECT_EQ(get.lParam, 42);
  EXPECT_EQ(get.cChildren, 0);
  Insert(item, TVI_LAST, "Axis");
  ASSERT_TRUE(SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&get)));
  EXPECT_EQ(get.cChildren, 1);

  TVITEMA set{};
  set.mask = TVIF_TEXT | TVIF_STATE | TVIF_PARAM;
  set.hItem = item;
  set.pszText = const_cast<char*>("Wheel");
  set.state = 0;
  set.stateMask = TVIS_BOLD;
  set.lParam = 7;
  ASSERT_TRUE(SendMessageA(tree, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&set)));
  get.cchTextMax = sizeof(text);
  ASSERT_TRUE(SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&get)));
  EXPECT_STREQ(text, "Wheel");
  EXPECT_EQ(get.state, 0u);
  EXPECT_EQ(get.lParam, 7);
  TVITEMA stale{};
  stale.mask = TVIF_PARAM;
  stale.hItem = reinterpret_cast<HTREEITEM>(0x12345);
  EXPECT_FALSE(SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&stale)));
  // Text the parent would supply on request is not modelled, and refused.
  TVINSERTSTRUCTA callback{};
  callback.hParent = TVI_ROOT;
  callback.hInsertAfter = TVI_LAST;
  callback.item.mask = TVIF_TEXT;
  callback.item.pszText = LPSTR_TEXTCALLBACKA;
  EXPECT_EQ(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&callback)), 0);
}

TEST_F(TreeViewTest, ExpansionNeedsChildrenAndItsFirstTimeIsTold) {
  HTREEITEM parent = Insert(TVI_ROOT, TVI_LAST, "parent");
  HTREEITEM leaf = Insert(TVI_ROOT, TVI_LAST, "leaf");
  Insert(parent, TVI_LAST, "child");
  EXPECT_FALSE(SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(leaf)));
  EXPECT_TRUE(SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(parent)));
  EXPECT_EQ(Tree(), "[+] parent\n  child\nleaf\n");
  EXPECT_TRUE(SendMessageA(tree, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(parent)));
  EXPECT_FALSE(SendMessageA(tree, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(parent)));
  EXPECT_TRUE(SendMessageA(tree, TVM_EXPAND, TVE_TOGGLE, reinterpret_cast<LPARAM>(parent)));
  EXPECT_EQ(Tree(), "[+] parent\n  child\nleaf\n");
  EXPECT_EQ(recorder.Lines(),
            (std::vector<std::string>{"WM_NOTIFY(60, TVN_ITEMEXPANDINGA)", "WM_NOTIFY(60, TVN_ITEMEXPANDEDA)"}));
  // Only the shown items are visible in order.
  EXPECT_EQ(Next(TVGN_NEXTVISIBLE, parent), Next(TVGN_CHILD, parent));
  SendMessageA(tree, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(parent));
  EXPECT_EQ(Next(TVGN_NEXTVISIBLE, parent), leaf);
  EXPECT_EQ(Next(TVGN_LASTVISIBLE, nullptr), leaf);
}

TEST_F(TreeViewTest, AHandledExpandingNoticeDoesNotRefuseTheExpansion) {
  HTREEITEM parent = Insert(TVI_ROOT, TVI_LAST, "parent");
  Insert(parent, TVI_LAST, "child");
  // A dialog answers WM_NOTIFY through DWLP_MSGRESULT, which the host leaves at 0: allowed.
  recorder.answer = [](HWND, UINT message, WPARAM, LPARAM) -> INT_PTR { return message == WM_NOTIFY ? TRUE : FALSE; };
  EXPECT_TRUE(SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(parent)));
  EXPECT_EQ(Tree(), "[+] parent\n  child\n");
}

TEST_F(TreeViewTest, DeletingTellsTheParentAboutEachItemChildrenFirst) {
  HTREEITEM a = Insert(TVI_ROOT, TVI_LAST, "a", 1);
  HTREEITEM a1 = Insert(a, TVI_LAST, "a1", 2);
  Insert(a1, TVI_LAST, "a1x", 3);
  Insert(a, TVI_LAST, "a2", 4);
  Insert(TVI_ROOT, TVI_LAST, "b", 5);
  EXPECT_TRUE(SendMessageA(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(a1)));
  EXPECT_EQ(DeletedParams(), (std::vector<LPARAM>{3, 2}));
  EXPECT_EQ(Tree(), "a\n  a2\nb\n");
  EXPECT_FALSE(SendMessageA(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(a1)));  // gone
  recorder.Clear();
  EXPECT_TRUE(SendMessageA(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT)));
  EXPECT_EQ(DeletedParams(), (std::vector<LPARAM>{4, 1, 5}));
  EXPECT_EQ(Tree(), "");
  EXPECT_EQ(SendMessageA(tree, TVM_GETCOUNT, 0, 0), 0);
  // The notices name the tree and the item.
  const NMTREEVIEWA& notice = recorder.received().back().notice;
  EXPECT_EQ(notice.hdr.hwndFrom, tree);
  EXPECT_EQ(notice.hdr.idFrom, static_cast<UINT_PTR>(treeId));
  EXPECT_NE(notice.itemOld.hItem, nullptr);
  EXPECT_EQ(recorder.received().back().wParam, static_cast<WPARAM>(treeId));
}

TEST_F(TreeViewTest, DestroyingTheTreeDeletesItsItemsWithNotices) {
  Insert(TVI_ROOT, TVI_LAST, "a", 1);
  Insert(TVI_ROOT, TVI_LAST, "b", 2);
  ASSERT_TRUE(DestroyWindow(dialog));
  EXPECT_EQ(DeletedParams(), (std::vector<LPARAM>{1, 2}));
  // The dialog heard WM_DESTROY before its tree deleted its items.
  EXPECT_EQ(recorder.Lines(), (std::vector<std::string>{"WM_DESTROY", "WM_NOTIFY(60, TVN_DELETEITEMA)",
                                                        "WM_NOTIFY(60, TVN_DELETEITEMA)", "WM_NCDESTROY"}));
}

TEST_F(TreeViewTest, HoldsLongTextsAndThousandsOfItems) {
  std::string longText(2048, 'L');
  longText.replace(0, 5, "start");
  HTREEITEM item = Insert(TVI_ROOT, TVI_LAST, longText.c_str());
  std::string read(4000, '\0');
  TVITEMA get{};
  get.mask = TVIF_TEXT;
  get.hItem = item;
  get.pszText = read.data();
  get.cchTextMax = static_cast<int>(read.size());
  ASSERT_TRUE(SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&get)));
  EXPECT_EQ(std::string(read.c_str()), longText);
  const int items = 4000;
  HTREEITEM parent = item;
  for (int i = 1; i < items; ++i) {
    HTREEITEM made = Insert(i % 50 == 0 ? TVI_ROOT : parent, TVI_LAST, "x");
    ASSERT_NE(made, nullptr) << i;
    if (i % 50 == 0) parent = made;
  }
  EXPECT_EQ(SendMessageA(tree, TVM_GETCOUNT, 0, 0), items);
  EXPECT_TRUE(SendMessageA(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT)));
  EXPECT_EQ(DeletedParams().size(), static_cast<size_t>(items));
  // The pool is whole again.
  EXPECT_NE(Insert(TVI_ROOT, TVI_LAST, "again"), nullptr);
}

}  // namespace
}  // namespace window_test
