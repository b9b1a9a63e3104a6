#include "Frames.WebFieldsEditView.h"

#include <QEvent>
#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

#include "Components.ImmediateCommitDelegate.h"
#include "Components.SingleLineText.h"
#include "Lockwyn.LocalizedStrings.h"

using namespace Lockwyn;

namespace {

constexpr int UserNameRow = 0;
constexpr int PasswordRow = 1;
constexpr int CaptionColumn = 0;
constexpr int IDColumn = 1;
constexpr int NameColumn = 2;

} // namespace

TfrWebFieldsEditView::TfrWebFieldsEditView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frWebFieldsEditView"));
    sgWebElements = new QTableWidget(2, 3, this);
    sgWebElements->setObjectName(QStringLiteral("sgWebElements"));
    sgWebElements->verticalHeader()->hide();
    sgWebElements->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    sgWebElements->horizontalHeader()->setHighlightSections(false);
    sgWebElements->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sgWebElements->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sgWebElements->setSelectionMode(QAbstractItemView::SingleSelection);
    sgWebElements->setEditTriggers(
        QAbstractItemView::CurrentChanged | QAbstractItemView::SelectedClicked |
        QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
        QAbstractItemView::AnyKeyPressed);
    sgWebElements->setItemDelegate(new TImmediateCommitDelegate(sgWebElements));
    for (int row : {UserNameRow, PasswordRow}) {
        auto* caption = new QTableWidgetItem;
        caption->setFlags(Qt::ItemIsEnabled);
        sgWebElements->setItem(row, CaptionColumn, caption);
        for (int column : {IDColumn, NameColumn})
            sgWebElements->setItem(row, column, new QTableWidgetItem);
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(sgWebElements);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    LocalizerUpdate();
}

void TfrWebFieldsEditView::LocalizerUpdate()
{
    const TLocalizedStrings& strings = LocalizedStrings();
    sgWebElements->setHorizontalHeaderLabels({strings.FWebTableDataFieldsCaption,
                                              strings.FWebTableElementIdCaption,
                                              strings.FWebTableElementNameCaption});
    sgWebElements->item(UserNameRow, CaptionColumn)->setText(strings.FWebTableUserNameRowCaption);
    sgWebElements->item(PasswordRow, CaptionColumn)->setText(strings.FWebTablePasswordRowCaption);
    FitHeight();
}

void TfrWebFieldsEditView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        LocalizerUpdate();
    QWidget::changeEvent(event);
}

// The table shows all of its rows and no more.
void TfrWebFieldsEditView::FitHeight()
{
    int height =
        sgWebElements->horizontalHeader()->sizeHint().height() + 2 * sgWebElements->frameWidth();
    for (int row = 0; row < sgWebElements->rowCount(); ++row)
        height += sgWebElements->rowHeight(row);
    sgWebElements->setFixedHeight(height);
}

TWebFormElement TfrWebFieldsEditView::Element(int row) const
{
    return {SingleLineText(sgWebElements->item(row, IDColumn)->text()).trimmed(),
            SingleLineText(sgWebElements->item(row, NameColumn)->text()).trimmed()};
}

void TfrWebFieldsEditView::SetElement(int row, const TWebFormElement& element)
{
    sgWebElements->item(row, IDColumn)->setText(element.ID);
    sgWebElements->item(row, NameColumn)->setText(element.Name);
}

TWebFormElement TfrWebFieldsEditView::GetUserNameElement() const
{
    return Element(UserNameRow);
}

TWebFormElement TfrWebFieldsEditView::GetPasswordElement() const
{
    return Element(PasswordRow);
}

void TfrWebFieldsEditView::SetUserNameElement(const TWebFormElement& element)
{
    SetElement(UserNameRow, element);
}

void TfrWebFieldsEditView::SetPasswordElement(const TWebFormElement& element)
{
    SetElement(PasswordRow, element);
}
