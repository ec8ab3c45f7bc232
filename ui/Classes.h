// The base classes of the component model: persistent objects, components with owners
// and names, string lists and collections.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/TypeInfo.h"

namespace ox {

// A component name that is no identifier, or one its owner already has.
class EComponentError : public Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "EComponentError"; }
};

// An index outside a list.
class EListError : public Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "EListError"; }
};

// An object whose published state can be copied from another (Assign).
class TPersistent : public TObject {
 public:
  OX_CLASS_INFO()
  // Copies the state of `source`; raises EConvertError when the classes do not fit.
  virtual void Assign(const TPersistent& source);
};

enum class TOperation { opInsert, opRemove };

// Component states the model looks at.
enum ComponentStateFlag : unsigned {
  csLoading = 1u << 0,     // being read from a form resource
  csDestroying = 1u << 1,  // in its destructor
};

class TComponent : public TPersistent {
 public:
  OX_CLASS_INFO()
  // Owned components are freed with their owner, the last created first.
  explicit TComponent(TComponent* owner);
  ~TComponent() override;
  // Frees the component: BeforeDestruction while it is whole (forms fire OnDestroy
  // there), then the destructor. Owners free their components this way; code that
  // deletes a component itself should call Free too (see FreeDeleter).
  void Free();
  virtual void BeforeDestruction() {}
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  const std::string& Name() const { return name_; }
  // Sets the name: empty, or an identifier (letters, digits, "_", not starting with a
  // digit) that no other component of the owner has (ignoring case).
  virtual void SetName(std::string_view name);
  TComponent* Owner() const { return owner_; }
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int index) const;
  // The owned component of that name (ignoring case), or null.
  TComponent* FindComponent(std::string_view name) const;
  int ComponentIndex() const;
  void InsertComponent(TComponent* component);
  void RemoveComponent(TComponent* component);

  std::int64_t Tag() const { return tag_; }
  void SetTag(std::int64_t tag) { tag_ = tag; }
  unsigned ComponentState() const { return state_; }
  bool IsLoading() const { return (state_ & csLoading) != 0; }
  bool IsDestroying() const { return (state_ & csDestroying) != 0; }
  void SetLoading(bool loading);

  // Asks to be told (Notification with opRemove) when `other` is freed.
  void FreeNotification(TComponent* other);
  void RemoveFreeNotification(TComponent* other);
  // Called when an owned or watched component is inserted or freed.
  virtual void Notification(TComponent* component, TOperation operation);
  // Called once a form resource has been read into the component.
  virtual void Loaded();
  // Called by the form reader for a component written inside another one: a control
  // takes it as its parent; other components ignore it.
  virtual void SetParentComponent(TComponent* parent);
  // The component this one sits in (a control's parent), or null.
  virtual TComponent* GetParentComponent() const { return nullptr; }

  // A token that lives as long as the component, for weak references.
  std::weak_ptr<void> LifeToken() const { return life_; }

 private:
  std::string name_;
  TComponent* owner_ = nullptr;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> watchers_;  // told when this one is freed
  std::vector<TComponent*> watched_;   // this one is told when they are freed
  std::int64_t tag_ = 0;
  unsigned state_ = 0;
  std::shared_ptr<void> life_ = std::make_shared<char>(0);
};

// Frees through TComponent::Free: std::unique_ptr<TForm, FreeDeleter>.
struct FreeDeleter {
  void operator()(TComponent* component) const {
    if (component != nullptr) component->Free();
  }
};
template <typename T>
using Owned = std::unique_ptr<T, FreeDeleter>;

// A reference to a component that reads as null once the component is freed.
template <typename T>
class ComponentRef {
 public:
  ComponentRef() = default;
  ComponentRef(T* component)  // NOLINT: a plain pointer converts
      : component_(component), life_(component ? component->LifeToken() : std::weak_ptr<void>()) {}
  T* get() const { return life_.expired() ? nullptr : component_; }
  T* operator->() const { return get(); }
  explicit operator bool() const { return get() != nullptr; }

