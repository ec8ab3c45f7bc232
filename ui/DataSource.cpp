#include "ui/DataSource.h"

#include <algorithm>

namespace ox {

namespace {

template <typename T>
void Erase(std::vector<T*>& list, T* item) {
  list.erase(std::remove(list.begin(), list.end(), item), list.end());
}

bool IsEditState(TDataSetState state) {
  return state == TDataSetState::dsEdit || state == TDataSetState::dsInsert;
}

}  // namespace

// ---- TDataSource -----------------------------------------------------------

const ClassInfo& TDataSource::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TDataSource>("TDataSource", &TComponent::StaticClassInfo())
          .creatable()
          .property("AutoEdit", &TDataSource::AutoEdit, &TDataSource::SetAutoEdit)
          .defaultValue(1)
          .object<TDataSet>("DataSet", &TDataSource::DataSet, &TDataSource::SetDataSet)
          .property("Enabled", &TDataSource::Enabled, &TDataSource::SetEnabled)
          .defaultValue(1)
          .event("OnDataChange", &TDataSource::OnDataChange)
          .event("OnStateChange", &TDataSource::OnStateChange)
          .event("OnUpdateData", &TDataSource::OnUpdateData)
          .build();
  return info;
}

TDataSource::TDataSource(TComponent* owner) : TComponent(owner) {}

TDataSource::~TDataSource() {
  OnDataChange = TMethod();
  OnStateChange = TMethod();
  OnUpdateData = TMethod();
  if (FreedWithOwner(*this)) {
    if (dataSet_ != nullptr) Erase(dataSet_->dataSources_, this);
    for (TDataLink* link : links_) {
      link->dataSource_ = nullptr;
      link->active_ = link->editing_ = false;
    }
    return;
  }
  SetDataSet(nullptr);
  for (TDataLink* link : std::vector<TDataLink*>(links_))
    link->SetDataSource(nullptr);
}

void TDataSource::SetDataSet(TDataSet* dataSet) {
  if (dataSet == dataSet_) return;
  if (dataSet_ != nullptr) {
    Erase(dataSet_->dataSources_, this);
    dataSet_ = nullptr;
    UpdateState();
  }
  if (dataSet != nullptr) {
    dataSet->dataSources_.push_back(this);
    dataSet_ = dataSet;
    UpdateState();
  }
}

void TDataSource::ForgetDataSet() {
  dataSet_ = nullptr;
  state_ = TDataSetState::dsInactive;
  for (TDataLink* link : links_)
    link->active_ = link->editing_ = false;
}

void TDataSource::SetEnabled(bool enabled) {
  enabled_ = enabled;
  UpdateState();
}

void TDataSource::Edit() {
  if (autoEdit_ && state_ == TDataSetState::dsBrowse && dataSet_ != nullptr) dataSet_->Edit();
}

void TDataSource::UpdateState() {
  const TDataSetState state =
      enabled_ && dataSet_ != nullptr ? dataSet_->State() : TDataSetState::dsInactive;
  if (state == state_) return;
  state_ = state;
  NotifyLinks(TDataEvent::deUpdateState, nullptr);
  OnStateChange(this);
}

void TDataSource::NotifyLinks(TDataEvent event, TField* field) {
  // A link may leave while another one reacts: only those still here hear the news.
  for (TDataLink* link : std::vector<TDataLink*>(links_))
    if (std::find(links_.begin(), links_.end(), link) != links_.end())
      link->DataEvent(event, field);
}

void TDataSource::DataEvent(TDataEvent event, TField* field) {
  if (event == TDataEvent::deUpdateState) return UpdateState();
  if (state_ == TDataSetState::dsInactive) return;
  NotifyLinks(event, field);
  if (event == TDataEvent::deUpdateRecord)
    OnUpdateData(this);
  else
    OnDataChange(this, field);
}

// ---- TDataLink -------------------------------------------------------------

TDataLink::~TDataLink() {
  if (dataSource_ != nullptr) Erase(dataSource_->links_, this);
}

void TDataLink::SetDataSource(TDataSource* source) {
  if (source == dataSource_) return;
  if (dataSource_ != nullptr) Erase(dataSource_->links_, this);
  dataSource_ = source;
  if (source != nullptr) source->links_.push_back(this);
  UpdateState();
}

TDataSet* TDataLink::DataSet() const {
  return dataSource_ != nullptr ? dataSource_->DataSet() : nullptr;
}

void TDataLink::SetReadOnly(bool readOnly) {
  readOnly_ = readOnly;
  UpdateState();
}

bool TDataLink::Edit() {
  if (!readOnly_ && dataSource_ != nullptr) dataSource_->Edit();
  return editing_;
}

void TDataLink::UpdateRecord() {
  updating_ = true;
  try {
    UpdateData();
  } catch (...) {
    updating_ = false;
    throw;
  }
  updating_ = false;
}

void TDataLink::RecordChanged(TField*) {}

void TDataLink::UpdateState() {
  const TDataSetState state =
      dataSource_ != nullptr ? dataSource_->State() : TDataSetState::dsInactive;
  const bool active = state != TDataSetState::dsInactive;
  if (active != active_) {
    active_ = active;
    ActiveChanged();
  }
  const bool editing = IsEditState(state) && !readOnly_;
  if (editing != editing_) {
    editing_ = editing;
    EditingChanged();
  }
}

void TDataLink::DataEvent(TDataEvent event, TField* field) {
  if (event == TDataEvent::deUpdateState) return UpdateState();
  if (!active_) return;
  switch (event) {
    case TDataEvent::deFieldChange:
    case TDataEvent::deRecordChange:
      if (!updating_) RecordChanged(field);
      break;
    case TDataEvent::deDataSetChange:
    case TDataEvent::deDataSetScroll:
      DataSetChanged();
      break;
    case TDataEvent::deUpdateRecord:
      UpdateRecord();
      break;
    case TDataEvent::deUpdateState:
      break;
  }
}

// ---- TFieldDataLink --------------------------------------------------------

void TFieldDataLink::SetFieldName(const std::string& name) {
  if (name == fieldName_) return;
  fieldName_ = name;
  UpdateField();
}

void TFieldDataLink::UpdateField() {
  SetField(Active() && !fieldName_.empty() ? DataSet()->FieldByName(fieldName_) : nullptr);
}

void TFieldDataLink::SetField(TField* field) {
  if (field == field_.get()) return;
  field_ = field;
  EditingChanged();
  RecordChanged(nullptr);
}

bool TFieldDataLink::CanModify() const {
  return !ReadOnly() && field_ && field_->CanModify();
}

bool TFieldDataLink::Edit() {
  if (CanModify()) TDataLink::Edit();
  return Editing();
}

void TFieldDataLink::ActiveChanged() {
  UpdateField();
  if (OnActiveChange) OnActiveChange();
}

void TFieldDataLink::EditingChanged() {
  if (OnEditingChange) OnEditingChange();
}

void TFieldDataLink::RecordChanged(TField* field) {
  if (field != nullptr && field != field_.get()) return;
  if (OnDataChange) OnDataChange();
  modified_ = false;
}

void TFieldDataLink::UpdateData() {
  if (!modified_) return;
  if (field_ && OnUpdateData) OnUpdateData();
  modified_ = false;
}

}  // namespace ox
