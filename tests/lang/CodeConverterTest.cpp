#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "controls/SelectPnl.h"
#include "lang/CodeConverter.h"
#include "platform/CodePage.h"
#include "tests/support/TestMachine.h"
#include "ui/ComboBox.h"
#include "ui/Edit.h"
#include "ui/Grid.h"
#include "ui/Label.h"
#include "ui/ListBox.h"
#include "ui/ListView.h"
#include "ui/Memo.h"
#include "ui/Menus.h"
#include "ui/StatusBar.h"
#include "ui/TabSet.h"
#include "ui/TreeView.h"

namespace ox {
namespace {

namespace fs = std::filesystem;

std::string Big5(std::string_view utf8) {
  return Utf8ToAnsi(utf8, 950);
}

// Texts in both forms: GB with Simplified characters, Big5 with Traditional ones.
struct Chinese {
  const char* simplified;
  const char* traditional;
};
constexpr Chinese kTexts[] = {
    {"简体中文", "簡體中文"}, {"报表", "報表"},         {"编号", "編號"},
    {"名称", "名稱"},         {"选择日期", "選擇日期"}, {"确定 OK 123", "確定 OK 123"},
};

// A client installation at C:\App\ whose CorvaneC.ini names the code pages, on a
// machine of the given system code page.
class CodeConverterTest : public ::testing::Test {
 protected:
  void SetUp() override { HeadlessMessages().Reset(); }

  void Install(int acp, std::string_view uiCodePage, std::string_view dbCodePage) const {
    Machine().ansiCodePage = acp;
    machine.InstallClient("[CodePage]\r\nUICodePage=" + std::string(uiCodePage) +
                          "\r\nDBCodePage=" + std::string(dbCodePage) + "\r\n");
  }

  test::TestMachine machine{936};
};

TEST_F(CodeConverterTest, LanguageLibraryTurnsSimplifiedGbIntoTraditionalBig5AndBack) {
  const TTranslator translator;
  for (const Chinese& text : kTexts) {
    SCOPED_TRACE(text.simplified);
    EXPECT_EQ(translator.GBtoBIG5(Gb(text.simplified)), Big5(text.traditional));
    EXPECT_EQ(translator.BIG5toGB(Big5(text.traditional)), Gb(text.simplified));
  }
  EXPECT_EQ(translator.GBtoBIG5(""), "");
}

TEST_F(CodeConverterTest, TranslatorReportsALibraryWithoutItsEntryPoints) {
  // The platform tests' library under the language library's name.
  fs::create_directories(machine.driveC().path() / "App");
  fs::copy_file(OX_DECOY_LIB_FILE, machine.driveC().path() / "App/Oxlanguage.so");
  const struct {
    const char* name;
    const char* message;
  } cases[] = {
      {"C:\\App\\Oxlanguage.dll", "Get Library Procedure Address Error!"},
      {"C:\\Nowhere\\Oxlanguage.dll", "Load Library C:\\Nowhere\\Oxlanguage.dll Error!"},
  };
  for (const auto& [name, message] : cases) {
    SCOPED_TRACE(name);
    try {
      TTranslator translator(name);
      ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), message);
    }
  }
}

TEST_F(CodeConverterTest, ReadsItsCodePagesFromTheClientOrTheServerConfiguration) {
  Install(936, "950", "936");
  machine.WriteRegistry(
      "[HKEY_LOCAL_MACHINE\\Software\\QMX\\Corvane]\r\n\"ClientPath\"=\"C:\\\\App\\\\\"\r\n"
      "\"ServerPath\"=\"C:\\\\Srv\\\\\"\r\n");
  machine.WriteFile("C:\\Srv\\CorvaneS.ini", "[CodePage]\r\nUICodePage=936\r\nDBCodePage=950\r\n");
  TCodeConverter converter(nullptr);
  EXPECT_EQ(converter.DesignType(), dtClient);
  EXPECT_EQ(converter.FUICodePage(), "950");
  EXPECT_EQ(converter.FUIConvertMode(), 2);
  EXPECT_EQ(converter.FDBConvertMode(), 2);
  ASSERT_NE(converter.FTranslator(), nullptr);

  // A design type set later takes effect only with the next reading.
  converter.SetDesignType(dtServer);
  EXPECT_EQ(converter.FUICodePage(), "950");
  converter.LoadCodePages();
  EXPECT_EQ(converter.FSysCodePage(), "936");
  EXPECT_EQ(converter.FUICodePage(), "936");
  EXPECT_EQ(converter.FDBCodePage(), "950");
  EXPECT_EQ(converter.FUIConvertMode(), 0);
  EXPECT_EQ(converter.FDBConvertMode(), 1);
}

