// Data sets: records of typed fields behind a cursor, edited through the states of the
// framework (browse, edit, insert) and watched by data sources, which keep data-aware
// controls in step. TDataSet holds the cursor, the states, the fields and the edit
// buffer; a concrete data set (TClientDataSet) keeps the records.
//
// Fields are components: the "persistent" ones a form resource declares inside their
// data set (`object ClientDataSet1ConName: TStringField FieldName = 'ConName' end`)
// belong to the form and stay; without them, opening creates one field per field
// definition and closing frees them again.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ui/Classes.h"

namespace ox {

class TDataSet;
class TDataSource;
class TField;

// A failure of a data set or field: a closed data set, a missing field, a value that
// does not fit.
class EDatabaseError : public Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "EDatabaseError"; }
};

// Raises EDatabaseError; a named component's name leads the message, as the framework
// words the errors of a data set ("ClientDataSet1: Field 'X' not found").
[[noreturn]] void DatabaseError(const std::string& message, const TComponent* component = nullptr);

// Field types, numbered as the framework numbers them (data packets carry the number).
enum class TFieldType {
  ftUnknown,
  ftString,
  ftSmallint,
  ftInteger,
  ftWord,
  ftBoolean,
  ftFloat,
  ftCurrency,
  ftBCD,
  ftDate,
  ftTime,
  ftDateTime,
  ftBytes,
  ftVarBytes,
  ftAutoInc,
  ftBlob,
  ftMemo,
  ftGraphic,
  ftFmtMemo,
  ftParadoxOle,
  ftDBaseOle,
  ftTypedBinary,
  ftCursor,
  ftFixedChar,
  ftWideString,
  ftLargeint
};
const std::vector<std::string>& FieldTypeNames();  // "ftUnknown", "ftString", ...
// Whether a number names a field type other than ftUnknown.
bool IsFieldType(std::int64_t code);
// Texts (strings and memos): compared as text by Locate.
bool IsTextFieldType(TFieldType type);
// The field class that holds values of a type.
const ClassInfo& FieldClassOf(TFieldType type);
// A value as a field of the type stores it: Null for Empty or Null, narrow text for texts
// (cut to `size` bytes, never inside a double-byte character, when size > 0), 32-bit
// integers (64-bit for ftLargeint), doubles, booleans, dates. Raises EDatabaseError or
// EConvertError, naming `fieldName`, for a value that does not fit.
Variant CoerceFieldValue(TFieldType type, const Variant& value, int size,
                         const std::string& fieldName);

// The names of a ";"-separated field list, blanks around them dropped, empty ones left
// out.
std::vector<std::string_view> SplitFieldNames(std::string_view names);

enum class TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };

// Options of Locate (a set of bits).
using TLocateOptions = int;
enum : int { loCaseInsensitive = 1, loPartialKey = 2 };

// What a data set tells its data sources (and they their data links).
enum class TDataEvent {
  deFieldChange,    // a field of the current record changed
  deRecordChange,   // the current record changed as a whole
  deDataSetChange,  // the records changed (opened, posted, deleted, re-sorted)
  deDataSetScroll,  // the cursor moved
  deUpdateRecord,   // controls write their pending text to their fields
  deUpdateState     // the state changed
};

// Identifies a record of a data set whatever its position; 0 identifies none.
using TBookmark = std::int64_t;

using TFieldNotifyEvent = Event<TField*>;
using TFieldGetTextEvent = Event<TField*, std::string&, bool>;
using TFieldSetTextEvent = Event<TField*, const std::string&>;
using TDataSetNotifyEvent = Event<TDataSet*>;

// One column of a data set's records as seen through its current record.
class TField : public TComponent {
 public:
  OX_CLASS_INFO()
  ~TField() override;

  TDataSet* DataSet() const { return dataSet_; }
  // Joins a data set's fields (leaving any other); only while that data set is closed.
  void SetDataSet(TDataSet* dataSet);
  // A field written inside a data set in a form resource joins it.
  void SetParentComponent(TComponent* parent) override;
  TComponent* GetParentComponent() const override;

