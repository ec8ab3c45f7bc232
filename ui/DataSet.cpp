#include "ui/DataSet.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "platform/AsciiText.h"
#include "platform/DateTime.h"
#include "ui/DataSource.h"

namespace ox {

void DatabaseError(const std::string& message, const TComponent* component) {
  if (component != nullptr && !component->Name().empty())
    throw EDatabaseError(component->Name() + ": " + message);
  throw EDatabaseError(message);
}

// ---- field types -----------------------------------------------------------

const std::vector<std::string>& FieldTypeNames() {
  static const std::vector<std::string> names = {
      "ftUnknown",    "ftString",     "ftSmallint", "ftInteger",     "ftWord",   "ftBoolean",
      "ftFloat",      "ftCurrency",   "ftBCD",      "ftDate",        "ftTime",   "ftDateTime",
      "ftBytes",      "ftVarBytes",   "ftAutoInc",  "ftBlob",        "ftMemo",   "ftGraphic",
      "ftFmtMemo",    "ftParadoxOle", "ftDBaseOle", "ftTypedBinary", "ftCursor", "ftFixedChar",
      "ftWideString", "ftLargeint"};
  return names;
}

bool IsFieldType(std::int64_t code) {
  return code > 0 && code < static_cast<std::int64_t>(FieldTypeNames().size());
}

namespace {

enum class Family { Text, LongText, Binary, Integer, Float, Boolean, DateTime, Unknown };

Family FamilyOf(TFieldType type) {
  switch (type) {
    case TFieldType::ftString:
    case TFieldType::ftFixedChar:
    case TFieldType::ftWideString:
      return Family::Text;
    case TFieldType::ftMemo:
    case TFieldType::ftFmtMemo:
      return Family::LongText;
    case TFieldType::ftSmallint:
    case TFieldType::ftInteger:
    case TFieldType::ftWord:
    case TFieldType::ftAutoInc:
    case TFieldType::ftLargeint:
      return Family::Integer;
    case TFieldType::ftFloat:
    case TFieldType::ftCurrency:
    case TFieldType::ftBCD:
      return Family::Float;
    case TFieldType::ftBoolean:
      return Family::Boolean;
    case TFieldType::ftDate:
    case TFieldType::ftTime:
    case TFieldType::ftDateTime:
      return Family::DateTime;
    case TFieldType::ftUnknown:
      return Family::Unknown;
    default:
      return Family::Binary;
  }
}

std::string LowerAscii(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return text;
}

// The type's name without its prefix, as messages and blob texts give it ("Memo").
std::string TypeText(TFieldType type) {
  return FieldTypeNames()[static_cast<std::size_t>(type)].substr(2);
}

// Cuts a text to at most `size` bytes without splitting a double-byte character.
std::string CutText(std::string text, int size) {
  if (size <= 0 || text.size() <= static_cast<std::size_t>(size)) return text;
  std::size_t end = 0;
  while (end < text.size()) {
    const std::size_t next = end + NarrowCharLength(text, end);
    if (next > static_cast<std::size_t>(size)) break;
    end = next;
  }
  text.resize(end);
  return text;
}

[[noreturn]] void InvalidValue(const std::string& text, const char* kind,
                               const std::string& fieldName) {
  DatabaseError("'" + text + "' is not a valid " + kind + " value for field '" + fieldName + "'");
}

Variant IntegerValue(TFieldType type, const Variant& value, const std::string& fieldName) {
  std::int64_t number = 0;
  if (value.isText()) {
    if (!TryStrToInt64(value.asString(), number))
      InvalidValue(value.asString(), "integer", fieldName);
  } else {
    number = value.asInt64();
  }
  if (type == TFieldType::ftLargeint) return Variant(number);
  std::int64_t low = std::numeric_limits<std::int32_t>::min();
  std::int64_t high = std::numeric_limits<std::int32_t>::max();
  if (type == TFieldType::ftSmallint) low = -32768, high = 32767;
  if (type == TFieldType::ftWord) low = 0, high = 65535;
  if (number < low || number > high)
    DatabaseError(std::to_string(number) + " is not a valid value for field '" + fieldName +
                  "'. The allowed range is " + std::to_string(low) + " to " + std::to_string(high));
  return Variant(static_cast<std::int32_t>(number));
}

Variant FloatValue(const Variant& value, const std::string& fieldName) {
  if (!value.isText()) return Variant(value.asDouble());
  double number = 0;
  if (!TryStrToFloat(value.asString(), number))
    InvalidValue(value.asString(), "floating point", fieldName);
  return Variant(number);
}

Variant BooleanValue(const Variant& value, const std::string& fieldName) {
  if (!value.isText()) return Variant(value.asBoolean());
  const std::string text = value.asString();
  if (SameTextAscii(TrimBlanks(text), "True")) return Variant(true);
  if (SameTextAscii(TrimBlanks(text), "False")) return Variant(false);
  InvalidValue(text, "boolean", fieldName);
}

Variant DateTimeValue(const Variant& value) {
  if (!value.isText()) return Variant::FromDate(value.asDate());
  TDateTime date = 0;
  if (!TryStrToDateTime(value.asString(), date))
    throw EConvertError("'" + value.asString() + "' is not a valid date and time");
  return Variant::FromDate(date);
}

}  // namespace

bool IsTextFieldType(TFieldType type) {
  const Family family = FamilyOf(type);
  return family == Family::Text || family == Family::LongText;
}

const ClassInfo& FieldClassOf(TFieldType type) {
  switch (FamilyOf(type)) {
    case Family::Text:
      return TStringField::StaticClassInfo();
    case Family::LongText:
      return TMemoField::StaticClassInfo();
    case Family::Integer:
      return TIntegerField::StaticClassInfo();
    case Family::Float:
      return TFloatField::StaticClassInfo();
    case Family::Boolean:
      return TBooleanField::StaticClassInfo();
    case Family::DateTime:
      return TDateTimeField::StaticClassInfo();
    default:
      return TBlobField::StaticClassInfo();
  }
}

Variant CoerceFieldValue(TFieldType type, const Variant& value, int size,
                         const std::string& fieldName) {
  if (VarIsClear(value)) return Variant::Null();
  switch (FamilyOf(type)) {
    case Family::Text:
      return Variant(CutText(value.asString(), size));
    case Family::LongText:
    case Family::Binary:
      return Variant(value.asString());
    case Family::Integer:
      return IntegerValue(type, value, fieldName);
    case Family::Float:
      return FloatValue(value, fieldName);
    case Family::Boolean:
      return BooleanValue(value, fieldName);
    case Family::DateTime:
      return DateTimeValue(value);
    case Family::Unknown:
      break;
  }
  return value;
}

// ---- TField ----------------------------------------------------------------

const ClassInfo& TField::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TField>("TField", &TComponent::StaticClassInfo())
          .property("FieldName", &TField::FieldName, &TField::SetFieldName)
          .property("DisplayLabel", &TField::DisplayLabel, &TField::SetDisplayLabel)
          .property("DisplayWidth", &TField::DisplayWidth, &TField::SetDisplayWidth)
          .property("Visible", &TField::Visible, &TField::SetVisible)
          .defaultValue(1)
          .property("ReadOnly", &TField::ReadOnly, &TField::SetReadOnly)
          .defaultValue(0)
          .property("Required", &TField::Required, &TField::SetRequired)
          .defaultValue(0)
          .event("OnChange", &TField::OnChange)
          .event("OnGetText", &TField::OnGetText)
          .event("OnSetText", &TField::OnSetText)
          .event("OnValidate", &TField::OnValidate)
          .build();
  return info;
}

