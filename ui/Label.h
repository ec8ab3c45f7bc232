// Labels: a caption without a window. With AutoSize the label takes the size of its
// caption as the font measures it (a right-justified label keeps its right edge);
// with WordWrap it keeps its width, since the model does not break lines at words.
// The caption's accelerator ("&Name") gives the focus to FocusControl.
#pragma once

#include <string>
#include <vector>

#include "ui/Controls.h"

namespace ox {

enum class TTextLayout { tlTop, tlCenter, tlBottom };

class TLabel : public TGraphicControl {
 public:
  OX_CLASS_INFO()
  explicit TLabel(TComponent* owner);

  // The control the label names; it gets the focus through the accelerator.
  TWinControl* FocusControl() const { return focusControl_.get(); }
  virtual void SetFocusControl(TWinControl* control);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value) { alignment_ = value; }
  TTextLayout Layout() const { return layout_; }
  void SetLayout(TTextLayout value) { layout_ = value; }
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value) { transparent_ = value; }
  // Whether "&" marks the accelerator (else it is shown as it is).
  bool ShowAccelChar() const { return showAccelChar_; }
  void SetShowAccelChar(bool value);

  bool DialogChar(char key, TShiftState shift) override;
  void Loaded() override;

 protected:
  void TextChanged() override { AdjustBounds(); }
  void FontChanged() override { AdjustBounds(); }
  // Sizes the label to its caption when AutoSize is on (not while it is being read).
  void AdjustBounds();

 private:
  ComponentRef<TWinControl> focusControl_;
  bool autoSize_ = true;
  TAlignment alignment_ = TAlignment::taLeftJustify;
  TTextLayout layout_ = TTextLayout::tlTop;
  bool wordWrap_ = false;
  bool transparent_ = false;
  bool showAccelChar_ = true;
};

const std::vector<std::string>& TextLayoutNames();

}  // namespace ox
