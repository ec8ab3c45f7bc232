#include "controls/SelectPnl.h"

#include <algorithm>
#include <array>
#include <limits>

#include "platform/AsciiText.h"
#include "platform/CodePage.h"
#include "platform/Variant.h"
#include "ui/Canvas.h"
#include "ui/Forms.h"
#include "ui/SortType.h"

namespace ox {

namespace {

constexpr int kButtonSize = 23;
constexpr int kEditHeight = 24;

// The hints of the children by position, and the children in that order.
constexpr std::array<const char*, 9> kDefaultHints = {
    "用户自定输入方式",  "区间选择-起始信息",     "区间选择-起始信息开窗",
    "区间选择-截止信息", "区间选择-截止信息开窗", "多选-己选择的信息",
    "多选-信息开窗",     "多选-删除一笔信息",     "多选-删除己选信息"};

bool NumberLess(const std::string& final, const std::string& begin) {
  const auto read = [](const std::string& text) {
    std::int64_t value = 0;
    if (!TryStrToInt64(text, value) || value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max())
      return std::int64_t{0};
    return value;
  };
  return read(final) < read(begin);
}

// Both texts must read as numbers; a text that does not is left as typed.
bool FloatLess(const std::string& final, const std::string& begin) {
  double f = 0, b = 0;
  return TryStrToFloat(final, f) && TryStrToFloat(begin, b) && f < b;
}

bool DateLater(const std::optional<TDateTime>& a, const std::optional<TDateTime>& b) {
  // No date counts as earlier than every real date.
  if (!a) return false;
  return !b || *a > *b;
}

// Counts the separators of a typed date, by characters (a trail byte is never one).
int CountSeparators(std::string_view text, std::string_view sign) {
  if (sign.empty()) return 0;
  int count = 0;
  for (std::size_t pos = 0; pos < text.size();) {
    if (text.substr(pos, sign.size()) == sign) {
      ++count;
      pos += sign.size();
    } else {
      pos += NarrowCharLength(text, pos);
    }
  }
  return count;
}

// Completes a year-month to a whole date with day 01, where the type puts the day.
std::string WithFirstDay(std::string_view text, std::string_view sign, TDateType type) {
  const std::string day = "01";
  switch (type) {
    case TDateType::dt_MMDDYYYY:
      return std::string(text.substr(0, 2)) + std::string(sign) + day +
             std::string(text.substr(std::min<std::size_t>(2, text.size())));
    case TDateType::dt_DDMMYYYY:
      return day + std::string(sign) + std::string(text);
    default:
      return std::string(text) + std::string(sign) + day;
  }
}

std::vector<std::string> SplitAt(std::string_view text, std::string_view sign) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (std::size_t pos = 0; pos < text.size();) {
    if (text.substr(pos, sign.size()) == sign) {
      fields.emplace_back(text.substr(start, pos - start));
      pos += sign.size();
      start = pos;
    } else {
      pos += NarrowCharLength(text, pos);
    }
  }
  fields.emplace_back(text.substr(start));
  return fields;
}

std::optional<int> FieldValue(std::string_view field) {
  std::int64_t value = 0;
  const std::string_view trimmed = TrimText(field);
  // Only decimal digits with an optional sign: "$1F" is no date field.
  if (trimmed.empty() || trimmed.find_first_not_of("+-0123456789") != std::string_view::npos ||
      !TryStrToInt64(trimmed, value) || value < std::numeric_limits<int>::min() ||
      value > std::numeric_limits<int>::max())
    return std::nullopt;
  return static_cast<int>(value);
}

}  // namespace

const std::vector<std::string>& SelectStyleNames() {
  static const std::vector<std::string> names = {"sp_Range", "sp_Discrete", "sp_UserChoice"};
  return names;
}

const std::vector<std::string>& ValueTypeNames() {
  static const std::vector<std::string> names = {"vt_String", "vt_Number", "vt_Date",
                                                 "vt_Time",   "vt_Float",  "vt_OtherMask"};
  return names;
}

const std::vector<std::string>& DateTypeNames() {
  static const std::vector<std::string> names = {"dt_NoneCare", "dt_YYYYMMDD", "dt_MMDDYYYY",
                                                 "dt_DDMMYYYY", "dt_YYMMDD",   "dt_YYYMMDD"};
  return names;
}

const std::vector<std::string>& CheckDuplicateNames() {
  static const std::vector<std::string> names = {"cd_None", "cd_CheckCase", "cd_CaseInsensitive"};
  return names;
}

std::optional<TDateTime> ReadPanelDate(std::string_view text, std::string_view sign, TDateType type,
                                       std::string_view blankMaskText) {
  text = TrimText(text);
  if (text.empty() || text == TrimText(blankMaskText) || type == TDateType::dt_NoneCare)
    return std::nullopt;
  std::string whole;
  switch (CountSeparators(text, sign)) {
    case 1:
      whole = WithFirstDay(text, sign, type);
      break;
    case 2:
      whole = text;
      break;
    default:
      return std::nullopt;
  }
  const std::vector<std::string> fields = SplitAt(whole, sign);
  std::array<int, 3> v{};
  for (std::size_t i = 0; i < 3; ++i) {
    const std::optional<int> value = i < fields.size() ? FieldValue(fields[i]) : std::nullopt;
    if (!value) return std::nullopt;
    v[i] = *value;
  }
  int year = v[0], month = v[1], day = v[2];
  if (type == TDateType::dt_MMDDYYYY) {
    year = v[2], month = v[0], day = v[1];
  } else if (type == TDateType::dt_DDMMYYYY) {
    year = v[2], month = v[1], day = v[0];
  } else if (type == TDateType::dt_YYMMDD || type == TDateType::dt_YYYMMDD) {
    year += 1911;
  }
  TDateTime date = 0;
  if (!TryEncodeDate(year, month, day, date)) return std::nullopt;
  return date;
}

