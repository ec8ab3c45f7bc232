#include "lang/CodeConverter.h"

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "controls/SelectPnl.h"
#include "outside/language/OxLanguage.h"
#include "platform/Exceptions.h"
#include "ui/ComboBox.h"
#include "ui/Grid.h"
#include "ui/ListBox.h"
#include "ui/ListView.h"
#include "ui/Menus.h"
#include "ui/StatusBar.h"
#include "ui/TabSet.h"
#include "ui/TreeView.h"
#include "ui/TypeInfo.h"

namespace ox {

namespace {

constexpr TCodePageChangeType kBig5ToGb = 1;
constexpr TCodePageChangeType kGbToBig5 = 2;

// Six blanks make a GB dialog lay its text out a little wider.
constexpr const char* kDialogPadding = "      ";

struct UIFont {
  const char* name;
  int charset;
};

// The font of a user-interface mode; null for a mode that keeps the font.
const UIFont* UIFontOf(TCodePageChangeType mode) {
  static constexpr UIFont kGbFont{"SimSun", GB2312_CHARSET};
  static constexpr UIFont kBig5Font{"SimSun", CHINESEBIG5_CHARSET};
  switch (mode) {
    case 0:
    case 1:
    case 4:
      return &kGbFont;
    case 2:
    case 3:
      return &kBig5Font;
    default:
      return nullptr;
  }
}

// The published property `name` of `object` when it is of `kind`; else null.
const PropInfo* PropertyOf(const TObject& object, std::string_view name, PropKind kind) {
  const PropInfo* prop = object.classInfo().FindProperty(name);
  return prop != nullptr && prop->kind == kind ? prop : nullptr;
}

// The sub-object held by the class property `name` when it is a T; else null.
template <typename T>
T* SubObjectOf(const TObject& object, std::string_view name) {
  const PropInfo* prop = PropertyOf(object, name, PropKind::Class);
  if (prop == nullptr || !prop->getObject) return nullptr;
  return dynamic_cast<T*>(prop->getObject(object));
}

bool ConvertsText(TCodePageChangeType mode) {
  return mode == kBig5ToGb || mode == kGbToBig5;
}

// A text in the direction of the mode; other modes leave it.
std::string ConvertText(const TCodeConverter& converter, TCodePageChangeType mode,
                        std::string_view text) {
  if (mode == kBig5ToGb) return converter.Big5ToGB(text);
  if (mode == kGbToBig5) return converter.GBToBig5(text);
  return std::string(text);
}

FARPROC EntryPoint(HMODULE module, const char* name) {
  FARPROC entry = GetProcAddress(module, name);
  if (entry == nullptr) {
    FreeLibrary(module);
    throw Exception("Get Library Procedure Address Error!");
  }
  return entry;
}

}  // namespace

// ---- TTranslator ------------------------------------------------------------

TTranslator::TTranslator() : TTranslator(kLanguageLibraryName) {}

TTranslator::TTranslator(std::string_view libraryName) : module_(LoadLibrary(libraryName)) {
  if (module_ == nullptr) throw Exception("Load Library " + std::string(libraryName) + " Error!");
  FARPROC gbToBig5 = EntryPoint(module_, "GBtoBIG5");
  FARPROC big5ToGb = EntryPoint(module_, "BIG5toGB");
  gbToBig5_ = reinterpret_cast<ConvertProc>(gbToBig5);
  big5ToGb_ = reinterpret_cast<ConvertProc>(big5ToGb);
}

TTranslator::~TTranslator() {
  FreeLibrary(module_);
}

std::string TTranslator::GBtoBIG5(std::string_view text) const {
  return Call(gbToBig5_, text);
}

std::string TTranslator::BIG5toGB(std::string_view text) const {
  return Call(big5ToGb_, text);
}

std::string TTranslator::Call(ConvertProc entry, std::string_view text) {
  // The library's text lives until its next call: copy it at once.
  const char* converted = entry(std::string(text).c_str());
  return converted != nullptr ? std::string(converted) : std::string();
}

// ---- TCodeConverter: configuration --------------------------------------------

const ClassInfo& TCodeConverter::StaticClassInfo() {
  using C = TCodeConverter;
  static const ClassInfo info =
      ClassBuilder<C>("TCodeConverter", &TComponent::StaticClassInfo())
          .creatable()
          .enumeration("DesignType", &C::DesignType, &C::SetDesignType, {"dtClient", "dtServer"})
          .defaultValue(dtClient)
          .build();
  return info;
}

TCodeConverter::TCodeConverter(TComponent* owner) : TComponent(owner) {
  LoadCodePages();
  if (uiConvertMode_ != 0) translator_ = std::make_unique<TTranslator>();
}

TCodeConverter::~TCodeConverter() = default;

template <typename Reader>
void TCodeConverter::TakeCodePages(const Reader& reader) {
  sysCodePage_ = reader.FSysCodePage;
  uiCodePage_ = reader.FUICodePage;
  dbCodePage_ = reader.FDBCodePage;
  uiConvertMode_ = reader.FUIConvertMode;
  dbConvertMode_ = reader.FDBConvertMode;
}

void TCodeConverter::LoadCodePages() {
  if (designType_ == dtServer)
    TakeCodePages(TCorvaneIniS());
  else
    TakeCodePages(TCorvaneIniC());
}

// ---- TCodeConverter: values ---------------------------------------------------

Variant TCodeConverter::ConvertCodePage(TCodePageChangeType mode, const Variant& value) const {
  if (mode == 0 || !translator_ || VarIsClear(value)) return value;
  if (!value.isArray()) {
    if (!ConvertsText(mode)) return value;
    return Variant(ConvertText(*this, mode, value.asString()));
  }
  Variant result = value;
  VarArray& array = result.array();
  if (array.dimCount() == 2) {
    for (Variant& element : array.elements())
      element = ConvertCodePage(mode, element);
  } else if (array.dimCount() == 1) {
    for (Variant& element : array.elements()) {
      if (element.isArray())
        element = ConvertCodePage(mode, element);
      else if (ConvertsText(mode) && !VarIsClear(element))
        // A missing value (an unassigned or null cell) has no text to convert.
        element = Variant(ConvertText(*this, mode, element.asString()));
    }
  }
  return result;
}

Variant TCodeConverter::ConvertUIString(const Variant& value) const {
  return ConvertCodePage(uiConvertMode_, value);
}

Variant TCodeConverter::ConvertDataString(const Variant& value) const {
  return ConvertCodePage(dbConvertMode_, value);
}

Variant TCodeConverter::Recover(TCodePageChangeType mode, const Variant& value) const {
  try {
    if (mode == kBig5ToGb) return ConvertCodePage(kGbToBig5, value);
    if (mode == kGbToBig5) return ConvertCodePage(kBig5ToGb, value);
  } catch (...) {
    // Texts on their way back to the server go as they are rather than not at all.
  }
  return value;
}

Variant TCodeConverter::RecoverUIString(const Variant& value) const {
  return Recover(uiConvertMode_, value);
}

Variant TCodeConverter::RecoverDataString(const Variant& value) const {
  return Recover(dbConvertMode_, value);
}

std::string TCodeConverter::GBToBig5(std::string_view text) const {
  if (!translator_ || text.empty()) return std::string(text);
  return translator_->GBtoBIG5(text);
}

std::string TCodeConverter::Big5ToGB(std::string_view text) const {
  if (!translator_ || text.empty()) return std::string(text);
  return translator_->BIG5toGB(text);
}

void TCodeConverter::SetUIFont(TCodePageChangeType mode, TFont& font) const {
  const UIFont* uiFont = UIFontOf(mode);
  if (uiFont == nullptr) return;
  font.SetName(uiFont->name);
  font.SetCharset(uiFont->charset);
}

// ---- TCodeConverter: forms ----------------------------------------------------

namespace {

// Converts the components of a form in one user-interface mode.
class FormTranslator {
 public:
  FormTranslator(const TCodeConverter& converter, TCodePageChangeType mode)
      : converter_(converter), mode_(mode), convertsText_(ConvertsText(mode)) {}

