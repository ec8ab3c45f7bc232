#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/support/TestMachine.h"
#include "tests/ui/ControlInput.h"
#include "ui/FormReader.h"
#include "ui/Forms.h"
#include "ui/TreeView.h"

namespace ox {
namespace {

struct Recorder {
  std::string log;
  const TTreeNode* refuseSelect = nullptr;
  const TTreeNode* refuseExpand = nullptr;
  std::string lazyChild;  // OnExpanding adds a child of this text to a node without any

  static std::string Name(const TTreeNode* node) { return node ? node->Text() : "null"; }
  void Change(TObject*, TTreeNode* node) { log += "sel:" + Name(node) + " "; }
  void Changing(TObject*, TTreeNode* node, bool& allow) { allow = node != refuseSelect; }
  void Expanding(TObject*, TTreeNode* node, bool& allow) {
    log += "expand:" + Name(node) + " ";
    allow = node != refuseExpand;
    if (allow && node->Count() == 0 && !lazyChild.empty()) node->Owner()->AddChild(node, lazyChild);
  }
  void Collapsing(TObject*, TTreeNode* node, bool&) { log += "collapse:" + Name(node) + " "; }
  void Deletion(TObject*, TTreeNode* node) { log += "del:" + Name(node) + " "; }
  void Reversed(TObject*, TTreeNode* a, TTreeNode* b, int, int& result) {
    result = CompareItemText(b->Text(), a->Text());
  }
};

// A shown form with a focused tree view holding A (A1, A2 (A2a)), B and C.
class TreeViewTest : public ::testing::Test {
 protected:
  TreeViewTest() {
    form->SetBounds(0, 0, 400, 300);
    tree = new TTreeView(form.get());
    tree->SetParent(form.get());
    tree->SetBounds(0, 0, 200, 160);
    TTreeNodes* nodes = tree->Items();
    a = nodes->Add(nullptr, "A");
    nodes->AddChild(a, "A1");
    a2 = nodes->AddChild(a, "A2");
    a2a = nodes->AddChild(a2, "A2a");
    b = nodes->Add(a, "B");
    c = nodes->Add(nullptr, "C");
    form->Show();
    tree->SetFocus();
    tree->OnChange = MakeMethod<&Recorder::Change>(&rec);
    tree->OnChanging = MakeMethod<&Recorder::Changing>(&rec);
    tree->OnExpanding = MakeMethod<&Recorder::Expanding>(&rec);
    tree->OnCollapsing = MakeMethod<&Recorder::Collapsing>(&rec);
    tree->OnDeletion = MakeMethod<&Recorder::Deletion>(&rec);
  }

  // Every node depth first, children in brackets.
  static std::string Shape(const TTreeNode* first) {
    std::string text;
    for (const TTreeNode* node = first; node != nullptr; node = node->getNextSibling()) {
      text += (text.empty() ? "" : " ") + node->Text();
      if (node->Count() > 0) text += "(" + Shape(node->GetFirstChild()) + ")";
    }
    return text;
  }
  std::string Shape() const { return Shape(tree->Items()->GetFirstNode()); }
  // The middle of a shown row.
  static int RowY(int row) { return row * TTreeView::RowHeight() + TTreeView::RowHeight() / 2; }
  void Mouse(UINT message, int x, int row) const {
    SendMessage(tree->Handle(), message, 0, MAKELPARAM(x, RowY(row)));
  }
  void Click(int x, int row) const { test::ClickAt(*tree, x, RowY(row)); }

