#include <gtest/gtest.h>

#include "platform/CodePage.h"
#include "platform/Machine.h"
#include "ui/Dialogs.h"

namespace ox {
namespace {

// Every test starts with the headless service in force, no script and no records.
class DialogsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetMessageBoxService(nullptr);
    boxes.Reset();
  }
  void TearDown() override {
    SetMessageBoxService(nullptr);
    boxes.Reset();
    SetMsgDlgCaption(mtWarning, "Warning");
    SetMsgDlgCaption(mtCustom, "");
  }
  const HeadlessMessageBoxes::Record& Last() const { return boxes.Records().back(); }

  HeadlessMessageBoxes& boxes = HeadlessMessages();
};

TEST_F(DialogsTest, UnscriptedDialogAnswersItsDefaultButton) {
  struct Case {
    const char* name;
    TMsgDlgButtons buttons;
    TModalResult answer;
    std::optional<TMsgDlgBtn> cancel;
  };
  const std::vector<Case> cases = {
      {"OK", {mbOK}, mrOk, mbOK},
      {"OK before Yes", {mbYes, mbOK}, mrOk, mbOK},
      {"Yes No Cancel", mbYesNoCancel, mrYes, mbCancel},
      {"Yes No", {mbYes, mbNo}, mrYes, mbNo},
      {"Abort Retry Ignore", mbAbortRetryIgnore, mrRetry, std::nullopt},
      {"no default: first button", {mbCancel, mbNo}, mrNo, mbCancel},
      {"Help closes nothing", {mbHelp, mbIgnore}, mrIgnore, std::nullopt},
      {"no buttons: closed", {}, mrCancel, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(MessageDlg("text", mtWarning, c.buttons), c.answer);
    EXPECT_EQ(Last().answer, c.answer);
    EXPECT_EQ(Last().request.cancelButton, c.cancel);
  }
}

TEST_F(DialogsTest, UnscriptedMessageBoxAnswersItsDefButton) {
  struct Case {
    unsigned flags;
    int answer;
  };
  const std::vector<Case> cases = {
      {MB_OK, IDOK},
      {MB_OK | MB_DEFBUTTON3, IDOK},  // beyond the buttons: the first
      {MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
      {MB_YESNO, IDYES},
      {MB_YESNO | MB_DEFBUTTON2 | MB_ICONQUESTION, IDNO},
      {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
      {MB_RETRYCANCEL | MB_DEFBUTTON2, IDCANCEL},  // Retry is laid out before Cancel
      {MB_ABORTRETRYIGNORE | MB_DEFBUTTON3, IDIGNORE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.flags);
    EXPECT_EQ(MessageBox("text", "caption", c.flags), c.answer);
  }
  EXPECT_EQ(boxes.Records().size(), cases.size());
  EXPECT_EQ(MessageBox("text", "caption", 0x6), 0);  // no button set of ours
  EXPECT_EQ(boxes.Records().size(), cases.size());
}

TEST_F(DialogsTest, ScriptedAnswersAreUsedInOrderThenDefaultsResume) {
  boxes.Push(mrNo);
  boxes.Push(IDCANCEL, "second");
  EXPECT_EQ(MessageDlg("first", mtConfirmation, {mbYes, mbNo}), mrNo);
  EXPECT_EQ(MessageBox("the second box", "", MB_OKCANCEL), IDCANCEL);
  EXPECT_EQ(boxes.PendingAnswers(), 0u);
  EXPECT_EQ(MessageDlg("third", mtConfirmation, {mbYes, mbNo}), mrYes);
  ASSERT_EQ(boxes.Records().size(), 3u);
  EXPECT_EQ(boxes.Records()[0].answer, mrNo);
  EXPECT_EQ(boxes.Records()[1].answer, IDCANCEL);
  boxes.ClearRecords();
  EXPECT_TRUE(boxes.Records().empty());
}

TEST_F(DialogsTest, ScriptedAnswerForAnotherBoxRaisesAndIsSpent) {
  boxes.Push(mrYes, Gb("删除"));
  try {
    MessageDlg(Gb("方案名称不可空白"), mtError, {mbOK});
    FAIL() << "no error raised";
  } catch (const EMessageScriptError& e) {
    EXPECT_NE(e.Message().find(Gb("删除")), std::string::npos);
    EXPECT_NE(e.Message().find(Gb("方案名称不可空白")), std::string::npos);
  }
  EXPECT_EQ(Last().answer, mrNone);
  EXPECT_EQ(boxes.PendingAnswers(), 0u);
}

TEST_F(DialogsTest, DialogRecordHoldsTheWholeBox) {
  MessageDlgPos(Gb("确实要删除此方案吗？"), mtConfirmation, {mbNo, mbYes}, 7, 10, 20);
  const MessageBoxRequest& box = Last().request;
  EXPECT_EQ(box.style, MessageBoxStyle::Dialog);
  EXPECT_EQ(box.type, mtConfirmation);
  EXPECT_EQ(box.caption, "Confirm");
  EXPECT_EQ(box.text, Gb("确实要删除此方案吗？"));
  EXPECT_EQ(box.buttons, (std::vector<TMsgDlgBtn>{mbYes, mbNo}));
  EXPECT_EQ(box.defaultButton, mbYes);
  EXPECT_EQ(box.helpContext, 7);
  EXPECT_EQ(box.x, 10);
  EXPECT_EQ(box.y, 20);

  MessageDlg("x", mtError, {mbOK}, 0, std::string());  // a form without a caption
  EXPECT_EQ(Last().request.caption, "");
}

TEST_F(DialogsTest, CaptionsComeFromTheTableAndTheProgramName) {
  MachineSettings settings = Machine();
  settings.hostExeName = "C:\\ERP\\Corvane.exe";
  MachineScope machine(settings);
  ShowMessage("plain");
  EXPECT_EQ(Last().request.type, mtCustom);
  EXPECT_EQ(Last().request.caption, "Corvane");
  EXPECT_EQ(Last().request.buttons, std::vector<TMsgDlgBtn>{mbOK});

  SetMsgDlgCaption(mtWarning, Gb("警告"));
  SetMsgDlgCaption(mtCustom, "MVAR52");
  MessageDlg("w", mtWarning, {mbOK});
  EXPECT_EQ(Last().request.caption, Gb("警告"));
  ShowMessage("plain");
  EXPECT_EQ(Last().request.caption, "MVAR52");
}

TEST_F(DialogsTest, MessageBoxRecordTakesKindFromTheIcon) {
  MessageBox("gone", "Title", MB_RETRYCANCEL | MB_ICONHAND);
  const MessageBoxRequest& box = Last().request;
  EXPECT_EQ(box.style, MessageBoxStyle::WindowsBox);
  EXPECT_EQ(box.type, mtError);
  EXPECT_EQ(box.caption, "Title");
  EXPECT_EQ(box.buttons, (std::vector<TMsgDlgBtn>{mbRetry, mbCancel}));
  EXPECT_EQ(box.cancelButton, mbCancel);
  EXPECT_EQ(box.flags, MB_RETRYCANCEL | MB_ICONHAND);
  MessageBox("plain", "Title", MB_YESNO);
  EXPECT_EQ(Last().request.type, mtCustom);
  EXPECT_EQ(Last().request.cancelButton, std::nullopt);
}

TEST_F(DialogsTest, AutomationBitsNameTheButtons) {
  TMsgDlgButtons set = TMsgDlgButtons::FromBits(1 | 4 | 0x10000);
  EXPECT_EQ(set, (TMsgDlgButtons{mbYes, mbOK}));
  EXPECT_EQ((TMsgDlgButtons{mbNo}).Bits(), 2u);
}

// Answers every box with No and keeps what it was asked.
class AlwaysNo : public MessageBoxService {
 public:
  TModalResult Show(const MessageBoxRequest& request) override {
    seen.push_back(request.text);
    return mrNo;
  }
  std::vector<std::string> seen;
};

TEST_F(DialogsTest, AReplacedServiceAnswersInsteadOfTheHeadlessOne) {
  AlwaysNo backend;
  EXPECT_EQ(SetMessageBoxService(&backend), &boxes);
  EXPECT_EQ(MessageDlg("ask", mtConfirmation, {mbYes, mbNo}), mrNo);
  EXPECT_EQ(MessageBox("box", "", MB_YESNO), IDNO);
  EXPECT_EQ(backend.seen, (std::vector<std::string>{"ask", "box"}));
  EXPECT_TRUE(boxes.Records().empty());

  EXPECT_EQ(SetMessageBoxService(nullptr), &backend);
  EXPECT_EQ(MessageDlg("ask", mtConfirmation, {mbYes, mbNo}), mrYes);
}

}  // namespace
}  // namespace ox