// ---- the children's classes ---------------------------------------------------

const ClassInfo& TZelCheckBox::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TZelCheckBox>("TZelCheckBox", &TBitCheckBox::StaticClassInfo()).build();
  return info;
}

const ClassInfo& TZelMaskEdit::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TZelMaskEdit>("TZelMaskEdit", &TMaskEdit::StaticClassInfo()).build();
  return info;
}

void TZelMaskEdit::Change() {
  if (!suppressed_) TMaskEdit::Change();
}

const ClassInfo& TZelListView::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TZelListView>("TZelListView", &TListView::StaticClassInfo()).build();
  return info;
}

void TZelListView::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == TMouseButton::mbLeft && !Focused() && CanFocus() && Showing()) SetFocus();
  if (button == TMouseButton::mbLeft && !Focused()) return;
  TListView::MouseDown(button, shift, x, y);
}

// ---- the panel --------------------------------------------------------------------

const ClassInfo& TSelectPanel::StaticClassInfo() {
  using P = TSelectPanel;
  static const ClassInfo info =
      ClassBuilder<P>("TSelectPanel", &TCustomGroupBox::StaticClassInfo())
          .creatable()
          .property("AutoChangeDateSite", &P::AutoChangeDateSite, &P::SetAutoChangeDateSite)
          .defaultValue(1)
          .object<TStrings>("BeginWords", &P::BeginWords, &P::SetBeginWords)
          .property("ColumnsAutoSize", &P::ColumnsAutoSize, &P::SetColumnsAutoSize)
          .defaultValue(1)
          .property("CanOpenWin", &P::CanOpenWin, &P::SetCanOpenWin)
          .defaultValue(1)
          .enumeration("CheckDuplicate", &P::CheckDuplicate, &P::SetCheckDuplicate,
                       CheckDuplicateNames())
          .defaultValue(0)
          .object<TStrings>("ChildHints", &P::ChildHints, &P::SetChildHints)
          .object<TStrings>("ColumnCaptions", &P::ColumnCaptions, &P::SetColumnCaptions)
          .object<TListColumns>("Columns", &P::Columns, &P::SetColumns)
          .enumeration("DateType", &P::DateType, &P::SetDateType, DateTypeNames())
          .defaultValue(0)
          .property("DateSign", &P::DateSign, &P::SetDateSign)
          .property("Discard", &P::Discard, &P::SetDiscard)
          .property("EditMask", &P::EditMask, &P::SetEditMask)
          .object<TStrings>("FinalWords", &P::FinalWords, &P::SetFinalWords)
          .property("GlyphIndex", &P::GlyphIndex, &P::SetGlyphIndex)
          .defaultValue(8)
          .property("HintWord", &P::HintWord, &P::SetHintWord)
          .property("HideSelection", &P::HideSelection, &P::SetHideSelection)
          .defaultValue(0)
          .object<TListItems>("Items", &P::Items, &P::SetItems)
          .property("OtherHeight", &P::OtherHeight, &P::SetOtherHeight)
          .defaultValue(105)
          .property("OtherWidth", &P::OtherWidth, &P::SetOtherWidth)
          .defaultValue(200)
          .property("ShowColumnHeader", &P::ShowColumnHeader, &P::SetShowColumnHeader)
          .defaultValue(0)
          .property("SortListBox", &P::SortListBox, &P::SetSortListBox)
          .defaultValue(0)
          .enumeration("Style", &P::Style, &P::SetStyle, SelectStyleNames())
          .defaultValue(0)
          .property("UseDiscard", &P::UseDiscard, &P::SetUseDiscard)
          .defaultValue(0)
          .property("UserChoice", &P::UserChoice, &P::SetUserChoice)
          .defaultValue(1)
          .property("UseVertical", &P::UseVertical, &P::SetUseVertical)
          .defaultValue(0)
          .enumeration("ValueType", &P::ValueType, &P::SetValueType, ValueTypeNames())
          .defaultValue(0)
          .event("OnOpenWinClick", &P::OnOpenWinClick)
          .event("OnClearClick", &P::OnClearClick)
          .event("OnDeleteClick", &P::OnDeleteClick)
          .event("OnTypeClick", &P::OnTypeClick)
          .event("OnStyleChanging", &P::OnStyleChanging)
          .event("OnStyleChange", &P::OnStyleChange)
          .event("OnItemSelect", &P::OnItemSelect)
          .event("OnItemChange", &P::OnItemChange)
          .event("OnItemChanging", &P::OnItemChanging)
          .build();
  return info;
}

