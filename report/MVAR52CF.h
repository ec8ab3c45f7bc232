// The material variance summary form (program MVAR52). What it has so far is the option
// form's frame under the report's own name; its conditions, options and job build on it.
#pragma once

#include "framework/BaseGene.h"

namespace ox {

class TfrmMVAR52 : public TfrmBaseGene {
 public:
  OX_CLASS_INFO()
  using TfrmBaseGene::TfrmBaseGene;

 protected:
  void ResourceTexts(std::vector<std::string_view>& texts) const override;
};

}  // namespace ox
