// The report plug-in's controller: it creates the report form through the class
// variable frmBaseGeneClass, hands it the host's parameters and application object,
// hooks its show, hide and destroy events and reports them to the host, and copies
// the form's result when the form is destroyed. No error reaches the host except the
// two class-variable errors.
#pragma once

#include "framework/BaseGene.h"
#include "plugin/DLLBaseCtrller.h"

namespace ox {

// The report form's class, as the function that answers its class information: the
// information itself is built on first use, after the library's static initialisation.
// Set by the library's start-up code.
using FormClassRef = const ClassInfo& (*)();
extern FormClassRef frmBaseGeneClass;

class TDLLRPCtrller : public TDLLBaseController {
 public:
  TDLLRPCtrller() = default;
  ~TDLLRPCtrller() override;
  TDLLRPCtrller(const TDLLRPCtrller&) = delete;
  TDLLRPCtrller& operator=(const TDLLRPCtrller&) = delete;

  void GetVersion(std::u16string& version) override;
  std::int32_t GetVisible() override;
  void SetVisible(std::int16_t value) override;
  std::intptr_t GetHandle() override;
  std::int32_t CreateForm(const Variant& params) override;
  std::int32_t Execute(const Variant& params) override;
  std::int32_t Notify(std::int32_t kind, const Variant& value) override;
  void ShowFormModal(Variant& result) override;
  void FreeForm() override;
  std::int32_t GetInfo(Variant& info) override;
  bool IsFormFreed() override;
  void DoFormShow(void* sender) override;
  void DoFormHide(void* sender) override;
  void DoFormDestroy(void* sender) override;

  TfrmBaseGene* Form() const { return form_; }

 private:
  // The form's events, bound to the controller.
  void FormShown(TObject* sender) { DoFormShow(sender); }
  void FormHidden(TObject* sender) { DoFormHide(sender); }
  void FormDestroyed(TObject* sender) { DoFormDestroy(sender); }

  TfrmBaseGene* form_ = nullptr;
  TMethod savedOnShow_;
  TMethod savedOnHide_;
  TMethod savedOnDestroy_;
};

// The full path of the plug-in file (GetModuleFileName of the library's own instance).
std::string PluginModulePath();

}  // namespace ox