TField::TField(TComponent* owner, TFieldType type, int size)
    : TComponent(owner), size_(size), dataType_(type) {}

TField::~TField() {
  if (dataSet_ != nullptr) dataSet_->RemoveField(this);
}

void TField::SetDataSet(TDataSet* dataSet) {
  if (dataSet == dataSet_) return;
  if (dataSet_ != nullptr) dataSet_->CheckInactive();
  if (dataSet != nullptr) dataSet->CheckInactive();
  if (dataSet_ != nullptr) dataSet_->RemoveField(this);
  if (dataSet != nullptr) dataSet->AddField(this);
}

void TField::SetParentComponent(TComponent* parent) {
  if (auto* dataSet = dynamic_cast<TDataSet*>(parent)) SetDataSet(dataSet);
}

TComponent* TField::GetParentComponent() const {
  return dataSet_;
}

void TField::SetFieldName(const std::string& name) {
  if (dataSet_ != nullptr) dataSet_->CheckInactive();
  fieldName_ = name;
}

const std::string& TField::DisplayLabel() const {
  return displayLabel_.empty() ? fieldName_ : displayLabel_;
}

int TField::DisplayWidth() const {
  return displayWidth_ > 0 ? displayWidth_ : DefaultWidth();
}

bool TField::CanModify() const {
  return !readOnly_ && dataSet_ != nullptr && dataSet_->CanModify();
}

