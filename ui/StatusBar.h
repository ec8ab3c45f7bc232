// Status bars: a strip at the bottom of a form showing either its panels side by side
// or, with SimplePanel, one simple text across its whole width.
#pragma once

#include <memory>
#include <string>

#include "ui/Controls.h"

namespace ox {

enum class TStatusPanelStyle { psText, psOwnerDraw };
enum class TStatusPanelBevel { pbNone, pbLowered, pbRaised };

class TStatusPanel : public TCollectionItem {
 public:
  OX_CLASS_INFO()
  using TCollectionItem::TCollectionItem;

  const std::string& Text() const { return text_; }
  void SetText(const std::string& text) { text_ = text; }
  int Width() const { return width_; }
  void SetWidth(int width) { width_ = width; }
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value) { alignment_ = value; }
  TStatusPanelStyle Style() const { return style_; }
  void SetStyle(TStatusPanelStyle value) { style_ = value; }
  TStatusPanelBevel Bevel() const { return bevel_; }
  void SetBevel(TStatusPanelBevel value) { bevel_ = value; }

 private:
  std::string text_;
  int width_ = 50;
  TAlignment alignment_ = TAlignment::taLeftJustify;
  TStatusPanelStyle style_ = TStatusPanelStyle::psText;
  TStatusPanelBevel bevel_ = TStatusPanelBevel::pbLowered;
};

class TStatusPanels : public TCollection {
 public:
  OX_CLASS_INFO()
  TStatusPanels();
  TStatusPanel* Items(int index) const;
  TStatusPanel* Add();
};

class TStatusBar : public TWinControl {
 public:
  OX_CLASS_INFO()
  // Aligned to the bottom of its parent, 19 pixels high.
  explicit TStatusBar(TComponent* owner);
  ~TStatusBar() override;

  TStatusPanels* Panels() const { return panels_.get(); }
  bool SimplePanel() const { return simplePanel_; }
  void SetSimplePanel(bool value) { simplePanel_ = value; }
  const std::string& SimpleText() const { return simpleText_; }
  void SetSimpleText(const std::string& text) { simpleText_ = text; }
  bool SizeGrip() const { return sizeGrip_; }
  void SetSizeGrip(bool value) { sizeGrip_ = value; }
  bool AutoHint() const { return autoHint_; }
  void SetAutoHint(bool value) { autoHint_ = value; }
  bool UseSystemFont() const { return useSystemFont_; }
  void SetUseSystemFont(bool value) { useSystemFont_ = value; }

  // The rectangle of a panel: panels sit side by side from the left, each as wide as
  // its Width, the last one reaching to the right edge. Empty for an index outside the
  // panels, and for every panel while SimplePanel is on.
  TRect PanelRect(int index) const;

 private:
  std::unique_ptr<TStatusPanels> panels_;
  bool simplePanel_ = false;
  std::string simpleText_;
  bool sizeGrip_ = true;
  bool autoHint_ = false;
  bool useSystemFont_ = true;
};

}  // namespace ox