TSelectPanel::TSelectPanel(TComponent* owner)
    : TCustomGroupBox(owner),
      beginWords_(std::make_unique<TStringList>()),
      finalWords_(std::make_unique<TStringList>()),
      childHints_(std::make_unique<TStringList>()),
      columnCaptions_(std::make_unique<TStringList>()) {
  SetBounds(Left(), Top(), 353, 45);
  CreateChildren();
  beginWords_->Add(Gb("起"));
  beginWords_->Add(Gb("起"));
  finalWords_->Add(Gb("止"));
  finalWords_->Add(Gb("止"));
  for (const char* hint : kDefaultHints)
    childHints_->Add(Gb(hint));
  beginWords_->OnChange = MakeMethod<&TSelectPanel::BeginWordsChanged>(this);
  finalWords_->OnChange = MakeMethod<&TSelectPanel::FinalWordsChanged>(this);
  childHints_->OnChange = MakeMethod<&TSelectPanel::ApplyChildHints>(this);
  columnCaptions_->OnChange = MakeMethod<&TSelectPanel::ColumnCaptionsChanged>(this);
  SetHintWord(Gb("区间选择"));
  ApplyChildHints(nullptr);
  built_ = true;
  CaptionFromWords(*lbBegin_, *beginWords_, 0);
  CaptionFromWords(*lbFinal_, *finalWords_, 0);
  ApplyVisibility();
  Relayout();
}

TSelectPanel::~TSelectPanel() = default;

template <typename T>
T* TSelectPanel::MakeChild(TWinControl* parent, const char* name) {
  auto* child = new T(this);
  child->SetName(name);
  child->SetParent(parent);
  HookChildEvents(child);
  return child;
}

void TSelectPanel::CreateChildren() {
  switch_ = MakeChild<TZelCheckBox>(this);
  switch_->SetBounds(16, 17, switch_->Width(), switch_->Height());
  switch_->SetChecked(userChoice_);

  rangePage_ = MakeChild<TPanel>(this);
  lbBegin_ = MakeChild<TLabel>(rangePage_);
  edBegin_ = MakeChild<TZelMaskEdit>(rangePage_, "edBegin");
  btnBegin_ = MakeChild<TF2Button>(rangePage_);
  lbFinal_ = MakeChild<TLabel>(rangePage_);
  edFinal_ = MakeChild<TZelMaskEdit>(rangePage_, "edFinal");
  btnFinal_ = MakeChild<TF2Button>(rangePage_);

  listPage_ = MakeChild<TPanel>(this);
  btnList_ = MakeChild<TF2Button>(listPage_);
  btnDelete_ = MakeChild<TGSpeedButton>(listPage_);
  btnClear_ = MakeChild<TGSpeedButton>(listPage_);
  listBox_ = MakeChild<TZelListView>(listPage_, "ListBox");

  for (TPanel* page : {rangePage_, listPage_}) {
    page->SetBevelInner(TBevelCut::bvNone);
    page->SetBevelOuter(TBevelCut::bvNone);
    page->SetCaption(" ");
  }
  for (TZelMaskEdit* edit : {edBegin_, edFinal_})
    edit->SetHeight(kEditHeight);
  for (TF2Button* button : {btnBegin_, btnFinal_, btnList_}) {
    button->SetBounds(0, 0, kButtonSize, kButtonSize);
    button->SetNumGlyphs(1);
  }
  btnList_->SetAutoAlign(false);
  btnDelete_->SetFlat(true);
  btnDelete_->SetBounds(0, 0, kButtonSize, kButtonSize);
  btnDelete_->SetGlyphIndex(47);
  btnDelete_->SetNumGlyphs(1);
  btnClear_->SetFlat(true);
  btnClear_->SetBounds(0, 0, kButtonSize, kButtonSize);
  btnClear_->SetGlyphIndex(4);
  btnClear_->SetNumGlyphs(2);

  listBox_->SetViewStyle(TViewStyle::vsReport);
  listBox_->SetMultiSelect(true);
  listBox_->SetRowSelect(true);
  listBox_->SetReadOnly(true);
  listBox_->SetShowColumnHeaders(false);
  listBox_->SetSortType(TSortType::stNone);
  listBox_->SetHideSelection(false);
  listBox_->OnSelectItem = MakeMethod<&TSelectPanel::ListSelectItem>(this);
  listBox_->OnChange = MakeMethod<&TSelectPanel::ListChange>(this);
  listBox_->OnChanging = MakeMethod<&TSelectPanel::ListChanging>(this);
  listBox_->OnColumnClick = MakeMethod<&TSelectPanel::ListColumnClick>(this);
  listBox_->OnCompare = MakeMethod<&TSelectPanel::ListCompare>(this);
}

void TSelectPanel::HookChildEvents(TControl* child) {
  child->OnClick = MakeMethod<&TSelectPanel::ChildClick>(this);
  child->OnDblClick = MakeMethod<&TSelectPanel::ChildDblClick>(this);
  child->OnMouseDown = MakeMethod<&TSelectPanel::ChildMouseDown>(this);
  child->OnMouseUp = MakeMethod<&TSelectPanel::ChildMouseUp>(this);
  child->OnMouseMove = MakeMethod<&TSelectPanel::ChildMouseMove>(this);
  // Keys of the two edits and the list are the panel's.
  if (auto* edit = dynamic_cast<TZelMaskEdit*>(child);
      edit != nullptr || dynamic_cast<TZelListView*>(child)) {
    auto* control = static_cast<TWinControl*>(child);
    control->OnKeyDown = MakeMethod<&TSelectPanel::ChildKeyDown>(this);
    control->OnKeyUp = MakeMethod<&TSelectPanel::ChildKeyUp>(this);
    control->OnKeyPress = MakeMethod<&TSelectPanel::ChildKeyPress>(this);
  }
}