Variant TField::Value() const {
  return dataSet_ != nullptr ? dataSet_->FieldValue(*this) : Variant::Null();
}

void TField::SetValue(const Variant& value) {
  if (dataSet_ == nullptr) DatabaseError("Field '" + DisplayName() + "' has no dataset");
  dataSet_->SetFieldValue(*this, value);
}

std::string TField::AsString() const {
  return VarToStr(Value());
}

void TField::SetAsString(const std::string& text) {
  if (text.empty() && !IsTextFieldType(dataType_))
    Clear();
  else
    SetValue(Variant(text));
}

std::int32_t TField::AsInteger() const {
  const Variant value = Value();
  return VarIsClear(value) ? 0 : value.asInteger();
}

double TField::AsFloat() const {
  const Variant value = Value();
  return VarIsClear(value) ? 0 : value.asDouble();
}

bool TField::AsBoolean() const {
  const Variant value = Value();
  return !VarIsClear(value) && value.asBoolean();
}

TDateTime TField::AsDateTime() const {
  const Variant value = Value();
  return VarIsClear(value) ? 0 : value.asDate();
}

bool TField::IsNull() const {
  return VarIsClear(Value());
}

void TField::SetText(const std::string& text) {
  if (OnSetText)
    OnSetText(this, text);
  else
    SetAsString(text);
}

std::string TField::GetText(bool) const {
  return AsString();
}

std::string TField::TextOf(bool displayText) const {
  if (!OnGetText) return GetText(displayText);
  std::string text;
  OnGetText(const_cast<TField*>(this), text, displayText);
  return text;
}

std::string TBlobField::GetText(bool) const {
  const std::string name = TypeText(DataType());
  return "(" + (IsNull() ? LowerAscii(name) : UpperAscii(name)) + ")";
}

const ClassInfo& TStringField::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TStringField>("TStringField", &TField::StaticClassInfo())
          .creatable()
          .property("Size", &TField::Size, &TField::SetSize)
          .build();
  return info;
}

const ClassInfo& TIntegerField::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TIntegerField>("TIntegerField", &TField::StaticClassInfo()).creatable().build();
  return info;
}

const ClassInfo& TFloatField::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TFloatField>("TFloatField", &TField::StaticClassInfo()).creatable().build();
  return info;
}

const ClassInfo& TBooleanField::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TBooleanField>("TBooleanField", &TField::StaticClassInfo()).creatable().build();
  return info;
}

const ClassInfo& TDateTimeField::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TDateTimeField>("TDateTimeField", &TField::StaticClassInfo())
          .creatable()
          .build();
  return info;
}

const ClassInfo& TBlobField::StaticClassInfo() {
  static const ClassInfo info = ClassBuilder<TBlobField>("TBlobField", &TField::StaticClassInfo())
                                    .creatable()
                                    .property("Size", &TField::Size, &TField::SetSize)
                                    .build();
  return info;
}

const ClassInfo& TMemoField::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TMemoField>("TMemoField", &TBlobField::StaticClassInfo()).creatable().build();
  return info;
}

// ---- TFields ---------------------------------------------------------------

