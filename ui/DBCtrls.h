// Data-aware controls: an edit and a combo box that show one field of the current
// record of their DataSource's data set. Typing (or picking a line) puts the data set
// in edit state first, when the data source's AutoEdit allows it and the field and the
// control are not read-only; otherwise the key is refused. The control's text goes
// into the field when the control loses the focus or the record is posted; a text the
// field refuses keeps the focus in the control and raises. Escape drops what was typed.
#pragma once

#include <cstdint>
#include <string>

#include "ui/ComboBox.h"
#include "ui/DataSource.h"
#include "ui/Edit.h"

namespace ox {

// What a data-aware control publishes of its link to one field: the data source, the
// field's name, whether the control may change it, and the field itself.
class FieldLinkProperties {
 public:
  TDataSource* DataSource() const { return link_.DataSource(); }
  void SetDataSource(TDataSource* source) { link_.SetDataSource(source); }
  const std::string& DataField() const { return link_.FieldName(); }
  void SetDataField(const std::string& name) { link_.SetFieldName(name); }
  bool ReadOnly() const { return link_.ReadOnly(); }
  void SetReadOnly(bool readOnly) { link_.SetReadOnly(readOnly); }
  TField* Field() const { return link_.Field(); }

 protected:
  TFieldDataLink link_;
};

// The edit shows the field's Text while it has the focus and its DisplayText otherwise;
// it stays read-only while the data set is not editing.
class TDBEdit : public TCustomEdit, public FieldLinkProperties {
 public:
  OX_CLASS_INFO()
  explicit TDBEdit(TComponent* owner);

  // Whether the control refuses to change its field (the edit itself is read-only
  // whenever the data set is not editing).
  using FieldLinkProperties::ReadOnly;
  using FieldLinkProperties::SetReadOnly;

  void KeyDown(std::uint16_t& key, TShiftState shift) override;
  void KeyPress(char& key) override;
  void DoEnter() override;
  void DoExit() override;

 protected:
  void Change() override;

 private:
  void DataChange();
};

// A list style selects the line equal to the field's text (none when there is none); a
// style with an edit part shows the text itself.
class TDBComboBox : public TComboBox, public FieldLinkProperties {
 public:
  OX_CLASS_INFO()
  explicit TDBComboBox(TComponent* owner);

  void Click() override;
  void KeyPress(char& key) override;
  void DoExit() override;

 protected:
  void DefaultKeyDown(std::uint16_t key, TShiftState shift) override;
  void DefaultKeyPress(char key) override;

 private:
  void DataChange();
  // Runs the box's own handling of a key that may change the text, once the data set
  // is editing; a key that cannot start editing is refused.
  template <typename Step>
  void ChangeByPerson(Step&& step);
};

}  // namespace ox
