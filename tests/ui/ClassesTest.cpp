#include <gtest/gtest.h>

#include "ui/Classes.h"

namespace ox {
namespace {

// Records the notifications it receives.
class TWatcher : public TComponent {
 public:
  using TComponent::TComponent;
  std::vector<std::string> seen;
  void Notification(TComponent* component, TOperation operation) override {
    seen.push_back((operation == TOperation::opInsert ? "+" : "-") + component->Name());
  }
};

TEST(Component, OwnsItsComponentsInCreationOrder) {
  auto owner = std::make_unique<TWatcher>(nullptr);
  auto* a = new TComponent(owner.get());
  a->SetName("edBegin");
  auto* b = new TComponent(owner.get());
  b->SetName("edFinal");
  EXPECT_EQ(owner->ComponentCount(), 2);
  EXPECT_EQ(owner->Components(1), b);
  EXPECT_EQ(owner->FindComponent("EDBEGIN"), a);
  EXPECT_EQ(owner->FindComponent(""), nullptr);
  EXPECT_EQ(b->ComponentIndex(), 1);
  EXPECT_THROW(owner->Components(2), EListError);

  EXPECT_THROW(b->SetName("EdBegin"), EComponentError);
  EXPECT_THROW(b->SetName("1abc"), EComponentError);
  EXPECT_THROW(b->SetName("a b"), EComponentError);
  b->SetName("EDFINAL");  // a change of case only is fine
  EXPECT_EQ(b->Name(), "EDFINAL");

  delete a;  // freeing one takes it out of its owner
  EXPECT_EQ(owner->ComponentCount(), 1);
  EXPECT_EQ(owner->seen.back(), "-edBegin");
}

TEST(Component, ReferencesNeverDangle) {
  TComponent owner(nullptr);
  auto* label = new TComponent(&owner);
  TWatcher watcher(nullptr);
  watcher.FreeNotification(label);
  label->SetName("lbl01");
  ComponentRef<TComponent> ref(label);
  EXPECT_EQ(ref.get(), label);
  delete label;
  EXPECT_EQ(ref.get(), nullptr);
  EXPECT_EQ(watcher.seen, std::vector<std::string>{"-lbl01"});
}

TEST(Component, FreesOwnedComponentsLastFirst) {
  std::vector<std::string> freed;
  class TNoisy : public TComponent {
   public:
    TNoisy(TComponent* owner, std::vector<std::string>& log) : TComponent(owner), log_(log) {}
    ~TNoisy() override { log_.push_back(Name()); }

   private:
    std::vector<std::string>& log_;
  };
  {
    TComponent owner(nullptr);
    (new TNoisy(&owner, freed))->SetName("first");
    (new TNoisy(&owner, freed))->SetName("second");
  }
  EXPECT_EQ(freed, (std::vector<std::string>{"second", "first"}));
}

TEST(Strings, ListsTextsValuesAndCommaText) {
  TStringList list;
  struct Counter {
    int changes = 0;
    void Changed(TObject*) { ++changes; }
  } counter;
  list.OnChange = MakeMethod<&Counter::Changed>(&counter);
  list.SetText("a=1\r\nB=2\nc\rlast");
  EXPECT_EQ(counter.changes, 1);  // one change for the whole text
  EXPECT_EQ(list.Count(), 4);
  EXPECT_EQ(list.Values("b"), "2");
  EXPECT_EQ(list.IndexOfName("c"), -1);
  EXPECT_EQ(list.Text(), "a=1\r\nB=2\r\nc\r\nlast\r\n");
  list.SetValues("a", "9");
  EXPECT_EQ(list.Strings(0), "a=9");
  list.SetValues("a", "");
  EXPECT_EQ(list.IndexOfName("a"), -1);

  list.SetCommaText("one, \"two, three\" ,\"say \"\"hi\"\"\",,x");
  EXPECT_EQ(list.Count(), 5);
  EXPECT_EQ(list.Strings(1), "two, three");
  EXPECT_EQ(list.Strings(2), "say \"hi\"");
  EXPECT_EQ(list.Strings(3), "");
  EXPECT_EQ(list.CommaText(), "one,\"two, three\",\"say \"\"hi\"\"\",\"\",x");
}

TEST(Strings, SortedListsKeepOrderAndDuplicatesRule) {
  TStringList list;
  list.SetSorted(true);
  for (const char* text : {"b", "A", "c", "a"})
    list.Add(text);
  EXPECT_EQ(list.CommaText(), "A,b,c");  // "a" is a duplicate of "A" ignoring case
  EXPECT_EQ(list.IndexOf("B"), 1);
  EXPECT_EQ(list.IndexOf("d"), -1);
  list.SetDuplicates(TDuplicates::dupError);
  EXPECT_THROW(list.Add("C"), EListError);
  list.SetDuplicates(TDuplicates::dupAccept);
  list.Add("C");
  EXPECT_EQ(list.Count(), 4);
  EXPECT_THROW(list.Insert(0, "x"), EListError);
  EXPECT_THROW(list.Strings(9), EListError);
}

}  // namespace
}  // namespace ox
