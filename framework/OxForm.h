// The base form of every form of the plug-in. It owns the code-page converter
// (OxConverter) and the language controller (LangController) and gives every form the
// same start: no input method forced on any edit, the English interface's font,
// two-state glyphs for buttons that have one image, texts converted to the display code
// page once, and language packages applied when the form is shown.
#pragma once

#include <string>

#include "lang/CodeConverter.h"
#include "lang/LanguageController.h"
#include "ui/Bitmap.h"
#include "ui/Dialogs.h"
#include "ui/Forms.h"

namespace ox {

class TOxForm : public TForm {
 public:
  OX_CLASS_INFO()
  explicit TOxForm(TComponent* owner);

  TCodeConverter* OxConverter() const;
  TOxLangController* LangController() const;

  // Published handlers of the form resource.
  void FormCreate(TObject* sender);
  void FormShow(TObject* sender);

  // Converts the form's texts to the display code page, on the first call only.
  void ConvertTexts();
  bool Converted() const { return converted_; }
  bool LoadLanguageOnShow() const { return loadLanguageOnShow_; }
  void SetLoadLanguageOnShow(bool value) { loadLanguageOnShow_ = value; }
  // The converter's message box, captioned with the form's caption.
  TModalResult ShowMessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons);
  void GetCodePage(std::string& codePage) const;
  // "437" is the English interface.
  void GetUICodePage(std::string& codePage) const;
  TCodePageChangeType GetConvertMode() const;
  // Text := entry Key of the language package Section, or Default (first converted for
  // the interface when convertDefault).
  void GetLangText(const std::string& section, const std::string& key, std::string& text,
                   bool convertDefault, const std::string& defaultText) const;
  // Applies the packages named after the classes of the component's class chain, the
  // most basic first (stopping before the plain form class); missing files are skipped.
  virtual void LoadLanguage(TComponent& component, bool withAncestors);
  // As LoadLanguage, without TOxForm's own package.
  virtual void LoadOwnLanguage(TComponent& component, bool withAncestors);

  // Turns a one-image glyph into the image and its embossed disabled look side by side.
  static void MakeTwoStateGlyph(TBitmap& glyph);

 protected:
  std::string_view ResourceText() const override;

 private:
  void PrepareComponent(TComponent& component, bool englishInterface);
  void LoadPackages(TComponent& component, bool withAncestors, bool withOwnPackage);

  bool converted_ = false;
  bool loadLanguageOnShow_ = true;
};

// The name of the language section (package) of a form class: its class name.
std::vector<std::string> ClassChainNames(const TComponent& component, bool withOxForm);

}  // namespace ox
