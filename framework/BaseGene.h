// The generic option form every report form derives from: the option pages, the
// condition-scheme panel, OK and Cancel, and the application-server connection. It
// defines the life cycle the controller drives (InitForm once, shown, HostRun, closed
// and freed), the keyboard behaviour of all forms, the message records and dialogs,
// the server access operations, and the virtual operations derived forms fill in.
//
// The operations are spread over files by role: BaseGene.cpp (life cycle, keys,
// pages), BaseGeneMessages.cpp (message codes and boxes), BaseGeneServer.cpp (host
// objects, settings, server connection and queries), BaseGeneModule.cpp (the report's
// server module in the client), BaseGeneChecks.cpp (required, date and year-month
// fields).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "controls/ExtPage.h"
#include "controls/F2Button.h"
#include "framework/HandlerStore.h"
#include "framework/MessageCodes.h"
#include "framework/OxForm.h"
#include "platform/Variant.h"
#include "ui/Button.h"
#include "ui/ClientDataSet.h"
#include "ui/Connection.h"
#include "ui/MaskEdit.h"
#include "ui/PageControl.h"

namespace ox {

class TfrmBaseGene : public TOxForm {
 public:
  OX_CLASS_INFO()
  explicit TfrmBaseGene(TComponent* owner);
  ~TfrmBaseGene() override;

  // ---- components of the form resource ----
  TExtPageControl* pgOption() const;
  TButton* btnOk() const;
  TButton* btnCancel() const;
  TMaskEdit* edPrintDate() const;
  TSocketConnection* MainMidas() const;

  // ---- the members the other parts of the framework use ----
  Variant HostObject;        // the host application object
  Variant F2Window;          // the host's lookup-window object, or Empty
  Variant Validator;         // the host's data-check object, or Empty
  Variant Counter;           // the host's system-settings object, or Empty
  std::uint8_t F2Flags = 0;  // 4: connect the lookup window
  std::string UserID;
  std::string CompanyID;  // empty until InitForm has run
  std::string CompanyTitle;
  std::string DbName;
  std::string Version = "870401-0.00.00";
  TStringList SettingsCache;  // system settings by name
  std::string ServerProgID;
  unsigned HeaderCount = 9;
  std::string ProgramCaption;
  int EntryCount = 0;
  std::string ProgramCode;
  std::string ProgramName;
  std::vector<TWinControl*> PageEndControls;
  std::string JobKind = "R";
  int BaseEntryCount = 1;
  Variant JobParams;
  MessageRecords Messages;  // MessageCodes and MessageTexts
  Variant LastRunValue;
  bool UseNames = true;
  bool AutoConfirm = false;
  HWND HostWindow = nullptr;
  bool CheckFailed = false;
  ComponentRef<TWinControl> LastFocused;
  bool InPageChange = false;
  Variant ResultValue;      // the server's reply to a submission
  unsigned ResultCode = 0;  // 0 none, 1 submitted, 2 cancelled
  bool SystemPageReady = false;
  Variant AppServer;
  Variant HostParam4;
  int HostVersionType = 0;
  unsigned ProductID = 3;
  bool ShowSubmitMessage = true;
  bool WantLog = false;
  bool RunLocallyFlag = false;
  std::u16string PowerText;
  // The power reply's six fields (t1..t6) and elements 2 and 3, and the two flags of t4.
  std::vector<std::string> PowerFields;
  std::string PowerPart2, PowerPart3;
  bool PowerFlag7 = true;  // character 7 of t4 is not "N"
  bool PowerFlag8 = true;  // character 8 of t4 is not "N"
  std::string ModulePath;
  bool LocalServer = false;
  std::string SchemeControls;  // the controls whose values schemes save
  TStringList SchemeWork;      // the scheme code's working list

  const std::string& MessageCodes() const { return Messages.codes(); }
  const std::string& MessageTexts() const { return Messages.texts(); }