TField* TFields::operator[](int index) const {
  if (index < 0 || index >= Count())
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return list_[static_cast<std::size_t>(index)];
}

TField* TFields::FindField(std::string_view name) const {
  for (TField* field : list_)
    if (SameTextAscii(field->FieldName(), name)) return field;
  return nullptr;
}

// ---- field definitions -----------------------------------------------------

const ClassInfo& TFieldDef::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TFieldDef>("TFieldDef", &TCollectionItem::StaticClassInfo())
          .property("Name", &TFieldDef::Name, &TFieldDef::SetName)
          .enumeration("DataType", &TFieldDef::DataType, &TFieldDef::SetDataType, FieldTypeNames())
          .defaultValue(0)
          .property("Size", &TFieldDef::Size, &TFieldDef::SetSize)
          .defaultValue(0)
          .property("Required", &TFieldDef::Required, &TFieldDef::SetRequired)
          .defaultValue(0)
          .build();
  return info;
}

const ClassInfo& TFieldDefs::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TFieldDefs>("TFieldDefs", &TCollection::StaticClassInfo()).build();
  return info;
}

TFieldDefs::TFieldDefs()
    : TCollection(TFieldDef::StaticClassInfo(),
                  [](TCollection* owner) -> std::unique_ptr<TCollectionItem> {
                    return std::make_unique<TFieldDef>(owner);
                  }) {}

TFieldDef* TFieldDefs::Add(const std::string& name, TFieldType type, int size, bool required) {
  auto* def = static_cast<TFieldDef*>(TCollection::Add());
  def->SetName(name);
  def->SetDataType(type);
  def->SetSize(size);
  def->SetRequired(required);
  return def;
}

int TFieldDefs::IndexOf(std::string_view name) const {
  for (int i = 0; i < Count(); ++i)
    if (SameTextAscii(Items(i)->Name(), name)) return i;
  return -1;
}

// ---- TDataSet --------------------------------------------------------------

const ClassInfo& TDataSet::StaticClassInfo() {
  static const ClassInfo info = ClassBuilder<TDataSet>("TDataSet", &TComponent::StaticClassInfo())
                                    .property("Active", &TDataSet::Active, &TDataSet::SetActive)
                                    .defaultValue(0)
                                    .object<TFieldDefs>("FieldDefs", &TDataSet::FieldDefs)
                                    .event("AfterCancel", &TDataSet::AfterCancel)
                                    .event("AfterClose", &TDataSet::AfterClose)
                                    .event("AfterDelete", &TDataSet::AfterDelete)
                                    .event("AfterEdit", &TDataSet::AfterEdit)
                                    .event("AfterInsert", &TDataSet::AfterInsert)
                                    .event("AfterOpen", &TDataSet::AfterOpen)
                                    .event("AfterPost", &TDataSet::AfterPost)
                                    .event("AfterScroll", &TDataSet::AfterScroll)
                                    .event("BeforeCancel", &TDataSet::BeforeCancel)
                                    .event("BeforeClose", &TDataSet::BeforeClose)
                                    .event("BeforeDelete", &TDataSet::BeforeDelete)
                                    .event("BeforeEdit", &TDataSet::BeforeEdit)
                                    .event("BeforeInsert", &TDataSet::BeforeInsert)
                                    .event("BeforeOpen", &TDataSet::BeforeOpen)
                                    .event("BeforePost", &TDataSet::BeforePost)
                                    .event("BeforeScroll", &TDataSet::BeforeScroll)
                                    .event("OnNewRecord", &TDataSet::OnNewRecord)
                                    .build();
  return info;
}

TDataSet::TDataSet(TComponent* owner)
    : TComponent(owner), fieldDefs_(std::make_unique<TFieldDefs>()) {}

TDataSet::~TDataSet() {
  // The concrete store is gone already: close without events or store calls.
  state_ = TDataSetState::dsInactive;
  for (TDataSource* source : std::vector<TDataSource*>(dataSources_)) {
    if (FreedWithOwner(*this))
      source->ForgetDataSet();
    else
      source->SetDataSet(nullptr);
  }
  defaultFields_.clear();
  for (TField* field : fields_.list_) {
    field->dataSet_ = nullptr;
    field->fieldNo_ = 0;
  }
}

