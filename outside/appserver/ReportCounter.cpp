#include "outside/appserver/ReportCounter.h"

#include <algorithm>
#include <utility>

#include "platform/AsciiText.h"
#include "platform/CodePage.h"
#include "ui/DataPacket.h"

namespace ox::appserver {

namespace {

// A text column of the store: wide texts and the system's narrow texts as UTF-8.
std::string Utf8(const Variant& v) {
  if (const std::u16string* wide = v.wideText()) return WideToUtf8(*wide);
  return AnsiToUtf8(VarToStr(v));
}

// Element `index` counted from the low bound of a one-dimensional array.
const Variant& Item(const Variant& array, int index, std::string_view method) {
  if (!array.isArray() || array.array().dimCount() != 1 || index >= array.array().bounds(1).count())
    throw Exception("Invalid arguments for " + std::string(method));
  return array[array.array().bounds(1).low + index];
}

// The replace flag: a boolean, or "Y" / "True" / a number as text.
bool Flag(const Variant& v) {
  if (v.isText()) {
    const std::string text = UpperAscii(v.asString());
    if (text == "Y") return true;
    if (text == "N" || text.empty()) return false;
  }
  return v.asBoolean();
}

SchemeKey KeyOf(const Variant& args, std::string_view method) {
  return {Item(args, 0, method).asString(), Item(args, 1, method).asString(),
          Item(args, 2, method).asString()};
}

std::string Exists() {
  return Gb("此方案名称已经存在！");
}
std::string NotFound() {
  return Gb("方案不存在");
}
std::string NotYours() {
  return Gb("方案不属于当前用户和程序");
}

const std::vector<PacketField>& SchemeFields() {
  static const std::vector<PacketField> fields = {{"NCONDITION", TFieldType::ftString, 0, true},
                                                  {"CREATOR", TFieldType::ftString, 0, true},
                                                  {"PROGRAMME", TFieldType::ftString, 0, true},
                                                  {"SCONDITION", TFieldType::ftMemo, 0, false},
                                                  {"VCONDITION", TFieldType::ftMemo, 0, false},
                                                  {"CREATE_DATE", TFieldType::ftString, 0, false}};
  return fields;
}

PacketRow RowOf(const SchemeRow& r) {
  return {r.name, r.creator, r.programme, r.controls, r.values, r.createDate};
}

// A scheme row from the columns of a delta, by field name.
SchemeRow SchemeOf(const std::vector<PacketField>& fields, const PacketRow& values) {
  SchemeRow r;
  std::string* targets[] = {&r.name,     &r.creator, &r.programme,
                            &r.controls, &r.values,  &r.createDate};
  for (std::size_t i = 0; i < fields.size() && i < values.size(); ++i)
    for (std::size_t t = 0; t < SchemeFields().size(); ++t)
      if (SameTextAscii(fields[i].name, SchemeFields()[t].name)) *targets[t] = VarToStr(values[i]);
  return r;
}

// A job variant [header, descriptions, values (, period, dynamic fields)] as a stored
// entry; raises when it is none.
JobRecord EntryOf(const Variant& job, EntryKind kind, TDateTime now) {
  if (!job.isArray() || job.array().dimCount() != 1 || job.array().bounds(1).low != 0 ||
      (job.array().bounds(1).high != 2 && job.array().bounds(1).high != 4))
    throw Exception("The job is not a job variant");
  const Variant& header = job[0];
  if (!header.isArray() || header.array().dimCount() != 1 || header.array().bounds(1).low != 1 ||
      header.array().bounds(1).high < 9)
    throw Exception("The job has no header");
  const int high = header.array().bounds(1).high;
  JobRecord e;
  e.kind = kind;
  e.program = Utf8(header[1]);
  e.company = Utf8(header[4]);
  e.user = Utf8(header[5]);
  e.database = Utf8(header[6]);
  e.runMode = high >= 10 ? header[10].asInteger() : 0;
  e.periodic = job.array().bounds(1).high == 4 && job[3].isArray() && VarToStr(job[3][0]) == "Y";
  e.moment = e.runMode == 2 && high >= 11 ? header[11].asDate() : now;
  e.created = now;
  e.status = kind == EntryKind::Job ? kQueued : kRequested;
  e.job = job;
  return e;
}

}  // namespace

ReportCounter::ReportCounter(std::shared_ptr<const ServerContext> context)
    : context_(std::move(context)) {
  AddMethod("Request", 1,
            [this](std::span<Variant> a) { return Request(a[0], EntryKind::Job, Variant()); });
  AddMethod("Request1", 2,
            [this](std::span<Variant> a) { return Request(a[0], EntryKind::Request, a[1]); });
  AddMethod("ErrorDescript", 0, [this](std::span<Variant>) { return Variant(lastError_); });
  AddMethod("UpdateStatus1", 3,
            [this](std::span<Variant> a) { return UpdateStatus(a[0], a[1], a[2]); });
  AddMethod("GetPower", 1, [](std::span<Variant> a) {
    // The reference server keeps no rights: every user may do everything.
    Variant reply = VarArrayCreate({1, 5});
    reply[1] = Item(a[0], 1, "GetPower").asString() + ",Y,Y,YYYYYYYY,,";
    reply[2] = "";
    reply[3] = "";
    reply[4] = "";
    reply[5] = VarArrayOf({0});
    return reply;
  });
  AddMethod("SQLType", 0, [this](std::span<Variant>) { return Variant(context_->sqlType); });
  AddMethod("LoadTable", 1, [this](std::span<Variant> a) {
    loaded_.emplace(Item(a[0], 0, "LoadTable").asString(), Item(a[0], 1, "LoadTable").asString());
    return Variant();
  });
  AddMethod("InsertConTable", 1,
            [this](std::span<Variant> a) { return SchemeCall([&] { InsertScheme(a[0]); }); });
  AddMethod("DeleteConTable", 1,
            [this](std::span<Variant> a) { return SchemeCall([&] { DeleteScheme(a[0]); }); });
  AddMethod("ChangeConName", 2,
            [this](std::span<Variant> a) { return SchemeCall([&] { RenameScheme(a[0], a[1]); }); });
  AddMethod("AS_GetRecords", 7, [this](std::span<Variant> a) { return GetRecords(a[0], a[2]); });
  AddMethod("AS_ApplyUpdates", 5, [this](std::span<Variant> a) {
    return ApplyUpdates(a[0], a[1], a[2].asInteger(), a[3]);
  });
}

Variant ReportCounter::Request(const Variant& job, EntryKind kind, const Variant& computer) {
  try {
    JobRecord entry = EntryOf(job, kind, context_->clock());
    entry.computer = Utf8(computer);
    entry = context_->store->AddEntry(std::move(entry));
    if (kind == EntryKind::Job && context_->jobAdded) context_->jobAdded();
    return Variant(entry.number);
  } catch (const Exception& error) {
    lastError_ = error.Message();
    return Variant("ERROR");
  }
}

Variant ReportCounter::UpdateStatus(const Variant& number, const Variant& messages,
                                    const Variant& when) {
  try {
    std::optional<JobRecord> entry = context_->store->FindEntry(number.asString());
    if (!entry || entry->kind != EntryKind::Request)
      throw Exception("No request " + number.asString());
    entry->message.clear();
    if (messages.isArray()) {
      for (const Variant& line : messages.array().elements())
        entry->message += (entry->message.empty() ? "" : "\n") + Utf8(line);
    } else {
      entry->message = Utf8(messages);
    }
    entry->status = kReported;
    entry->moment = VarIsClear(when) ? context_->clock() : when.asDate();
    context_->store->UpdateEntry(*entry);
  } catch (const Exception& error) {
    lastError_ = error.Message();
  }
  return Variant();
}

Variant ReportCounter::SchemeCall(const std::function<void()>& action) {
  try {
    action();
    return Variant("");
  } catch (const Exception& error) {
    lastError_ = error.Message();
    return Variant(error.Message());
  }
}

void ReportCounter::InsertScheme(const Variant& args) {
  constexpr std::string_view kMethod = "InsertConTable";
  const SchemeRow row{Item(args, 0, kMethod).asString(), Item(args, 1, kMethod).asString(),
                      Item(args, 3, kMethod).asString(), Item(args, 4, kMethod).asString(),
                      Item(args, 5, kMethod).asString(), Item(args, 2, kMethod).asString()};
  if (TrimText(row.name).empty()) throw Exception(Gb("方案名不可空白!"));
  if (!context_->store->SaveScheme(row, Flag(Item(args, 6, kMethod)))) throw Exception(Exists());
}

void ReportCounter::DeleteScheme(const Variant& args) {
  if (!context_->store->DeleteScheme(KeyOf(args, "DeleteConTable"))) throw Exception(NotFound());
}

void ReportCounter::RenameScheme(const Variant& oldArgs, const Variant& newArgs) {
  const SchemeKey from = KeyOf(oldArgs, "ChangeConName");
  const SchemeKey to = KeyOf(newArgs, "ChangeConName");
  if (from.user != to.user || from.program != to.program) throw Exception(NotYours());
  if (TrimText(to.name).empty()) throw Exception(Gb("方案名不可空白!"));
  const std::vector<SchemeRow> rows = context_->store->Schemes(from.user, from.program);
  const auto old = std::find_if(rows.begin(), rows.end(),
                                [&](const SchemeRow& r) { return r.name == from.name; });
  if (old == rows.end()) throw Exception(NotFound());
  SchemeRow renamed = *old;
  renamed.name = to.name;
  if (!context_->store->UpdateScheme(from, renamed)) throw Exception(Exists());
}

void ReportCounter::CheckProvider(const Variant& provider) const {
  if (!SameTextAscii(provider.asString(), kSchemeProvider))
    throw Exception("Provider not exported: " + provider.asString());
}

Variant ReportCounter::GetRecords(const Variant& provider, Variant& recordsOut) {
  CheckProvider(provider);
  DataPacket packet{SchemeFields(), {}};
  if (loaded_)
    for (const SchemeRow& row : context_->store->Schemes(loaded_->first, loaded_->second))
      packet.rows.push_back(RowOf(row));
  recordsOut = static_cast<int>(packet.rows.size());
  return EncodeDataPacket(packet);
}

Variant ReportCounter::ApplyUpdates(const Variant& provider, const Variant& delta, int maxErrors,
                                    Variant& errorCount) {
  CheckProvider(provider);
  Delta changes;
  if (!DecodeDelta(delta, changes)) throw Exception("Invalid delta");
  const auto mine = [this](const SchemeRow& r) {
    return loaded_ && r.creator == loaded_->first && r.programme == loaded_->second;
  };
  ServerStore& store = *context_->store;
  // The error of one change; applies it unless only checking.
  const auto apply = [&](const DeltaChange& c, bool check) -> std::string {
    const SchemeRow before = SchemeOf(changes.fields, c.oldValues);
    const SchemeRow after = SchemeOf(changes.fields, c.newValues);
    switch (c.kind) {
      case TUpdateKind::ukInsert:
        if (!mine(after)) return NotYours();
        return (check ? !store.SchemeExists(after.key()) : store.SaveScheme(after, false))
                   ? ""
                   : Exists();
      case TUpdateKind::ukDelete:
        if (!mine(before)) return NotYours();
        return (check ? store.SchemeExists(before.key()) : store.DeleteScheme(before.key()))
                   ? ""
                   : NotFound();
      case TUpdateKind::ukModify:
        if (!mine(before) || !mine(after)) return NotYours();
        return (check ? store.SchemeExists(before.key()) : store.UpdateScheme(before.key(), after))
                   ? ""
                   : NotFound();
    }
    return NotFound();
  };
  const auto run = [&](bool check) {
    std::vector<ApplyError> errors;
    for (std::size_t i = 0; i < changes.changes.size(); ++i)
      if (std::string error = apply(changes.changes[i], check); !error.empty())
        errors.push_back({static_cast<int>(i + 1), std::move(error)});
    return errors;
  };
  std::vector<ApplyError> errors = run(true);
  if (maxErrors < 0 || static_cast<int>(errors.size()) <= maxErrors) errors = run(false);
  errorCount = static_cast<int>(errors.size());
  return EncodeApplyErrors(errors);
}

void RegisterReportCounterClass(const std::filesystem::path& storePath) {
  auto context = std::make_shared<ServerContext>();
  context->store = std::make_shared<ServerStore>(storePath);
  context->clock = [] { return Now(); };
  RegisterOleClass(kReportCounterProgId, [context] {
    return std::static_pointer_cast<DispatchObject>(std::make_shared<ReportCounter>(context));
  });
}

}  // namespace ox::appserver