  const std::string& FieldName() const { return fieldName_; }
  void SetFieldName(const std::string& name);
  // The caption controls and grids show; the field name unless set.
  const std::string& DisplayLabel() const;
  void SetDisplayLabel(const std::string& label) { displayLabel_ = label; }
  // The name the framework's messages give the field: its display label.
  const std::string& DisplayName() const { return DisplayLabel(); }
  // Characters a grid shows; a default by type unless set.
  int DisplayWidth() const;
  void SetDisplayWidth(int width) { displayWidth_ = width; }
  bool Visible() const { return visible_; }
  void SetVisible(bool visible) { visible_ = visible; }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
  bool Required() const { return required_; }
  void SetRequired(bool required) { required_ = required; }
  // Text fields: the most bytes a value keeps (0: no limit).
  int Size() const { return size_; }
  void SetSize(int size) { size_ = size; }
  TFieldType DataType() const { return dataType_; }
  // The 1-based column of the records the field reads while its data set is open; 0 else.
  int FieldNo() const { return fieldNo_; }
  // Whether a value can be written now: not read-only, the data set editable.
  bool CanModify() const;

  // The value of the current record: Null when the field has none or no record is there.
  Variant Value() const;
  // Writes the current record's value (the data set must be editing).
  void SetValue(const Variant& value);
  Variant AsVariant() const { return Value(); }
  void SetAsVariant(const Variant& value) { SetValue(value); }
  std::string AsString() const;
  // An empty text clears a field that holds no text.
  void SetAsString(const std::string& text);
  std::int32_t AsInteger() const;
  void SetAsInteger(std::int32_t value) { SetValue(Variant(value)); }
  double AsFloat() const;
  void SetAsFloat(double value) { SetValue(Variant(value)); }
  bool AsBoolean() const;
  void SetAsBoolean(bool value) { SetValue(Variant(value)); }
  TDateTime AsDateTime() const;
  void SetAsDateTime(TDateTime value) { SetValue(Variant::FromDate(value)); }
  bool IsNull() const;
  void Clear() { SetValue(Variant::Null()); }

  // The text an edit shows and takes: OnGetText's or the field's own, and OnSetText or
  // AsString.
  std::string Text() const { return TextOf(false); }
  void SetText(const std::string& text);
  // The text a grid or label shows.
  std::string DisplayText() const { return TextOf(true); }

  TFieldNotifyEvent OnChange;
  TFieldNotifyEvent OnValidate;  // raising refuses the new value
  TFieldGetTextEvent OnGetText;
  TFieldSetTextEvent OnSetText;

 protected:
  TField(TComponent* owner, TFieldType type, int size);
  // The field's own text of its value, when no OnGetText handler is assigned.
  virtual std::string GetText(bool displayText) const;
  // The display width of the type.
  virtual int DefaultWidth() const { return 10; }

 private:
  friend class TDataSet;

  std::string TextOf(bool displayText) const;

  TDataSet* dataSet_ = nullptr;
  std::string fieldName_;
  std::string displayLabel_;
  int displayWidth_ = 0;  // 0: DefaultWidth
  bool visible_ = true;
  bool readOnly_ = false;
  bool required_ = false;
  int size_ = 0;
  TFieldType dataType_ = TFieldType::ftUnknown;
  int fieldNo_ = 0;
};

class TStringField : public TField {
 public:
  OX_CLASS_INFO()
  explicit TStringField(TComponent* owner) : TField(owner, TFieldType::ftString, 20) {}

 protected:
  int DefaultWidth() const override { return Size(); }
};

class TIntegerField : public TField {
 public:
  OX_CLASS_INFO()
  explicit TIntegerField(TComponent* owner) : TField(owner, TFieldType::ftInteger, 0) {}

 protected:
  int DefaultWidth() const override { return 11; }
};

class TFloatField : public TField {
 public:
  OX_CLASS_INFO()
  explicit TFloatField(TComponent* owner) : TField(owner, TFieldType::ftFloat, 0) {}
};

class TBooleanField : public TField {
 public:
  OX_CLASS_INFO()
  explicit TBooleanField(TComponent* owner) : TField(owner, TFieldType::ftBoolean, 0) {}

 protected:
  int DefaultWidth() const override { return 5; }
};

class TDateTimeField : public TField {
 public:
  OX_CLASS_INFO()
  explicit TDateTimeField(TComponent* owner) : TField(owner, TFieldType::ftDateTime, 0) {}