void TDataSet::SetActive(bool active) {
  if (IsLoading()) {
    streamedActive_ = active;
    return;
  }
  if (active == Active()) return;
  if (active)
    DoOpen();
  else
    DoClose();
}

void TDataSet::Loaded() {
  TComponent::Loaded();
  if (std::exchange(streamedActive_, false)) SetActive(true);
}

void TDataSet::DoOpen() {
  BeforeOpen(this);
  try {
    InternalOpen();
    BindFields();
  } catch (...) {
    UnbindFields();
    InternalClose();
    throw;
  }
  const int count = InternalRecordCount();
  position_ = count > 0 ? 0 : -1;
  bof_ = true;
  eof_ = count == 0;
  modified_ = false;
  SetState(TDataSetState::dsBrowse);
  DataEvent(TDataEvent::deDataSetChange);
  AfterOpen(this);
  if (count > 0) AfterScroll(this);
}

void TDataSet::DoClose() {
  BeforeClose(this);
  buffer_.clear();
  modified_ = false;
  position_ = -1;
  bof_ = eof_ = true;
  SetState(TDataSetState::dsInactive);  // links let go of the fields while they exist
  InternalClose();
  UnbindFields();
  AfterClose(this);
}

void TDataSet::BindFields() {
  if (fields_.list_.empty()) {
    for (int i = 0; i < fieldDefs_->Count(); ++i) {
      const TFieldDef& def = *fieldDefs_->Items(i);
      Owned<TField> field(static_cast<TField*>(FieldClassOf(def.DataType()).Create(nullptr)));
      field->fieldName_ = def.Name();
      field->dataType_ = def.DataType();
      field->size_ = def.Size();
      field->required_ = def.Required();
      field->fieldNo_ = i + 1;
      AddField(field.get());
      defaultFields_.push_back(std::move(field));
    }
    return;
  }
  for (TField* field : fields_.list_) {
    const int index = fieldDefs_->IndexOf(field->FieldName());
    if (index < 0) DatabaseError("Field '" + field->FieldName() + "' not found", this);
    const TFieldType type = fieldDefs_->Items(index)->DataType();
    if (!field->classInfo().InheritsFrom(FieldClassOf(type)))
      DatabaseError("Type mismatch for field '" + field->FieldName() + "', expecting: " +
                        TypeText(field->dataType_) + " actual: " + TypeText(type),
                    this);
    field->dataType_ = type;
    field->fieldNo_ = index + 1;
  }
}

void TDataSet::UnbindFields() {
  std::vector<Owned<TField>> defaults = std::move(defaultFields_);
  defaultFields_.clear();
  defaults.clear();
  for (TField* field : fields_.list_)
    field->fieldNo_ = 0;
}

void TDataSet::AddField(TField* field) {
  fields_.list_.push_back(field);
  field->dataSet_ = this;
}

void TDataSet::RemoveField(TField* field) {
  auto& list = fields_.list_;
  list.erase(std::remove(list.begin(), list.end(), field), list.end());
  field->dataSet_ = nullptr;
  field->fieldNo_ = 0;
}

void TDataSet::CheckActive() const {
  if (!Active()) DatabaseError("Cannot perform this operation on a closed dataset", this);
}

void TDataSet::CheckInactive() const {
  if (Active()) DatabaseError("Cannot perform this operation on an open dataset", this);
}

void TDataSet::CheckCanModify() const {
  if (!CanModify()) DatabaseError("Cannot modify a read-only dataset", this);
}

bool TDataSet::CanModify() const {
  return Active() && InternalCanModify();
}

TField* TDataSet::FieldByName(std::string_view name) const {
  if (TField* field = FindField(name)) return field;
  DatabaseError("Field '" + std::string(name) + "' not found", this);
}

void TDataSet::SetState(TDataSetState state) {
  if (state_ == state) return;
  state_ = state;
  DataEvent(TDataEvent::deUpdateState);
}

