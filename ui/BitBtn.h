// Bitmap buttons: push buttons with a glyph. A Kind other than bkCustom gives the
// button the framework's caption, ModalResult, Default or Cancel and two glyph images
// (the model has no stock pictures, so the glyph is left empty); changing any of these
// afterwards makes the Kind read bkCustom again. A bkClose button closes its form
// instead of firing OnClick.
#pragma once

#include <string>
#include <vector>

#include "ui/Button.h"
#include "ui/ButtonGlyph.h"

namespace ox {

enum class TBitBtnKind {
  bkCustom,
  bkOK,
  bkCancel,
  bkHelp,
  bkYes,
  bkNo,
  bkClose,
  bkAbort,
  bkRetry,
  bkIgnore,
  bkAll
};
// How the button face is drawn (only stored).
enum class TButtonStyle { bsAutoDetect, bsWin31, bsNew };

class TBitBtn : public TButton, public TButtonGlyph {
 public:
  OX_CLASS_INFO()
  explicit TBitBtn(TComponent* owner);

  TBitBtnKind Kind() const;
  void SetKind(TBitBtnKind kind);
  TButtonStyle Style() const { return style_; }
  void SetStyle(TButtonStyle value) { style_ = value; }

  void Click() override;

 private:
  void GlyphChanged(TObject* sender);

  TBitBtnKind kind_ = TBitBtnKind::bkCustom;
  bool glyphModified_ = false;  // the glyph differs from the one the Kind gave
  TButtonStyle style_ = TButtonStyle::bsAutoDetect;
};

// The modal result a Kind gives its button.
TModalResult ModalResultOf(TBitBtnKind kind);
const std::vector<std::string>& BitBtnKindNames();
const std::vector<std::string>& ButtonStyleNames();

}  // namespace ox
