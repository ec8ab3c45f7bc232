// The code-page converter every form owns (OxConverter): it reads the code pages in
// force from the client or server configuration, converts single values and variant
// arrays between GB and Big5 on their way between the user interface and the database,
// converts the texts of a whole form once (DoTranslate), picks the font of the user
// interface's code page, and shows message boxes in the form's style. The character
// conversion itself is done by the language library "Oxlanguage.dll" (TTranslator),
// loaded only when the user interface is not GB.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "config/CorvaneINI.h"
#include "platform/Library.h"
#include "platform/Variant.h"
#include "ui/Classes.h"
#include "ui/Dialogs.h"
#include "ui/Forms.h"
#include "ui/Graphics.h"

namespace ox {

// The language library's two entry points: a narrow text in, the converted text out.
class TTranslator {
 public:
  // Loads "Oxlanguage.dll"; raises Exception "Load Library Oxlanguage.dll Error!" when
  // it cannot, "Get Library Procedure Address Error!" when an entry point is missing.
  TTranslator();
  // The same for a library of another name or place (a test's decoy library).
  explicit TTranslator(std::string_view libraryName);
  ~TTranslator();
  TTranslator(const TTranslator&) = delete;
  TTranslator& operator=(const TTranslator&) = delete;

  std::string GBtoBIG5(std::string_view text) const;
  std::string BIG5toGB(std::string_view text) const;

 private:
  using ConvertProc = const char* (*)(const char*);
  static std::string Call(ConvertProc entry, std::string_view text);

  OxModule* module_ = nullptr;
  ConvertProc gbToBig5_ = nullptr;
  ConvertProc big5ToGb_ = nullptr;
};

class TCodeConverter : public TComponent {
 public:
  OX_CLASS_INFO()
  // All code pages "936", both modes 0, dtClient; then LoadCodePages, and the
  // translator when the user-interface mode is not 0.
  explicit TCodeConverter(TComponent* owner);
  ~TCodeConverter() override;

  TDesignType DesignType() const { return designType_; }
  void SetDesignType(TDesignType value) { designType_ = value; }

  void LoadCodePages();
  const std::string& FSysCodePage() const { return sysCodePage_; }
  const std::string& FUICodePage() const { return uiCodePage_; }
  const std::string& FDBCodePage() const { return dbCodePage_; }
  TCodePageChangeType FUIConvertMode() const { return uiConvertMode_; }
  TCodePageChangeType FDBConvertMode() const { return dbConvertMode_; }
  const TTranslator* FTranslator() const { return translator_.get(); }

  Variant ConvertCodePage(TCodePageChangeType mode, const Variant& value) const;
  Variant ConvertUIString(const Variant& value) const;
  Variant ConvertDataString(const Variant& value) const;
  // The inverse of the mode; the input itself on any failure.
  Variant RecoverUIString(const Variant& value) const;
  Variant RecoverDataString(const Variant& value) const;
  std::string GBToBig5(std::string_view text) const;
  std::string Big5ToGB(std::string_view text) const;
  void SetUIFont(TCodePageChangeType mode, TFont& font) const;
  // Converts the texts of a whole form; callers pass an empty selection and true.
  // Fonts and owner drawing change in every mode but 0; texts only in modes 1 and 2.
  void DoTranslate(TForm& form, std::string_view selection, bool convertContents);
  // A message box in the owner form's style; 0 without a box for an empty text.
  int MessageDialog(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons);

 private:
  template <typename Reader>
  void TakeCodePages(const Reader& reader);
  Variant Recover(TCodePageChangeType mode, const Variant& value) const;

  TDesignType designType_ = dtClient;
  std::string sysCodePage_ = "936";
  std::string uiCodePage_ = "936";
  std::string dbCodePage_ = "936";
  TCodePageChangeType uiConvertMode_ = 0;
  TCodePageChangeType dbConvertMode_ = 0;
  std::unique_ptr<TTranslator> translator_;
};

}  // namespace ox