void TDataSet::DataEvent(TDataEvent event, TField* field) {
  if (disableCount_ > 0) return;
  for (TDataSource* source : std::vector<TDataSource*>(dataSources_))
    source->DataEvent(event, field);
}

void TDataSet::DisableControls() {
  if (disableCount_++ == 0) stateWhenDisabled_ = state_;
}

void TDataSet::EnableControls() {
  if (disableCount_ == 0 || --disableCount_ > 0) return;
  if (state_ != stateWhenDisabled_) DataEvent(TDataEvent::deUpdateState);
  DataEvent(TDataEvent::deDataSetChange);
}

// ---- navigation ------------------------------------------------------------

int TDataSet::RecordCount() const {
  CheckActive();
  return InternalRecordCount();
}

int TDataSet::RecNo() const {
  if (!Active() || state_ == TDataSetState::dsInsert || position_ < 0) return -1;
  return position_ + 1;
}

void TDataSet::SetRecNo(int recNo) {
  CheckBrowseMode();
  if (recNo >= 1 && recNo <= InternalRecordCount()) MoveTo(recNo - 1);
}

bool TDataSet::Eof() const {
  return eof_;
}

bool TDataSet::Bof() const {
  return bof_;
}

bool TDataSet::IsEmpty() const {
  return !Active() || (InternalRecordCount() == 0 && state_ != TDataSetState::dsInsert);
}

void TDataSet::Scrolled(int position, bool bof, bool eof) {
  position_ = position;
  bof_ = bof;
  eof_ = eof;
  DataEvent(TDataEvent::deDataSetScroll);
  AfterScroll(this);
}

void TDataSet::First() {
  CheckBrowseMode();
  BeforeScroll(this);
  const int count = InternalRecordCount();
  Scrolled(count > 0 ? 0 : -1, true, count == 0);
}

void TDataSet::Last() {
  CheckBrowseMode();
  BeforeScroll(this);
  const int count = InternalRecordCount();
  Scrolled(count - 1, count == 0, true);
}

int TDataSet::MoveBy(int distance) {
  CheckBrowseMode();
  if (distance == 0 || (distance > 0 && eof_) || (distance < 0 && bof_)) return 0;
  BeforeScroll(this);
  const std::int64_t last = InternalRecordCount() - 1;
  const auto target =
      static_cast<int>(std::clamp<std::int64_t>(std::int64_t{position_} + distance, 0, last));
  const int moved = target - position_;
  Scrolled(target, distance < 0 && moved != distance, distance > 0 && moved != distance);
  return moved;
}

void TDataSet::MoveTo(int position) {
  CheckBrowseMode();
  BeforeScroll(this);
  Scrolled(position, false, false);
}

void TDataSet::Resync(int position) {
  position_ = position;
  bof_ = eof_ = position < 0;
  DataEvent(TDataEvent::deDataSetChange);
}

// ---- editing ---------------------------------------------------------------

Variant TDataSet::FieldValue(const TField& field) const {
  if (!Active() || field.fieldNo_ == 0) return Variant::Null();
  const auto column = static_cast<std::size_t>(field.fieldNo_ - 1);
  if (Editing()) return column < buffer_.size() ? buffer_[column] : Variant::Null();
  if (position_ < 0) return Variant::Null();
  const std::vector<Variant>& record = InternalRecord(position_);
  return column < record.size() ? record[column] : Variant::Null();
}

void TDataSet::SetFieldValue(TField& field, const Variant& value) {
  if (!Editing()) DatabaseError("Dataset not in edit or insert mode", this);
  if (field.ReadOnly()) DatabaseError("Field '" + field.DisplayName() + "' cannot be modified");
  const auto column = static_cast<std::size_t>(field.fieldNo_ - 1);
  if (field.fieldNo_ == 0 || column >= buffer_.size())
    DatabaseError("Field '" + field.FieldName() + "' not found", this);
  Variant old = std::exchange(
      buffer_[column], CoerceFieldValue(field.dataType_, value, field.size_, field.DisplayName()));
  try {
    field.OnValidate(&field);  // reads the new value; raising refuses it
  } catch (...) {
    if (column < buffer_.size()) buffer_[column] = std::move(old);
    throw;
  }
  modified_ = true;
  field.OnChange(&field);
  DataEvent(TDataEvent::deFieldChange, &field);
}

