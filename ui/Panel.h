// The panel: a container with an outer and an inner bevel, a border width between
// them and an optional single border. The single border (a 3-D client edge) makes the
// client area smaller; aligned children fill what the bevels and border width leave.
#pragma once

#include "ui/Controls.h"

namespace ox {

enum class TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

class TPanel : public TCustomControl {
 public:
  OX_CLASS_INFO()
  explicit TPanel(TComponent* owner);

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value) { alignment_ = value; }
  TBevelCut BevelInner() const { return bevelInner_; }
  void SetBevelInner(TBevelCut value);
  TBevelCut BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TBevelCut value);
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int value);  // at least 1
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle value);
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int value);  // at least 0
  bool FullRepaint() const { return fullRepaint_; }
  void SetFullRepaint(bool value) { fullRepaint_ = value; }
  bool ParentBackground() const { return parentBackground_; }
  void SetParentBackground(bool value) { parentBackground_ = value; }

  // Without the single border's client edge (2 pixels on each side).
  int ClientWidth() const override;
  int ClientHeight() const override;

 protected:
  void AdjustClientRect(TRect& rect) const override;

 private:
  int EdgeWidth() const;

  TAlignment alignment_ = TAlignment::taCenter;
  TBevelCut bevelInner_ = TBevelCut::bvNone;
  TBevelCut bevelOuter_ = TBevelCut::bvRaised;
  int bevelWidth_ = 1;
  TBorderStyle borderStyle_ = TBorderStyle::bsNone;
  int borderWidth_ = 0;
  bool fullRepaint_ = true;
  bool parentBackground_ = true;
};

// The names of TBevelCut for form resources.
const std::vector<std::string>& BevelCutNames();

}  // namespace ox
