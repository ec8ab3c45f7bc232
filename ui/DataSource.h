// Data sources and data links: the path from a data set to the controls that show it.
// A data set tells its data sources of every change (TDataEvent); a data source passes
// the news to its data links and fires its own events; a data-aware control owns a
// field data link that follows one field of the current record, puts the data set in
// edit state when the user starts typing and writes the control's text back when the
// record is updated (leaving the control, posting).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/DataSet.h"

namespace ox {

class TDataLink;

// Whether the component is being freed by its owner's destructor (a form going away):
// then nothing is told of its departure, as the handlers' objects are half destroyed.
inline bool FreedWithOwner(const TComponent& component) {
  return component.Owner() != nullptr && component.Owner()->IsDestroying();
}

using TDataChangeEvent = Event<TObject*, TField*>;

class TDataSource : public TComponent {
 public:
  OX_CLASS_INFO()
  explicit TDataSource(TComponent* owner);
  ~TDataSource() override;

  TDataSet* DataSet() const { return dataSet_; }
  void SetDataSet(TDataSet* dataSet);
  // A disabled source shows its links an inactive data set.
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  // Whether typing in a control may put the data set in edit state.
  bool AutoEdit() const { return autoEdit_; }
  void SetAutoEdit(bool autoEdit) { autoEdit_ = autoEdit; }
  // The data set's state as the links see it.
  TDataSetState State() const { return state_; }
  // Puts a browsing data set in edit state when AutoEdit allows it.
  void Edit();

  TDataChangeEvent OnDataChange;  // the current record or one of its fields changed
  TNotifyEvent OnStateChange;
  TNotifyEvent OnUpdateData;  // the record is about to be posted

 private:
  friend class TDataSet;
  friend class TDataLink;

  void DataEvent(TDataEvent event, TField* field);
  void NotifyLinks(TDataEvent event, TField* field);
  void UpdateState();
  // The data set goes away with its owner: forget it without telling anybody.
  void ForgetDataSet();

  TDataSet* dataSet_ = nullptr;
  bool enabled_ = true;
  bool autoEdit_ = true;
  TDataSetState state_ = TDataSetState::dsInactive;
  std::vector<TDataLink*> links_;
};

// A link from an object (usually a control) to a data source.
class TDataLink {
 public:
  TDataLink() = default;
  TDataLink(const TDataLink&) = delete;
  TDataLink& operator=(const TDataLink&) = delete;
  // Leaves the data source without telling anybody.
  virtual ~TDataLink();

  TDataSource* DataSource() const { return dataSource_; }
  void SetDataSource(TDataSource* source);
  // The data source's data set, or null.
  TDataSet* DataSet() const;
  // The data source is enabled and its data set open.
  bool Active() const { return active_; }
  // The data set is editing (and the link is not read-only).
  bool Editing() const { return editing_; }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly);
  // Asks the data source to put the data set in edit state; true when it is editing.
  virtual bool Edit();
  // Makes the linked objects write their pending data (the data set's UpdateRecord).
  void UpdateRecord();

 protected:
  virtual void ActiveChanged() {}
  virtual void EditingChanged() {}
  // The current record (field null) or one field of it changed.
  virtual void RecordChanged(TField* field);
  virtual void DataSetChanged() { RecordChanged(nullptr); }
  // Writes the linked object's pending data into the record.
  virtual void UpdateData() {}

 private:
  friend class TDataSource;

  void DataEvent(TDataEvent event, TField* field);
  void UpdateState();

  TDataSource* dataSource_ = nullptr;
  bool active_ = false;
  bool editing_ = false;
  bool readOnly_ = false;
  bool updating_ = false;  // inside UpdateData: the field changes it makes are its own
};

// A link to one field of the current record, for a control that shows it.
class TFieldDataLink : public TDataLink {
 public:
  const std::string& FieldName() const { return fieldName_; }
  void SetFieldName(const std::string& name);
  // The linked field while the data set is open, or null.
  TField* Field() const { return field_.get(); }
  // The field can be written and the link is not read-only.
  bool CanModify() const;
  bool Edit() override;
  // The control's text changed and differs from the field until written back.
  void Modified() { modified_ = true; }
  // Shows the field's value again, dropping the control's pending text.
  void Reset() { RecordChanged(nullptr); }

  // What the control does: show the field's value, follow the editing state, write its
  // text into the field, and notice that the data set opened or closed.
  std::function<void()> OnDataChange;
  std::function<void()> OnEditingChange;
  std::function<void()> OnUpdateData;
  std::function<void()> OnActiveChange;

 protected:
  void ActiveChanged() override;
  void EditingChanged() override;
  void RecordChanged(TField* field) override;
  void UpdateData() override;

 private:
  void UpdateField();
  void SetField(TField* field);

  std::string fieldName_;
  ComponentRef<TField> field_;
  bool modified_ = false;
};

}  // namespace ox
