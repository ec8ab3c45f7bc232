#include "ui/TreeView.h"

#include <algorithm>

#include "ui/TakeFocus.h"

namespace ox {

namespace {

[[noreturn]] void IndexError(int index) {
  throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

}  // namespace

// ---- TTreeNode -------------------------------------------------------------

const ClassInfo& TTreeNode::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TTreeNode>("TTreeNode", &TPersistent::StaticClassInfo())
          .property("Text", &TTreeNode::Text, &TTreeNode::SetText)
          .property("ImageIndex", &TTreeNode::ImageIndex, &TTreeNode::SetImageIndex)
          .property("SelectedIndex", &TTreeNode::SelectedIndex, &TTreeNode::SetSelectedIndex)
          .property("StateIndex", &TTreeNode::StateIndex, &TTreeNode::SetStateIndex)
          .build();
  return info;
}

TTreeNode::TTreeNode(TTreeNodes* owner, TTreeNode* parent) : owner_(owner), parent_(parent) {}

TTreeNode::~TTreeNode() = default;

TTreeView* TTreeNode::TreeView() const {
  return owner_->Owner();
}

void TTreeNode::SetText(const std::string& text) {
  if (text == text_) return;
  text_ = text;
  TreeView()->NodeTextChanged(this);
}

void TTreeNode::SetData(void* data) {
  if (data == data_) return;
  data_ = data;
  TreeView()->NodeDataChanged(this);
}

TTreeNode* TTreeNode::Parent() const {
  return parent_ == owner_->root_.get() ? nullptr : parent_;
}

TTreeNode* TTreeNode::Item(int index) const {
  if (index < 0 || index >= Count()) IndexError(index);
  return children_[static_cast<std::size_t>(index)].get();
}

int TTreeNode::IndexOf(const TTreeNode* child) const {
  for (int i = 0; i < Count(); ++i)
    if (children_[static_cast<std::size_t>(i)].get() == child) return i;
  return -1;
}

int TTreeNode::Level() const {
  int level = 0;
  for (const TTreeNode* node = Parent(); node != nullptr; node = node->Parent())
    ++level;
  return level;
}

int TTreeNode::Index() const {
  return parent_ != nullptr ? parent_->IndexOf(this) : -1;
}

int TTreeNode::AbsoluteIndex() const {
  int index = 0;
  for (const TTreeNode* node = GetPrev(); node != nullptr; node = node->GetPrev())
    ++index;
  return index;
}

bool TTreeNode::Contains(const TTreeNode* node) const {
  for (; node != nullptr; node = node->parent_)
    if (node == this) return true;
  return false;
}

void TTreeNode::SetExpanded(bool value) {
  if (value == expanded_) return;
  TTreeView* view = TreeView();
  bool allow = true;
  if (value) {
    if (!HasChildren()) return;
    // The handler may add the children now.
    view->OnExpanding(view, this, allow);
    if (!allow) return;
    if (children_.empty()) {
      hasChildren_ = false;  // nothing to show after all: the button goes
      return;
    }
    expanded_ = true;
    view->OnExpanded(view, this);
  } else {
    view->OnCollapsing(view, this, allow);
    if (!allow) return;
    expanded_ = false;
    // A selection that disappears moves to the collapsed node.
    if (view->selected_ != this && Contains(view->selected_)) view->SetSelected(this);
    view->OnCollapsed(view, this);
  }
}

void TTreeNode::Expand(bool recurse) {
  SetExpanded(true);
  if (recurse)
    for (int i = 0; i < Count(); ++i)
      Item(i)->Expand(true);
}

void TTreeNode::Collapse(bool recurse) {
  SetExpanded(false);
  if (recurse)
    for (int i = 0; i < Count(); ++i)
      Item(i)->Collapse(true);
}

bool TTreeNode::IsVisible() const {
  for (const TTreeNode* node = Parent(); node != nullptr; node = node->Parent())
    if (!node->expanded_) return false;
  return true;
}

void TTreeNode::MakeVisible() {
  std::vector<TTreeNode*> parents;
  for (TTreeNode* node = Parent(); node != nullptr; node = node->Parent())
    parents.push_back(node);
  for (auto node = parents.rbegin(); node != parents.rend(); ++node)
    (*node)->SetExpanded(true);
}

bool TTreeNode::Selected() const {
  return TreeView()->Selected() == this;
}

void TTreeNode::SetSelected(bool value) {
  if (value)
    TreeView()->SetSelected(this);
  else if (Selected())
    TreeView()->SetSelected(nullptr);
}

TTreeNode* TTreeNode::GetFirstChild() const {
  return children_.empty() ? nullptr : children_.front().get();
}

TTreeNode* TTreeNode::GetLastChild() const {
  return children_.empty() ? nullptr : children_.back().get();
}

TTreeNode* TTreeNode::Sibling(int offset) const {
  if (parent_ == nullptr) return nullptr;
  const int index = parent_->IndexOf(this) + offset;
  return index >= 0 && index < parent_->Count() ? parent_->Item(index) : nullptr;
}

TTreeNode* TTreeNode::getNextSibling() const {
  return Sibling(1);
}

TTreeNode* TTreeNode::getPrevSibling() const {
  return Sibling(-1);
}

TTreeNode* TTreeNode::GetNext() const {
  if (TTreeNode* child = GetFirstChild()) return child;
  for (const TTreeNode* node = this; node != nullptr; node = node->Parent())
    if (TTreeNode* next = node->getNextSibling()) return next;
  return nullptr;
}

TTreeNode* TTreeNode::GetPrev() const {
  TTreeNode* node = getPrevSibling();
  if (node == nullptr) return Parent();
  while (TTreeNode* last = node->GetLastChild())
    node = last;
  return node;
}

TTreeNode* TTreeNode::GetNextVisible() const {
  if (expanded_ && !children_.empty()) return GetFirstChild();
  for (const TTreeNode* node = this; node != nullptr; node = node->Parent())
    if (TTreeNode* next = node->getNextSibling()) return next;
  return nullptr;
}

TTreeNode* TTreeNode::GetPrevVisible() const {
  TTreeNode* node = getPrevSibling();
  if (node == nullptr) return Parent();
  while (node->expanded_ && !node->children_.empty())
    node = node->GetLastChild();
  return node;
}

void TTreeNode::Delete() {
  owner_->Delete(this);
}

void TTreeNode::DeleteChildren() {
  while (!children_.empty())
    owner_->Delete(children_.back().get());
}

bool TTreeNode::AlphaSort(bool recurse) {
  TreeView()->SortChildren(*this, nullptr, 0, recurse);
  return true;
}

// ---- TTreeNodes ------------------------------------------------------------

const ClassInfo& TTreeNodes::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TTreeNodes>("TTreeNodes", &TPersistent::StaticClassInfo()).build();
  return info;
}