void TSelectPanel::ApplyChildHints(TObject*) {
  const std::array<TControl*, 9> children = {switch_,  edBegin_, btnBegin_,  edFinal_, btnFinal_,
                                             listBox_, btnList_, btnDelete_, btnClear_};
  const int count = std::min<int>(childHints_->Count(), static_cast<int>(children.size()));
  for (int k = 0; k < count; ++k)
    children[static_cast<std::size_t>(k)]->SetHint(childHints_->Strings(k));
}

// ---- properties -------------------------------------------------------------------

void TSelectPanel::SetBeginWords(TStrings* words) {
  if (words != nullptr) beginWords_->Assign(*words);
}

void TSelectPanel::SetFinalWords(TStrings* words) {
  if (words != nullptr) finalWords_->Assign(*words);
}

void TSelectPanel::BeginWordsChanged(TObject*) {
  WordsChanged(*beginWords_, *lbBegin_);
}

void TSelectPanel::FinalWordsChanged(TObject*) {
  WordsChanged(*finalWords_, *lbFinal_);
}

// The list keeps at most the two entries the layouts use; its label takes entry 1 in
// sp_UserChoice, entry 0 otherwise, before the layout picks its own.
void TSelectPanel::WordsChanged(TStringList& words, TLabel& label) {
  if (words.Count() > 2) {
    words.Delete(2);  // changes the list again, which comes back here
    return;
  }
  CaptionFromWords(label, words, style_ == TSelectStyle::sp_UserChoice ? 1 : 0);
  Relayout();
}

void TSelectPanel::CaptionFromWords(TLabel& label, const TStrings& words, int entry) {
  if (words.Count() == 0) return;
  label.SetCaption(words.Strings(std::min(entry, words.Count() - 1)));
}

void TSelectPanel::SetCanOpenWin(bool value) {
  canOpenWin_ = value;
  for (TF2Button* button : {btnBegin_, btnFinal_, btnList_})
    button->SetVisible(value);
  Relayout();
}

void TSelectPanel::SetCheckDuplicate(TCheckDuplicate value) {
  checkDuplicate_ = value;
  if (value == TCheckDuplicate::cd_None) return;
  SetSortListBox(true);
  if (!IsRangeMode()) RemoveDuplicates(nullptr);
}

void TSelectPanel::SetChildHints(TStrings* hints) {
  if (hints != nullptr) childHints_->Assign(*hints);
}

TStrings* TSelectPanel::ColumnCaptions() const {
  refreshingCaptions_ = true;
  columnCaptions_->BeginUpdate();
  columnCaptions_->Clear();
  for (int i = 0; i < Columns()->Count(); ++i)
    columnCaptions_->Add(Columns()->Items(i)->Caption());
  columnCaptions_->EndUpdate();
  refreshingCaptions_ = false;
  return columnCaptions_.get();
}

void TSelectPanel::SetColumnCaptions(TStrings* captions) {
  if (captions != nullptr && captions != columnCaptions_.get()) columnCaptions_->Assign(*captions);
}

// The scratch list changed through the property (a form resource or code writing into
// it): the columns follow it, one per entry, each as wide as its texts and caption.
void TSelectPanel::ColumnCaptionsChanged(TObject*) {
  if (refreshingCaptions_) return;
  TListColumns* columns = Columns();
  columns->Clear();
  for (int i = 0; i < columnCaptions_->Count(); ++i) {
    TListColumn* column = columns->Add();
    column->SetCaption(columnCaptions_->Strings(i));
    column->SetWidth(-2);
  }
}

void TSelectPanel::SetColumns(TListColumns* columns) {
  if (columns != nullptr) Columns()->Assign(*columns);
}

void TSelectPanel::SetEditMask(const std::string& mask) {
  edBegin_->SetSuppressed(true);
  const std::string previous = edBegin_->Text();
  edBegin_->SetText("");
  edBegin_->SetEditMask(mask);
  edFinal_->SetEditMask(mask);
  blankMaskText_ = edBegin_->Text();
  edBegin_->SetText(previous);
  edBegin_->SetSuppressed(false);
  editMask_ = mask;
}

void TSelectPanel::SetGlyphIndex(int value) {
  bool loaded = true;
  for (TF2Button* button : {btnBegin_, btnFinal_, btnList_})
    loaded = button->ChangeGlyphIndex(value) && loaded;
  if (!loaded) {
    for (TF2Button* button : {btnBegin_, btnFinal_, btnList_})
      button->SetGlyphIndex(0);
    return;
  }
  glyphIndex_ = value;
}

void TSelectPanel::SetHintWord(const std::string& value) {
  switch_->SetCaption(value);
  SizeSwitch();
}

void TSelectPanel::SetItems(TListItems* items) {
  if (items != nullptr) Items()->Assign(*items);
}

void TSelectPanel::SetSortListBox(bool value) {
  sortListBox_ = value;
  listBox_->SetSortType(value ? TSortType::stText : TSortType::stNone);
}

