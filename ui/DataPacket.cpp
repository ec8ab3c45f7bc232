#include "ui/DataPacket.h"

#include <unordered_set>

#include "platform/AsciiText.h"

namespace ox {

namespace {

Variant ArrayOf(const std::vector<Variant>& values) {
  Variant array = VarArrayCreate({0, static_cast<int>(values.size()) - 1});
  array.array().elements() = values;
  return array;
}

// The elements of a one-dimensional array, or null for anything else.
const std::vector<Variant>* ElementsOf(const Variant& value) {
  if (VarArrayDimCount(value) != 1) return nullptr;
  return &value.array().elements();
}

Variant EncodeFields(const std::vector<PacketField>& fields) {
  std::vector<Variant> descriptions;
  descriptions.reserve(fields.size());
  for (const PacketField& field : fields)
    descriptions.push_back(VarArrayOf({Variant(field.name), Variant(static_cast<int>(field.type)),
                                       Variant(field.size), Variant(field.required)}));
  return ArrayOf(descriptions);
}

bool DecodeField(const Variant& description, PacketField& out) {
  const std::vector<Variant>* parts = ElementsOf(description);
  if (parts == nullptr || parts->size() < 3 || parts->size() > 4 || !(*parts)[0].isText() ||
      !(*parts)[1].isNumeric() || !(*parts)[2].isNumeric() ||
      (parts->size() == 4 && !(*parts)[3].isNumeric()))
    return false;
  const std::int64_t type = (*parts)[1].asInt64();
  const std::int64_t size = (*parts)[2].asInt64();
  if (!IsFieldType(type) || size < 0 || size > 0x7FFFFFFF) return false;
  out = {(*parts)[0].asString(), static_cast<TFieldType>(type), static_cast<int>(size),
         parts->size() == 4 && (*parts)[3].asBoolean()};
  return !out.name.empty();
}

bool DecodeFields(const Variant& value, std::vector<PacketField>& out) {
  const std::vector<Variant>* descriptions = ElementsOf(value);
  if (descriptions == nullptr) return false;
  out.assign(descriptions->size(), {});
  std::unordered_set<std::string> names;
  for (std::size_t i = 0; i < out.size(); ++i)
    if (!DecodeField((*descriptions)[i], out[i]) || !names.insert(UpperAscii(out[i].name)).second)
      return false;
  return true;
}

bool DecodeRow(const Variant& value, const std::vector<PacketField>& fields, PacketRow& out) {
  const std::vector<Variant>* values = ElementsOf(value);
  if (values == nullptr || values->size() != fields.size()) return false;
  out.clear();
  out.reserve(fields.size());
  for (std::size_t i = 0; i < fields.size(); ++i)
    out.push_back(CoerceFieldValue(fields[i].type, (*values)[i], fields[i].size, fields[i].name));
  return true;
}

Variant RowOrNull(const PacketRow& row) {
  return row.empty() ? Variant::Null() : ArrayOf(row);
}

// Reads the rows a change of its kind carries: an insert has no old row, a delete no
// new one, a modification both.
bool DecodeChange(const Variant& value, const std::vector<PacketField>& fields, DeltaChange& out) {
  const std::vector<Variant>* parts = ElementsOf(value);
  if (parts == nullptr || parts->size() != 3 || !(*parts)[0].isNumeric()) return false;
  const std::int64_t kind = (*parts)[0].asInt64();
  if (kind < 0 || kind > static_cast<std::int64_t>(TUpdateKind::ukDelete)) return false;
  out.kind = static_cast<TUpdateKind>(kind);
  out.oldValues.clear();
  out.newValues.clear();
  const bool oldRow = out.kind != TUpdateKind::ukInsert;
  const bool newRow = out.kind != TUpdateKind::ukDelete;
  return (!oldRow || DecodeRow((*parts)[1], fields, out.oldValues)) &&
         (!newRow || DecodeRow((*parts)[2], fields, out.newValues));
}

// Runs a decoder that may meet values the conversions refuse; such input is no packet.
template <typename Decode>
bool Guarded(Decode&& decode) {
  try {
    return decode();
  } catch (const Exception&) {
    return false;
  }
}

}  // namespace

Variant EncodeDataPacket(const DataPacket& packet) {
  std::vector<Variant> parts{EncodeFields(packet.fields)};
  for (const PacketRow& row : packet.rows)
    parts.push_back(ArrayOf(row));
  return ArrayOf(parts);
}

bool DecodeDataPacket(const Variant& packet, DataPacket& out) {
  return Guarded([&] {
    const std::vector<Variant>* parts = ElementsOf(packet);
    if (parts == nullptr || parts->empty() || !DecodeFields(parts->front(), out.fields))
      return false;
    out.rows.assign(parts->size() - 1, {});
    for (std::size_t i = 1; i < parts->size(); ++i)
      if (!DecodeRow((*parts)[i], out.fields, out.rows[i - 1])) return false;
    return true;
  });
}

Variant EncodeDelta(const Delta& delta) {
  std::vector<Variant> parts{EncodeFields(delta.fields)};
  for (const DeltaChange& change : delta.changes)
    parts.push_back(VarArrayOf({Variant(static_cast<int>(change.kind)), RowOrNull(change.oldValues),
                                RowOrNull(change.newValues)}));
  return ArrayOf(parts);
}

bool DecodeDelta(const Variant& delta, Delta& out) {
  return Guarded([&] {
    const std::vector<Variant>* parts = ElementsOf(delta);
    if (parts == nullptr || parts->empty() || !DecodeFields(parts->front(), out.fields))
      return false;
    out.changes.assign(parts->size() - 1, {});
    for (std::size_t i = 1; i < parts->size(); ++i)
      if (!DecodeChange((*parts)[i], out.fields, out.changes[i - 1])) return false;
    return true;
  });
}

Variant EncodeApplyErrors(const std::vector<ApplyError>& errors) {
  if (errors.empty()) return Variant();
  std::vector<Variant> entries;
  for (const ApplyError& error : errors)
    entries.push_back(VarArrayOf({Variant(error.change), Variant(error.message)}));
  return ArrayOf(entries);
}

bool DecodeApplyErrors(const Variant& result, std::vector<ApplyError>& out) {
  out.clear();
  if (VarIsClear(result)) return true;
  return Guarded([&] {
    const std::vector<Variant>* entries = ElementsOf(result);
    if (entries == nullptr) return false;
    for (const Variant& entry : *entries) {
      const std::vector<Variant>* parts = ElementsOf(entry);
      if (parts == nullptr || parts->size() != 2 || !(*parts)[0].isNumeric()) return false;
      const std::int64_t change = (*parts)[0].asInt64();
      if (change < 1 || change > 0x7FFFFFFF) return false;
      out.push_back({static_cast<int>(change), VarToStr((*parts)[1])});
    }
    return true;
  });
}

}  // namespace ox