TTreeNodes::TTreeNodes(TTreeView* owner)
    : owner_(owner), root_(std::make_unique<TTreeNode>(this, nullptr)) {}

TTreeNodes::~TTreeNodes() = default;

int TTreeNodes::Count() const {
  int count = 0;
  for (const TTreeNode* node = GetFirstNode(); node != nullptr; node = node->GetNext())
    ++count;
  return count;
}

TTreeNode* TTreeNodes::Item(int index) const {
  TTreeNode* node = index >= 0 ? GetFirstNode() : nullptr;
  for (int i = 0; node != nullptr && i < index; ++i)
    node = node->GetNext();
  if (node == nullptr) IndexError(index);
  return node;
}

TTreeNode* TTreeNodes::GetFirstNode() const {
  return root_->GetFirstChild();
}

TTreeNode* TTreeNodes::SiblingsOf(TTreeNode* sibling) {
  if (sibling == nullptr) return root_.get();
  if (sibling->owner_ != this) throw EInvalidOperation("The node belongs to another tree");
  return sibling->parent_;
}

TTreeNode* TTreeNodes::ChildrenOf(TTreeNode* parent) {
  if (parent == nullptr) return root_.get();
  if (parent->owner_ != this) throw EInvalidOperation("The node belongs to another tree");
  return parent;
}