  // The published properties any component may have.
  void Properties(TComponent& component) const {
    for (const char* name : {"Font", "TitleFont"})
      if (TFont* font = SubObjectOf<TFont>(component, name)) converter_.SetUIFont(mode_, *font);
    if (convertsText_) {
      // A combo box keeps its selected line through its new text and lines.
      auto* combo = dynamic_cast<TComboBox*>(&component);
      const int selected = combo != nullptr ? combo->ItemIndex() : -1;
      const auto texts = ConvertedTexts(component, {"Caption", "Hint", "ButtonHint", "Text"});
      std::vector<std::pair<TStrings*, std::string>> lists;
      for (const char* name : {"Items", "Lines"})
        if (TStrings* list = SubObjectOf<TStrings>(component, name))
          lists.emplace_back(list, Text(list->Text()));
      WriteTexts(component, texts);
      for (const auto& [list, text] : lists)
        list->SetText(text);
      KeepSelection(combo, selected);
    }
    OwnerDrawStyle(component);
    if (auto* panels = SubObjectOf<TStatusPanels>(component, "Panels"); panels && convertsText_) {
      for (int i = 0; i < panels->Count(); ++i) {
        auto* panel = static_cast<TStatusPanel*>(panels->Items(i));
        panel->SetText(Text(panel->Text()));
      }
    }
  }

