#include "Frames.CustomPropsEditor.h"

#include <QApplication>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include <algorithm>

#include "Components.DpiScale.h"
#include "Components.ImmediateCommitDelegate.h"
#include "Lockwyn.LocalizedStrings.h"

using namespace Lockwyn;

namespace {

constexpr int NameColumn = 0;
constexpr int ValueColumn = 1;
constexpr int NameColumnWidth = 90;
constexpr int NameTextPadding = 8;
constexpr int FocusLostInterval = 1000;

QTableWidgetItem* NameItem(const QString& name, const QPalette& palette)
{
    auto* item = new QTableWidgetItem(name);
    item->setFlags(Qt::ItemIsEnabled);
    item->setBackground(palette.button());
    item->setToolTip(name);
    return item;
}

} // namespace

TfrCustomPropsEditor::TfrCustomPropsEditor(QWidget* parent) : TfrCustomPropsFrameBase(parent)
{
    setObjectName(QStringLiteral("frCustomPropsEditor"));
    HintLabel()->setObjectName(QStringLiteral("lblCustomPropertiesHint"));

    sgProps = new QTableWidget(0, 2, this);
    sgProps->setObjectName(QStringLiteral("sgProps"));
    sgProps->verticalHeader()->hide();
    sgProps->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    sgProps->horizontalHeader()->setHighlightSections(false);
    sgProps->setSelectionMode(QAbstractItemView::SingleSelection);
    sgProps->setSelectionBehavior(QAbstractItemView::SelectItems);
    sgProps->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sgProps->setWordWrap(false);
    sgProps->viewport()->installEventFilter(this);
    sgProps->setEditTriggers(QAbstractItemView::CurrentChanged |
                             QAbstractItemView::SelectedClicked | QAbstractItemView::DoubleClicked |
                             QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    sgProps->setItemDelegate(new TImmediateCommitDelegate(sgProps));
    connect(sgProps, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (item->column() == ValueColumn)
            FireChange();
    });
    SetListControl(sgProps);

    tmrFocusLost = new QTimer(this);
    tmrFocusLost->setObjectName(QStringLiteral("tmrFocusLost"));
    tmrFocusLost->setInterval(FocusLostInterval);
    tmrFocusLost->setSingleShot(true);
    connect(tmrFocusLost, &QTimer::timeout, this, &TfrCustomPropsEditor::UpdateDeleteButton);
    connect(qApp, &QApplication::focusChanged, this, &TfrCustomPropsEditor::FocusChanged);

    LocalizerUpdate();
    UpdateView();
}

TfrCustomPropsEditor::~TfrCustomPropsEditor()
{
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
}

void TfrCustomPropsEditor::LocalizerUpdate()
{
    TfrCustomPropsFrameBase::LocalizerUpdate();
    HintLabel()->setText(tr("Token does not contain any user values"));
    const TLocalizedStrings& strings = LocalizedStrings();
    sgProps->setHorizontalHeaderLabels({strings.FCustomPropertyTitle, strings.FCustomValueTitle});
}

std::shared_ptr<ITokenCustomProperties> TfrCustomPropsEditor::GetTokenCustomProperties()
{
    WriteBack();
    return FTokenCustomProperties;
}

void TfrCustomPropsEditor::SetTokenCustomProperties(
    const std::shared_ptr<ITokenCustomProperties>& properties)
{
    FTokenCustomProperties = properties;
    UpdateView();
}

void TfrCustomPropsEditor::UpdateView()
{
    const QSignalBlocker blocker(sgProps);
    const int count = FTokenCustomProperties ? FTokenCustomProperties->GetCount() : 0;
    ShowList(count > 0);
    sgProps->setRowCount(count);
    for (int row = 0; row < count; ++row) {
        const TTokenCustomProperty property = FTokenCustomProperties->GetItem(row);
        sgProps->setItem(row, NameColumn, NameItem(property.GetName(), palette()));
        sgProps->setItem(row, ValueColumn, new QTableWidgetItem(property.GetValue()));
    }
    UpdateColumnWidths();
    AddButton()->setEnabled(FTokenCustomProperties != nullptr);
    UpdateDeleteButton();
}

void TfrCustomPropsEditor::WriteBack()
{
    if (!FTokenCustomProperties)
        return;
    FTokenCustomProperties->Clear();
    if (sgProps->isHidden())
        return;
    for (int row = 0; row < sgProps->rowCount(); ++row)
        FTokenCustomProperties->SetValue(sgProps->item(row, NameColumn)->text(),
                                         sgProps->item(row, ValueColumn)->text());
}

QStringList TfrCustomPropsEditor::Names()
{
    return FTokenCustomProperties ? FTokenCustomProperties->GetNames() : QStringList();
}

bool TfrCustomPropsEditor::Exists(const QString& name)
{
    return FTokenCustomProperties && FTokenCustomProperties->Exists(name);
}

void TfrCustomPropsEditor::AddName(const QString& name)
{
    FTokenCustomProperties->AddEmpty(name);
}

void TfrCustomPropsEditor::DeleteName(const QString& name)
{
    FTokenCustomProperties->Delete(name);
}

QString TfrCustomPropsEditor::CurrentName() const
{
    const int row = sgProps->currentRow();
    if (row < 0 || sgProps->isHidden())
        return {};
    return sgProps->item(row, NameColumn)->text();
}

void TfrCustomPropsEditor::SelectName(const QString& name)
{
    for (int row = 0; row < sgProps->rowCount(); ++row) {
        if (sgProps->item(row, NameColumn)->text().compare(name, Qt::CaseInsensitive) == 0) {
            sgProps->setCurrentCell(row, ValueColumn);
            sgProps->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

void TfrCustomPropsEditor::UpdateColumnWidths()
{
    const int client = sgProps->viewport()->width();
    int name = ScaleByDpi(this, NameColumnWidth);
    const QFontMetrics metrics(sgProps->font());
    for (int row = 0; row < sgProps->rowCount(); ++row)
        name = std::max(name, metrics.horizontalAdvance(sgProps->item(row, NameColumn)->text()) +
                                  ScaleByDpi(this, NameTextPadding));
    name = std::min(name, client / 2);
    sgProps->setColumnWidth(NameColumn, name);
    sgProps->setColumnWidth(ValueColumn, std::max(0, client - name));
}

bool TfrCustomPropsEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == sgProps->viewport() && event->type() == QEvent::Resize)
        UpdateColumnWidths();
    return TfrCustomPropsFrameBase::eventFilter(watched, event);
}

void TfrCustomPropsEditor::UpdateDeleteButton()
{
    DeleteButton()->setEnabled(!sgProps->isHidden() && FGridFocused);
}

// Leaving the table disables "Delete" only a second later, so that a click on
// the button, which takes the focus from the table, still finds it enabled.
void TfrCustomPropsEditor::FocusChanged(QWidget*, QWidget* now)
{
    const bool inGrid = now && (now == sgProps || sgProps->isAncestorOf(now));
    if (inGrid == FGridFocused)
        return;
    FGridFocused = inGrid;
    if (inGrid) {
        tmrFocusLost->stop();
        UpdateDeleteButton();
    } else {
        tmrFocusLost->start();
    }
}