TTreeNode* TTreeNodes::AddNode(TTreeNode* parent, int index, bool sorted, const std::string& text,
                               void* data) {
  auto node = std::make_unique<TTreeNode>(this, parent);
  node->text_ = text;
  node->data_ = data;
  auto& children = parent->children_;
  auto place = children.begin() + index;
  if (sorted && SortsByText(owner_->SortType())) {
    place = std::upper_bound(children.begin(), children.end(), text,
                             [](const std::string& value, const auto& child) {
                               return CompareItemText(value, child->text_) < 0;
                             });
  }
  return children.insert(place, std::move(node))->get();
}

TTreeNode* TTreeNodes::Add(TTreeNode* sibling, const std::string& text) {
  return AddObject(sibling, text, nullptr);
}

TTreeNode* TTreeNodes::AddObject(TTreeNode* sibling, const std::string& text, void* data) {
  TTreeNode* parent = SiblingsOf(sibling);
  return AddNode(parent, parent->Count(), true, text, data);
}

TTreeNode* TTreeNodes::AddFirst(TTreeNode* sibling, const std::string& text) {
  return AddObjectFirst(sibling, text, nullptr);
}

TTreeNode* TTreeNodes::AddObjectFirst(TTreeNode* sibling, const std::string& text, void* data) {
  return AddNode(SiblingsOf(sibling), 0, true, text, data);
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* parent, const std::string& text) {
  return AddChildObject(parent, text, nullptr);
}

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* parent, const std::string& text, void* data) {
  TTreeNode* holder = ChildrenOf(parent);
  return AddNode(holder, holder->Count(), true, text, data);
}

TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* parent, const std::string& text) {
  return AddChildObjectFirst(parent, text, nullptr);
}

TTreeNode* TTreeNodes::AddChildObjectFirst(TTreeNode* parent, const std::string& text, void* data) {
  return AddNode(ChildrenOf(parent), 0, true, text, data);
}

TTreeNode* TTreeNodes::Insert(TTreeNode* sibling, const std::string& text) {
  return InsertObject(sibling, text, nullptr);
}

TTreeNode* TTreeNodes::InsertObject(TTreeNode* sibling, const std::string& text, void* data) {
  TTreeNode* parent = SiblingsOf(sibling);
  return AddNode(parent, sibling != nullptr ? sibling->Index() : parent->Count(), false, text,
                 data);
}

void TTreeNodes::Delete(TTreeNode* node) {
  if (node == nullptr || node->owner_ != this || node == root_.get()) return;
  owner_->NodeDeleting(node);
  // OnDeletion may have moved nodes; remove the node from where it is now.
  TTreeNode* parent = node->parent_;
  if (const int index = parent->IndexOf(node); index >= 0)
    parent->children_.erase(parent->children_.begin() + index);
}

void TTreeNodes::Clear() {
  owner_->ReplaceSelection(nullptr);
  for (int i = 0; i < root_->Count(); ++i)
    owner_->NotifyDeletion(root_->Item(i));
  root_->children_.clear();
  owner_->topIndex_ = 0;
}

void TTreeNodes::EndUpdate() {
  if (updateCount_ == 0 || --updateCount_ > 0 || !sortPending_) return;
  sortPending_ = false;
  owner_->AlphaSort();
}

// ---- TTreeView -------------------------------------------------------------