TEST_F(CodeConverterTest, DesignTypeIsPublishedAndTheClassCreatable) {
  Install(936, "936", "936");
  const ClassInfo& info = TCodeConverter::StaticClassInfo();
  ASSERT_TRUE(info.IsCreatable());
  Owned<TComponent> created(info.Create(nullptr));
  const PropInfo* prop = info.FindProperty("DesignType");
  ASSERT_NE(prop, nullptr);
  EXPECT_EQ(prop->names, (std::vector<std::string>{"dtClient", "dtServer"}));
  SetPropValue(*created, *prop, "dtServer");
  EXPECT_EQ(static_cast<TCodeConverter&>(*created).DesignType(), dtServer);
}

Variant Array1(std::initializer_list<Variant> values, int low = 0) {
  Variant array = VarArrayCreate({low, low + static_cast<int>(values.size()) - 1});
  int i = low;
  for (const Variant& value : values)
    array[i++] = value;
  return array;
}

Variant Array2(const std::vector<std::vector<Variant>>& rows) {
  Variant array = VarArrayCreate(
      {0, static_cast<int>(rows.size()) - 1, 1, static_cast<int>(rows.front().size())});
  for (int r = 0; r < static_cast<int>(rows.size()); ++r)
    for (int c = 0; c < static_cast<int>(rows[r].size()); ++c)
      array(r, c + 1) = rows[r][c];
  return array;
}

TEST_F(CodeConverterTest, ConvertCodePageConvertsTextsAloneAndInArraysOfAnyNesting) {
  Install(936, "950", "936");
  const TCodeConverter converter(nullptr);
  const Variant gb = Gb("报表"), big5 = Big5("報表");
  const Variant gb2 = Gb("编号"), big52 = Big5("編號");
  const struct Case {
    const char* what;
    TCodePageChangeType mode;
    Variant in, out;
  } cases[] = {
      {"mode 0", 0, gb, gb},
      {"GB to Big5", 2, gb, big5},
      {"Big5 to GB", 1, big5, gb},
      {"mode 3 keeps texts", 3, gb, gb},
      {"mode 4 keeps texts", 4, gb, gb},
      {"unassigned", 2, Variant(), Variant()},
      {"null", 1, Variant::Null(), Variant::Null()},
      {"a number alone becomes a text", 2, Variant(12), Variant("12")},
      {"1-D with bounds 1..4", 2, Array1({gb, 7, Variant::Null(), gb2}, 1),
       Array1({big5, "7", Variant::Null(), big52}, 1)},
      {"1-D nested", 1, Array1({big5, Array1({big52, Array1({big5})})}),
       Array1({gb, Array1({gb2, Array1({gb})})})},
      {"1-D in mode 4 keeps its numbers", 4, Array1({gb, 7}), Array1({gb, 7})},
      {"2-D", 2, Array2({{gb, 3}, {Variant(), gb2}}), Array2({{big5, "3"}, {Variant(), big52}})},
      {"2-D holding a 1-D", 1, Array2({{Array1({big5, big52})}}), Array2({{Array1({gb, gb2})}})},
  };
  for (const Case& t : cases) {
    SCOPED_TRACE(t.what);
    const Variant result = converter.ConvertCodePage(t.mode, t.in);
    EXPECT_EQ(result, t.out);
    EXPECT_EQ(VarType(result), VarType(t.out));
  }
}

TEST_F(CodeConverterTest, WrappersFollowTheirModesAndRecoverGoesTheOtherWay) {
  const Variant gb = Gb("名称"), big5 = Big5("名稱");
  struct InOut {
    Variant in, out;
  };
  const struct Case {
    const char* what;
    int acp;
    const char* ui;
    const char* db;
    InOut convertUI, convertData, recoverUI, recoverData;
  } cases[] = {
      {"Big5 interface, GB database: modes 2 and 2",
       936,
       "950",
       "936",
       {gb, big5},
       {gb, big5},
       {big5, gb},
       {big5, gb}},
      {"GB interface, Big5 database and Windows: modes 4 and 1",
       950,
       "936",
       "950",
       {gb, gb},
       {big5, gb},
       {big5, big5},
       {gb, big5}},
      {"GB interface, Big5 database, GB Windows: no translator",
       936,
       "936",
       "950",
       {gb, gb},
       {big5, big5},
       {big5, big5},
       {gb, gb}},
  };
  for (const Case& t : cases) {
    SCOPED_TRACE(t.what);
    Install(t.acp, t.ui, t.db);
    const TCodeConverter converter(nullptr);
    EXPECT_EQ(converter.ConvertUIString(t.convertUI.in), t.convertUI.out);
    EXPECT_EQ(converter.ConvertDataString(t.convertData.in), t.convertData.out);
    EXPECT_EQ(converter.RecoverUIString(t.recoverUI.in), t.recoverUI.out);
    EXPECT_EQ(converter.RecoverDataString(t.recoverData.in), t.recoverData.out);
  }
}

