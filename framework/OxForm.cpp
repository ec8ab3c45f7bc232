#include "framework/OxForm.h"

#include <algorithm>

#include "controls/GSpdBtn.h"
#include "controls/QmxEdit.h"
#include "controls/SelectPnl.h"
#include "framework/FrameworkClasses.h"
#include "lib/LibVCLs.h"
#include "ui/BitBtn.h"
#include "ui/Canvas.h"
#include "ui/SpeedButton.h"

namespace ox {

namespace {

// Caption "OxForm", the Chinese interface font "宋体" at height -13, key preview, centred.
constexpr std::string_view kOxFormResource = R"(object OxForm: TOxForm
  Left = 0
  Top = 0
  Width = 400
  Height = 191
  Caption = 'OxForm'
  Font.Charset = GB2312_CHARSET
  Font.Height = -13
  Font.Name = #23435#20307
  KeyPreview = True
  Position = poScreenCenter
  Scaled = False
  ShowHint = True
  OnCreate = FormCreate
  OnShow = FormShow
  object OxConverter: TCodeConverter
    DesignType = dtClient
  end
  object LangController: TOxLangController
    Active = False
  end
end
)";

// The raster operation that paints the brush where the source's bits are set and keeps
// the destination elsewhere: drawn through the outline mask, it paints the outline.
constexpr std::uint32_t kBrushOnMask = 0x00E20746;

bool IsDark(std::uint32_t rgb) {
  return (rgb & 0xFF) + ((rgb >> 8) & 0xFF) + ((rgb >> 16) & 0xFF) < 384;
}

// The glyphs FormCreate gives a disabled look: one image, made into two.
void TwoStates(TButtonGlyph& button) {
  if (button.NumGlyphs() != 1 || button.Glyph()->Empty()) return;
  TOxForm::MakeTwoStateGlyph(*button.Glyph());
  button.SetNumGlyphs(2);
}

}  // namespace

const ClassInfo& TOxForm::StaticClassInfo() {
  static const ClassInfo info = ClassBuilder<TOxForm>("TOxForm", &TForm::StaticClassInfo())
                                    .creatable()
                                    .handler<&TOxForm::FormCreate>("FormCreate")
                                    .handler<&TOxForm::FormShow>("FormShow")
                                    .build();
  return info;
}

TOxForm::TOxForm(TComponent* owner) : TForm(owner) {
  RegisterFrameworkClasses();
}

std::string_view TOxForm::ResourceText() const {
  return kOxFormResource;
}

TCodeConverter* TOxForm::OxConverter() const {
  return dynamic_cast<TCodeConverter*>(FindComponent("OxConverter"));
}

TOxLangController* TOxForm::LangController() const {
  return dynamic_cast<TOxLangController*>(FindComponent("LangController"));
}

void TOxForm::FormCreate(TObject*) {
  converted_ = false;
  loadLanguageOnShow_ = true;
  std::string uiCodePage;
  GetUICodePage(uiCodePage);
  for (int i = 0; i < ComponentCount(); ++i)
    PrepareComponent(*Components(i), uiCodePage == "437");
}

void TOxForm::PrepareComponent(TComponent& component, bool englishInterface) {
  if (CheckPropertyExist(&component, "ImeName")) SetStringProperty(&component, "ImeName", "");
  if (englishInterface && CheckPropertyExist(&component, "Font")) {
    if (auto* control = dynamic_cast<TControl*>(&component)) {
      control->Font()->SetCharset(134);
      control->Font()->SetName("Tahoma");
    }
  }
  if (auto* edit = dynamic_cast<TOxBtnDBEdit*>(&component)) {
    if (TGSpeedButton* button = edit->Button()) TwoStates(*button);  // null once freed
  } else if (auto* panel = dynamic_cast<TSelectPanel*>(&component)) {
    for (TF2Button* button : {panel->BeginButton(), panel->FinalButton(), panel->ListButton()})
      TwoStates(*button);
  } else if (auto* speed = dynamic_cast<TSpeedButton*>(&component)) {
    TwoStates(*speed);  // plain and glyph speed buttons alike
  } else if (auto* bitBtn = dynamic_cast<TBitBtn*>(&component)) {
    TwoStates(*bitBtn);
  }
}

void TOxForm::FormShow(TObject*) {
  if (loadLanguageOnShow_) LoadLanguage(*this, true);
}

void TOxForm::ConvertTexts() {
  if (converted_) return;
  if (TCodeConverter* converter = OxConverter()) converter->DoTranslate(*this, "", true);
  converted_ = true;
}

TModalResult TOxForm::ShowMessageDlg(const std::string& text, TMsgDlgType type,
                                     TMsgDlgButtons buttons) {
  TCodeConverter* converter = OxConverter();
  if (converter == nullptr) return MessageDlg(text, type, buttons);
  return static_cast<TModalResult>(converter->MessageDialog(text, type, buttons));
}