void TSelectPanel::SetStyle(TSelectStyle value) {
  TSelectStyle proposed = value;
  bool accept = true;
  OnStyleChanging(this, style_, proposed, accept);
  if (!accept) return;
  const TSelectStyle old = style_;
  style_ = proposed;
  ApplyVisibility();
  const bool rangeChanged = (old == TSelectStyle::sp_Range) != (proposed == TSelectStyle::sp_Range);
  if (rangeChanged && !useVertical_ && !IsLoading()) SwapSize();
  Relayout();
  OnStyleChange(this, old, proposed);
}

void TSelectPanel::SetUserChoice(bool value) {
  if (style_ != TSelectStyle::sp_UserChoice) return;
  switch_->SetChecked(value);
  SwitchClick();
}

void TSelectPanel::SetUseVertical(bool value) {
  if (style_ != TSelectStyle::sp_Range || value == useVertical_) return;
  useVertical_ = value;
  if (!IsLoading()) SwapSize();
  Relayout();
}

void TSelectPanel::SwapSize() {
  const int width = Width(), height = Height();
  SetBounds(Left(), Top(), otherWidth_, otherHeight_);
  otherWidth_ = width;
  otherHeight_ = height;
}

bool TSelectPanel::IsRangeMode() const {
  return style_ == TSelectStyle::sp_Range || (style_ == TSelectStyle::sp_UserChoice && userChoice_);
}

void TSelectPanel::SetEnabled(bool enabled) {
  TCustomGroupBox::SetEnabled(enabled);
  SetEnabledInside(*this, enabled);
}

void TSelectPanel::SetEnabledInside(TWinControl& parent, bool enabled) {
  for (int i = 0; i < parent.ControlCount(); ++i) {
    TControl* child = parent.Controls(i);
    child->SetEnabled(enabled);
    if (auto* inner = dynamic_cast<TWinControl*>(child)) SetEnabledInside(*inner, enabled);
  }
}

void TSelectPanel::SetFocus() {
  TCustomGroupBox::SetFocus();
  if (!IsRangeMode() && listBox_->CanFocus()) listBox_->SetFocus();
}

// ---- visibility and layout --------------------------------------------------------

void TSelectPanel::ApplyVisibility() {
  switch_->SetVisible(style_ == TSelectStyle::sp_UserChoice);
  const bool range = style_ == TSelectStyle::sp_Range || (switch_->Visible() && switch_->Checked());
  rangePage_->SetVisible(range);
  listPage_->SetVisible(!range);
}

void TSelectPanel::BoundsChanged() {
  TCustomGroupBox::BoundsChanged();
  Relayout();
}

void TSelectPanel::FontChanged() {
  TCustomGroupBox::FontChanged();
  Relayout();
}

void TSelectPanel::SizeSwitch() {
  TCanvas canvas;
  canvas.Font().Assign(*switch_->Font());
  const TSize size = canvas.TextExtent(switch_->Caption());
  switch_->SetBounds(switch_->Left(), switch_->Top(), size.cx + 24, size.cy + 2);
}

void TSelectPanel::Relayout() {
  if (!built_) return;
  SizeSwitch();
  const int captionHeight = FontTextHeight(*Font());
  switch (style_) {
    case TSelectStyle::sp_Range:
      PlacePage(rangePage_, captionHeight + 3);
      PlacePage(listPage_, captionHeight + 3);
      if (useVertical_)
        LayoutVerticalRange();
      else
        LayoutHorizontalRange();
      break;
    case TSelectStyle::sp_Discrete:
      PlacePage(listPage_, captionHeight + 3);
      PlacePage(rangePage_, captionHeight + 3);
      LayoutList();
      break;
    case TSelectStyle::sp_UserChoice: {
      switch_->SetBounds(16, captionHeight + 1, switch_->Width(), switch_->Height());
      const int top = switch_->Top() + FontTextHeight(*switch_->Font()) + 2;
      PlacePage(rangePage_, top);
      PlacePage(listPage_, top);
      LayoutVerticalRange();
      LayoutList();
      break;
    }
  }
}

// Left 2, from `top` down to 2 pixels above the frame's bottom, 2 pixels inside the
// frame at either side.
void TSelectPanel::PlacePage(TPanel* page, int top) {
  page->SetBounds(2, top, std::max(Width() - 4, 0), std::max(Height() - top - 2, 0));
}

// One row, centred: label, edBegin, button, label, edFinal, button; the edits share
// what the labels, gaps and buttons leave.
void TSelectPanel::LayoutHorizontalRange() {
  CaptionFromWords(*lbBegin_, *beginWords_, 0);
  CaptionFromWords(*lbFinal_, *finalWords_, 0);
  const int width = rangePage_->ClientWidth();
  const int height = rangePage_->ClientHeight();
  const int labels = lbBegin_->Width() + lbFinal_->Width();
  const int editWidth = std::max(
      canOpenWin_ ? (width - labels - 3 - 2 * kButtonSize - 8) / 2 : (width - labels - 4) / 2, 0);
  const int editTop = (height - edBegin_->Height()) / 2;
  const int buttonTop = (height - btnBegin_->Height()) / 2;

  lbBegin_->SetBounds(2, (height - lbBegin_->Height()) / 2, lbBegin_->Width(), lbBegin_->Height());
  edBegin_->SetBounds(lbBegin_->Left() + lbBegin_->Width() + 1, editTop, editWidth,
                      edBegin_->Height());
  const int beginRight = edBegin_->Left() + edBegin_->Width();
  btnBegin_->SetBounds(beginRight + 2, buttonTop, btnBegin_->Width(), btnBegin_->Height());
  const int finalLabelLeft =
      canOpenWin_ ? btnBegin_->Left() + btnBegin_->Width() + 2 : beginRight + 4;
  lbFinal_->SetBounds(finalLabelLeft, (height - lbFinal_->Height()) / 2, lbFinal_->Width(),
                      lbFinal_->Height());
  edFinal_->SetBounds(lbFinal_->Left() + lbFinal_->Width() + 2, editTop, editWidth,
                      edBegin_->Height());
  btnFinal_->SetBounds(edFinal_->Left() + edFinal_->Width() + 2, buttonTop, btnFinal_->Width(),
                       btnFinal_->Height());
}