 private:
  T* component_ = nullptr;
  std::weak_ptr<void> life_;
};

// An ordered list of narrow texts, each with an optional object, as the framework's
// string lists: Text joins lines with CR LF, Values reads "name=value" lines.
class TStrings : public TPersistent {
 public:
  OX_CLASS_INFO()
  int Count() const { return static_cast<int>(items_.size()); }
  const std::string& Strings(int index) const;
  void SetStrings(int index, std::string text);
  TObject* Objects(int index) const;
  void SetObjects(int index, TObject* object);
  virtual int Add(std::string text);
  int AddObject(std::string text, TObject* object);
  virtual void Insert(int index, std::string text);
  virtual void Delete(int index);
  virtual void Clear();
  // The first line equal to `text` (ignoring case), or -1.
  virtual int IndexOf(std::string_view text) const;
  // The first line "name=..." for that name (ignoring case), or -1.
  int IndexOfName(std::string_view name) const;
  int IndexOfObject(const TObject* object) const;
  std::string Names(int index) const;
  std::string ValueFromIndex(int index) const;
  std::string Values(std::string_view name) const;
  void SetValues(std::string_view name, std::string_view value);
  // Every line followed by CR LF; setting splits at CR LF, LF or CR.
  std::string Text() const;
  void SetText(std::string_view text);
  // Lines separated by ","; a line with blanks, commas or quotes is quoted.
  std::string CommaText() const;
  void SetCommaText(std::string_view text);
  void Assign(const TPersistent& source) override;
  void BeginUpdate() { ++updateCount_; }
  void EndUpdate();
  TNotifyEvent OnChange;

 protected:
  struct Item {
    std::string text;
    TObject* object = nullptr;
  };
  void Changed();
  std::vector<Item> items_;

 private:
  int updateCount_ = 0;
};

enum class TDuplicates { dupIgnore, dupAccept, dupError };

// A string list that may keep its lines sorted (ignoring case).
class TStringList : public TStrings {
 public:
  OX_CLASS_INFO()
  bool Sorted() const { return sorted_; }
  void SetSorted(bool sorted);
  TDuplicates Duplicates() const { return duplicates_; }
  void SetDuplicates(TDuplicates duplicates) { duplicates_ = duplicates; }
  int Add(std::string text) override;
  void Insert(int index, std::string text) override;
  int IndexOf(std::string_view text) const override;
  void Sort();

 private:
  bool sorted_ = false;
  TDuplicates duplicates_ = TDuplicates::dupIgnore;
};

class TCollection;

// One item of a collection; its published properties are declared by its class.
class TCollectionItem : public TPersistent {
 public:
  OX_CLASS_INFO()
  explicit TCollectionItem(TCollection* collection);
  TCollection* Collection() const { return collection_; }
  int Index() const;
  // A token that lives as long as the item, for weak references.
  std::weak_ptr<void> LifeToken() const { return life_; }

 private:
  TCollection* collection_;
  std::shared_ptr<void> life_ = std::make_shared<char>(0);
};

// An owned list of items of one class (list view columns, status bar panels).
class TCollection : public TPersistent {
 public:
  OX_CLASS_INFO()
  using ItemFactory = std::unique_ptr<TCollectionItem> (*)(TCollection*);
  TCollection(const ClassInfo& itemClass, ItemFactory factory);
  const ClassInfo& ItemClass() const { return itemClass_; }
  int Count() const { return static_cast<int>(items_.size()); }
  TCollectionItem* Items(int index) const;
  TCollectionItem* Add();
  void Delete(int index);
  void Clear();
  int IndexOf(const TCollectionItem* item) const;
  TNotifyEvent OnChange;

 private:
  const ClassInfo& itemClass_;
  ItemFactory factory_;
  std::vector<std::unique_ptr<TCollectionItem>> items_;
};

}  // namespace ox
