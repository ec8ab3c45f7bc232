#include "ui/Classes.h"

#include <algorithm>

#include "platform/AsciiText.h"

namespace ox {

namespace {

bool IsIdentifier(std::string_view name) {
  if (name.empty() || (name[0] >= '0' && name[0] <= '9')) return false;
  return std::all_of(name.begin(), name.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
  });
}

[[noreturn]] void IndexError(int index) {
  throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

void Erase(std::vector<TComponent*>& list, TComponent* component) {
  list.erase(std::remove(list.begin(), list.end(), component), list.end());
}

}  // namespace

// ---- TPersistent -----------------------------------------------------------

const ClassInfo& TPersistent::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TPersistent>("TPersistent", &TObject::StaticClassInfo()).build();
  return info;
}

void TPersistent::Assign(const TPersistent& source) {
  throw EConvertError("Cannot assign a " + source.ClassName() + " to a " + ClassName());
}

// ---- TComponent ------------------------------------------------------------

const ClassInfo& TComponent::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TComponent>("TComponent", &TPersistent::StaticClassInfo())
          .property("Name", &TComponent::Name, &TComponent::SetName)
          .property("Tag", &TComponent::Tag, &TComponent::SetTag)
          .defaultValue(0)
          .build();
  return info;
}

TComponent::TComponent(TComponent* owner) {
  if (owner != nullptr) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  state_ |= csDestroying;
  for (TComponent* watcher : std::vector<TComponent*>(watchers_)) {
    watcher->Notification(this, TOperation::opRemove);
    Erase(watcher->watched_, this);
  }
  for (TComponent* watched : watched_)
    Erase(watched->watchers_, this);
  while (!components_.empty()) {
    TComponent* last = components_.back();
    components_.pop_back();
    last->owner_ = nullptr;
    last->Free();
  }
  if (owner_ != nullptr) owner_->RemoveComponent(this);
}

void TComponent::Free() {
  BeforeDestruction();
  delete this;
}

void TComponent::SetName(std::string_view name) {
  if (SameTextAscii(name, name_) && name.size() == name_.size()) {
    name_ = name;
    return;
  }
  if (!name.empty() && !IsIdentifier(name))
    throw EComponentError("'" + std::string(name) + "' is not a valid component name");
  if (owner_ != nullptr && !name.empty()) {
    const TComponent* other = owner_->FindComponent(name);
    if (other != nullptr && other != this)
      throw EComponentError("A component named " + std::string(name) + " already exists");
  }
  name_ = name;
}

TComponent* TComponent::Components(int index) const {
  if (index < 0 || index >= ComponentCount()) IndexError(index);
  return components_[static_cast<std::size_t>(index)];
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (TComponent* component : components_)
    if (SameTextAscii(component->name_, name)) return component;
  return nullptr;
}