// Two rows a third of the free height apart; both edits start 2 right of the begin
// label and reach their buttons, 4 pixels short of the page's right edge.
void TSelectPanel::LayoutVerticalRange() {
  CaptionFromWords(*lbBegin_, *beginWords_, 1);
  CaptionFromWords(*lbFinal_, *finalWords_, 1);
  const int width = rangePage_->ClientWidth();
  const int editHeight = edBegin_->Height();
  const int third = (rangePage_->ClientHeight() - 2 * editHeight) / 3;
  const int rows[2] = {third, third + editHeight + third};
  const int editLeft = 2 + lbBegin_->Width() + 2;
  const int buttonRoom = canOpenWin_ ? kButtonSize + 2 : 0;
  const int editWidth = std::max(width - 4 - buttonRoom - editLeft, 0);
  const std::array<std::tuple<TLabel*, TZelMaskEdit*, TF2Button*>, 2> lines = {
      std::tuple{lbBegin_, edBegin_, btnBegin_}, std::tuple{lbFinal_, edFinal_, btnFinal_}};
  for (std::size_t i = 0; i < lines.size(); ++i) {
    auto [label, edit, button] = lines[i];
    label->SetBounds(2, rows[i] + (editHeight - label->Height()) / 2, label->Width(),
                     label->Height());
    edit->SetBounds(editLeft, rows[i], editWidth, editHeight);
    button->SetBounds(editLeft + editWidth + 2, rows[i], button->Width(), button->Height());
  }
}

// The list fills the page but for the buttons' column at its right.
void TSelectPanel::LayoutList() {
  const int width = listPage_->ClientWidth();
  listBox_->SetBounds(0, 0, std::max(width - btnList_->Width() - 3, 0), listPage_->ClientHeight());
  const int left = listBox_->Width() + 2;
  btnList_->SetBounds(left, 0, btnList_->Width(), btnList_->Height());
  btnDelete_->SetBounds(left, btnList_->Height(), btnDelete_->Width(), btnDelete_->Height());
  btnClear_->SetBounds(left, btnDelete_->Top() + btnDelete_->Height(), btnClear_->Width(),
                       btnClear_->Height());
}

// ---- child events -------------------------------------------------------------------

// The two edits and the list speak for themselves; every other child through the panel.
TObject* TSelectPanel::SenderFor(TObject* child) {
  if (child == edBegin_ || child == edFinal_ || child == listBox_) return child;
  return this;
}

// The sender and point a child's mouse event takes as the panel's: a child that speaks
// through the panel has its point moved into the panel's coordinates.
TSelectPanel::MouseAt TSelectPanel::AsPanelMouse(TObject* child, int x, int y) {
  TObject* sender = SenderFor(child);
  if (sender != this) return {sender, {x, y}};
  const TRect bounds = static_cast<TControl*>(child)->BoundsIn(this);
  return {sender, {x + bounds.Left, y + bounds.Top}};
}

void TSelectPanel::ChildClick(TObject* sender) {
  if (sender == switch_)
    SwitchClick();
  else if (sender == btnBegin_ || sender == btnFinal_ || sender == btnList_)
    OpenWinClick(static_cast<TF2Button*>(sender));
  else if (sender == btnDelete_)
    DeleteClick();
  else if (sender == btnClear_)
    ClearClick();
  OnClick(SenderFor(sender));
}

void TSelectPanel::ChildDblClick(TObject* sender) {
  OnDblClick(SenderFor(sender));
}

void TSelectPanel::ChildMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x,
                                  int y) {
  const MouseAt at = AsPanelMouse(sender, x, y);
  OnMouseDown(at.sender, button, shift, at.point.X, at.point.Y);
}

void TSelectPanel::ChildMouseUp(TObject* sender, TMouseButton button, TShiftState shift, int x,
                                int y) {
  const MouseAt at = AsPanelMouse(sender, x, y);
  OnMouseUp(at.sender, button, shift, at.point.X, at.point.Y);
}

void TSelectPanel::ChildMouseMove(TObject* sender, TShiftState shift, int x, int y) {
  const MouseAt at = AsPanelMouse(sender, x, y);
  OnMouseMove(at.sender, shift, at.point.X, at.point.Y);
}

void TSelectPanel::ChildKeyDown(TObject* sender, std::uint16_t& key, TShiftState shift) {
  OnKeyDown(sender, key, shift);
}

void TSelectPanel::ChildKeyUp(TObject* sender, std::uint16_t& key, TShiftState shift) {
  OnKeyUp(sender, key, shift);
}

