#include "tree_grid_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace controls;

namespace {

std::unique_ptr<CItemInfo> Info(const std::string& text) {
    auto info = std::make_unique<CItemInfo>();
    info->SetItemText(text);
    return info;
}

// The texts of the shown rows, in order; each item must know its own row.
std::vector<std::string> Shown(const TreeGridModel& tree) {
    std::vector<std::string> texts;
    for (int row = 0; row < tree.GetRowCount(); ++row) {
        CTreeItem* item = tree.GetItemAtRow(row);
        EXPECT_EQ(item->GetRow(), row);
        EXPECT_EQ(tree.FindItemIndex(item), row);
        texts.push_back(item->GetInfo()->GetItemText());
    }
    return texts;
}

using Texts = std::vector<std::string>;

// Two modules with symbols, built the way the symbol pane does: children
// added without update, so the modules start collapsed.
class TreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        main = tree.InsertItem(Info("MAIN"));
        a = tree.InsertChildItem(main, Info("a"), false);
        b = tree.InsertChildItem(main, Info("b"), false);
        io = tree.InsertItem(Info("IO"));
        port = tree.InsertChildItem(io, Info("port"), false);
    }

    TreeGridModel tree;
    CTreeItem* main = nullptr;
    CTreeItem* a = nullptr;
    CTreeItem* b = nullptr;
    CTreeItem* io = nullptr;
    CTreeItem* port = nullptr;
};

} // namespace

TEST_F(TreeTest, ChildrenAddedWithoutUpdateShowOnExpand) {
    EXPECT_EQ(Shown(tree), (Texts{"MAIN", "IO"}));
    EXPECT_TRUE(main->HasHiddenChildren());
    EXPECT_EQ(tree.FindItemIndex(a), -1);
    EXPECT_EQ(a->GetIndent(), main->GetIndent() + 1);
    EXPECT_EQ(a->GetParent(), main);

    EXPECT_TRUE(tree.ExpandItem(main));
    EXPECT_FALSE(main->HasHiddenChildren());
    EXPECT_EQ(Shown(tree), (Texts{"MAIN", "a", "b", "IO"}));
    EXPECT_EQ(io->GetRow(), 3);
    EXPECT_FALSE(tree.ExpandItem(main)); // nothing hidden any more
    EXPECT_FALSE(tree.ExpandItem(a));    // no children
    EXPECT_FALSE(tree.ExpandItem(port)); // not shown
}

TEST_F(TreeTest, CollapseHidesTheShownSubtree) {
    tree.ExpandItem(main);
    tree.ExpandItem(io);
    EXPECT_TRUE(tree.CollapseItem(main));
    EXPECT_EQ(Shown(tree), (Texts{"MAIN", "IO", "port"}));
    EXPECT_EQ(a->GetRow(), -1);
    EXPECT_FALSE(tree.CollapseItem(main)); // already collapsed
    EXPECT_FALSE(tree.CollapseItem(port)); // no children
}

TEST_F(TreeTest, ChildAddedWithUpdateToAnExpandedParent) {
    tree.ExpandItem(main);
    CTreeItem* c = tree.InsertChildItem(main, Info("c"), true);
    EXPECT_EQ(Shown(tree), (Texts{"MAIN", "a", "b", "c", "IO"}));
    // Below a collapsed parent the new child stays hidden until expanded.
    tree.InsertChildItem(io, Info("latch"), true);
    EXPECT_EQ(Shown(tree), (Texts{"MAIN", "a", "b", "c", "IO"}));
    tree.ExpandItem(io);
    EXPECT_EQ(Shown(tree), (Texts{"MAIN", "a", "b", "c", "IO", "port", "latch"}));
    // A grandchild added with update to a shown leaf appears under it.
    tree.InsertChildItem(c, Info("c.1"), true);
    EXPECT_EQ(Shown(tree), (Texts{"MAIN", "a", "b", "c", "c.1", "IO", "port", "latch"}));
    // Without update the parent collapses, hiding the children it showed.
    tree.InsertChildItem(main, Info("d"), false);
    EXPECT_EQ(Shown(tree), (Texts{"MAIN", "IO", "port", "latch"}));
    tree.ExpandItem(main);
    EXPECT_EQ(Shown(tree), (Texts{"MAIN", "a", "b", "c", "c.1", "d", "IO", "port", "latch"}));
}

TEST_F(TreeTest, ExpandAllAndRememberedSubtrees) {
    CTreeItem* deep = tree.InsertChildItem(a, Info("a.1"), false);
    tree.InsertChildItem(deep, Info("a.1.x"), false);
    tree.ExpandAll(main);
    EXPECT_EQ(Shown(tree), (Texts{"MAIN", "a", "a.1", "a.1.x", "b", "IO"}));
    // Collapsing the module and expanding it again shows the inner items as
    // they were left.
    tree.CollapseItem(main);
    tree.ExpandItem(main);
    EXPECT_EQ(Shown(tree), (Texts{"MAIN", "a", "a.1", "a.1.x", "b", "IO"}));
}