 protected:
  int DefaultWidth() const override { return 18; }
};

// Binary data. Its text is the type in brackets, upper case when there is a value
// ("(BLOB)", "(blob)"), as grids show it; AsString gives the data.
class TBlobField : public TField {
 public:
  OX_CLASS_INFO()
  explicit TBlobField(TComponent* owner) : TBlobField(owner, TFieldType::ftBlob) {}

 protected:
  TBlobField(TComponent* owner, TFieldType type) : TField(owner, type, 0) {}
  std::string GetText(bool displayText) const override;
};

// Long text: "(MEMO)" as its text, AsString the text itself.
class TMemoField : public TBlobField {
 public:
  OX_CLASS_INFO()
  explicit TMemoField(TComponent* owner) : TBlobField(owner, TFieldType::ftMemo) {}
};

// The fields of a data set in order.
class TFields {
 public:
  int Count() const { return static_cast<int>(list_.size()); }
  // Raises EListError for an index outside the list.
  TField* operator[](int index) const;
  // The field of that name (ignoring case), or null.
  TField* FindField(std::string_view name) const;

 private:
  friend class TDataSet;
  std::vector<TField*> list_;
};

// The description of one column of the records: what a data set's fields are made from.
class TFieldDef : public TCollectionItem {
 public:
  OX_CLASS_INFO()
  using TCollectionItem::TCollectionItem;
  const std::string& Name() const { return name_; }
  void SetName(const std::string& name) { name_ = name; }
  TFieldType DataType() const { return dataType_; }
  void SetDataType(TFieldType type) { dataType_ = type; }
  int Size() const { return size_; }
  void SetSize(int size) { size_ = size; }
  bool Required() const { return required_; }
  void SetRequired(bool required) { required_ = required; }

 private:
  std::string name_;
  TFieldType dataType_ = TFieldType::ftUnknown;
  int size_ = 0;
  bool required_ = false;
};

class TFieldDefs : public TCollection {
 public:
  OX_CLASS_INFO()
  TFieldDefs();
  TFieldDef* Items(int index) const { return static_cast<TFieldDef*>(TCollection::Items(index)); }
  TFieldDef* Add(const std::string& name, TFieldType type, int size = 0, bool required = false);
  // The position of the definition of that name (ignoring case), or -1.
  int IndexOf(std::string_view name) const;
};

class TDataSet : public TComponent {
 public:
  OX_CLASS_INFO()
  explicit TDataSet(TComponent* owner);
  ~TDataSet() override;

  bool Active() const { return state_ != TDataSetState::dsInactive; }
  // Opens or closes; while a form resource is read, only remembered until Loaded.
  void SetActive(bool active);
  void Open() { SetActive(true); }
  void Close() { SetActive(false); }
  TDataSetState State() const { return state_; }
  TFieldDefs* FieldDefs() const { return fieldDefs_.get(); }

  const TFields& Fields() const { return fields_; }
  int FieldCount() const { return fields_.Count(); }
  TField* FindField(std::string_view name) const { return fields_.FindField(name); }
  // Raises "Field 'X' not found".
  TField* FieldByName(std::string_view name) const;

  // Navigation. Each posts a pending edit first (or cancels an unmodified one).
  int RecordCount() const;
  // The 1-based position of the current record; -1 without one (empty, inserting).
  int RecNo() const;
  void SetRecNo(int recNo);
  void First();
  void Last();
  void Next() { MoveBy(1); }
  void Prior() { MoveBy(-1); }
  // Moves up to `distance` records; answers how far it moved.
  int MoveBy(int distance);
  bool Eof() const;
  bool Bof() const;
  bool IsEmpty() const;

  // Editing.
  void Edit();
  void Insert() { BeginInsert(false); }
  void Append() { BeginInsert(true); }
  void Post();
  void Cancel();
  void Delete();
  // Posts a pending modified edit, cancels an unmodified one.
  void CheckBrowseMode();
  // Lets the data-aware controls write their pending text into their fields.
  void UpdateRecord();
  bool Modified() const { return modified_; }
  bool CanModify() const;