TEST_F(CodeConverterTest, SetUIFontPicksSimSunWithTheCharsetOfTheMode) {
  Install(936, "936", "936");
  const TCodeConverter converter(nullptr);
  const struct {
    TCodePageChangeType mode;
    const char* name;
    int charset;
  } cases[] = {{0, "SimSun", GB2312_CHARSET},      {1, "SimSun", GB2312_CHARSET},
               {2, "SimSun", CHINESEBIG5_CHARSET}, {3, "SimSun", CHINESEBIG5_CHARSET},
               {4, "SimSun", GB2312_CHARSET},      {5, "Arial", ANSI_CHARSET},
               {255, "Arial", ANSI_CHARSET}};
  for (const auto& [mode, name, charset] : cases) {
    SCOPED_TRACE(static_cast<int>(mode));
    TFont font;
    font.SetName("Arial");
    font.SetCharset(ANSI_CHARSET);
    font.SetSize(12);
    converter.SetUIFont(mode, font);
    EXPECT_EQ(font.Name(), name);
    EXPECT_EQ(font.Charset(), charset);
    EXPECT_EQ(font.Size(), 12);
  }
}

// A form with one control of each kind the converter knows, holding GB texts.
struct SampleForm {
  SampleForm() {
    form->SetCaption(Gb("报表"));
    form->SetHint(Gb("名称"));
    auto place = [this](TControl* control) { control->SetParent(form.get()); };
    label = new TLabel(form.get());
    place(label);
    label->SetCaption(Gb("编号"));
    label->SetHint(Gb("选择日期"));
    edit = new TEdit(form.get());
    place(edit);
    edit->SetText(Gb("简体中文"));
    listCombo = new TComboBox(form.get());
    place(listCombo);
    listCombo->SetStyle(TComboBoxStyle::csDropDownList);
    listCombo->Items()->SetText(Gb("报表\r\n编号\r\n"));
    listCombo->SetItemIndex(1);
    editCombo = new TComboBox(form.get());
    place(editCombo);
    editCombo->Items()->SetText(Gb("名称\r\n报表\r\n"));
    listBox = new TListBox(form.get());
    place(listBox);
    listBox->Items()->Add(Gb("名称"));
    memo = new TMemo(form.get());
    place(memo);
    memo->Lines()->Add(Gb("确定 OK 123"));
    view = new TListView(form.get());
    place(view);
    view->Columns()->Add()->SetCaption(Gb("编号"));
    TListItem* item = view->Items()->Add();
    item->SetCaption(Gb("报表"));
    item->SubItems()->Add(Gb("名称"));
    panel = new TSelectPanel(form.get());
    place(panel);
    panel->ChildHints()->Add(Gb("选择日期"));
    panel->BeginWords()->SetStrings(0, Gb("编号"));
    panel->FinalWords()->SetStrings(0, Gb("名称"));
    panel->SetHintWord(Gb("报表"));
    panel->AddItem({Gb("简体中文"), Gb("名称")});
    panel->Columns()->Items(0)->SetCaption(Gb("编号"));
    tree = new TTreeView(form.get());
    place(tree);
    tree->Items()->AddChild(tree->Items()->AddChild(nullptr, Gb("报表")), Gb("名称"));
    grid = new TStringGrid(form.get());
    place(grid);
    grid->SetCells(1, 2, Gb("编号"));
    status = new TStatusBar(form.get());
    place(status);
    static_cast<TStatusPanel*>(status->Panels()->Add())->SetText(Gb("选择日期"));
    tabs = new TTabSet(form.get());
    place(tabs);
    tabs->Tabs()->SetText(Gb("报表\r\n名称\r\n"));
    tabs->SetTabIndex(1);
    menu = new TPopupMenu(form.get());
    menuItem = new TMenuItem(form.get());
    menu->Items()->Add(menuItem);
    menuItem->SetCaption(Gb("确定 OK 123"));
  }