void TOxForm::GetCodePage(std::string& codePage) const {
  if (const TCodeConverter* converter = OxConverter()) codePage = converter->FSysCodePage();
}

void TOxForm::GetUICodePage(std::string& codePage) const {
  if (const TCodeConverter* converter = OxConverter()) codePage = converter->FUICodePage();
}

TCodePageChangeType TOxForm::GetConvertMode() const {
  const TCodeConverter* converter = OxConverter();
  return converter != nullptr ? converter->FUIConvertMode() : 0;
}

void TOxForm::GetLangText(const std::string& section, const std::string& key, std::string& text,
                          bool convertDefault, const std::string& defaultText) const {
  std::string fallback = defaultText;
  if (convertDefault) {
    if (const TCodeConverter* converter = OxConverter())
      fallback = VarToStr(converter->ConvertUIString(Variant(defaultText)));
  }
  const TOxLangController* controller = LangController();
  text = controller != nullptr ? GetPackageMessage(controller->DesignType(), section, key, fallback)
                               : fallback;
}

void TOxForm::LoadLanguage(TComponent& component, bool withAncestors) {
  LoadPackages(component, withAncestors, true);
}

void TOxForm::LoadOwnLanguage(TComponent& component, bool withAncestors) {
  LoadPackages(component, withAncestors, false);
}

void TOxForm::LoadPackages(TComponent& component, bool withAncestors, bool withOwnPackage) {
  TOxLangController* controller = LangController();
  if (controller == nullptr) return;
  std::vector<std::string> names = ClassChainNames(component, withOwnPackage);
  if (!withAncestors && !names.empty()) names.erase(names.begin(), names.end() - 1);
  for (const std::string& name : names) {
    controller->SetLangPackageName(name);
    if (!controller->PackageExists()) continue;
    controller->SetActive(true);
    controller->Apply(component);
  }
}

std::vector<std::string> ClassChainNames(const TComponent& component, bool withOxForm) {
  std::vector<std::string> names;
  for (const ClassInfo* info = &component.classInfo(); info != nullptr; info = info->parent()) {
    if (info == &TForm::StaticClassInfo() || info == &TCustomForm::StaticClassInfo()) break;
    if (!withOxForm && info == &TOxForm::StaticClassInfo()) break;
    names.push_back(info->name());
  }
  std::reverse(names.begin(), names.end());
  return names;
}

void TOxForm::MakeTwoStateGlyph(TBitmap& glyph) {
  glyph.SetPixelFormat(TPixelFormat::pf24bit);
  const int width = glyph.Width(), height = glyph.Height();
  const TColor transparent = glyph.TransparentColor();
  const std::uint32_t t = ColorToRGB(transparent);

  // The outline: dark pixels, and light ones next to the transparent background.
  TBitmap disabled;
  disabled.SetPixelFormat(TPixelFormat::pf24bit);
  disabled.SetSize(width, height);
  disabled.Canvas().Brush().SetColor(transparent);
  disabled.Canvas().FillRect({0, 0, width, height});
  const auto at = [&](int x, int y) {
    return ColorToRGB(glyph.Pixel(std::clamp(x, 0, width - 1), std::clamp(y, 0, height - 1)));
  };
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::uint32_t p = at(x, y);
      if (p == t) continue;
      const bool marked = IsDark(p) || at(x, y - 1) == t || at(x, y + 1) == t ||
                          at(x - 1, y) == t || at(x + 1, y) == t;
      if (marked) disabled.SetPixel(x, y, clBlack);
    }
  }
  TBitmap mask;
  mask.Assign(disabled);
  mask.Mask(clBlack);  // the outline's bits set, the rest clear
  // Embossed: highlight one pixel down and right, shadow on top.
  TCanvas& canvas = disabled.Canvas();
  canvas.Brush().SetColor(clBtnFace);
  canvas.FillRect({0, 0, width, height});
  canvas.SetCopyMode(kBrushOnMask);
  canvas.Brush().SetColor(clBtnHighlight);
  canvas.Draw(1, 1, mask);
  canvas.Brush().SetColor(clBtnShadow);
  canvas.Draw(0, 0, mask);

  TBitmap former;
  former.Assign(glyph);
  glyph.SetWidth(width * 2);
  glyph.Canvas().Brush().SetColor(transparent);
  glyph.Canvas().FillRect({0, 0, width * 2, height});
  glyph.Canvas().SetCopyMode(SRCCOPY);
  glyph.Canvas().Draw(0, 0, former);
  glyph.Canvas().Draw(width, 0, disabled);
}

}  // namespace ox
