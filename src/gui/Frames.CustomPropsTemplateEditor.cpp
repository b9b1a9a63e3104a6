#include "Frames.CustomPropsTemplateEditor.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

using namespace Lockwyn;

TfrCustomPropsTemplateEditor::TfrCustomPropsTemplateEditor(QWidget* parent)
    : TfrCustomPropsFrameBase(parent)
{
    setObjectName(QStringLiteral("frCustomPropsTemplateEditor"));
    HintLabel()->setObjectName(QStringLiteral("lblCustomPropertiesTemplateHint"));
    lstPropsTemplate = new QListWidget(this);
    lstPropsTemplate->setObjectName(QStringLiteral("lstPropsTemplate"));
    lstPropsTemplate->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(lstPropsTemplate, &QListWidget::itemSelectionChanged, this,
            &TfrCustomPropsTemplateEditor::UpdateDeleteButton);
    SetListControl(lstPropsTemplate);
    LocalizerUpdate();
    UpdateView();
}

void TfrCustomPropsTemplateEditor::LocalizerUpdate()
{
    TfrCustomPropsFrameBase::LocalizerUpdate();
    HintLabel()->setText(tr("Token group does not contain any user values"));
}

std::shared_ptr<ITokenCustomPropertiesTemplate>
TfrCustomPropsTemplateEditor::GetTokenCustomPropertiesTemplate()
{
    WriteBack();
    return FTokenCustomPropertiesTemplate;
}

void TfrCustomPropsTemplateEditor::SetTokenCustomPropertiesTemplate(
    const std::shared_ptr<ITokenCustomPropertiesTemplate>& templ)
{
    FTokenCustomPropertiesTemplate = templ;
    UpdateView();
}

void TfrCustomPropsTemplateEditor::UpdateView()
{
    lstPropsTemplate->clear();
    const QStringList names =
        FTokenCustomPropertiesTemplate ? FTokenCustomPropertiesTemplate->GetNames() : QStringList();
    ShowList(!names.isEmpty());
    lstPropsTemplate->addItems(names);
    if (!names.isEmpty())
        lstPropsTemplate->setCurrentRow(0);
    AddButton()->setEnabled(FTokenCustomPropertiesTemplate != nullptr);
    UpdateDeleteButton();
}

void TfrCustomPropsTemplateEditor::WriteBack()
{
    if (!FTokenCustomPropertiesTemplate)
        return;
    FTokenCustomPropertiesTemplate->Clear();
    if (lstPropsTemplate->isHidden())
        return;
    for (int row = 0; row < lstPropsTemplate->count(); ++row)
        FTokenCustomPropertiesTemplate->Add(lstPropsTemplate->item(row)->text());
}

QStringList TfrCustomPropsTemplateEditor::Names()
{
    return FTokenCustomPropertiesTemplate ? FTokenCustomPropertiesTemplate->GetNames()
                                          : QStringList();
}

bool TfrCustomPropsTemplateEditor::Exists(const QString& name)
{
    return FTokenCustomPropertiesTemplate && FTokenCustomPropertiesTemplate->Exists(name);
}

void TfrCustomPropsTemplateEditor::AddName(const QString& name)
{
    FTokenCustomPropertiesTemplate->Add(name);
}

void TfrCustomPropsTemplateEditor::DeleteName(const QString& name)
{
    FTokenCustomPropertiesTemplate->Delete(name);
}

QString TfrCustomPropsTemplateEditor::CurrentName() const
{
    const QListWidgetItem* item = lstPropsTemplate->currentItem();
    return item && item->isSelected() && !lstPropsTemplate->isHidden() ? item->text() : QString();
}

void TfrCustomPropsTemplateEditor::SelectName(const QString& name)
{
    for (int row = 0; row < lstPropsTemplate->count(); ++row) {
        if (lstPropsTemplate->item(row)->text().compare(name, Qt::CaseInsensitive) == 0) {
            lstPropsTemplate->setCurrentRow(row);
            return;
        }
    }
}

void TfrCustomPropsTemplateEditor::UpdateDeleteButton()
{
    DeleteButton()->setEnabled(!CurrentName().isEmpty());
}