  // Every converted text: where it is, how it reads now, and its Chinese.
  struct Text {
    const char* where;
    std::function<std::string()> now;
    Chinese chinese;
  };
  std::vector<Text> Texts() const {
    return {
        {"form hint", [this] { return form->Hint(); }, {"名称", "名稱"}},
        {"label caption", [this] { return label->Caption(); }, {"编号", "編號"}},
        {"label hint", [this] { return label->Hint(); }, {"选择日期", "選擇日期"}},
        {"edit text", [this] { return edit->Text(); }, {"简体中文", "簡體中文"}},
        {"combo items", [this] { return listCombo->Items()->Strings(0); }, {"报表", "報表"}},
        {"combo text", [this] { return listCombo->Text(); }, {"编号", "編號"}},
        {"list box items", [this] { return listBox->Items()->Strings(0); }, {"名称", "名稱"}},
        {"memo lines",
         [this] { return memo->Lines()->Strings(0); },
         {"确定 OK 123", "確定 OK 123"}},
        {"list column", [this] { return view->Column(0)->Caption(); }, {"编号", "編號"}},
        {"list item", [this] { return view->Items()->Item(0)->Caption(); }, {"报表", "報表"}},
        {"list sub-item",
         [this] { return view->Items()->Item(0)->SubItems()->Strings(0); },
         {"名称", "名稱"}},
        {"panel child hints",
         [this] { return panel->ChildHints()->Strings(panel->ChildHints()->Count() - 1); },
         {"选择日期", "選擇日期"}},
        {"panel begin words", [this] { return panel->BeginWords()->Strings(0); }, {"编号", "編號"}},
        {"panel final words", [this] { return panel->FinalWords()->Strings(0); }, {"名称", "名稱"}},
        {"panel hint word", [this] { return panel->HintWord(); }, {"报表", "報表"}},
        {"panel column",
         [this] { return panel->Columns()->Items(0)->Caption(); },
         {"编号", "編號"}},
        {"panel cell",
         [this] { return panel->Items()->Item(0)->SubItems()->Strings(0); },
         {"名称", "名稱"}},
        {"status panel",
         [this] { return static_cast<TStatusPanel*>(status->Panels()->Items(0))->Text(); },
         {"选择日期", "選擇日期"}},
        {"tab", [this] { return tabs->Tabs()->Strings(1); }, {"名称", "名稱"}},
        {"menu item", [this] { return menuItem->Caption(); }, {"确定 OK 123", "確定 OK 123"}},
    };
  }
  // The texts only a conversion of the contents touches.
  std::vector<Text> Contents() const {
    return {
        {"tree node", [this] { return tree->Items()->Item(1)->Text(); }, {"名称", "名稱"}},
        {"grid cell", [this] { return grid->Cells(1, 2); }, {"编号", "編號"}},
    };
  }

  Owned<TForm> form{CreateForm<TForm>(nullptr)};
  TLabel* label;
  TEdit* edit;
  TComboBox* listCombo;
  TComboBox* editCombo;
  TListBox* listBox;
  TMemo* memo;
  TListView* view;
  TSelectPanel* panel;
  TTreeView* tree;
  TStringGrid* grid;
  TStatusBar* status;
  TTabSet* tabs;
  TPopupMenu* menu;
  TMenuItem* menuItem;
};

void ExpectTexts(const std::vector<SampleForm::Text>& texts, bool converted) {
  for (const SampleForm::Text& text : texts) {
    SCOPED_TRACE(text.where);
    EXPECT_EQ(text.now(), converted ? Big5(text.chinese.traditional) : Gb(text.chinese.simplified));
  }
}

