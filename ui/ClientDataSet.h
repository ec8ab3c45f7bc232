// The client data set: records held in memory, fetched from a provider of the
// application server and sent back as changes.
//
// Opening asks the RemoteServer connection for its server object (connecting when
// needed) and calls
//   AS_GetRecords(ProviderName, -1, var RecsOut, grMetaData + grReset, CommandText,
//                 var Params, var OwnerData)
// whose answer is a data packet (ui/DataPacket.h): the field definitions and the rows.
// Data sets made in memory (CreateDataSet) or from a packet (Data) need no provider.
// Closing empties the data set. Posted changes are logged until ApplyUpdates sends them:
//   AS_ApplyUpdates(ProviderName, Delta, MaxErrors, var ErrorCount, var OwnerData)
// The answer lists the changes that failed; the others leave the log.
//
// An index orders the records and serves FindKey and FindNearest: IndexFieldNames
// (";"-separated field names; texts ordered ignoring case), or IndexName choosing one of
// the IndexDefs (texts ordered by their bytes unless ixCaseInsensitive; ixDescending
// reverses). Null values come first; records with equal keys keep the order they were
// fetched in, and a record posted later goes after those of its key.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/Connection.h"
#include "ui/DataPacket.h"
#include "ui/DataSet.h"

namespace ox {

// Options of an index definition (a set of bits).
using TIndexOptions = int;
enum : int {
  ixPrimary = 1,
  ixUnique = 2,
  ixDescending = 4,
  ixCaseInsensitive = 8,
  ixExpression = 16,
  ixNonMaintained = 32
};

class TIndexDef : public TCollectionItem {
 public:
  OX_CLASS_INFO()
  using TCollectionItem::TCollectionItem;
  const std::string& Name() const { return name_; }
  void SetName(const std::string& name) { name_ = name; }
  // The ";"-separated fields the index orders by.
  const std::string& Fields() const { return fields_; }
  void SetFields(const std::string& fields) { fields_ = fields; }
  TIndexOptions Options() const { return options_; }
  void SetOptions(TIndexOptions options) { options_ = options; }

 private:
  std::string name_;
  std::string fields_;
  TIndexOptions options_ = 0;
};

class TIndexDefs : public TCollection {
 public:
  OX_CLASS_INFO()
  TIndexDefs();
  TIndexDef* Items(int index) const { return static_cast<TIndexDef*>(TCollection::Items(index)); }
  TIndexDef* Add(const std::string& name, const std::string& fields, TIndexOptions options = 0);
  // The position of the definition of that name (ignoring case), or -1.
  int IndexOf(std::string_view name) const;
};

class TClientDataSet : public TDataSet {
 public:
  OX_CLASS_INFO()
  explicit TClientDataSet(TComponent* owner);
  ~TClientDataSet() override;

  TCustomRemoteServer* RemoteServer() const { return remoteServer_.get(); }
  void SetRemoteServer(TCustomRemoteServer* server) { remoteServer_ = server; }
  const std::string& ProviderName() const { return providerName_; }
  void SetProviderName(const std::string& name) { providerName_ = name; }
  const std::string& CommandText() const { return commandText_; }
  void SetCommandText(const std::string& text) { commandText_ = text; }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }

  TIndexDefs* IndexDefs() const { return indexDefs_.get(); }
  // Setting one index property clears the other; an open data set re-sorts at once and
  // keeps its current record (an unknown field or index raises and changes nothing).
  const std::string& IndexName() const { return indexName_; }
  void SetIndexName(const std::string& name);
  const std::string& IndexFieldNames() const { return indexFieldNames_; }
  void SetIndexFieldNames(const std::string& names);

  // Opens an empty data set with the field definitions, or, when there are none, with
  // definitions taken from the persistent fields.
  void CreateDataSet();
  // The records as a data packet (Null while closed); setting one opens the data set
  // with it (an empty Variant just closes it).
  Variant Data() const;
  void SetData(const Variant& packet);

  // Makes current the first record whose leading index fields hold the values; false
  // (the cursor stays) when there is none.
  bool FindKey(const std::vector<Variant>& keyValues);
  // Makes current the first record at or after the values in index order (the last
  // record when all come before).
  void FindNearest(const std::vector<Variant>& keyValues);

  // Sends the logged changes to the provider; answers the number that failed. When it
  // exceeds MaxErrors (not -1), the server applied nothing and the log stays whole.
  int ApplyUpdates(int maxErrors);
  // Logged changes: records inserted, modified or deleted since fetched or applied.
  int ChangeCount() const;

 protected:
  void InternalOpen() override;
  void InternalClose() override;
  int InternalRecordCount() const override { return static_cast<int>(view_.size()); }
  const std::vector<Variant>& InternalRecord(int position) const override;
  TBookmark InternalBookmark(int position) const override;
  int InternalFindBookmark(TBookmark bookmark) const override;
  int InternalPost(int position, bool inserting, const std::vector<Variant>& values) override;
  void InternalDelete(int position) override;
  bool InternalCanModify() const override { return !readOnly_; }

 private:
  struct Record {
    TBookmark id = 0;
    std::vector<Variant> values;
    std::optional<std::vector<Variant>> original;  // values before a logged modification
    bool inserted = false;                         // logged as inserted
    std::uint64_t changeOrder = 0;                 // when its logged change was first made
  };
  struct DeletedRecord {
    std::vector<Variant> values;
    std::uint64_t changeOrder = 0;
  };
  struct IndexColumn {
    std::size_t column = 0;
    TFieldType type = TFieldType::ftUnknown;
    bool caseInsensitive = false;
    bool descending = false;
  };
  struct LoggedChange {
    std::uint64_t order = 0;
    TUpdateKind kind = TUpdateKind::ukModify;
    Record* record = nullptr;  // modify and insert
    std::size_t deleted = 0;   // delete: position in deleted_
  };

  Variant Server() const;
  std::vector<PacketField> PacketFields() const;
  void LoadPacket(const Variant& packet);
  std::vector<IndexColumn> ResolveIndex(const std::string& indexName,
                                        const std::string& indexFieldNames) const;
  void ChangeIndex(const std::string& indexName, const std::string& indexFieldNames);
  // Orders the records by the index; equal keys keep their order.
  void RebuildView();
  bool Less(const Record& a, const Record& b) const;
  // Puts a record into the ordered view after those of its key; answers its position.
  int Place(Record* record);
  int PositionOf(const Record* record) const;
  int CompareKey(const Record& record, const std::vector<Variant>& keys) const;
  std::optional<std::vector<Variant>> IndexKey(const std::vector<Variant>& keyValues) const;
  int LowerBound(const std::vector<Variant>& keys) const;
  std::vector<LoggedChange> LoggedChanges();
  void MergeApplied(const std::vector<LoggedChange>& changes,
                    const std::vector<ApplyError>& errors);

  ComponentRef<TCustomRemoteServer> remoteServer_;
  std::string providerName_;
  std::string commandText_;
  bool readOnly_ = false;
  std::unique_ptr<TIndexDefs> indexDefs_;
  std::string indexName_;
  std::string indexFieldNames_;
  std::optional<Variant> pendingPacket_;  // what the next open loads instead of fetching

  std::vector<std::unique_ptr<Record>> records_;  // in the order fetched and inserted
  std::vector<Record*> view_;                     // in index order
  std::vector<DeletedRecord> deleted_;
  std::vector<IndexColumn> index_;
  TBookmark nextId_ = 1;
  std::uint64_t changeOrder_ = 0;
};

}  // namespace ox