int TComponent::ComponentIndex() const {
  if (owner_ == nullptr) return -1;
  const auto& list = owner_->components_;
  return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

void TComponent::InsertComponent(TComponent* component) {
  if (component->owner_ != nullptr) component->owner_->RemoveComponent(component);
  if (!component->name_.empty() && FindComponent(component->name_) != nullptr)
    throw EComponentError("A component named " + component->name_ + " already exists");
  components_.push_back(component);
  component->owner_ = this;
  Notification(component, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  Notification(component, TOperation::opRemove);
  Erase(components_, component);
  component->owner_ = nullptr;
}

void TComponent::SetLoading(bool loading) {
  state_ = loading ? (state_ | csLoading) : (state_ & ~csLoading);
}

void TComponent::FreeNotification(TComponent* other) {
  if (other == nullptr || other == this) return;
  if (std::find(other->watchers_.begin(), other->watchers_.end(), this) == other->watchers_.end()) {
    other->watchers_.push_back(this);
    watched_.push_back(other);
  }
}

void TComponent::RemoveFreeNotification(TComponent* other) {
  if (other == nullptr) return;
  Erase(other->watchers_, this);
  Erase(watched_, other);
}

void TComponent::Notification(TComponent*, TOperation) {}

void TComponent::Loaded() {
  SetLoading(false);
}

void TComponent::SetParentComponent(TComponent*) {}

// ---- TStrings --------------------------------------------------------------

const ClassInfo& TStrings::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TStrings>("TStrings", &TPersistent::StaticClassInfo()).build();
  return info;
}

const std::string& TStrings::Strings(int index) const {
  if (index < 0 || index >= Count()) IndexError(index);
  return items_[static_cast<std::size_t>(index)].text;
}

void TStrings::SetStrings(int index, std::string text) {
  if (index < 0 || index >= Count()) IndexError(index);
  items_[static_cast<std::size_t>(index)].text = std::move(text);
  Changed();
}

TObject* TStrings::Objects(int index) const {
  if (index < 0 || index >= Count()) IndexError(index);
  return items_[static_cast<std::size_t>(index)].object;
}

void TStrings::SetObjects(int index, TObject* object) {
  if (index < 0 || index >= Count()) IndexError(index);
  items_[static_cast<std::size_t>(index)].object = object;
  Changed();
}

int TStrings::Add(std::string text) {
  Insert(Count(), std::move(text));
  return Count() - 1;
}

int TStrings::AddObject(std::string text, TObject* object) {
  BeginUpdate();  // one change for the line and its object
  try {
    const int index = Add(std::move(text));
    SetObjects(index, object);
    EndUpdate();
    return index;
  } catch (...) {
    EndUpdate();
    throw;
  }
}

void TStrings::Insert(int index, std::string text) {
  if (index < 0 || index > Count()) IndexError(index);
  items_.insert(items_.begin() + index, Item{std::move(text), nullptr});
  Changed();
}

void TStrings::Delete(int index) {
  if (index < 0 || index >= Count()) IndexError(index);
  items_.erase(items_.begin() + index);
  Changed();
}

void TStrings::Clear() {
  if (items_.empty()) return;
  items_.clear();
  Changed();
}

int TStrings::IndexOf(std::string_view text) const {
  for (int i = 0; i < Count(); ++i)
    if (SameNarrowText(items_[static_cast<std::size_t>(i)].text, text)) return i;
  return -1;
}

int TStrings::IndexOfName(std::string_view name) const {
  for (int i = 0; i < Count(); ++i)
    if (SameNarrowText(Names(i), name) && Strings(i).find('=') != std::string::npos) return i;
  return -1;
}

int TStrings::IndexOfObject(const TObject* object) const {
  for (int i = 0; i < Count(); ++i)
    if (items_[static_cast<std::size_t>(i)].object == object) return i;
  return -1;
}

std::string TStrings::Names(int index) const {
  const std::string& line = Strings(index);
  const std::size_t equals = line.find('=');
  return equals == std::string::npos ? std::string() : line.substr(0, equals);
}

std::string TStrings::ValueFromIndex(int index) const {
  const std::string& line = Strings(index);
  const std::size_t equals = line.find('=');
  return equals == std::string::npos ? std::string() : line.substr(equals + 1);
}

std::string TStrings::Values(std::string_view name) const {
  const int index = IndexOfName(name);
  return index < 0 ? std::string() : ValueFromIndex(index);
}

void TStrings::SetValues(std::string_view name, std::string_view value) {
  const int index = IndexOfName(name);
  const std::string line = std::string(name) + "=" + std::string(value);
  if (value.empty()) {
    if (index >= 0) Delete(index);
  } else if (index >= 0) {
    SetStrings(index, line);
  } else {
    Add(line);
  }
}

std::string TStrings::Text() const {
  std::string text;
  for (const Item& item : items_)
    text.append(item.text).append("\r\n");
  return text;
}

void TStrings::SetText(std::string_view text) {
  BeginUpdate();
  Clear();
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      Add(std::string(text.substr(start)));
      break;
    }
    Add(std::string(text.substr(start, end - start)));
    start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
  }
  EndUpdate();
}

std::string TStrings::CommaText() const {
  std::string text;
  for (int i = 0; i < Count(); ++i) {
    if (i > 0) text += ',';
    const std::string& line = Strings(i);
    if (line.empty() || line.find_first_of(" ,\"") != std::string::npos) {
      text += '"';
      for (char c : line)
        text += c == '"' ? std::string("\"\"") : std::string(1, c);
      text += '"';
    } else {
      text += line;
    }
  }
  return text;
}