TEST_F(CodeConverterTest, DoTranslateConvertsAFormByItsUserInterfaceAndSystemCodePages) {
  const struct Case {
    const char* what;
    int acp;
    const char* ui;
    bool texts;    // texts become Big5
    bool caption;  // the form caption becomes Big5
    int charset;   // of the fonts; 0: fonts unchanged
    bool ownerDraw;
  } cases[] = {
      {"Big5 interface on GB Windows", 936, "950", true, false, CHINESEBIG5_CHARSET, true},
      {"Big5 interface on Big5 Windows", 950, "950", true, true, CHINESEBIG5_CHARSET, true},
      {"GB interface on Big5 Windows", 950, "936", false, true, GB2312_CHARSET, true},
      {"GB interface on GB Windows", 936, "936", false, false, 0, false},
  };
  for (const Case& t : cases) {
    SCOPED_TRACE(t.what);
    Install(t.acp, t.ui, "936");
    SampleForm sample;
    auto* converter = new TCodeConverter(sample.form.get());
    const TFont hintFontBefore = *Screen().HintFont();

    converter->DoTranslate(*sample.form, "", true);

    EXPECT_EQ(sample.form->Caption(), t.caption ? Big5("報表") : Gb("报表"));
    ExpectTexts(sample.Texts(), t.texts);
    ExpectTexts(sample.Contents(), t.texts);
    EXPECT_EQ(sample.listCombo->ItemIndex(), 1);
    EXPECT_EQ(sample.tabs->TabIndex(), 1);
    if (t.charset != 0) {
      for (const TFont* font :
           {sample.label->Font(), Screen().HintFont(), Screen().MenuFont(), Screen().IconFont()}) {
        EXPECT_EQ(font->Name(), "SimSun");
        EXPECT_EQ(font->Charset(), t.charset);
      }
    } else {
      EXPECT_EQ(sample.label->Font()->Name(), "MS Sans Serif");
      EXPECT_EQ(*Screen().HintFont(), hintFontBefore);
    }
    const auto fixed =
        t.ownerDraw ? TComboBoxStyle::csOwnerDrawFixed : TComboBoxStyle::csDropDownList;
    EXPECT_EQ(sample.listCombo->Style(), fixed);
    EXPECT_EQ(sample.editCombo->Style(),
              t.ownerDraw ? TComboBoxStyle::csOwnerDrawFixed : TComboBoxStyle::csDropDown);
    // An owner-drawn combo box without a selection shows its first line.
    EXPECT_EQ(sample.editCombo->ItemIndex(), t.ownerDraw ? 0 : -1);
    EXPECT_EQ(sample.listBox->Style(),
              t.ownerDraw ? TListBoxStyle::lbOwnerDrawFixed : TListBoxStyle::lbStandard);
    EXPECT_EQ(sample.menu->OwnerDraw(), t.ownerDraw);
    EXPECT_TRUE(Application().ShowHint());
  }
}

TEST_F(CodeConverterTest, DoTranslateWithoutContentsLeavesTreesAndGrids) {
  Install(936, "950", "936");
  SampleForm sample;
  auto* converter = new TCodeConverter(sample.form.get());
  converter->DoTranslate(*sample.form, "", false);
  ExpectTexts(sample.Texts(), true);
  ExpectTexts(sample.Contents(), false);
}

TEST_F(CodeConverterTest, MessageDialogWidensGbTextsAndTakesTheFormsCaptionAndFont) {
  const struct Case {
    int acp;
    const char* ui;
    const char* shown;  // "#" for the text
    int charset;
  } cases[] = {
      {936, "936", "#      ", GB2312_CHARSET},
      {950, "936", "#      ", GB2312_CHARSET},
      {936, "950", "#      ", CHINESEBIG5_CHARSET},
      {950, "950", "#", CHINESEBIG5_CHARSET},
  };
  for (const Case& t : cases) {
    SCOPED_TRACE(std::string(t.ui) + " on " + std::to_string(t.acp));
    Install(t.acp, t.ui, "936");
    HeadlessMessages().Reset();
    Owned<TForm> form(CreateForm<TForm>(nullptr));
    form->SetCaption(Gb("报表"));
    form->SetWindowState(TWindowState::wsMinimized);
    auto* converter = new TCodeConverter(form.get());
    HeadlessMessages().Push(mrNo);

    const std::string text = Gb("确定");
    EXPECT_EQ(converter->MessageDialog(text, mtConfirmation, {mbYes, mbNo}), mrNo);

    ASSERT_EQ(HeadlessMessages().Records().size(), 1u);
    const MessageBoxRequest& box = HeadlessMessages().Records()[0].request;
    std::string shown = t.shown;
    shown.replace(0, 1, text);
    EXPECT_EQ(box.text, shown);
    EXPECT_EQ(box.caption, Gb("报表"));
    EXPECT_EQ(box.type, mtConfirmation);
    EXPECT_EQ(box.buttons, (std::vector<TMsgDlgBtn>{mbYes, mbNo}));
    EXPECT_EQ(box.font.name, "SimSun");
    EXPECT_EQ(box.font.charset, t.charset);
    EXPECT_EQ(form->WindowState(), TWindowState::wsNormal);
  }
}

TEST_F(CodeConverterTest, MessageDialogShowsNothingForAnEmptyText) {
  Install(936, "936", "936");
  Owned<TForm> form(CreateForm<TForm>(nullptr));
  form->SetWindowState(TWindowState::wsMinimized);
  auto* converter = new TCodeConverter(form.get());
  EXPECT_EQ(converter->MessageDialog("", mtError, {mbOK}), 0);
  EXPECT_TRUE(HeadlessMessages().Records().empty());
  EXPECT_EQ(form->WindowState(), TWindowState::wsMinimized);
}

}  // namespace
}  // namespace ox
