#include "ui/BitBtn.h"

#include <array>

#include "ui/Forms.h"

namespace ox {

namespace {

struct KindInfo {
  const char* caption;
  TModalResult modalResult;
};

// Indexed by TBitBtnKind.
constexpr std::array<KindInfo, 11> kKinds{{{"", mrNone},
                                           {"OK", mrOk},
                                           {"Cancel", mrCancel},
                                           {"&Help", mrNone},
                                           {"&Yes", mrYes},
                                           {"&No", mrNo},
                                           {"&Close", mrNone},
                                           {"Abort", mrAbort},
                                           {"&Retry", mrRetry},
                                           {"&Ignore", mrIgnore},
                                           {"&All", mrAll}}};

const KindInfo& InfoOf(TBitBtnKind kind) {
  return kKinds[static_cast<std::size_t>(kind)];
}

bool IsDefaultKind(TBitBtnKind kind) {
  return kind == TBitBtnKind::bkOK || kind == TBitBtnKind::bkYes;
}

bool IsCancelKind(TBitBtnKind kind) {
  return kind == TBitBtnKind::bkCancel || kind == TBitBtnKind::bkNo;
}

}  // namespace

TModalResult ModalResultOf(TBitBtnKind kind) {
  return InfoOf(kind).modalResult;
}

const std::vector<std::string>& BitBtnKindNames() {
  static const std::vector<std::string> names{"bkCustom", "bkOK",     "bkCancel", "bkHelp",
                                              "bkYes",    "bkNo",     "bkClose",  "bkAbort",
                                              "bkRetry",  "bkIgnore", "bkAll"};
  return names;
}

const std::vector<std::string>& ButtonStyleNames() {
  static const std::vector<std::string> names{"bsAutoDetect", "bsWin31", "bsNew"};
  return names;
}

const ClassInfo& TBitBtn::StaticClassInfo() {
  using B = TBitBtn;
  static const ClassInfo info =
      ClassBuilder<B>("TBitBtn", &TButton::StaticClassInfo())
          .creatable()
          .object<TBitmap>("Glyph", &B::Glyph, &B::SetGlyph)
          .enumeration("Kind", &B::Kind, &B::SetKind, BitBtnKindNames())
          .defaultValue(static_cast<int>(TBitBtnKind::bkCustom))
          .enumeration("Layout", &B::Layout, &B::SetLayout, ButtonLayoutNames())
          .defaultValue(static_cast<int>(TButtonLayout::blGlyphLeft))
          .property("Margin", &B::Margin, &B::SetMargin)
          .defaultValue(-1)
          .property("NumGlyphs", &B::NumGlyphs, &B::SetNumGlyphs)
          .defaultValue(1)
          .property("Spacing", &B::Spacing, &B::SetSpacing)
          .defaultValue(4)
          .enumeration("Style", &B::Style, &B::SetStyle, ButtonStyleNames())
          .defaultValue(static_cast<int>(TButtonStyle::bsAutoDetect))
          .build();
  return info;
}

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner) {
  Glyph()->OnChange = MakeMethod<&TBitBtn::GlyphChanged>(this);
}

void TBitBtn::GlyphChanged(TObject*) {
  glyphModified_ = true;
}

TBitBtnKind TBitBtn::Kind() const {
  if (kind_ == TBitBtnKind::bkCustom) return kind_;
  const bool asGiven = Default() == IsDefaultKind(kind_) && Cancel() == IsCancelKind(kind_) &&
                       ModalResult() == ModalResultOf(kind_) && !glyphModified_;
  return asGiven ? kind_ : TBitBtnKind::bkCustom;
}

void TBitBtn::SetKind(TBitBtnKind kind) {
  if (kind == Kind()) return;
  if (kind != TBitBtnKind::bkCustom) {
    SetDefault(IsDefaultKind(kind));
    SetCancel(IsCancelKind(kind));
    // A caption read from the form resource before the Kind stays.
    if (!IsLoading() || Caption().empty()) SetCaption(InfoOf(kind).caption);
    SetModalResult(ModalResultOf(kind));
    SetGlyph(nullptr);
    SetNumGlyphs(2);
    glyphModified_ = false;
  }
  kind_ = kind;
}

void TBitBtn::Click() {
  if (Kind() == TBitBtnKind::bkClose)
    if (TCustomForm* form = ParentForm()) return form->Close();
  TButton::Click();
}

}  // namespace ox