void TStrings::SetCommaText(std::string_view text) {
  BeginUpdate();
  Clear();
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && text[i] == ' ')
      ++i;
    std::string line;
    if (i < text.size() && text[i] == '"') {
      for (++i; i < text.size(); ++i) {
        if (text[i] == '"') {
          if (i + 1 < text.size() && text[i + 1] == '"') {
            line += '"';
            ++i;
          } else {
            ++i;
            break;
          }
        } else {
          line += text[i];
        }
      }
      while (i < text.size() && text[i] != ',')
        ++i;
    } else {
      while (i < text.size() && text[i] != ',')
        line += text[i++];
      while (!line.empty() && line.back() == ' ')
        line.pop_back();
    }
    Add(std::move(line));
    if (i < text.size() && text[i] == ',') ++i;
  }
  EndUpdate();
}

void TStrings::Assign(const TPersistent& source) {
  const auto* other = dynamic_cast<const TStrings*>(&source);
  if (other == nullptr) return TPersistent::Assign(source);
  if (other == this) return;
  BeginUpdate();
  items_ = other->items_;
  EndUpdate();
}

void TStrings::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) Changed();
}

void TStrings::Changed() {
  if (updateCount_ == 0) OnChange(this);
}

// ---- TStringList -----------------------------------------------------------

const ClassInfo& TStringList::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TStringList>("TStringList", &TStrings::StaticClassInfo()).build();
  return info;
}

void TStringList::SetSorted(bool sorted) {
  if (sorted && !sorted_) Sort();
  sorted_ = sorted;
}

namespace {

bool LessIgnoringCase(const std::string& a, const std::string& b) {
  return UpperNarrow(a) < UpperNarrow(b);
}

}  // namespace

int TStringList::Add(std::string text) {
  if (!sorted_) return TStrings::Add(std::move(text));
  const auto position = std::lower_bound(items_.begin(), items_.end(), text,
                                         [](const Item& item, const std::string& value) {
                                           return LessIgnoringCase(item.text, value);
                                         });
  const int index = static_cast<int>(position - items_.begin());
  if (position != items_.end() && SameNarrowText(position->text, text)) {
    if (duplicates_ == TDuplicates::dupIgnore) return index;
    if (duplicates_ == TDuplicates::dupError)
      throw EListError("String list does not allow duplicates");
  }
  items_.insert(position, Item{std::move(text), nullptr});
  Changed();
  return index;
}

void TStringList::Insert(int index, std::string text) {
  if (sorted_) throw EListError("Operation not allowed on sorted list");
  TStrings::Insert(index, std::move(text));
}

int TStringList::IndexOf(std::string_view text) const {
  if (!sorted_) return TStrings::IndexOf(text);
  const std::string key(text);
  const auto position = std::lower_bound(items_.begin(), items_.end(), key,
                                         [](const Item& item, const std::string& value) {
                                           return LessIgnoringCase(item.text, value);
                                         });
  return position != items_.end() && SameNarrowText(position->text, key)
             ? static_cast<int>(position - items_.begin())
             : -1;
}

void TStringList::Sort() {
  std::stable_sort(items_.begin(), items_.end(),
                   [](const Item& a, const Item& b) { return LessIgnoringCase(a.text, b.text); });
  Changed();
}

// ---- collections -----------------------------------------------------------

const ClassInfo& TCollectionItem::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TCollectionItem>("TCollectionItem", &TPersistent::StaticClassInfo()).build();
  return info;
}

TCollectionItem::TCollectionItem(TCollection* collection) : collection_(collection) {}

int TCollectionItem::Index() const {
  return collection_ ? collection_->IndexOf(this) : -1;
}

const ClassInfo& TCollection::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TCollection>("TCollection", &TPersistent::StaticClassInfo()).build();
  return info;
}

TCollection::TCollection(const ClassInfo& itemClass, ItemFactory factory)
    : itemClass_(itemClass), factory_(factory) {}

TCollectionItem* TCollection::Items(int index) const {
  if (index < 0 || index >= Count()) IndexError(index);
  return items_[static_cast<std::size_t>(index)].get();
}

TCollectionItem* TCollection::Add() {
  items_.push_back(factory_(this));
  OnChange(this);
  return items_.back().get();
}

void TCollection::Delete(int index) {
  if (index < 0 || index >= Count()) IndexError(index);
  items_.erase(items_.begin() + index);
  OnChange(this);
}

void TCollection::Clear() {
  items_.clear();
  OnChange(this);
}

int TCollection::IndexOf(const TCollectionItem* item) const {
  for (int i = 0; i < Count(); ++i)
    if (items_[static_cast<std::size_t>(i)].get() == item) return i;
  return -1;
}

}  // namespace ox