const ClassInfo& TTreeView::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TTreeView>("TTreeView", &TWinControl::StaticClassInfo())
          .creatable()
          .property("HideSelection", &TTreeView::HideSelection, &TTreeView::SetHideSelection)
          .defaultValue(1)
          .object<TCustomImageList>("Images", &TTreeView::Images, &TTreeView::SetImages)
          .property("Indent", &TTreeView::Indent, &TTreeView::SetIndent)
          .object<TTreeNodes>("Items", &TTreeView::Items)
          .property("ReadOnly", &TTreeView::ReadOnly, &TTreeView::SetReadOnly)
          .defaultValue(0)
          .property("ShowButtons", &TTreeView::ShowButtons, &TTreeView::SetShowButtons)
          .defaultValue(1)
          .property("ShowLines", &TTreeView::ShowLines, &TTreeView::SetShowLines)
          .defaultValue(1)
          .property("ShowRoot", &TTreeView::ShowRoot, &TTreeView::SetShowRoot)
          .defaultValue(1)
          .enumeration("SortType", &TTreeView::SortType, &TTreeView::SetSortType, SortTypeNames())
          .defaultValue(0)
          .object<TCustomImageList>("StateImages", &TTreeView::StateImages,
                                    &TTreeView::SetStateImages)
          .event("OnChange", &TTreeView::OnChange)
          .event("OnChanging", &TTreeView::OnChanging)
          .event("OnCollapsed", &TTreeView::OnCollapsed)
          .event("OnCollapsing", &TTreeView::OnCollapsing)
          .event("OnCompare", &TTreeView::OnCompare)
          .event("OnDeletion", &TTreeView::OnDeletion)
          .event("OnExpanded", &TTreeView::OnExpanded)
          .event("OnExpanding", &TTreeView::OnExpanding)
          .build();
  return info;
}

TTreeView::TTreeView(TComponent* owner)
    : TWinControl(owner), items_(std::make_unique<TTreeNodes>(this)) {
  SetTabStop(true);
  SetColor(clWindow);
  SetBounds(0, 0, 121, 97);
}

TTreeView::~TTreeView() = default;

void TTreeView::SetSelected(TTreeNode* node) {
  if (node == selected_ || (node != nullptr && node->owner_ != items_.get())) return;
  bool allow = true;
  OnChanging(this, node, allow);
  if (!allow) return;
  if (node != nullptr) node->MakeVisible();
  selected_ = node;
  ScrollIntoView(node);
  OnChange(this, node);
}

void TTreeView::ReplaceSelection(TTreeNode* node) {
  if (node == selected_) return;
  selected_ = node;
  OnChange(this, node);
}

void TTreeView::SetSortType(TSortType type) {
  if (type == sortType_) return;
  sortType_ = type;
  if (SortsByText(type) || (SortsByData(type) && OnCompare)) AlphaSort();
}

bool TTreeView::AlphaSort() {
  return CustomSort(nullptr, 0);
}

bool TTreeView::CustomSort(TTVCompare compare, std::intptr_t data) {
  SortChildren(*items_->root_, compare, data, true);
  return true;
}

int TTreeView::Compare(TTreeNode* a, TTreeNode* b, TTVCompare compare, std::intptr_t data) {
  if (compare != nullptr) return compare(a, b, data);
  if (!OnCompare) return CompareItemText(a->Text(), b->Text());
  int result = 0;
  OnCompare(this, a, b, static_cast<int>(data), result);
  return result;
}

void TTreeView::SortChildren(TTreeNode& parent, TTVCompare compare, std::intptr_t data,
                             bool recurse) {
  // A stable merge sort stays within bounds even when a handler's order is
  // inconsistent.
  std::stable_sort(
      parent.children_.begin(), parent.children_.end(),
      [&](const auto& a, const auto& b) { return Compare(a.get(), b.get(), compare, data) < 0; });
  if (recurse)
    for (const auto& child : parent.children_)
      SortChildren(*child, compare, data, true);
}

void TTreeView::ResortSiblings(TTreeNode* node) {
  if (items_->Updating())
    items_->sortPending_ = true;
  else
    SortChildren(*node->parent_, nullptr, 0, false);
}

void TTreeView::NodeTextChanged(TTreeNode* node) {
  if (SortsByText(sortType_)) ResortSiblings(node);
}

void TTreeView::NodeDataChanged(TTreeNode* node) {
  if (SortsByData(sortType_) && OnCompare) ResortSiblings(node);
}

void TTreeView::NodeDeleting(TTreeNode* node) {
  if (node->Contains(selected_)) {
    TTreeNode* next = node->getNextSibling();
    if (next == nullptr) next = node->getPrevSibling();
    if (next == nullptr) next = node->Parent();
    ReplaceSelection(next);
  }
  NotifyDeletion(node);
}