TEST_F(TreeTest, DeleteRemovesSubtreeRowsAndSelection) {
    tree.ExpandItem(main);
    tree.SelectRow(2);
    EXPECT_EQ(tree.GetSelectedItem(), b);
    tree.DeleteItem(main);
    EXPECT_EQ(Shown(tree), (Texts{"IO"}));
    EXPECT_EQ(tree.GetSelectedItem(), nullptr);
    EXPECT_EQ(tree.GetRoots().size(), 1u);
    // Deleting the last child leaves a parent with nothing hidden.
    tree.DeleteItem(port);
    EXPECT_FALSE(io->HasHiddenChildren());
    EXPECT_FALSE(TreeGridModel::ItemHasChildren(io));
    tree.DeleteAll();
    EXPECT_EQ(tree.GetRowCount(), 0);
    EXPECT_TRUE(tree.GetRoots().empty());
}

TEST_F(TreeTest, CollapsingHidesTheSelection) {
    tree.ExpandItem(main);
    tree.SelectRow(1);
    tree.CollapseItem(main);
    EXPECT_EQ(tree.GetSelectedRow(), -1);
    tree.SelectRow(1);
    EXPECT_EQ(tree.GetSelectedItem(), io);
}

TEST_F(TreeTest, DropLegality) {
    CTreeItem* deep = tree.InsertChildItem(a, Info("a.1"), false);
    EXPECT_FALSE(TreeGridModel::CanDrop(a, a));     // onto itself
    EXPECT_FALSE(TreeGridModel::CanDrop(a, main));  // onto its parent
    EXPECT_FALSE(TreeGridModel::CanDrop(a, deep));  // into its own subtree
    EXPECT_FALSE(TreeGridModel::CanDrop(main, io)); // a root never moves
    EXPECT_FALSE(TreeGridModel::CanDrop(a, nullptr));
    EXPECT_TRUE(TreeGridModel::CanDrop(a, io));
    EXPECT_TRUE(TreeGridModel::CanDrop(a, b));
    EXPECT_TRUE(TreeGridModel::CanDrop(deep, main));
    EXPECT_EQ(tree.MoveSubtree(a, main, nullptr), nullptr);
    EXPECT_EQ(main->GetChildren().size(), 2u);
}

TEST_F(TreeTest, DropCopiesTheSubtreeAndDeletesTheOriginal) {
    tree.InsertChildItem(a, Info("a.1"), false);
    a->GetInfo()->AddSubItemText("PUBLIC");
    tree.ExpandItem(main);
    tree.ExpandItem(io);
    auto copyInfo = [](const CItemInfo& info) { return std::make_unique<CItemInfo>(info); };
    CTreeItem* moved = tree.MoveSubtree(a, io, copyInfo);
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(moved->GetParent(), io);
    EXPECT_EQ(moved->GetIndent(), 2);
    EXPECT_EQ(moved->GetInfo()->GetSubItemText(0), "PUBLIC");
    ASSERT_EQ(moved->GetChildren().size(), 1u);
    EXPECT_EQ(moved->GetChildren()[0]->GetIndent(), 3);
    EXPECT_TRUE(moved->HasHiddenChildren()); // collapsed like the original
    EXPECT_EQ(Shown(tree), (Texts{"MAIN", "b", "IO", "port", "a"}));
    EXPECT_EQ(main->GetChildren().size(), 1u);

    // Without a copy of the info the item arrives empty; onto a collapsed
    // target it arrives hidden.
    tree.CollapseItem(io);
    CTreeItem* emptied = tree.MoveSubtree(b, io, nullptr);
    ASSERT_NE(emptied, nullptr);
    EXPECT_EQ(emptied->GetInfo()->GetItemText(), "");
    EXPECT_EQ(Shown(tree), (Texts{"MAIN", "IO"}));
    EXPECT_FALSE(TreeGridModel::ItemHasChildren(main));
    EXPECT_EQ(io->GetChildren().size(), 3u);
}

TEST(ItemInfo, CellData) {
    CItemInfo info;
    info.SetSubItemText(2, "C:0x000800");
    EXPECT_EQ(info.GetSubItemCount(), 3);
    EXPECT_EQ(info.GetSubItemText(0), "");
    EXPECT_EQ(info.GetSubItemText(5), "");
    EXPECT_EQ(info.GetControlType(0), CItemInfo::none);
    info.SetControlType(1, CItemInfo::combobox);
    info.SetListData(1, {"DATA", "XDATA"});
    EXPECT_EQ(info.GetControlType(1), CItemInfo::combobox);
    ASSERT_NE(info.GetListData(1), nullptr);
    EXPECT_EQ(info.GetListData(1)->size(), 2u);
    EXPECT_EQ(info.GetListData(0), nullptr);
    std::uint32_t value = 0;
    EXPECT_FALSE(info.GetValue(1, value));
    info.SetValue(1, 9);
    EXPECT_TRUE(info.GetValue(1, value));
    EXPECT_EQ(value, 9u);
}