void TSelectPanel::ChildKeyPress(TObject* sender, char& key) {
  OnKeyPress(sender, key);
}

void TSelectPanel::ListSelectItem(TObject* sender, TListItem* item, bool selected) {
  OnItemSelect(sender, item, item != nullptr ? item->Index() : -1, selected);
}

void TSelectPanel::ListChange(TObject* sender, TListItem* item, TItemChange change) {
  OnItemChange(sender, item, change);
}

void TSelectPanel::ListChanging(TObject* sender, TListItem* item, TItemChange change, bool& allow) {
  OnItemChanging(sender, item, change, allow);
}

void TSelectPanel::ListColumnClick(TObject*, TListColumn* column) {
  ColumnClick(column->Index());
}

void TSelectPanel::ListCompare(TObject*, TListItem* a, TListItem* b, int, int& result) {
  result = CompareRows(a, b);
}

// ---- the buttons --------------------------------------------------------------------

void TSelectPanel::SwitchClick() {
  if (style_ != TSelectStyle::sp_UserChoice) {
    // The switch only means something in sp_UserChoice; elsewhere it keeps the mode.
    switch_->SetChecked(userChoice_);
    return;
  }
  userChoice_ = switch_->Checked();
  ApplyVisibility();
  Relayout();
  OnTypeClick(this);
}

void TSelectPanel::OpenWinClick(TF2Button* button) {
  TWinControl* target = button == btnBegin_   ? static_cast<TWinControl*>(edBegin_)
                        : button == btnFinal_ ? static_cast<TWinControl*>(edFinal_)
                                              : static_cast<TWinControl*>(listBox_);
  if (target->CanFocus() && target->Showing()) target->SetFocus();
  if (auto* owner = dynamic_cast<TWinControl*>(Owner()))
    SendMessage(owner->Handle(), WM_OPENWIN, 0, reinterpret_cast<LPARAM>(target));
  OnOpenWinClick(this, target);
}

void TSelectPanel::DeleteClick() {
  bool accept = true;
  OnDeleteClick(this, accept);
  if (!accept) return;
  for (int i = Items()->Count() - 1; i >= 0; --i)
    if (Items()->Item(i)->Selected()) Items()->Delete(i);
}

void TSelectPanel::ClearClick() {
  Clear();
  if (listBox_->CanFocus() && listBox_->Showing()) listBox_->SetFocus();
  OnClearClick(this);
}

// ---- rows ---------------------------------------------------------------------------

void TSelectPanel::Clear() {
  Items()->Clear();
}

bool TSelectPanel::AddItem(const std::vector<std::string>& values) {
  if (values.empty()) return false;
  try {
    const bool current = facts_.CurrentFor(*Items());
    CatchUpWithRows();
    const int subItemsBefore = facts_.MaxSubItems();
    AddColumnsFor(values.size());
    TListItem* added = AddRow(values);
    facts_.Add(*added);
    PadRows(added, !current || facts_.MaxSubItems() > subItemsBefore);
    RemoveDuplicates(added);
    facts_.Stamp(*Items());
    if (ColumnsAutoSize()) AutoSizeColumns();
    return true;
  } catch (...) {
    facts_.Invalidate();
    return false;
  }
}

void TSelectPanel::CatchUpWithRows() {
  if (facts_.CurrentFor(*Items())) return;
  facts_.Recount(*Items());
  cleanUnder_ = TCheckDuplicate::cd_None;
}

void TSelectPanel::AddColumnsFor(std::size_t valueCount) {
  TListColumns* columns = Columns();
  while (static_cast<std::size_t>(columns->Count()) < valueCount)
    columns->Add()->SetCaption("Data" + std::to_string(columns->Count()));
}

// The texts go in before the caption, so that a sorted list places the row by all of
// them at once.
TListItem* TSelectPanel::AddRow(const std::vector<std::string>& values) {
  TListItem* item = Items()->Add();
  TStrings* subItems = item->SubItems();
  subItems->BeginUpdate();
  for (std::size_t i = 1; i < values.size(); ++i)
    subItems->Add(values[i]);
  subItems->EndUpdate();
  item->SetCaption(values[0]);
  // An empty caption is no change: the row still has to take its place.
  if (values[0].empty()) item->Update();
  return item;
}

// Every row gets as many sub-items as the row with the most; empty texts fill up.
void TSelectPanel::PadRows(TListItem* added, bool raised) {
  const int most = facts_.MaxSubItems();
  const auto pad = [most](TListItem& item) {
    TStrings* subItems = item.SubItems();
    if (subItems->Count() >= most) return;
    subItems->BeginUpdate();
    while (subItems->Count() < most)
      subItems->Add("");
    subItems->EndUpdate();
  };
  if (!raised) return pad(*added);
  // The new row raised the count: the others follow.
  for (int i = 0; i < Items()->Count(); ++i)
    pad(*Items()->Item(i));
}

// In a sorted list the row is found by its order, among the rows that compare equal;
// otherwise it was added at the end.
int TSelectPanel::IndexOfAdded(TListItem* added) const {
  const TListItems& items = *Items();
  if (!sortListBox_) return items.IndexOf(added);
  int low = 0, high = items.Count();
  while (low < high) {
    const int mid = low + (high - low) / 2;
    if (CompareRows(items.Item(mid), added) < 0)
      low = mid + 1;
    else
      high = mid;
  }
  for (int i = low; i < items.Count() && CompareRows(items.Item(i), added) == 0; ++i)
    if (items.Item(i) == added) return i;
  return items.IndexOf(added);
}