void TDataSet::Edit() {
  CheckActive();
  if (Editing()) return;
  if (InternalRecordCount() == 0) return Insert();
  CheckCanModify();
  BeforeEdit(this);
  buffer_ = InternalRecord(position_);
  modified_ = false;
  SetState(TDataSetState::dsEdit);
  DataEvent(TDataEvent::deRecordChange);
  AfterEdit(this);
}

void TDataSet::BeginInsert(bool append) {
  CheckBrowseMode();
  CheckCanModify();
  BeforeInsert(this);
  BeforeScroll(this);
  buffer_.assign(static_cast<std::size_t>(fieldDefs_->Count()), Variant::Null());
  insertPosition_ = append || position_ < 0 ? InternalRecordCount() : position_;
  SetState(TDataSetState::dsInsert);
  try {
    OnNewRecord(this);
  } catch (...) {
    buffer_.clear();
    SetState(TDataSetState::dsBrowse);
    DataEvent(TDataEvent::deDataSetChange);
    throw;
  }
  modified_ = false;  // values set by OnNewRecord alone do not keep the record
  DataEvent(TDataEvent::deDataSetChange);
  AfterInsert(this);
  AfterScroll(this);
}

void TDataSet::UpdateRecord() {
  if (!Editing()) DatabaseError("Dataset not in edit or insert mode", this);
  DataEvent(TDataEvent::deUpdateRecord);
}

void TDataSet::CheckRequiredFields() const {
  for (const TField* field : fields_.list_)
    if (field->Required() && !field->ReadOnly() && field->IsNull())
      DatabaseError("Field '" + field->DisplayName() + "' must have a value");
}

void TDataSet::Post() {
  CheckActive();
  if (!Editing()) return;
  UpdateRecord();
  BeforePost(this);
  CheckRequiredFields();
  const bool inserting = state_ == TDataSetState::dsInsert;
  position_ = InternalPost(inserting ? insertPosition_ : position_, inserting, buffer_);
  bof_ = eof_ = false;
  buffer_.clear();
  modified_ = false;
  SetState(TDataSetState::dsBrowse);
  DataEvent(TDataEvent::deDataSetChange);
  AfterPost(this);
}

void TDataSet::Cancel() {
  if (!Editing()) return;
  BeforeCancel(this);
  buffer_.clear();
  modified_ = false;
  SetState(TDataSetState::dsBrowse);
  DataEvent(TDataEvent::deDataSetChange);
  AfterCancel(this);
}

void TDataSet::CheckBrowseMode() {
  CheckActive();
  if (!Editing()) return;
  UpdateRecord();
  if (modified_)
    Post();
  else
    Cancel();
}

void TDataSet::Delete() {
  CheckActive();
  if (state_ == TDataSetState::dsInsert) return Cancel();
  if (InternalRecordCount() == 0)
    DatabaseError("Cannot perform this operation on an empty dataset", this);
  CheckCanModify();
  BeforeDelete(this);
  BeforeScroll(this);
  InternalDelete(position_);
  buffer_.clear();
  modified_ = false;
  const int count = InternalRecordCount();
  position_ = std::min(position_, count - 1);
  bof_ = eof_ = count == 0;
  SetState(TDataSetState::dsBrowse);
  DataEvent(TDataEvent::deDataSetChange);
  AfterDelete(this);
  AfterScroll(this);
}

// ---- searching -------------------------------------------------------------

std::vector<std::string_view> SplitFieldNames(std::string_view names) {
  std::vector<std::string_view> result;
  for (;;) {
    const std::size_t semicolon = names.find(';');
    const std::string_view name = TrimBlanks(names.substr(0, semicolon));
    if (!name.empty()) result.push_back(name);
    if (semicolon == std::string_view::npos) return result;
    names.remove_prefix(semicolon + 1);
  }
}