  test::TestMachine machine{936};
  Owned<TForm> form{CreateForm<TForm>(nullptr)};
  TTreeView* tree = nullptr;
  TTreeNode *a = nullptr, *a2 = nullptr, *a2a = nullptr, *b = nullptr, *c = nullptr;
  Recorder rec;
};

TEST_F(TreeViewTest, NodesKnowTheirPlace) {
  TTreeNodes* nodes = tree->Items();
  nodes->AddChildFirst(a, "A0");
  nodes->Insert(b, "AB");
  nodes->AddFirst(c, "0");
  EXPECT_EQ(Shape(), "0 A(A0 A1 A2(A2a)) AB B C");
  EXPECT_EQ(nodes->Count(), 9);

  struct Expect {
    TTreeNode* node;
    int absolute, level, index;
    TTreeNode* parent;
  };
  for (const Expect& e : std::vector<Expect>{
           {a, 1, 0, 1, nullptr}, {a2, 4, 1, 2, a}, {a2a, 5, 2, 0, a2}, {c, 8, 0, 4, nullptr}}) {
    SCOPED_TRACE(e.node->Text());
    EXPECT_EQ(e.node->AbsoluteIndex(), e.absolute);
    EXPECT_EQ(nodes->Item(e.absolute), e.node);
    EXPECT_EQ(e.node->Level(), e.level);
    EXPECT_EQ(e.node->Index(), e.index);
    EXPECT_EQ(e.node->Parent(), e.parent);
  }
  // GetPrev undoes GetNext over the whole tree.
  for (TTreeNode* node = nodes->GetFirstNode(); node->GetNext() != nullptr; node = node->GetNext())
    EXPECT_EQ(node->GetNext()->GetPrev(), node) << node->Text();
  EXPECT_EQ(a2a->GetNext()->Text(), "AB");
  EXPECT_EQ(a2a->GetPrev(), a2);
  EXPECT_THROW(nodes->Item(9), EListError);

  TTreeView other(nullptr);
  EXPECT_THROW(other.Items()->AddChild(a, "x"), EInvalidOperation);
}

TEST_F(TreeViewTest, KeysWalkTheShownNodes) {
  struct Step {
    std::uint16_t key;
    const char* selected;
    bool aExpanded, a2Expanded;
  };
  const std::vector<Step> steps{
      {VK_DOWN, "A", false, false}, {VK_DOWN, "B", false, false},  {VK_UP, "A", false, false},
      {VK_RIGHT, "A", true, false}, {VK_RIGHT, "A1", true, false}, {VK_DOWN, "A2", true, false},
      {VK_RIGHT, "A2", true, true}, {VK_RIGHT, "A2a", true, true}, {VK_LEFT, "A2", true, true},
      {VK_LEFT, "A2", true, false}, {VK_END, "C", true, false},    {VK_UP, "B", true, false},
      {VK_UP, "A2", true, false},   {VK_HOME, "A", true, false},   {VK_LEFT, "A", false, false},
      {VK_LEFT, "A", false, false},
  };
  for (std::size_t i = 0; i < steps.size(); ++i) {
    SCOPED_TRACE("step " + std::to_string(i));
    test::Press(steps[i].key);
    ASSERT_NE(tree->Selected(), nullptr);
    EXPECT_EQ(tree->Selected()->Text(), steps[i].selected);
    EXPECT_EQ(a->Expanded(), steps[i].aExpanded);
    EXPECT_EQ(a2->Expanded(), steps[i].a2Expanded);
  }
  EXPECT_EQ(form->ActiveControl(), tree) << "arrows stay in the tree";
}

TEST_F(TreeViewTest, HandlersCanRefuseAndExpandingCanFillANode) {
  // Selecting a hidden node shows it; OnChanging can refuse.
  tree->SetSelected(a2a);
  EXPECT_TRUE(a->Expanded() && a2->Expanded());
  EXPECT_EQ(rec.log, "expand:A expand:A2 sel:A2a ");
  rec.refuseSelect = b;
  rec.log.clear();
  b->SetSelected(true);
  EXPECT_EQ(tree->Selected(), a2a);
  EXPECT_EQ(rec.log, "");

  // Collapsing a parent of the selection selects the collapsed node.
  a->Collapse(false);
  EXPECT_EQ(tree->Selected(), a);
  EXPECT_EQ(rec.log, "collapse:A sel:A ");

  // A node that has children to come gets them when it expands; one that gets none
  // loses its button; a refused expansion leaves the node as it was.
  rec.lazyChild = "lazy";
  b->SetHasChildren(true);
  b->Expand(false);
  EXPECT_TRUE(b->Expanded());
  EXPECT_EQ(Shape(b->GetFirstChild()), "lazy");
  rec.lazyChild.clear();
  c->SetHasChildren(true);
  c->Expand(false);
  EXPECT_FALSE(c->Expanded());
  EXPECT_FALSE(c->HasChildren());
  rec.refuseExpand = a;
  a->Expand(false);
  EXPECT_FALSE(a->Expanded());
}

TEST_F(TreeViewTest, DeletingTheSelectionMovesItToANeighbour) {
  struct Step {
    TTreeNode* select;
    TTreeNode* remove;
    std::string log;
  };
  const std::vector<Step> steps{
      {a2a, a2, "sel:A1 del:A2a del:A2 "},  // no next sibling: the previous one
      {b, b, "sel:C del:B "},               // the next sibling
      {c, c, "sel:A del:C "},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.log);
    tree->SetSelected(step.select);
    rec.log.clear();
    step.remove->Delete();
    // The selection moves before the deleted nodes are reported, children first.
    EXPECT_EQ(rec.log, step.log);
  }
  EXPECT_EQ(Shape(), "A(A1)");
  rec.log.clear();
  tree->Items()->Clear();
  EXPECT_EQ(tree->Selected(), nullptr);
  EXPECT_EQ(rec.log, "sel:null del:A1 del:A ");
  EXPECT_EQ(tree->Items()->Count(), 0);
}

TEST_F(TreeViewTest, SortedTreesPlaceNodesByText) {
  TTreeNodes* nodes = tree->Items();
  tree->SetSortType(TSortType::stText);
  nodes->Add(nullptr, "Ba");
  nodes->AddChild(a, "A0");
  nodes->Insert(a, "Z");  // Insert keeps its place
  EXPECT_EQ(Shape(), "Z A(A0 A1 A2(A2a)) B Ba C");
  c->SetText("0");  // a new text sorts the siblings again
  EXPECT_EQ(Shape(), "0 A(A0 A1 A2(A2a)) B Ba Z");

  nodes->BeginUpdate();
  a->SetText("zz");
  EXPECT_EQ(Shape(), "0 zz(A0 A1 A2(A2a)) B Ba Z") << "held back during the update";
  nodes->EndUpdate();
  EXPECT_EQ(Shape(), "0 B Ba Z zz(A0 A1 A2(A2a))");

  tree->OnCompare = MakeMethod<&Recorder::Reversed>(&rec);
  tree->AlphaSort();
  EXPECT_EQ(Shape(), "zz(A2(A2a) A1 A0) Z Ba B 0");
}

TEST_F(TreeViewTest, ClicksSelectAndButtonsExpand) {
  Click(30, 0);
  EXPECT_EQ(tree->Selected(), a);
  Click(5, 0);  // A's button, left of its text
  EXPECT_TRUE(a->Expanded());
  Click(45, 2);  // rows: A A1 A2 B C
  EXPECT_EQ(tree->Selected(), a2);
  Click(30, 2);  // A2's button (level 1: text at 38)
  EXPECT_TRUE(a2->Expanded());
  EXPECT_EQ(tree->Selected(), a2);
  EXPECT_EQ(tree->GetNodeAt(60, 3 * TTreeView::RowHeight() + 1), a2a);
  Mouse(WM_LBUTTONDBLCLK, 45, 2);  // a double click toggles the selected node
  EXPECT_FALSE(a2->Expanded());
  Click(45, 9);  // below the nodes
  EXPECT_EQ(tree->Selected(), a2);
}

TEST(TreeViewResource, FormResourcesDescribeTreeViews) {
  test::TestMachine machine{936};
  Owned<TComponent> root = CreateComponentFromResource(
      "object f: TForm\n"
      "  object tvMenu: TTreeView\n"
      "    Indent = 25\n"
      "    ReadOnly = True\n"
      "    ShowLines = False\n"
      "    ShowRoot = False\n"
      "    SortType = stText\n"
      "  end\n"
      "end",
      nullptr);
  auto* tree = dynamic_cast<TTreeView*>(root->FindComponent("tvMenu"));
  ASSERT_NE(tree, nullptr);
  EXPECT_EQ(tree->Indent(), 25);
  EXPECT_TRUE(tree->ReadOnly());
  EXPECT_FALSE(tree->ShowLines() || tree->ShowRoot());
  EXPECT_TRUE(tree->ShowButtons());
  EXPECT_EQ(tree->SortType(), TSortType::stText);
}

}  // namespace
}  // namespace ox
