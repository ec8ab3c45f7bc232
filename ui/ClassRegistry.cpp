#include "ui/ClassRegistry.h"

#include "ui/Animate.h"
#include "ui/BitBtn.h"
#include "ui/CheckBox.h"
#include "ui/ClientDataSet.h"
#include "ui/ComboBox.h"
#include "ui/Connection.h"
#include "ui/DBCtrls.h"
#include "ui/DataSource.h"
#include "ui/Forms.h"
#include "ui/Grid.h"
#include "ui/GroupBox.h"
#include "ui/ImageList.h"
#include "ui/Label.h"
#include "ui/ListBox.h"
#include "ui/ListView.h"
#include "ui/MaskEdit.h"
#include "ui/Memo.h"
#include "ui/Menus.h"
#include "ui/PageControl.h"
#include "ui/Panel.h"
#include "ui/RadioGroup.h"
#include "ui/SpeedButton.h"
#include "ui/SpinEdit.h"
#include "ui/Splitter.h"
#include "ui/StatusBar.h"
#include "ui/TabSet.h"
#include "ui/ToolBar.h"
#include "ui/TreeView.h"

namespace ox {

void RegisterStandardClasses() {
  for (const ClassInfo* info :
       {&TForm::StaticClassInfo(),           &TPageControl::StaticClassInfo(),
        &TTabSheet::StaticClassInfo(),       &TTabSet::StaticClassInfo(),
        &TStatusBar::StaticClassInfo(),      &TToolBar::StaticClassInfo(),
        &TToolButton::StaticClassInfo(),     &TMainMenu::StaticClassInfo(),
        &TPopupMenu::StaticClassInfo(),      &TMenuItem::StaticClassInfo(),
        &TImageList::StaticClassInfo(),      &TAnimate::StaticClassInfo(),
        &TStringField::StaticClassInfo(),    &TIntegerField::StaticClassInfo(),
        &TFloatField::StaticClassInfo(),     &TBooleanField::StaticClassInfo(),
        &TDateTimeField::StaticClassInfo(),  &TBlobField::StaticClassInfo(),
        &TMemoField::StaticClassInfo(),      &TClientDataSet::StaticClassInfo(),
        &TDataSource::StaticClassInfo(),     &TSocketConnection::StaticClassInfo(),
        &TDCOMConnection::StaticClassInfo(), &TSimpleObjectBroker::StaticClassInfo(),
        &TDBEdit::StaticClassInfo(),         &TDBComboBox::StaticClassInfo(),
        &TCheckBox::StaticClassInfo(),       &TRadioButton::StaticClassInfo(),
        &TGroupBox::StaticClassInfo(),       &TRadioGroup::StaticClassInfo(),
        &TPanel::StaticClassInfo(),          &TSplitter::StaticClassInfo(),
        &TListBox::StaticClassInfo(),        &TComboBox::StaticClassInfo(),
        &TLabel::StaticClassInfo(),          &TEdit::StaticClassInfo(),
        &TMaskEdit::StaticClassInfo(),       &TMemo::StaticClassInfo(),
        &TButton::StaticClassInfo(),         &TBitBtn::StaticClassInfo(),
        &TSpeedButton::StaticClassInfo(),    &TSpinEdit::StaticClassInfo(),
        &TListView::StaticClassInfo(),       &TTreeView::StaticClassInfo(),
        &TDrawGrid::StaticClassInfo(),       &TStringGrid::StaticClassInfo()})
    RegisterClass(*info);
}

}  // namespace ox