namespace {

// One key of a search: the field, and the value as the search compares it.
struct SearchKey {
  const TField* field;
  Variant value;
};

bool KeyMatches(const SearchKey& key, const Variant& stored, TLocateOptions options) {
  if (VarIsClear(key.value) || VarIsClear(stored))
    return VarIsClear(key.value) && VarIsClear(stored);
  if (!IsTextFieldType(key.field->DataType())) return stored == key.value;
  const std::string wanted = key.value.asString();
  std::string text = stored.asString();
  if ((options & loPartialKey) != 0 && text.size() > wanted.size()) text.resize(wanted.size());
  return (options & loCaseInsensitive) != 0 ? SameNarrowText(text, wanted) : text == wanted;
}

}  // namespace

std::vector<TField*> TDataSet::KeyFields(std::string_view names) const {
  std::vector<TField*> fields;
  for (std::string_view name : SplitFieldNames(names))
    fields.push_back(FieldByName(name));
  if (fields.empty()) DatabaseError("No key fields given", this);
  return fields;
}

int TDataSet::FindRecord(const std::vector<TField*>& fields, const Variant& keyValues,
                         TLocateOptions options) const {
  const bool single = fields.size() == 1 && !keyValues.isArray();
  if (!single && (VarArrayDimCount(keyValues) != 1 || keyValues.array().size() != fields.size()))
    DatabaseError("The key values do not match the key fields", this);
  std::vector<SearchKey> keys;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const Variant& value = single ? keyValues : keyValues.array().elements()[i];
    if (IsTextFieldType(fields[i]->DataType()) || VarIsClear(value)) {
      keys.push_back({fields[i], value});
      continue;
    }
    try {
      keys.push_back({fields[i], CoerceFieldValue(fields[i]->DataType(), value, 0, "")});
    } catch (const Exception&) {
      return -1;  // no record holds a value the field cannot take
    }
  }
  for (int position = 0; position < InternalRecordCount(); ++position) {
    const std::vector<Variant>& record = InternalRecord(position);
    if (std::all_of(keys.begin(), keys.end(), [&](const SearchKey& key) {
          const auto column = static_cast<std::size_t>(key.field->FieldNo() - 1);
          return column < record.size() && KeyMatches(key, record[column], options);
        }))
      return position;
  }
  return -1;
}

bool TDataSet::Locate(std::string_view keyFields, const Variant& keyValues,
                      TLocateOptions options) {
  CheckBrowseMode();
  const int position = FindRecord(KeyFields(keyFields), keyValues, options);
  if (position < 0) return false;
  MoveTo(position);
  return true;
}

Variant TDataSet::Lookup(std::string_view keyFields, const Variant& keyValues,
                         std::string_view resultFields) {
  CheckBrowseMode();
  const std::vector<TField*> results = KeyFields(resultFields);
  const int position = FindRecord(KeyFields(keyFields), keyValues, 0);
  if (position < 0) return Variant::Null();
  const std::vector<Variant>& record = InternalRecord(position);
  const auto valueOf = [&](const TField* field) {
    const auto column = static_cast<std::size_t>(field->FieldNo() - 1);
    return column < record.size() ? record[column] : Variant::Null();
  };
  if (results.size() == 1) return valueOf(results[0]);
  Variant values = VarArrayCreate({0, static_cast<int>(results.size()) - 1});
  for (std::size_t i = 0; i < results.size(); ++i)
    values[static_cast<int>(i)] = valueOf(results[i]);
  return values;
}

// ---- bookmarks -------------------------------------------------------------

TBookmark TDataSet::Bookmark() const {
  if (!Active() || state_ == TDataSetState::dsInsert || position_ < 0) return 0;
  return InternalBookmark(position_);
}

void TDataSet::SetBookmark(TBookmark bookmark) {
  CheckBrowseMode();
  const int position = bookmark == 0 ? -1 : InternalFindBookmark(bookmark);
  if (position < 0) DatabaseError("Record not found", this);
  MoveTo(position);
}

bool TDataSet::BookmarkValid(TBookmark bookmark) const {
  return Active() && bookmark != 0 && InternalFindBookmark(bookmark) >= 0;
}

}  // namespace ox
