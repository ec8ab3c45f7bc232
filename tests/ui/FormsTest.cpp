#include <gtest/gtest.h>

#include "platform/WinMessages.h"
#include "tests/ui/ControlInput.h"
#include "ui/Forms.h"

namespace ox {
namespace {

// A form whose handlers log what happens to it and to its controls.
class TLogForm : public TForm {
 public:
  OX_CLASS_INFO()
  explicit TLogForm(TComponent* owner) : TForm(owner) {
    OnShow = MakeMethod<&TLogForm::Log<'S'>>(this);
    OnHide = MakeMethod<&TLogForm::Log<'H'>>(this);
    OnDestroy = MakeMethod<&TLogForm::Destroyed>(this);
    SetBounds(0, 0, 400, 300);
  }

  // A windowed child with its enter and exit events logged.
  TWinControl* AddBox(const char* name, TWinControl* parent = nullptr, bool tabStop = true) {
    auto* box = new TWinControl(this);
    box->SetName(name);
    box->SetParent(parent != nullptr ? parent : this);
    box->SetTabStop(tabStop);
    box->SetBounds(10, 10 + 30 * ControlCount(), 100, 20);
    box->OnEnter = MakeMethod<&TLogForm::Entered>(this);
    box->OnExit = MakeMethod<&TLogForm::Exited>(this);
    return box;
  }

  template <char Tag>
  void Log(TObject*) {
    log += std::string(1, Tag) + " ";
  }
  void Entered(TObject* sender) {
    log += "enter:" + static_cast<TComponent*>(sender)->Name() + " ";
  }
  void Exited(TObject* sender) {
    log += "exit:" + static_cast<TComponent*>(sender)->Name() + " ";
    if (refuseExitOf == sender) static_cast<TWinControl*>(sender)->SetFocus();
  }
  void Destroyed(TObject*) {
    if (destroyedFlag != nullptr) *destroyedFlag = true;
  }
  void KeyLogger(TObject*, std::uint16_t& key, TShiftState) {
    log += "formkey:" + std::to_string(key) + " ";
    if (key == swallow) key = 0;
  }
  void BoxKey(TObject* sender, std::uint16_t& key, TShiftState) {
    log += static_cast<TComponent*>(sender)->Name() + "key:" + std::to_string(key) + " ";
  }
  void CloseAction(TObject*, TCloseAction& action) { action = closeAction; }

