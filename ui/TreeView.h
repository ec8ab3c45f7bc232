// The tree view: nodes with a text, data and images, each holding child nodes, shown
// expanded or collapsed. Selection follows clicks and the keys Up and Down (over the
// shown nodes), Home and End; Left collapses a node or goes to its parent, Right
// expands a node or goes to its first child. Expanding and collapsing ask
// OnExpanding / OnCollapsing first; selection changes ask OnChanging and report
// OnChange.
//
// Layout, in client coordinates: one row of RowHeight per shown node from TopIndex;
// a node's expand button takes the Indent wide column left of its text, at
// (Level + 1) * Indent with ShowRoot and Level * Indent without.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ui/Classes.h"
#include "ui/Controls.h"
#include "ui/ImageList.h"
#include "ui/SortType.h"

namespace ox {

class TTreeView;
class TTreeNodes;

class TTreeNode : public TPersistent {
 public:
  OX_CLASS_INFO()
  TTreeNode(TTreeNodes* owner, TTreeNode* parent);
  ~TTreeNode() override;
  TTreeNode(const TTreeNode&) = delete;
  TTreeNode& operator=(const TTreeNode&) = delete;

  TTreeNodes* Owner() const { return owner_; }
  TTreeView* TreeView() const;

  const std::string& Text() const { return text_; }
  void SetText(const std::string& text);
  void* Data() const { return data_; }
  void SetData(void* data);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int index) { imageIndex_ = index; }
  int SelectedIndex() const { return selectedIndex_; }
  void SetSelectedIndex(int index) { selectedIndex_ = index; }
  int StateIndex() const { return stateIndex_; }
  void SetStateIndex(int index) { stateIndex_ = index; }

  // The parent node; null for a top-level node.
  TTreeNode* Parent() const;
  int Count() const { return static_cast<int>(children_.size()); }
  // Raises EListError for an index outside the children.
  TTreeNode* Item(int index) const;
  int IndexOf(const TTreeNode* child) const;
  // Whether the node shows an expand button: it has children, or was told it has
  // (children added when it expands).
  bool HasChildren() const { return hasChildren_ || !children_.empty(); }
  void SetHasChildren(bool value) { hasChildren_ = value; }
  // 0 for a top-level node.
  int Level() const;
  // The position among the siblings.
  int Index() const;
  // The position in the whole tree, counted depth first.
  int AbsoluteIndex() const;

  bool Expanded() const { return expanded_; }
  void SetExpanded(bool value);
  void Expand(bool recurse);
  void Collapse(bool recurse);
  // Whether every parent is expanded, so the node has a row.
  bool IsVisible() const;
  // Expands the parents.
  void MakeVisible();
  bool Selected() const;
  void SetSelected(bool value);

  TTreeNode* GetFirstChild() const;
  TTreeNode* GetLastChild() const;
  TTreeNode* getNextSibling() const;
  TTreeNode* getPrevSibling() const;
  // The next and previous node depth first, and among the shown nodes.
  TTreeNode* GetNext() const;
  TTreeNode* GetPrev() const;
  TTreeNode* GetNextVisible() const;
  TTreeNode* GetPrevVisible() const;

  // Removes the node with its children and frees it.
  void Delete();
  void DeleteChildren();
  // Orders the children by OnCompare, or by text without one.
  bool AlphaSort(bool recurse = false);

 private:
  friend class TTreeNodes;
  friend class TTreeView;

  TTreeNode* Sibling(int offset) const;
  // Whether `node` is this node or one of its descendants.
  bool Contains(const TTreeNode* node) const;

  TTreeNodes* owner_;
  TTreeNode* parent_;  // the node list's hidden root for a top-level node
  std::vector<std::unique_ptr<TTreeNode>> children_;
  std::string text_;
  void* data_ = nullptr;
  int imageIndex_ = -1;
  int selectedIndex_ = -1;
  int stateIndex_ = -1;
  bool expanded_ = false;
  bool hasChildren_ = false;
};

// The nodes of a tree view. Adding takes a sibling (null: the top level) or a parent;
// when the tree sorts by text, added nodes take their sorted place (Insert keeps its
// place). Between BeginUpdate and EndUpdate text changes do not re-sort; EndUpdate
// sorts once.
class TTreeNodes : public TPersistent {
 public:
  OX_CLASS_INFO()
  explicit TTreeNodes(TTreeView* owner);
  ~TTreeNodes() override;
  TTreeNodes(const TTreeNodes&) = delete;
  TTreeNodes& operator=(const TTreeNodes&) = delete;

  TTreeView* Owner() const { return owner_; }
  // Every node of the tree.
  int Count() const;
  // The node at a position counted depth first; raises EListError outside the tree.
  TTreeNode* Item(int index) const;
  TTreeNode* operator[](int index) const { return Item(index); }
  TTreeNode* GetFirstNode() const;

  // A node after the last sibling of `sibling`, or first among them.
  TTreeNode* Add(TTreeNode* sibling, const std::string& text);
  TTreeNode* AddObject(TTreeNode* sibling, const std::string& text, void* data);
  TTreeNode* AddFirst(TTreeNode* sibling, const std::string& text);
  TTreeNode* AddObjectFirst(TTreeNode* sibling, const std::string& text, void* data);
  // A last or first child of `parent` (null: the top level).
  TTreeNode* AddChild(TTreeNode* parent, const std::string& text);
  TTreeNode* AddChildObject(TTreeNode* parent, const std::string& text, void* data);
  TTreeNode* AddChildFirst(TTreeNode* parent, const std::string& text);
  TTreeNode* AddChildObjectFirst(TTreeNode* parent, const std::string& text, void* data);
  // A node just before `sibling` (null: last at the top level).
  TTreeNode* Insert(TTreeNode* sibling, const std::string& text);
  TTreeNode* InsertObject(TTreeNode* sibling, const std::string& text, void* data);
  void Delete(TTreeNode* node);
  void Clear();
  void BeginUpdate() { ++updateCount_; }
  void EndUpdate();
  bool Updating() const { return updateCount_ > 0; }

