#include "ui/ClientDataSet.h"

#include <algorithm>
#include <unordered_set>

#include "platform/AsciiText.h"

namespace ox {

namespace {

const std::vector<std::string>& IndexOptionNames() {
  static const std::vector<std::string> names = {"ixPrimary",    "ixUnique",
                                                 "ixDescending", "ixCaseInsensitive",
                                                 "ixExpression", "ixNonMaintained"};
  return names;
}

int CompareBytes(const std::string& a, const std::string& b) {
  const int order = a.compare(b);  // char_traits<char> compares as unsigned bytes
  return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

template <typename T>
int Compare(T a, T b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

// Orders two values of one column as an index does: Null first, texts by their bytes
// (upper-cased first when ignoring case), booleans false first, numbers and dates by
// value.
int CompareValues(const Variant& a, const Variant& b, bool caseInsensitive) {
  if (VarIsClear(a) || VarIsClear(b)) return Compare(!VarIsClear(a), !VarIsClear(b));
  if (a.isText() || b.isText()) {
    return caseInsensitive ? CompareBytes(UpperNarrow(a.asString()), UpperNarrow(b.asString()))
                           : CompareBytes(a.asString(), b.asString());
  }
  if (a.type() == varBoolean || b.type() == varBoolean)
    return Compare(a.asBoolean(), b.asBoolean());
  const auto isInteger = [](const Variant& v) {
    return v.type() == varInteger || v.type() == varInt64;
  };
  if (isInteger(a) && isInteger(b)) return Compare(a.asInt64(), b.asInt64());
  return Compare(a.asDouble(), b.asDouble());
}

}  // namespace

// ---- index definitions -----------------------------------------------------

const ClassInfo& TIndexDef::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TIndexDef>("TIndexDef", &TCollectionItem::StaticClassInfo())
          .property("Name", &TIndexDef::Name, &TIndexDef::SetName)
          .property("Fields", &TIndexDef::Fields, &TIndexDef::SetFields)
          .set("Options", &TIndexDef::Options, &TIndexDef::SetOptions, IndexOptionNames())
          .defaultValue(0)
          .build();
  return info;
}

const ClassInfo& TIndexDefs::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TIndexDefs>("TIndexDefs", &TCollection::StaticClassInfo()).build();
  return info;
}

TIndexDefs::TIndexDefs()
    : TCollection(TIndexDef::StaticClassInfo(),
                  [](TCollection* owner) -> std::unique_ptr<TCollectionItem> {
                    return std::make_unique<TIndexDef>(owner);
                  }) {}

TIndexDef* TIndexDefs::Add(const std::string& name, const std::string& fields,
                           TIndexOptions options) {
  auto* def = static_cast<TIndexDef*>(TCollection::Add());
  def->SetName(name);
  def->SetFields(fields);
  def->SetOptions(options);
  return def;
}

int TIndexDefs::IndexOf(std::string_view name) const {
  for (int i = 0; i < Count(); ++i)
    if (SameTextAscii(Items(i)->Name(), name)) return i;
  return -1;
}

// ---- TClientDataSet --------------------------------------------------------

const ClassInfo& TClientDataSet::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TClientDataSet>("TClientDataSet", &TDataSet::StaticClassInfo())
          .creatable()
          .property("CommandText", &TClientDataSet::CommandText, &TClientDataSet::SetCommandText)
          .object<TIndexDefs>("IndexDefs", &TClientDataSet::IndexDefs)
          .property("IndexFieldNames", &TClientDataSet::IndexFieldNames,
                    &TClientDataSet::SetIndexFieldNames)
          .property("IndexName", &TClientDataSet::IndexName, &TClientDataSet::SetIndexName)
          .property("ProviderName", &TClientDataSet::ProviderName, &TClientDataSet::SetProviderName)
          .property("ReadOnly", &TClientDataSet::ReadOnly, &TClientDataSet::SetReadOnly)
          .defaultValue(0)
          .object<TCustomRemoteServer>("RemoteServer", &TClientDataSet::RemoteServer,
                                       &TClientDataSet::SetRemoteServer)
          .build();
  return info;
}

TClientDataSet::TClientDataSet(TComponent* owner)
    : TDataSet(owner), indexDefs_(std::make_unique<TIndexDefs>()) {}

TClientDataSet::~TClientDataSet() = default;

Variant TClientDataSet::Server() const {
  if (providerName_.empty() || !remoteServer_)
    DatabaseError("Missing data provider or data packet", this);
  return remoteServer_->GetServer();
}