  // What particular classes need beyond their properties.
  void ByClass(TComponent& component) const {
    if (auto* combo = dynamic_cast<TComboBox*>(&component)) {
      if (combo->Style() != TComboBoxStyle::csSimple)
        combo->SetStyle(TComboBoxStyle::csOwnerDrawFixed);
      if (combo->ItemIndex() == -1) combo->SetItemIndex(0);
    } else if (auto* menu = dynamic_cast<TMenu*>(&component)) {
      menu->SetOwnerDraw(true);
    }
    if (!convertsText_) return;
    if (auto* view = dynamic_cast<TListView*>(&component)) {
      ListView(*view);
    } else if (auto* tabs = dynamic_cast<TTabSet*>(&component)) {
      const int index = tabs->TabIndex();
      tabs->Tabs()->SetText(Text(tabs->Tabs()->Text()));
      if (tabs->TabIndex() != index) tabs->SetTabIndex(index);
    } else if (auto* panel = dynamic_cast<TSelectPanel*>(&component)) {
      for (TStrings* lines : {panel->ChildHints(), panel->BeginWords(), panel->FinalWords()})
        Lines(*lines);
      panel->SetHintWord(Text(panel->HintWord()));
      ListView(*panel->ListBox());
    }
  }

  // The data a component shows: tree nodes and grid cells.
  void Contents(TComponent& component) const {
    if (!convertsText_) return;
    if (auto* tree = dynamic_cast<TTreeView*>(&component)) {
      for (int i = 0; i < tree->Items()->Count(); ++i) {
        TTreeNode* node = tree->Items()->Item(i);
        node->SetText(Text(node->Text()));
      }
    } else if (auto* grid = dynamic_cast<TStringGrid*>(&component)) {
      for (int row = 0; row < grid->RowCount(); ++row)
        for (int col = 0; col < grid->ColCount(); ++col)
          grid->SetCells(col, row, Text(grid->Cells(col, row)));
    }
  }

  // Text properties of the form itself.
  void TextProperties(TObject& object, std::initializer_list<const char*> names) const {
    WriteTexts(object, ConvertedTexts(object, names));
  }

 private:
  // Several names may stand for one value (a control's Caption is its Text, a memo's
  // Lines are its Text too): every value is converted before any is written back, so
  // none is converted twice.
  using ConvertedText = std::pair<const PropInfo*, std::string>;
  std::vector<ConvertedText> ConvertedTexts(const TObject& object,
                                            std::initializer_list<const char*> names) const {
    std::vector<ConvertedText> converted;
    for (const char* name : names) {
      const PropInfo* prop = PropertyOf(object, name, PropKind::String);
      if (prop != nullptr && prop->set)
        converted.emplace_back(prop, Text(prop->get(object).asString()));
    }
    return converted;
  }
  static void WriteTexts(TObject& object, const std::vector<ConvertedText>& texts) {
    for (const auto& [prop, text] : texts)
      prop->set(object, Variant(text));
  }