  // ---- life cycle ----
  void SetModulePath(const std::string& path);
  // The plug-in file is a library: ".so" here, ".dll" on Windows (ignoring case).
  bool IsDllBuild() const;
  virtual void InitSystemPage();
  virtual void InitProgram();
  virtual void InitEnvironment();
  // Once per form: the host's parameters, the host's objects, the program, the server.
  virtual bool InitForm(const Variant& params);
  virtual bool ApplyHostValues(const Variant& values);
  virtual void PowerLoaded() {}
  virtual void SetupConnection(TSocketConnection&) {}
  virtual bool HostCommand(int mode);
  // The host's run request: element 1 of runPair is the run value.
  void HostRun(const Variant& runPair);
  bool ShowHelp();
  void SetProgramCode(const std::string& code);
  void AddEntries(int count);
  void SelectFirstControl();

  // F2 on a control (key 113) or WM_OPENWIN from a lookup button.
  // Data sets show their texts converted for the user interface: field labels, and
  // string and memo fields without handlers of their own.
  virtual void ConvertDataSets();
  virtual void F2KeyPressed(std::uint16_t key, TWinControl* control);
  virtual void PickPhrase(TWinControl& control);

  // ---- messages ----
  void LookupMessage(const std::string& type, const std::string& id, std::string& text);
  void ShowMessageCode(const std::string& code);
  void AddMessageText(const std::string& text);
  TModalResult ShowCodedMessage(const std::string& type, const std::string& id,
                                TMsgDlgButtons buttons, std::span<const Variant> args);
  TModalResult ShowMessageBox(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons);

  // ---- server access ----
  bool LoadServerAddress();
  bool ConnectServer();
  void GetSystemSetting(const std::string& name, std::string& value);
  bool ServerQuery(const std::string& prog, const std::string& query, bool mode, Variant& result,
                   Variant params);
  bool CheckValueExists(const Variant& prog, const Variant& query, const Variant& params,
                        const std::string& kind, int index, Variant& out);
  virtual void LookupData(const std::string& prog, const std::string& query, const Variant& params,
                          const std::string& extra, bool multiSelect, Variant& data);
  void GetCounterData(const std::string& name, const Variant& params, Variant& result);
  // Keeps the parts of the user's power reply (GetPower) and calls PowerLoaded.
  void ApplyPower(const Variant& reply);
  // Runs the report's server module in this process with the job; false when no module
  // could be found, loaded or run. The module's message joins the message texts.
  virtual bool RunServerModule(const std::string& requestNo, const std::string& programCode,
                               const std::string& reportID, int count, const Variant& values,
                               const std::string& dbName, const std::string& jobKind,
                               const std::string& serverProgID, const std::string& userID,
                               const std::string& companyID, const std::string& extra);

  // ---- field checks ----
  // Derived forms declare required, date and year-month controls by name (comma
  // lists). The form colours the required ones, masks and checks the date ones, and
  // puts its checking handlers in place of the controls' OnEnter/OnExit and of the
  // confirming buttons' OnClick, keeping the replaced handlers to call once a check
  // passes (BaseGeneChecks.cpp).
  std::uint32_t DateFormatCache = 1;     // "Sys001" as last read
  std::string DateSeparatorCache = "/";  // "Sys002" as last read
  // "<control>=<colour>" before any colouring; a panel's parts as "<panel>.edBegin",
  // "<panel>.edFinal" and "<panel>.ListBox".
  TStringList SavedColors;
  std::string DateFieldNames;
  std::string YearMonthFieldNames;
  HandlerStore FieldEventStore;   // OnEnter/OnExit replaced on date controls
  HandlerStore ButtonEventStore;  // OnClick replaced on the confirming buttons
  // Entries "Name;Flag;Part": Flag "N" or a number colours without checking; Part
  // picks a selection panel's parts (0 all, 1 begin, 2 final, 3 list).
  std::string RequiredFields;
  // Published events: the handlers installed on the declared controls, the form's own
  // until a derived form puts others in their place.
  TNotifyEvent OnDateFieldEnter = MakeMethod<&TfrmBaseGene::DateFieldEnter>(this);
  TNotifyEvent OnDateFieldExit = MakeMethod<&TfrmBaseGene::DateFieldExit>(this);
  TNotifyEvent OnRequiredExit = MakeMethod<&TfrmBaseGene::RequiredExit>(this);

