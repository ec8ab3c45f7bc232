#include "lang/LanguageController.h"

#include "config/AlertLog.h"
#include "platform/WinPath.h"

namespace ox {

namespace {

std::string LanguageFolderName(const std::string& codePage) {
  if (codePage == "936") return "CHS";
  if (codePage == "950") return "CHT";
  if (codePage == "437") return "ENG";
  return {};
}

template <typename Config>
std::string FolderOf(const Config& config) {
  const std::string name = LanguageFolderName(config.FUICodePage);
  if (name.empty()) return {};
  const std::string folder = config.FBasePath + "MultiLanguage\\" + name + "\\";
  return DirectoryExists(folder) ? folder : std::string();
}

}  // namespace

std::string LanguagePackageFolder(TDesignType designType) {
  if (designType == dtServer) return FolderOf(TCorvaneIniS());
  return FolderOf(TCorvaneIniC());
}

const std::vector<std::string>& DesignTypeNames() {
  static const std::vector<std::string> names = {"dtClient", "dtServer"};
  return names;
}

const ClassInfo& TOxLangController::StaticClassInfo() {
  using C = TOxLangController;
  static const ClassInfo info =
      ClassBuilder<C>("TOxLangController", &TComponent::StaticClassInfo())
          .creatable()
          .property("Active", &C::Active, &C::SetActive)
          .defaultValue(0)
          .property("LangPackageName", &C::LangPackageName, &C::SetLangPackageName)
          .enumeration("DesignType", &C::DesignType, &C::SetDesignType, DesignTypeNames())
          .defaultValue(0)
          .build();
  return info;
}

void TOxLangController::SetLangPackageName(const std::string& name) {
  if (name == packageName_) return;
  packageName_ = name;
  const std::string folder = LanguagePackageFolder(designType_);
  fileName_ = folder.empty() ? std::string() : folder + name + ".Lng";
  active_ = false;
}

bool TOxLangController::PackageExists() const {
  return !fileName_.empty() && FileExists(fileName_);
}

namespace {

// Packages are present but this build cannot read them: say so once per use.
void NoteUnreadPackage(const std::string& file, const std::string& what) {
  WriteAlertLog("Language",
                "Package " + file + " not read for " + what + ": no package reader in this build",
                "M");
}

}  // namespace

bool TOxLangController::Apply(TComponent& component) {
  if (!PackageExists()) return false;
  NoteUnreadPackage(fileName_, component.Name());
  return false;
}

std::string GetPackageMessage(TDesignType designType, const std::string& module,
                              const std::string& msgName, const std::string& defaultText) {
  const std::string folder = LanguagePackageFolder(designType);
  if (folder.empty()) return defaultText;
  const std::string file = folder + module + ".Lng";
  if (FileExists(file)) NoteUnreadPackage(file, msgName);
  return defaultText;
}

}  // namespace ox
