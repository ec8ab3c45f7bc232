#include "report/MVAR52CF.h"

namespace ox {

namespace {

// The report's caption: "材料差异汇总表".
constexpr std::string_view kMVAR52Resource = R"(inherited frmMVAR52: TfrmMVAR52
  Caption = #26448#26009#24046#24322#27719#24635#34920
end
)";

}  // namespace

const ClassInfo& TfrmMVAR52::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TfrmMVAR52>("TfrmMVAR52", &TfrmBaseGene::StaticClassInfo()).creatable().build();
  return info;
}

void TfrmMVAR52::ResourceTexts(std::vector<std::string_view>& texts) const {
  TfrmBaseGene::ResourceTexts(texts);
  texts.push_back(kMVAR52Resource);
}

}  // namespace ox