  // Finds the first record whose fields (names separated by ";") hold the values (one
  // value, or an array of one per field) and makes it current; false leaves the cursor.
  bool Locate(std::string_view keyFields, const Variant& keyValues, TLocateOptions options = 0);
  // The value of `resultFields` (an array for several) in the first record whose key
  // fields hold the values; Null when there is none. The cursor stays.
  Variant Lookup(std::string_view keyFields, const Variant& keyValues,
                 std::string_view resultFields);

  // Data-aware controls are not told of changes until as many EnableControls.
  void DisableControls();
  void EnableControls();
  bool ControlsDisabled() const { return disableCount_ > 0; }

  // The current record's bookmark (0 without one); setting moves back to that record.
  TBookmark Bookmark() const;
  void SetBookmark(TBookmark bookmark);
  bool BookmarkValid(TBookmark bookmark) const;

  TDataSetNotifyEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose;
  TDataSetNotifyEvent BeforeInsert, AfterInsert, BeforeEdit, AfterEdit;
  TDataSetNotifyEvent BeforePost, AfterPost, BeforeCancel, AfterCancel;
  TDataSetNotifyEvent BeforeDelete, AfterDelete, BeforeScroll, AfterScroll;
  TDataSetNotifyEvent OnNewRecord;

  void Loaded() override;

 protected:
  // The record store of a concrete data set. Positions count the records in the
  // store's current order, from 0.
  // Fills the field definitions and the records; raising leaves the data set closed.
  virtual void InternalOpen() = 0;
  virtual void InternalClose() = 0;
  virtual int InternalRecordCount() const = 0;
  // The values of a record, one per field definition.
  virtual const std::vector<Variant>& InternalRecord(int position) const = 0;
  virtual TBookmark InternalBookmark(int position) const = 0;
  // The position of the record, or -1.
  virtual int InternalFindBookmark(TBookmark bookmark) const = 0;
  // Stores the edit buffer over the record at `position`, or (inserting) as a new
  // record before it (at the end for position = InternalRecordCount()). Answers where
  // the record stands afterwards.
  virtual int InternalPost(int position, bool inserting, const std::vector<Variant>& values) = 0;
  virtual void InternalDelete(int position) = 0;
  // Whether the store takes changes at all.
  virtual bool InternalCanModify() const { return true; }

  // Raises "Cannot perform this operation on a closed (open) dataset".
  void CheckActive() const;
  void CheckInactive() const;
  // The current position (-1 when there is no record).
  int CurrentPosition() const { return position_; }
  // Makes a record current as a search does: pending edits posted, scroll events fired.
  void MoveTo(int position);
  // The store changed its order; the current record now stands at `position`.
  void Resync(int position);
  void DataEvent(TDataEvent event, TField* field = nullptr);

 private:
  friend class TField;
  friend class TDataSource;

  void DoOpen();
  void DoClose();
  void BindFields();
  void UnbindFields();
  void AddField(TField* field);
  void RemoveField(TField* field);
  void CheckCanModify() const;
  void CheckRequiredFields() const;
  void BeginInsert(bool append);
  void SetState(TDataSetState state);
  void Scrolled(int position, bool bof, bool eof);
  bool Editing() const {
    return state_ == TDataSetState::dsEdit || state_ == TDataSetState::dsInsert;
  }
  Variant FieldValue(const TField& field) const;
  void SetFieldValue(TField& field, const Variant& value);
  std::vector<TField*> KeyFields(std::string_view names) const;
  int FindRecord(const std::vector<TField*>& keys, const Variant& keyValues,
                 TLocateOptions options) const;

  TDataSetState state_ = TDataSetState::dsInactive;
  std::unique_ptr<TFieldDefs> fieldDefs_;
  TFields fields_;
  std::vector<Owned<TField>> defaultFields_;  // made from the definitions while open
  std::vector<TDataSource*> dataSources_;
  int position_ = -1;
  bool bof_ = true;
  bool eof_ = true;
  std::vector<Variant> buffer_;  // the record being edited or inserted
  int insertPosition_ = 0;
  bool modified_ = false;
  int disableCount_ = 0;
  TDataSetState stateWhenDisabled_ = TDataSetState::dsInactive;
  bool streamedActive_ = false;
};

}  // namespace ox
