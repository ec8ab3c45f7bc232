// The language controller every form owns (LangController): it names one language
// package at a time, the file "<base>\MultiLanguage\<CHS|CHT|ENG>\<package>.Lng" of the
// user interface's code page, and applies it to a form and its components.
//
// What is here: the package folder and file rules, and the package's presence. Reading
// a package's XML and applying its values (the reader) is not built yet: Apply reports
// that through its result and the alert log, and the forms carry on with their own
// texts.
#pragma once

#include <string>

#include "config/CorvaneINI.h"
#include "ui/Classes.h"

namespace ox {

class LanguageControllerError : public Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "LanguageControllerError"; }
};

// The language folder of a user-interface code page ("936" CHS, "950" CHT, "437" ENG)
// under the client's or server's base folder, ending in "\"; empty for another code page
// or a folder that does not exist.
std::string LanguagePackageFolder(TDesignType designType);

class TOxLangController : public TComponent {
 public:
  OX_CLASS_INFO()
  using TComponent::TComponent;

  bool Active() const { return active_; }
  void SetActive(bool value) { active_ = value; }
  TDesignType DesignType() const { return designType_; }
  void SetDesignType(TDesignType value) { designType_ = value; }
  const std::string& LangPackageName() const { return packageName_; }
  // A new name points the controller at that package's file and closes it.
  void SetLangPackageName(const std::string& name);
  // The package file the controller points at, or empty.
  const std::string& FileName() const { return fileName_; }
  bool PackageExists() const;
  // Applies the open package to `component` and the components it owns; false when
  // nothing could be applied.
  bool Apply(TComponent& component);

 private:
  bool active_ = false;
  TDesignType designType_ = dtClient;
  std::string packageName_;
  std::string fileName_;
};

// The text of message MsgName in the package Module ("//MsgName/@Msg"), or Default.
std::string GetPackageMessage(TDesignType designType, const std::string& module,
                              const std::string& msgName, const std::string& defaultText);

const std::vector<std::string>& DesignTypeNames();

}  // namespace ox