 private:
  friend class TTreeNode;
  friend class TTreeView;

  // A new child of `parent` at `index`, or at its sorted place when `sorted` and the
  // tree sorts by text.
  TTreeNode* AddNode(TTreeNode* parent, int index, bool sorted, const std::string& text,
                     void* data);
  // The node that holds the siblings of `sibling`, or of `parent`'s children; raises
  // EInvalidOperation for a node of another tree.
  TTreeNode* SiblingsOf(TTreeNode* sibling);
  TTreeNode* ChildrenOf(TTreeNode* parent);

  TTreeView* owner_;
  std::unique_ptr<TTreeNode> root_;  // holds the top-level nodes
  int updateCount_ = 0;
  bool sortPending_ = false;
};

using TTVChangedEvent = Event<TObject*, TTreeNode*>;
using TTVChangingEvent = Event<TObject*, TTreeNode*, bool&>;
using TTVExpandingEvent = Event<TObject*, TTreeNode*, bool&>;
using TTVCompareEvent = Event<TObject*, TTreeNode*, TTreeNode*, int, int&>;
// A sort order given by code, as for list views.
using TTVCompare = int (*)(TTreeNode* node1, TTreeNode* node2, std::intptr_t data);

class TTreeView : public TWinControl {
 public:
  OX_CLASS_INFO()
  explicit TTreeView(TComponent* owner);
  ~TTreeView() override;

  TTreeNodes* Items() const { return items_.get(); }
  // The selected node; selecting shows it (its parents expand). OnChanging may refuse.
  TTreeNode* Selected() const { return selected_; }
  void SetSelected(TTreeNode* node);

  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value) { readOnly_ = value; }
  bool ShowLines() const { return showLines_; }
  void SetShowLines(bool value) { showLines_ = value; }
  bool ShowRoot() const { return showRoot_; }
  void SetShowRoot(bool value) { showRoot_ = value; }
  bool ShowButtons() const { return showButtons_; }
  void SetShowButtons(bool value) { showButtons_ = value; }
  bool HideSelection() const { return hideSelection_; }
  void SetHideSelection(bool value) { hideSelection_ = value; }
  int Indent() const { return indent_; }
  void SetIndent(int value) { indent_ = value > 0 ? value : indent_; }
  TSortType SortType() const { return sortType_; }
  // Sorts at once when the new order can be kept (by text, or by data with OnCompare).
  void SetSortType(TSortType type);
  TCustomImageList* Images() const { return images_.get(); }
  void SetImages(TCustomImageList* images) { images_ = images; }
  TCustomImageList* StateImages() const { return stateImages_.get(); }
  void SetStateImages(TCustomImageList* images) { stateImages_ = images; }

  // Sorts every level by OnCompare, or by text without one.
  bool AlphaSort();
  // Sorts every level by `compare`, or as AlphaSort with `data` for OnCompare when it
  // is null.
  bool CustomSort(TTVCompare compare, std::intptr_t data);
  void FullExpand();
  void FullCollapse();

  // The node whose row is at a point of the client area, or null.
  TTreeNode* GetNodeAt(int x, int y) const;
  int TopIndex() const { return topIndex_; }
  int VisibleRowCount() const;
  static constexpr int RowHeight() { return kRowHeight; }

  bool WantsKey(std::uint16_t key, TShiftState shift) const override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  // A double click expands or collapses the selected node.
  void DblClick() override;

  TTVChangedEvent OnChange;
  TTVChangingEvent OnChanging;
  TTVExpandingEvent OnExpanding;
  TTVChangedEvent OnExpanded;
  TTVExpandingEvent OnCollapsing;
  TTVChangedEvent OnCollapsed;
  TTVCompareEvent OnCompare;
  TTVChangedEvent OnDeletion;

 protected:
  void DefaultKeyDown(std::uint16_t key, TShiftState shift) override;

 private:
  friend class TTreeNode;
  friend class TTreeNodes;

  static constexpr int kRowHeight = 16;

  // Selection without asking OnChanging, after the selected node went away.
  void ReplaceSelection(TTreeNode* node);
  // A node is about to go: the selection leaves it, OnDeletion runs for it and its
  // descendants.
  void NodeDeleting(TTreeNode* node);
  void NotifyDeletion(TTreeNode* node);
  void NodeTextChanged(TTreeNode* node);
  void NodeDataChanged(TTreeNode* node);
  void ResortSiblings(TTreeNode* node);
  int Compare(TTreeNode* a, TTreeNode* b, TTVCompare compare, std::intptr_t data);
  void SortChildren(TTreeNode& parent, TTVCompare compare, std::intptr_t data, bool recurse);
  // The row of a shown node counted from the first node, or -1.
  int RowOf(const TTreeNode* node) const;
  void ScrollIntoView(const TTreeNode* node);
  void SelectByKey(TTreeNode* node);

  std::unique_ptr<TTreeNodes> items_;
  TTreeNode* selected_ = nullptr;
  bool readOnly_ = false;
  bool showLines_ = true;
  bool showRoot_ = true;
  bool showButtons_ = true;
  bool hideSelection_ = true;
  int indent_ = 19;
  TSortType sortType_ = TSortType::stNone;
  ComponentRef<TCustomImageList> images_;
  ComponentRef<TCustomImageList> stateImages_;
  int topIndex_ = 0;
};

}  // namespace ox