bool TSelectPanel::SameCaption(const TListItem& a, const TListItem& b) const {
  if (checkDuplicate_ == TCheckDuplicate::cd_CaseInsensitive)
    return UpperNarrow(a.Caption()) == UpperNarrow(b.Caption());
  return a.Caption() == b.Caption();
}

// From the last row to the second, a row whose caption equals the one just before it
// goes. Rows known to be clean under this check can only pair with the new row, so
// only its neighbours are looked at, in the same order.
void TSelectPanel::RemoveDuplicates(TListItem* added) {
  if (checkDuplicate_ == TCheckDuplicate::cd_None) {
    cleanUnder_ = TCheckDuplicate::cd_None;  // rows now come unchecked
    return;
  }
  TListItems& items = *Items();
  const bool clean = added != nullptr && (cleanUnder_ == checkDuplicate_ ||
                                          cleanUnder_ == TCheckDuplicate::cd_CaseInsensitive);
  int first = 1, last = items.Count() - 1;
  if (clean) {
    const int at = IndexOfAdded(added);
    first = std::max(at, 1);
    last = std::min(at + 1, items.Count() - 1);
  }
  for (int i = last; i >= first; --i) {
    if (SameCaption(*items.Item(i), *items.Item(i - 1))) {
      facts_.Remove(*items.Item(i));
      items.Delete(i);
    }
  }
  cleanUnder_ = checkDuplicate_;
}

void TSelectPanel::AutoSizeColumns() {
  CatchUpWithRows();
  TCanvas canvas;
  canvas.Font().Assign(*listBox_->Font());
  const int charWidth = canvas.TextWidth("W");
  TListColumns* columns = Columns();
  for (int i = 0; i < columns->Count(); ++i) {
    TListColumn* column = columns->Items(i);
    column->SetWidth(charWidth *
                     std::max(static_cast<int>(column->Caption().size()), facts_.Longest(i)));
  }
}

// ---- sorting ------------------------------------------------------------------------

void TSelectPanel::ColumnClick(int column) {
  if (column == sortColumn_) {
    sortAscending_ = !sortAscending_;
  } else {
    sortColumn_ = column;
    sortAscending_ = true;
  }
  SortItems();
}

void TSelectPanel::SortItems() {
  listBox_->AlphaSort();
}

namespace {

const std::string& ColumnText(const TListItem& item, int column) {
  static const std::string empty;
  if (column == 0) return item.Caption();
  const TStrings& subItems = *item.SubItems();
  return column - 1 < subItems.Count() ? subItems.Strings(column - 1) : empty;
}

}  // namespace

// By the sort column; ties go to column 1 (from column 0), to column 0 (from column 1),
// or to column 0 and then column 1 (from any other).
int TSelectPanel::CompareRows(TListItem* a, TListItem* b) const {
  const auto by = [&](int column) {
    return CompareItemText(ColumnText(*a, column), ColumnText(*b, column));
  };
  int result = by(sortColumn_);
  if (result == 0) {
    if (sortColumn_ == 0) {
      result = by(1);
    } else {
      result = by(0);
      if (result == 0 && sortColumn_ != 1) result = by(1);
    }
  }
  return sortAscending_ ? result : -result;
}

// ---- leaving the panel --------------------------------------------------------------

void TSelectPanel::DoExit() {
  if (editMask_.empty() || editMask_[0] != '!') {
    for (TZelMaskEdit* edit : {edBegin_, edFinal_})
      edit->SetText(std::string(TrimText(edit->Text())));
  }
  const std::string begin = edBegin_->Text();
  const std::string final = edFinal_->Text();
  if (!begin.empty() && !final.empty() && ShouldSwap(begin, final)) {
    edBegin_->SetText(final);
    edFinal_->SetText(begin);
  }
  TCustomGroupBox::DoExit();
}

bool TSelectPanel::IsDiscarded(const std::string& begin, const std::string& final) const {
  const std::string_view discard = TrimText(discard_);
  return useDiscard_ && (TrimText(begin) == discard || TrimText(final) == discard);
}

bool TSelectPanel::ShouldSwap(const std::string& begin, const std::string& final) const {
  const bool blank = begin == blankMaskText_ || final == blankMaskText_;
  switch (valueType_) {
    case TValueType::vt_Number:
      return NumberLess(final, begin);
    case TValueType::vt_Date:
      if (!autoChangeDateSite_ || blank || IsDiscarded(begin, final)) return false;
      if (dateType_ == TDateType::dt_NoneCare) return begin > final;
      return DateLater(ReadPanelDate(begin, dateSign_, dateType_, blankMaskText_),
                       ReadPanelDate(final, dateSign_, dateType_, blankMaskText_));
    case TValueType::vt_Float:
      // The texts stay as typed: only their order changes.
      return FloatLess(final, begin);
    case TValueType::vt_String:
    case TValueType::vt_Time:
      return !blank && !IsDiscarded(begin, final) && begin > final;
    case TValueType::vt_OtherMask:
      return false;
  }
  return false;
}

}  // namespace ox
