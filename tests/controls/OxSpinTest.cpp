#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/OxSpin.h"
#include "tests/ui/ControlInput.h"
#include "ui/Forms.h"

namespace ox {
namespace {

struct ChangeLog {
  std::string text;
  TOxSpinEdit* spin = nullptr;
  void Changed(TObject*) { text += "[" + spin->Text() + "]"; }
};

class OxSpinTest : public ::testing::Test {
 protected:
  OxSpinTest() {
    form->SetBounds(0, 0, 300, 200);
    spin->SetParent(form.get());
    log.spin = spin;
    spin->OnChange = MakeMethod<&ChangeLog::Changed>(&log);
    form->Show();
    spin->SetFocus();
  }

  Owned<TForm> form{CreateForm<TForm>(nullptr)};
  TOxSpinEdit* spin = new TOxSpinEdit(form.get());
  ChangeLog log;
};

TEST_F(OxSpinTest, ASignStaysOnlyAsTheFirstCharacter) {
  struct Case {
    std::string typed;
    std::string text;
    std::string changes;
  };
  const std::vector<Case> cases{
      {"12-", "12", "[1][12][12]"},
      {"-12", "-12", "[-][-1][-12]"},
      {"+5+", "+5", "[+][+5][+5]"},
      {"3+4", "34", "[3][3][34]"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    spin->SetText("");
    log.text.clear();
    test::Type(*spin, c.typed);
    EXPECT_EQ(spin->Text(), c.text);
    EXPECT_EQ(log.text, c.changes);
    EXPECT_EQ(spin->SelStart(), static_cast<int>(c.text.size()));
  }
}

TEST_F(OxSpinTest, ASignInsideASetTextCutsFromTheEnd) {
  // Everything from the sign on goes, one character at a time from the end.
  spin->SetText("1-234");
  EXPECT_EQ(spin->Text(), "1");
  EXPECT_EQ(log.text, "[1]");
}

TEST_F(OxSpinTest, EmptyingTheFieldFiresNoChange) {
  test::Type(*spin, "7");
  log.text.clear();
  test::Press(*spin, VK_BACK);
  EXPECT_EQ(spin->Text(), "");
  spin->SetText("  ");
  EXPECT_EQ(log.text, "");
  test::Type(*spin, "8");
  EXPECT_EQ(log.text, "[8  ]");  // setting the text put the caret first
}

}  // namespace
}  // namespace ox