  std::string log;
  TObject* refuseExitOf = nullptr;
  bool* destroyedFlag = nullptr;
  std::uint16_t swallow = 0;
  TCloseAction closeAction = TCloseAction::caHide;
};

const ClassInfo& TLogForm::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TLogForm>("TLogForm", &TForm::StaticClassInfo()).build();
  return info;
}

class FormsTest : public ::testing::Test {
 protected:
  Owned<TLogForm> form{CreateForm<TLogForm>(nullptr)};
};

TEST_F(FormsTest, FocusMovesWithExitThenEnterInTheFrameworkOrder) {
  TWinControl* panel = form->AddBox("panel", nullptr, false);
  TWinControl* inner = form->AddBox("inner", panel);
  TWinControl* other = form->AddBox("other");
  form->Show();
  EXPECT_EQ(form->log, "S enter:panel enter:inner ");  // the first tab stop, from outside in
  EXPECT_EQ(form->ActiveControl(), inner);
  EXPECT_TRUE(inner->Focused());

  form->log.clear();
  other->SetFocus();
  EXPECT_EQ(form->log, "exit:inner exit:panel enter:other ");
  EXPECT_EQ(Screen().ActiveControl(), other);

  // An OnExit that keeps the focus ends the move silently.
  form->log.clear();
  form->refuseExitOf = other;
  inner->SetFocus();
  EXPECT_EQ(form->log, "exit:other ");
  EXPECT_EQ(form->ActiveControl(), other);
  EXPECT_TRUE(other->Focused());
}

TEST_F(FormsTest, TabAndWindowMessagesNavigateLikeAPerson) {
  TWinControl* a = form->AddBox("a");
  TWinControl* b = form->AddBox("b");
  TWinControl* skipped = form->AddBox("skipped", nullptr, false);
  TWinControl* c = form->AddBox("c");
  c->SetTabOrder(0);  // c comes first now
  form->Show();
  EXPECT_EQ(form->ActiveControl(), c);

  test::Press(VK_TAB);
  EXPECT_EQ(form->ActiveControl(), a);
  test::Press(VK_TAB);
  EXPECT_EQ(form->ActiveControl(), b);
  test::Press(VK_TAB);  // "skipped" has no tab stop
  EXPECT_EQ(form->ActiveControl(), c);
  test::Press(VK_TAB, ssShift);
  EXPECT_EQ(form->ActiveControl(), b);

  PostMessage(form->Handle(), WM_NEXTDLGCTL, 0, 0);
  ProcessMessages();
  EXPECT_EQ(form->ActiveControl(), c);

  skipped->SetEnabled(false);
  EXPECT_THROW(skipped->SetFocus(), EInvalidOperation);
  // Automation finds controls by name and focuses them through the window layer.
  SetFocusWindow(FindChildWindow(form->Handle(), "B"));
  EXPECT_EQ(form->ActiveControl(), b);
}

TEST_F(FormsTest, KeyPreviewLetsTheFormSeeKeysFirst) {
  TWinControl* box = form->AddBox("box");
  box->OnKeyDown = MakeMethod<&TLogForm::BoxKey>(form.get());
  form->OnKeyDown = MakeMethod<&TLogForm::KeyLogger>(form.get());
  form->Show();
  form->log.clear();
  test::Press(*box, VK_F2);
  EXPECT_EQ(form->log, "boxkey:113 ");  // no preview yet

  form->log.clear();
  form->SetKeyPreview(true);
  form->swallow = VK_F2;
  test::Press(*box, VK_F2);
  test::Press(*box, VK_F3);
  EXPECT_EQ(form->log, "formkey:113 formkey:114 boxkey:114 ");
}

TEST_F(FormsTest, ModalFormsReturnTheirModalResult) {
  form->AddBox("box");
  Application().SetModalDriver([](TCustomForm& modal) {
    modal.SetModalResult(mrOk);
    return true;
  });
  EXPECT_EQ(form->ShowModal(), mrOk);
  EXPECT_FALSE(form->Visible());
  EXPECT_EQ(form->log.substr(0, 2), "S ");

  // Nobody to answer: the form is cancelled instead of waiting forever.
  Application().SetModalDriver(nullptr);
  EXPECT_EQ(form->ShowModal(), mrCancel);

  // OnCloseQuery can keep a modal form open.
  int asked = 0;
  Application().SetModalDriver([&](TCustomForm& modal) {
    modal.SetModalResult(++asked < 3 ? mrCancel : mrOk);
    return true;
  });
  struct Query {
    int* asked;
    void CanClose(TObject*, bool& can) { can = *asked >= 3; }
  } query{&asked};
  form->OnCloseQuery = MakeMethod<&Query::CanClose>(&query);
  EXPECT_EQ(form->ShowModal(), mrOk);
  EXPECT_EQ(asked, 3);
  Application().SetModalDriver(nullptr);
}

TEST_F(FormsTest, CloseWithFreeReleasesTheFormFromTheMessageLoop) {
  bool destroyed = false;
  TLogForm* raw = form.release();
  raw->destroyedFlag = &destroyed;
  raw->OnClose = MakeMethod<&TLogForm::CloseAction>(raw);
  raw->closeAction = TCloseAction::caFree;
  raw->Show();
  HWND handle = raw->Handle();
  PostMessage(handle, WM_CLOSE, 0, 0);
  ProcessMessages();
  EXPECT_TRUE(destroyed);
  EXPECT_FALSE(IsWindow(handle));
}

TEST_F(FormsTest, HiddenFormsRememberTheFocusButRefuseToTakeIt) {
  TWinControl* box = form->AddBox("box");
  EXPECT_THROW(box->SetFocus(), EInvalidOperation);
  EXPECT_EQ(form->ActiveControl(), box);
  form->Show();
  EXPECT_TRUE(box->Focused());
}

TEST_F(FormsTest, FreedControlsAreForgotten) {
  TWinControl* box = form->AddBox("box");
  form->Show();
  EXPECT_EQ(form->ActiveControl(), box);
  box->Free();
  EXPECT_EQ(form->ActiveControl(), nullptr);
  EXPECT_EQ(form->FindComponent("box"), nullptr);
}

TEST(Controls, AlignLaysOutChildren) {
  Owned<TForm> form(CreateForm<TForm>(nullptr));
  form->SetBounds(0, 0, 400, 300);
  auto* bottom = new TWinControl(form.get());
  bottom->SetHeight(43);
  bottom->SetParent(form.get());
  bottom->SetAlign(TAlign::alBottom);
  auto* client = new TWinControl(form.get());
  client->SetParent(form.get());
  client->SetAlign(TAlign::alClient);
  EXPECT_EQ(bottom->BoundsRect(), (TRect{0, 257, 400, 300}));
  EXPECT_EQ(client->BoundsRect(), (TRect{0, 0, 400, 257}));
  form->SetBounds(0, 0, 500, 200);
  EXPECT_EQ(client->BoundsRect(), (TRect{0, 0, 500, 157}));
}

TEST(Controls, FontsFollowTheParentUntilSetThemselves) {
  Owned<TForm> form(CreateForm<TForm>(nullptr));
  auto* box = new TWinControl(form.get());
  box->SetParent(form.get());
  form->Font()->SetName("Tahoma");
  EXPECT_EQ(box->Font()->Name(), "Tahoma");
  box->Font()->SetHeight(-20);
  EXPECT_FALSE(box->ParentFont());
  form->Font()->SetName("Arial");
  EXPECT_EQ(box->Font()->Name(), "Tahoma");
}

}  // namespace
}  // namespace ox