std::vector<PacketField> TClientDataSet::PacketFields() const {
  std::vector<PacketField> fields;
  for (int i = 0; i < FieldDefs()->Count(); ++i) {
    const TFieldDef& def = *FieldDefs()->Items(i);
    fields.push_back({def.Name(), def.DataType(), def.Size(), def.Required()});
  }
  return fields;
}

void TClientDataSet::CreateDataSet() {
  CheckInactive();
  if (FieldDefs()->Count() == 0) {
    for (int i = 0; i < Fields().Count(); ++i) {
      const TField& field = *Fields()[i];
      FieldDefs()->Add(field.FieldName(), field.DataType(), field.Size(), field.Required());
    }
  }
  if (FieldDefs()->Count() == 0)
    DatabaseError("No fields defined: cannot create the dataset", this);
  pendingPacket_ = EncodeDataPacket({PacketFields(), {}});
  Open();
}

Variant TClientDataSet::Data() const {
  if (!Active()) return Variant::Null();
  DataPacket packet{PacketFields(), {}};
  for (const auto& record : records_)
    packet.rows.push_back(record->values);
  return EncodeDataPacket(packet);
}

void TClientDataSet::SetData(const Variant& packet) {
  Close();
  if (VarIsClear(packet)) return;
  pendingPacket_ = packet;
  Open();
}

void TClientDataSet::InternalOpen() {
  std::optional<Variant> pending = std::exchange(pendingPacket_, std::nullopt);
  if (pending) return LoadPacket(*pending);
  Variant recordsOut;
  Variant params;
  Variant ownerData;
  LoadPacket(OleCall(Server(), "AS_GetRecords",
                     {providerName_, -1, ByRef(recordsOut), grMetaData | grReset, commandText_,
                      ByRef(params), ByRef(ownerData)}));
}

void TClientDataSet::LoadPacket(const Variant& packet) {
  DataPacket decoded;
  if (!DecodeDataPacket(packet, decoded)) DatabaseError("Invalid data packet", this);
  FieldDefs()->Clear();
  for (const PacketField& field : decoded.fields)
    FieldDefs()->Add(field.name, field.type, field.size, field.required);
  for (PacketRow& row : decoded.rows) {
    auto record = std::make_unique<Record>();
    record->id = nextId_++;
    record->values = std::move(row);
    records_.push_back(std::move(record));
  }
  index_ = ResolveIndex(indexName_, indexFieldNames_);
  RebuildView();
}

void TClientDataSet::InternalClose() {
  view_.clear();
  records_.clear();
  deleted_.clear();
  index_.clear();
}

const std::vector<Variant>& TClientDataSet::InternalRecord(int position) const {
  return view_.at(static_cast<std::size_t>(position))->values;
}

TBookmark TClientDataSet::InternalBookmark(int position) const {
  return view_.at(static_cast<std::size_t>(position))->id;
}

int TClientDataSet::InternalFindBookmark(TBookmark bookmark) const {
  const auto found = std::find_if(view_.begin(), view_.end(),
                                  [&](const Record* record) { return record->id == bookmark; });
  return found == view_.end() ? -1 : static_cast<int>(found - view_.begin());
}

int TClientDataSet::PositionOf(const Record* record) const {
  const auto found = std::find(view_.begin(), view_.end(), record);
  return found == view_.end() ? -1 : static_cast<int>(found - view_.begin());
}

int TClientDataSet::InternalPost(int position, bool inserting, const std::vector<Variant>& values) {
  if (!inserting) {
    Record* record = view_.at(static_cast<std::size_t>(position));
    if (!record->inserted && !record->original) {
      record->original = record->values;
      record->changeOrder = ++changeOrder_;
    }
    record->values = values;
    if (index_.empty()) return position;
    view_.erase(view_.begin() + position);
    return Place(record);
  }
  auto record = std::make_unique<Record>();
  record->id = nextId_++;
  record->values = values;
  record->inserted = true;
  record->changeOrder = ++changeOrder_;
  Record* added = record.get();
  // Without an index the order is the fetch order, and a new record goes before the
  // current one; an index places it among the records of its key, after them.
  const auto at = static_cast<std::size_t>(std::clamp(position, 0, InternalRecordCount()));
  if (index_.empty()) {
    records_.insert(records_.begin() + static_cast<std::ptrdiff_t>(at), std::move(record));
    view_.insert(view_.begin() + static_cast<std::ptrdiff_t>(at), added);
    return static_cast<int>(at);
  }
  records_.push_back(std::move(record));
  return Place(added);
}