  // The company's date layout, read afresh and kept in the caches: the format (1 when
  // "Sys001" is no number) and the separator ("/" when "Sys002" is empty).
  int GetDateFormat();
  void GetDateSeparator(std::string& separator);
  void DateEditMask(std::string& mask);
  void YearMonthEditMask(std::string& mask);
  void BlankDateText(std::string& text);
  void BlankYearMonthText(std::string& text);
  // A typed date as "yyyymmdd", a typed year-month as "yyyymm", in the form's layout.
  std::string NormalizeDate(const std::string& text);
  std::string NormalizeYearMonth(const std::string& text);
  // Keeps (first time only) and puts back the colours of the controls inside container.
  void SaveColors(TWinControl& container);
  void RestoreColors(TWinControl& container);
  // Restores and unhooks the previous list, colours the named controls and hooks the
  // confirming buttons (btnOk and, when present, btnQuery, btnDesign, btnPeriod).
  virtual void SetRequiredFields(const std::string& names);
  // True (after "E;000037", with the control's page active and the control focused)
  // at the first checked entry that is empty.
  bool CheckRequiredEmpty(const std::string& names);
  // Unhooks the previous list and hooks the new one; a date list without edPrintDate
  // keeps the previous names after the new ones.
  void SetDateFieldNames(const std::string& names);
  void SetYearMonthFieldNames(const std::string& names);
  // Entering puts the mask (a plain edit: the blank text) on the control; leaving
  // checks it ("E;000005", the failing edit focused). Only selection panels, masked
  // edits and edits are accepted.
  bool CheckDateField(TControl* control, bool entering);
  bool CheckYearMonthField(TControl* control, bool entering);
  // F2 on a date control: the lookup window's date picker; "" without that window.
  std::string DateQuickPick(const std::string& text);
  // Runs the current OnExit of control, or of the selection panel it belongs to.
  void RunExitCheck(TWinControl* control);
  // The form's own handlers of the three events.
  void DateFieldEnter(TObject* sender);
  void DateFieldExit(TObject* sender);
  void RequiredExit(TObject* sender);

  // ---- published handlers of the form resource ----
  void FormCreate(TObject* sender);
  void FormShow(TObject* sender);
  void FormClose(TObject* sender, TCloseAction& action);
  void FormDestroy(TObject* sender);
  void FormKeyDown(TObject* sender, std::uint16_t& key, TShiftState shift);
  void FormKeyPress(TObject* sender, char& key);
  void FormResize(TObject* sender);
  void btnOkClick(TObject* sender);
  void btnCancelClick(TObject* sender);
  void pgOptionChange(TObject* sender);
  void pgOptionChanging(TObject* sender, bool& allowChange);
  void tsOption2Show(TObject* sender);
  // The text handlers ConvertDataSets gives string and memo fields.
  void ConvertedFieldText(TField* sender, std::string& text, bool displayText);
  void RecoveredFieldText(TField* sender, const std::string& text);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  // Escape is the form's own key (its key handling closes the form): the Cancel button
  // does not take it, so leaving with Escape is not a cancel.
  bool DialogKey(std::uint16_t key, TShiftState shift) override;
  // Records the control that last had the focus (LastFocused).
  void FocusChanged(TWinControl* control) override;

 protected:
  void ResourceTexts(std::vector<std::string_view>& texts) const override;
  // The host's objects: the system settings (with the settings cache and the company
  // title), the data check.
  virtual void ConnectHostObjects();
  virtual void ConnectF2Window();
  // Asks the form to close once the current handlers have returned.
  void PostClose();
  // The program master row of the program code: name, log flag.
  void ReadProgramMaster();
  // The server module file to run for the program, or empty.
  std::string LocateServerModule(const std::string& programCode);

 private:
  void MovePage(bool forward);
  bool ValuesNameControls(const Variant& values);
};

// The host's parameters for the stand-alone executable's self-initialisation.
inline constexpr const char* kTestUserID = "796";
inline constexpr const char* kTestCompany = "TESTCO";

}  // namespace ox
