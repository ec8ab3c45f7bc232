#include "ui/Menus.h"

#include <algorithm>

#include "ui/ImageList.h"

namespace ox {

TShortCut ShortCut(std::uint16_t key, TShiftState shift) {
  auto result = static_cast<TShortCut>(key & 0xFF);
  if (shift & ssShift) result |= scShift;
  if (shift & ssCtrl) result |= scCtrl;
  if (shift & ssAlt) result |= scAlt;
  return result;
}

// ---- TMenuItem -------------------------------------------------------------

const ClassInfo& TMenuItem::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TMenuItem>("TMenuItem", &TComponent::StaticClassInfo())
          .creatable()
          .property("AutoCheck", &TMenuItem::AutoCheck, &TMenuItem::SetAutoCheck)
          .defaultValue(0)
          .property("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption)
          .property("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked)
          .defaultValue(0)
          .property("Default", &TMenuItem::Default, &TMenuItem::SetDefault)
          .defaultValue(0)
          .property("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled)
          .defaultValue(1)
          .property("GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex)
          .defaultValue(0)
          .property("Hint", &TMenuItem::Hint, &TMenuItem::SetHint)
          .property("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex)
          .defaultValue(-1)
          .property("RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem)
          .defaultValue(0)
          .property("ShortCut", &TMenuItem::ShortCut, &TMenuItem::SetShortCut)
          .defaultValue(0)
          .property("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible)
          .defaultValue(1)
          .event("OnClick", &TMenuItem::OnClick)
          .build();
  return info;
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem() {
  Clear();
  if (parent_ != nullptr) parent_->Remove(this);
}

void TMenuItem::SetChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  if (checked_ && radioItem_) TurnSiblingsOff();
}

void TMenuItem::SetRadioItem(bool value) {
  if (value == radioItem_) return;
  radioItem_ = value;
  if (checked_ && radioItem_) TurnSiblingsOff();
}

void TMenuItem::SetGroupIndex(int value) {
  if (value == groupIndex_) return;
  groupIndex_ = value;
  if (checked_ && radioItem_) TurnSiblingsOff();
}

void TMenuItem::TurnSiblingsOff() {
  if (parent_ == nullptr) return;
  for (TMenuItem* sibling : parent_->items_)
    if (sibling != this && sibling->radioItem_ && sibling->groupIndex_ == groupIndex_)
      sibling->SetChecked(false);
}

TMenuItem* TMenuItem::Items(int index) const {
  if (index < 0 || index >= Count())
    throw EMenuError("Menu index out of range (" + std::to_string(index) + ")");
  return items_[static_cast<std::size_t>(index)];
}

void TMenuItem::Add(TMenuItem* item) {
  Insert(Count(), item);
}

void TMenuItem::Insert(int index, TMenuItem* item) {
  if (item == nullptr) return;
  if (item->parent_ != nullptr || item->menu_ != nullptr) throw EMenuError("Menu inserted twice");
  for (const TMenuItem* ancestor = this; ancestor != nullptr; ancestor = ancestor->parent_)
    if (ancestor == item) throw EMenuError("A menu item cannot contain itself");
  if (index < 0 || index > Count())
    throw EMenuError("Menu index out of range (" + std::to_string(index) + ")");
  items_.insert(items_.begin() + index, item);
  item->parent_ = this;
}

void TMenuItem::Delete(int index) {
  TMenuItem* item = Items(index);
  items_.erase(items_.begin() + index);
  item->parent_ = nullptr;
}

void TMenuItem::Remove(TMenuItem* item) {
  if (const int index = IndexOf(item); index >= 0) Delete(index);
}

void TMenuItem::Clear() {
  while (!items_.empty())
    items_.back()->Free();
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
  const auto found = std::find(items_.begin(), items_.end(), item);
  return found == items_.end() ? -1 : static_cast<int>(found - items_.begin());
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* root = this;
  while (root->parent_ != nullptr)
    root = root->parent_;
  return root->menu_;
}

TMenuItem* TMenuItem::FindShortCut(TShortCut shortCut) const {
  for (TMenuItem* item : items_) {
    if (item->shortCut_ == shortCut) return item;
    if (TMenuItem* inner = item->FindShortCut(shortCut)) return inner;
  }
  return nullptr;
}

void TMenuItem::Click() {
  if (!enabled_) return;
  if (auto* popup = dynamic_cast<TPopupMenu*>(GetParentMenu())) popup->CloseMenu();
  if (autoCheck_ && !(radioItem_ && checked_)) SetChecked(!checked_);
  OnClick(this);
}

void TMenuItem::SetParentComponent(TComponent* parent) {
  TMenuItem* container = dynamic_cast<TMenuItem*>(parent);
  if (auto* menu = dynamic_cast<TMenu*>(parent)) container = menu->Items();
  if (container == nullptr || container == parent_) return;
  if (parent_ != nullptr) parent_->Remove(this);
  container->Add(this);
}

TComponent* TMenuItem::GetParentComponent() const {
  if (parent_ != nullptr && parent_->menu_ != nullptr) return parent_->menu_;
  return parent_;
}

// ---- TMenu -----------------------------------------------------------------

const ClassInfo& TMenu::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TMenu>("TMenu", &TComponent::StaticClassInfo())
          .object<TCustomImageList>("Images", &TMenu::Images, &TMenu::SetImages)
          .property("OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw)
          .defaultValue(0)
          .build();
  return info;
}

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(new TMenuItem(nullptr)) {
  items_->menu_ = this;
}

TMenu::~TMenu() = default;

void TMenu::SetImages(TCustomImageList* images) {
  images_ = images;
}

bool TMenu::IsShortCut(std::uint16_t key, TShiftState shift) {
  TMenuItem* item = items_->FindShortCut(ShortCut(key, shift));
  if (item == nullptr) return false;
  // Parents are clicked first, as when the person opens each level of the menu.
  std::vector<TMenuItem*> chain;
  for (TMenuItem* level = item; level != items_.get(); level = level->Parent())
    chain.push_back(level);
  for (auto level = chain.rbegin(); level != chain.rend(); ++level) {
    if (!(*level)->Enabled()) break;
    (*level)->Click();
  }
  return true;
}

const ClassInfo& TMainMenu::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TMainMenu>("TMainMenu", &TMenu::StaticClassInfo())
          .creatable()
          .property("AutoMerge", &TMainMenu::AutoMerge, &TMainMenu::SetAutoMerge)
          .defaultValue(0)
          .build();
  return info;
}

// ---- TPopupMenu ------------------------------------------------------------

const ClassInfo& TPopupMenu::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TPopupMenu>("TPopupMenu", &TMenu::StaticClassInfo())
          .creatable()
          .property("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup)
          .defaultValue(1)
          .event("OnPopup", &TPopupMenu::OnPopup)
          .build();
  return info;
}

void TPopupMenu::Popup(int x, int y) {
  popupPoint_ = {x, y};
  OnPopup(this);
  poppedUp_ = true;
}

}  // namespace ox
