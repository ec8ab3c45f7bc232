// The Variants in which a client data set and the provider of an application server
// exchange rows, so that they travel through late-bound calls as any other value.
//
// Data packet: the answer of AS_GetRecords, and TClientDataSet's Data.
//   [fields, row 1, ..., row n]           a one-dimensional array
//   fields = [[name, type, size, required], ...]
//                                         one description per column, in column order:
//                                         the column's name; its TFieldType number
//                                         (1 ftString, 3 ftInteger, 5 ftBoolean,
//                                         6 ftFloat, 11 ftDateTime, 16 ftMemo, ...); the
//                                         most bytes a text keeps (0: no limit); whether
//                                         a value is required (optional, false when
//                                         left out)
//   row = [value, ...]                    one value per column, Null for none
// A packet without rows is the fields alone. Texts are narrow (system code page) or
// wide; values are read as their column's type takes them (an integer column takes
// 5 or "5").
//
// Delta: the changes ApplyUpdates sends with AS_ApplyUpdates.
//   [fields, change 1, ..., change n]     fields as in a data packet
//   change = [kind, old row, new row]     kind: the TUpdateKind number (0 ukModify,
//                                         1 ukInsert, 2 ukDelete); old row: the values
//                                         as last fetched or applied (Null for an
//                                         insert); new row: the values now (Null for a
//                                         delete)
// Changes stand in the order they were first made; a record changed twice is one
// change; a record inserted and deleted again is none.
//
// Apply result: the answer of AS_ApplyUpdates. Empty or Null when every change was
// applied; otherwise [[change, message], ...] for the changes that failed, each change
// numbered from 1 in delta order.
#pragma once

#include <string>
#include <vector>

#include "ui/DataSet.h"

namespace ox {

// Options of AS_GetRecords: send the field descriptions; start from the first row.
inline constexpr int grMetaData = 1;
inline constexpr int grReset = 2;

struct PacketField {
  std::string name;
  TFieldType type = TFieldType::ftString;
  int size = 0;
  bool required = false;
};
using PacketRow = std::vector<Variant>;

struct DataPacket {
  std::vector<PacketField> fields;
  std::vector<PacketRow> rows;
};

Variant EncodeDataPacket(const DataPacket& packet);
// Reads a packet, every value as its column's type stores it (CoerceFieldValue); false
// for anything else: no array, a description that is not [name, known type, size >= 0,
// optional required flag],
// a name missing or given twice, a row of another width, a value the column cannot hold.
bool DecodeDataPacket(const Variant& packet, DataPacket& out);

enum class TUpdateKind { ukModify, ukInsert, ukDelete };

struct DeltaChange {
  TUpdateKind kind = TUpdateKind::ukModify;
  PacketRow oldValues;  // empty for an insert
  PacketRow newValues;  // empty for a delete
};

struct Delta {
  std::vector<PacketField> fields;
  std::vector<DeltaChange> changes;
};

Variant EncodeDelta(const Delta& delta);
// Reads a delta as DecodeDataPacket reads a packet; false for a change of an unknown
// kind or without the rows its kind needs.
bool DecodeDelta(const Variant& delta, Delta& out);

struct ApplyError {
  int change = 0;  // from 1, in delta order
  std::string message;
};

Variant EncodeApplyErrors(const std::vector<ApplyError>& errors);
// Reads an apply result; false for anything but Empty, Null or a list of
// [change >= 1, message] pairs.
bool DecodeApplyErrors(const Variant& result, std::vector<ApplyError>& out);

}  // namespace ox