int TClientDataSet::Place(Record* record) {
  const auto at = std::upper_bound(view_.begin(), view_.end(), record,
                                   [&](const Record* a, const Record* b) { return Less(*a, *b); });
  return static_cast<int>(view_.insert(at, record) - view_.begin());
}

void TClientDataSet::InternalDelete(int position) {
  const Record* record = view_.at(static_cast<std::size_t>(position));
  if (!record->inserted)
    deleted_.push_back({record->original.value_or(record->values), ++changeOrder_});
  view_.erase(view_.begin() + position);
  records_.erase(std::find_if(records_.begin(), records_.end(),
                              [&](const auto& r) { return r.get() == record; }));
}

// ---- index -----------------------------------------------------------------

void TClientDataSet::SetIndexName(const std::string& name) {
  ChangeIndex(name, name.empty() ? indexFieldNames_ : std::string());
}

void TClientDataSet::SetIndexFieldNames(const std::string& names) {
  ChangeIndex(names.empty() ? indexName_ : std::string(), names);
}

void TClientDataSet::ChangeIndex(const std::string& indexName, const std::string& indexFieldNames) {
  if (!Active()) {
    indexName_ = indexName;
    indexFieldNames_ = indexFieldNames;
    return;
  }
  CheckBrowseMode();
  std::vector<IndexColumn> index = ResolveIndex(indexName, indexFieldNames);
  indexName_ = indexName;
  indexFieldNames_ = indexFieldNames;
  const int position = CurrentPosition();
  const Record* current = position >= 0 ? view_[static_cast<std::size_t>(position)] : nullptr;
  index_ = std::move(index);
  RebuildView();
  Resync(PositionOf(current));
}

std::vector<TClientDataSet::IndexColumn> TClientDataSet::ResolveIndex(
    const std::string& indexName, const std::string& indexFieldNames) const {
  std::string names = indexFieldNames;
  TIndexOptions options = ixCaseInsensitive;
  if (!indexName.empty()) {
    const int found = indexDefs_->IndexOf(indexName);
    if (found < 0) DatabaseError("Index '" + indexName + "' not found", this);
    names = indexDefs_->Items(found)->Fields();
    options = indexDefs_->Items(found)->Options();
  }
  std::vector<IndexColumn> index;
  for (std::string_view name : SplitFieldNames(names)) {
    const int column = FieldDefs()->IndexOf(name);
    if (column < 0) DatabaseError("Field '" + std::string(name) + "' not found", this);
    index.push_back({static_cast<std::size_t>(column), FieldDefs()->Items(column)->DataType(),
                     (options & ixCaseInsensitive) != 0, (options & ixDescending) != 0});
  }
  return index;
}

void TClientDataSet::RebuildView() {
  view_.clear();
  view_.reserve(records_.size());
  for (const auto& record : records_)
    view_.push_back(record.get());
  if (index_.empty()) return;
  std::stable_sort(view_.begin(), view_.end(),
                   [&](const Record* a, const Record* b) { return Less(*a, *b); });
}

bool TClientDataSet::Less(const Record& a, const Record& b) const {
  for (const IndexColumn& key : index_) {
    const int order =
        CompareValues(a.values[key.column], b.values[key.column], key.caseInsensitive);
    if (order != 0) return key.descending ? order > 0 : order < 0;
  }
  return false;
}

int TClientDataSet::CompareKey(const Record& record, const std::vector<Variant>& keys) const {
  for (std::size_t i = 0; i < keys.size(); ++i) {
    const IndexColumn& key = index_[i];
    const int order = CompareValues(record.values[key.column], keys[i], key.caseInsensitive);
    if (order != 0) return key.descending ? -order : order;
  }
  return 0;
}

std::optional<std::vector<Variant>> TClientDataSet::IndexKey(
    const std::vector<Variant>& keyValues) const {
  if (index_.empty()) DatabaseError("No index currently active", this);
  if (keyValues.size() > index_.size()) DatabaseError("More key values than index fields", this);
  std::vector<Variant> keys;
  try {
    for (std::size_t i = 0; i < keyValues.size(); ++i)
      keys.push_back(CoerceFieldValue(index_[i].type, keyValues[i], 0, ""));
  } catch (const Exception&) {
    return std::nullopt;  // a value no record of the column can hold
  }
  return keys;
}