void TTreeView::NotifyDeletion(TTreeNode* node) {
  for (int i = 0; i < node->Count(); ++i)
    NotifyDeletion(node->Item(i));
  OnDeletion(this, node);
}

void TTreeView::FullExpand() {
  for (TTreeNode* node = items_->GetFirstNode(); node != nullptr; node = node->getNextSibling())
    node->Expand(true);
}

void TTreeView::FullCollapse() {
  for (TTreeNode* node = items_->GetFirstNode(); node != nullptr; node = node->getNextSibling())
    node->Collapse(true);
}

// ---- layout, mouse and keys ------------------------------------------------

int TTreeView::VisibleRowCount() const {
  return std::max(1, ClientHeight() / kRowHeight);
}

int TTreeView::RowOf(const TTreeNode* node) const {
  int row = 0;
  for (const TTreeNode* at = items_->GetFirstNode(); at != nullptr; at = at->GetNextVisible()) {
    if (at == node) return row;
    ++row;
  }
  return -1;
}

void TTreeView::ScrollIntoView(const TTreeNode* node) {
  const int row = RowOf(node);
  if (row < 0) return;
  if (row < topIndex_)
    topIndex_ = row;
  else if (row >= topIndex_ + VisibleRowCount())
    topIndex_ = row - VisibleRowCount() + 1;
}

TTreeNode* TTreeView::GetNodeAt(int x, int y) const {
  if (x < 0 || y < 0 || x >= ClientWidth() || y >= ClientHeight()) return nullptr;
  TTreeNode* node = items_->GetFirstNode();
  for (int row = topIndex_ + y / kRowHeight; node != nullptr && row > 0; --row)
    node = node->GetNextVisible();
  return node;
}

void TTreeView::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TakeFocus(*this);
  if (button == TMouseButton::mbLeft) {
    if (TTreeNode* node = GetNodeAt(x, y)) {
      const int textLeft = (node->Level() + (showRoot_ ? 1 : 0)) * indent_;
      const bool onButton = x < textLeft && x >= textLeft - indent_ && node->HasChildren();
      if (onButton)
        node->SetExpanded(!node->Expanded());
      else
        SetSelected(node);
    }
  }
  TWinControl::MouseDown(button, shift, x, y);
}

void TTreeView::DblClick() {
  if (selected_ != nullptr) selected_->SetExpanded(!selected_->Expanded());
  TWinControl::DblClick();
}

bool TTreeView::WantsKey(std::uint16_t key, TShiftState shift) const {
  return key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN ||
         TWinControl::WantsKey(key, shift);
}

void TTreeView::SelectByKey(TTreeNode* node) {
  if (node != nullptr) SetSelected(node);
}

void TTreeView::DefaultKeyDown(std::uint16_t key, TShiftState shift) {
  TTreeNode* first = items_->GetFirstNode();
  TTreeNode* node = selected_;
  switch (key) {
    case VK_HOME:
      return SelectByKey(first);
    case VK_END: {
      TTreeNode* last = first;
      for (TTreeNode* next = first; next != nullptr; next = next->GetNextVisible())
        last = next;
      return SelectByKey(last);
    }
    case VK_UP:
      return SelectByKey(node != nullptr ? node->GetPrevVisible() : first);
    case VK_DOWN:
      return SelectByKey(node != nullptr ? node->GetNextVisible() : first);
    case VK_LEFT:
      if (node == nullptr) return SelectByKey(first);
      if (node->Expanded()) return node->SetExpanded(false);
      return SelectByKey(node->Parent());
    case VK_RIGHT:
      if (node == nullptr) return SelectByKey(first);
      if (!node->HasChildren()) return;
      if (!node->Expanded()) return node->SetExpanded(true);
      return SelectByKey(node->GetFirstChild());
    default:
      return TWinControl::DefaultKeyDown(key, shift);
  }
}

}  // namespace ox
