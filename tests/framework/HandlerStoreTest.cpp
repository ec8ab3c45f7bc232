#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/HandlerStore.h"
#include "ui/Events.h"

namespace ox {
namespace {

// A handler owner that records the senders its first handler ran with.
struct Recorder {
  std::vector<TObject*> senders;
  void First(TObject* sender) { senders.push_back(sender); }
  void Second(TObject*) {}
};

std::vector<std::string> Keys(const HandlerStore& store) {
  std::vector<std::string> keys;
  for (int i = 0; i < store.Lines().Count(); ++i)
    keys.push_back(store.Lines().Strings(i));
  return keys;
}

TEST(HandlerStoreTest, SavedHandlerRunsOnItsObjectWithTheSender) {
  Recorder recorder;
  HandlerStore store;
  store.Save("btnOk", "OnClick", MakeMethod<&Recorder::First>(&recorder));

  TStringList sender;
  const TNotifyEvent restored(store.Saved("btnOk", "OnClick"));
  restored(&sender);
  EXPECT_EQ(recorder.senders, std::vector<TObject*>{&sender});
  EXPECT_EQ(Keys(store), (std::vector<std::string>{"btnOk.OnClick.Code", "btnOk.OnClick.Data"}));
}

TEST(HandlerStoreTest, TheFirstSavedHandlerWins) {
  Recorder recorder;
  Recorder other;
  HandlerStore store;
  const TMethod first = MakeMethod<&Recorder::First>(&recorder);
  store.Save("btnOk", "OnClick", first);
  store.Save("btnOk", "OnClick", MakeMethod<&Recorder::Second>(&other));
  // A form re-wiring its buttons saves its own checking handler on the second round.
  store.Save("BTNOK", "OnClick", MakeMethod<&Recorder::Second>(&recorder));

  EXPECT_EQ(store.Saved("btnOk", "OnClick"), first);
  EXPECT_EQ(store.Saved("btnok", "onclick"), first);
  EXPECT_EQ(store.Lines().Count(), 6);
}

TEST(HandlerStoreTest, OnlyNonEmptyPartsGetAKey) {
  Recorder recorder;
  HandlerStore store;
  store.Save("edDate", "OnEnter", TMethod{});
  EXPECT_EQ(store.Lines().Count(), 0);
  EXPECT_EQ(store.Saved("edDate", "OnEnter"), TMethod{});

  // Nothing was kept, so a later handler is the first one.
  const TMethod enter = MakeMethod<&Recorder::First>(&recorder);
  store.Save("edDate", "OnEnter", enter);
  EXPECT_EQ(store.Saved("edDate", "OnEnter"), enter);

  // A handler without an object keeps only its code.
  const TMethod exit = MakeMethod<&Recorder::Second>(nullptr);
  store.Save("edDate", "OnExit", exit);
  EXPECT_EQ(Keys(store), (std::vector<std::string>{"edDate.OnEnter.Code", "edDate.OnEnter.Data",
                                                   "edDate.OnExit.Code"}));
  EXPECT_EQ(store.Saved("edDate", "OnExit"), exit);
}

TEST(HandlerStoreTest, ControlsAndEventsAreKeptApart) {
  Recorder recorder;
  HandlerStore store;
  const TMethod enter = MakeMethod<&Recorder::First>(&recorder);
  const TMethod exit = MakeMethod<&Recorder::Second>(&recorder);
  store.Save("edDate", "OnEnter", enter);
  store.Save("edDate", "OnExit", exit);

  EXPECT_EQ(store.Saved("edDate", "OnEnter"), enter);
  EXPECT_EQ(store.Saved("edDate", "OnExit"), exit);
  EXPECT_EQ(store.Saved("edDate2", "OnEnter"), TMethod{});
  EXPECT_EQ(store.Saved("edDat", "OnEnter"), TMethod{});
  EXPECT_EQ(store.Saved("edDate", "OnClick"), TMethod{});
}

TEST(HandlerStoreTest, ClearForgetsEverySavedHandler) {
  Recorder recorder;
  HandlerStore store;
  store.Save("btnOk", "OnClick", MakeMethod<&Recorder::First>(&recorder));
  store.Clear();
  EXPECT_EQ(store.Lines().Count(), 0);
  EXPECT_EQ(store.Saved("btnOk", "OnClick"), TMethod{});

  const TMethod second = MakeMethod<&Recorder::Second>(&recorder);
  store.Save("btnOk", "OnClick", second);
  EXPECT_EQ(store.Saved("btnOk", "OnClick"), second);
}

}  // namespace
}  // namespace ox