int TClientDataSet::LowerBound(const std::vector<Variant>& keys) const {
  const auto found = std::lower_bound(view_.begin(), view_.end(), keys,
                                      [&](const Record* record, const std::vector<Variant>& k) {
                                        return CompareKey(*record, k) < 0;
                                      });
  return static_cast<int>(found - view_.begin());
}

bool TClientDataSet::FindKey(const std::vector<Variant>& keyValues) {
  CheckBrowseMode();
  const std::optional<std::vector<Variant>> keys = IndexKey(keyValues);
  if (!keys || keys->empty()) return false;
  const int position = LowerBound(*keys);
  if (position >= InternalRecordCount() ||
      CompareKey(*view_[static_cast<std::size_t>(position)], *keys) != 0)
    return false;
  MoveTo(position);
  return true;
}

void TClientDataSet::FindNearest(const std::vector<Variant>& keyValues) {
  CheckBrowseMode();
  const std::optional<std::vector<Variant>> keys = IndexKey(keyValues);
  if (!keys || InternalRecordCount() == 0) return;
  MoveTo(std::min(LowerBound(*keys), InternalRecordCount() - 1));
}

// ---- change log ------------------------------------------------------------

int TClientDataSet::ChangeCount() const {
  const auto logged = std::count_if(records_.begin(), records_.end(), [](const auto& record) {
    return record->inserted || record->original.has_value();
  });
  return static_cast<int>(logged + static_cast<std::ptrdiff_t>(deleted_.size()));
}

std::vector<TClientDataSet::LoggedChange> TClientDataSet::LoggedChanges() {
  std::vector<LoggedChange> changes;
  for (const auto& record : records_) {
    if (record->inserted)
      changes.push_back({record->changeOrder, TUpdateKind::ukInsert, record.get(), 0});
    else if (record->original)
      changes.push_back({record->changeOrder, TUpdateKind::ukModify, record.get(), 0});
  }
  for (std::size_t i = 0; i < deleted_.size(); ++i)
    changes.push_back({deleted_[i].changeOrder, TUpdateKind::ukDelete, nullptr, i});
  std::sort(changes.begin(), changes.end(),
            [](const LoggedChange& a, const LoggedChange& b) { return a.order < b.order; });
  return changes;
}

int TClientDataSet::ApplyUpdates(int maxErrors) {
  CheckBrowseMode();
  const std::vector<LoggedChange> changes = LoggedChanges();
  if (changes.empty()) return 0;
  Delta delta{PacketFields(), {}};
  for (const LoggedChange& change : changes) {
    switch (change.kind) {
      case TUpdateKind::ukModify:
        delta.changes.push_back({change.kind, *change.record->original, change.record->values});
        break;
      case TUpdateKind::ukInsert:
        delta.changes.push_back({change.kind, {}, change.record->values});
        break;
      case TUpdateKind::ukDelete:
        delta.changes.push_back({change.kind, deleted_[change.deleted].values, {}});
        break;
    }
  }
  Variant errorCount = 0;
  Variant ownerData;
  const Variant result =
      OleCall(Server(), "AS_ApplyUpdates",
              {providerName_, EncodeDelta(delta), maxErrors, ByRef(errorCount), ByRef(ownerData)});
  std::vector<ApplyError> errors;
  if (!DecodeApplyErrors(result, errors)) DatabaseError("Invalid update result", this);
  const int failed = std::max(VarIsClear(errorCount) ? 0 : errorCount.asInteger(),
                              static_cast<int>(errors.size()));
  if (maxErrors < 0 || failed <= maxErrors) MergeApplied(changes, errors);
  return failed;
}

void TClientDataSet::MergeApplied(const std::vector<LoggedChange>& changes,
                                  const std::vector<ApplyError>& errors) {
  std::unordered_set<int> failed;
  for (const ApplyError& error : errors)
    failed.insert(error.change);
  std::vector<bool> deletedApplied(deleted_.size(), false);
  for (std::size_t i = 0; i < changes.size(); ++i) {
    if (failed.count(static_cast<int>(i) + 1) != 0) continue;
    const LoggedChange& change = changes[i];
    if (change.kind == TUpdateKind::ukDelete) {
      deletedApplied[change.deleted] = true;
    } else {
      change.record->inserted = false;
      change.record->original.reset();
    }
  }
  std::vector<DeletedRecord> kept;
  for (std::size_t i = 0; i < deleted_.size(); ++i)
    if (!deletedApplied[i]) kept.push_back(std::move(deleted_[i]));
  deleted_ = std::move(kept);
}

}  // namespace ox