  std::string Text(std::string_view text) const { return ConvertText(converter_, mode_, text); }

  void Lines(TStrings& lines) const {
    lines.BeginUpdate();
    for (int i = 0; i < lines.Count(); ++i)
      lines.SetStrings(i, Text(lines.Strings(i)));
    lines.EndUpdate();
  }

  static void KeepSelection(TComboBox* combo, int selected) {
    if (combo != nullptr && combo->Items()->Count() > 0 && combo->ItemIndex() != selected)
      combo->SetItemIndex(selected);
  }

  // Standard combo and list boxes become owner-drawn, so they draw in the form's font.
  static void OwnerDrawStyle(TComponent& component) {
    const PropInfo* prop = PropertyOf(component, "Style", PropKind::Enumeration);
    if (prop == nullptr || !prop->set) return;
    const int style = prop->get(component).asInteger();
    if (prop->names == ComboBoxStyleNames()) {
      auto* combo = dynamic_cast<TComboBox*>(&component);
      const int selected = combo != nullptr ? combo->ItemIndex() : -1;
      if (style == static_cast<int>(TComboBoxStyle::csDropDown))
        prop->set(component, static_cast<int>(TComboBoxStyle::csOwnerDrawVariable));
      else if (style == static_cast<int>(TComboBoxStyle::csDropDownList))
        prop->set(component, static_cast<int>(TComboBoxStyle::csOwnerDrawFixed));
      KeepSelection(combo, selected);
    } else if (prop->names == ListBoxStyleNames() &&
               style == static_cast<int>(TListBoxStyle::lbStandard)) {
      prop->set(component, static_cast<int>(TListBoxStyle::lbOwnerDrawFixed));
    }
  }

  void ListView(TListView& view) const {
    for (int i = 0; i < view.Columns()->Count(); ++i) {
      TListColumn* column = view.Column(i);
      column->SetCaption(Text(column->Caption()));
    }
    for (int i = 0; i < view.Items()->Count(); ++i) {
      TListItem* item = view.Items()->Item(i);
      item->SetCaption(Text(item->Caption()));
      Lines(*item->SubItems());
    }
  }

  const TCodeConverter& converter_;
  TCodePageChangeType mode_;
  bool convertsText_;
};

}  // namespace

void TCodeConverter::DoTranslate(TForm& form, std::string_view /*selection*/,
                                 bool convertContents) {
  // Nothing fills a per-component selection, so every component is converted.
  if (!translator_) return;
  const FormTranslator translator(*this, uiConvertMode_);
  // The window caption is drawn in the system's code page.
  if (sysCodePage_ == "950") form.SetCaption(GBToBig5(form.Caption()));
  translator.TextProperties(form, {"Hint", "ButtonHint"});
  for (TFont* font : {Screen().IconFont(), Screen().HintFont(), Screen().MenuFont()})
    SetUIFont(uiConvertMode_, *font);
  // The hint window takes the new hint font when it is made again.
  Application().SetShowHint(false);
  Application().SetShowHint(true);
  if (uiConvertMode_ == 0) return;
  for (int i = 0; i < form.ComponentCount(); ++i) {
    TComponent& component = *form.Components(i);
    translator.Properties(component);
    translator.ByClass(component);
    if (convertContents) translator.Contents(component);
  }
}

// ---- TCodeConverter: message boxes -------------------------------------------

int TCodeConverter::MessageDialog(const std::string& text, TMsgDlgType type,
                                  TMsgDlgButtons buttons) {
  if (text.empty()) return 0;
  const bool gb = uiCodePage_ == "936" || sysCodePage_ == "936";
  MessageBoxRequest request =
      CreateMessageRequest(gb ? text + kDialogPadding : text, type, buttons);
  if (auto* form = dynamic_cast<TCustomForm*>(Owner())) {
    if (form->WindowState() == TWindowState::wsMinimized)
      form->SetWindowState(TWindowState::wsNormal);
    request.caption = form->Caption();
  }
  if (const UIFont* uiFont = UIFontOf(uiConvertMode_)) {
    request.font.name = uiFont->name;
    request.font.charset = uiFont->charset;
  }
  return ShowMessageRequest(request);
}

}  // namespace ox
