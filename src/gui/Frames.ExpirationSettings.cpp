#include "Frames.ExpirationSettings.h"

#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QEvent>
#include <QGridLayout>
#include <QMenu>
#include <QPushButton>
#include <QTimeEdit>

#include <algorithm>

#include "Components.DpiScale.h"
#include "Lockwyn.LocalizedStrings.h"

namespace {

constexpr int ColumnSpacing = 8;
constexpr int TagOneMonth = 4;
constexpr int TagThreeMonths = 12;

struct TWhenItem
{
    const char* Name;
    int Tag;
};

// In menu order; a null name is a separator.
constexpr TWhenItem WhenItems[] = {
    {"miNow", 0}, {nullptr, 0},      {"miOneWeek", 1},      {"miTwoWeeks", 2},
    {nullptr, 0}, {"miOneMonth", 4}, {"miThreeMonths", 12},
};

} // namespace

TfrExpirationSettings::TfrExpirationSettings(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frExpirationSettings"));
    CreateControls();
    LocalizerUpdate();
    SetExpires(false);
    SetExpirationDate(QDateTime::currentDateTime());
}

void TfrExpirationSettings::CreateControls()
{
    chkExpires = new QCheckBox(this);
    chkExpires->setObjectName(QStringLiteral("chkExpires"));
    connect(chkExpires, &QCheckBox::clicked, this, &TfrExpirationSettings::UpdateEnabling);

    dtpDate = new QDateEdit(this);
    dtpDate->setObjectName(QStringLiteral("dtpDate"));
    dtpDate->setCalendarPopup(true);
    dtpTime = new QTimeEdit(this);
    dtpTime->setObjectName(QStringLiteral("dtpTime"));

    pmExpirationDates = new QMenu(this);
    pmExpirationDates->setObjectName(QStringLiteral("pmExpirationDates"));
    for (const TWhenItem& item : WhenItems) {
        if (!item.Name) {
            pmExpirationDates->addSeparator();
            continue;
        }
        QAction* action = pmExpirationDates->addAction(QString());
        action->setObjectName(QLatin1String(item.Name));
        action->setData(item.Tag);
        connect(action, &QAction::triggered, this, [this, tag = item.Tag] { WhenItemClick(tag); });
    }
    btnWhen = new QPushButton(this);
    btnWhen->setObjectName(QStringLiteral("btnWhen"));
    btnWhen->setMenu(pmExpirationDates);
    btnWhen->setAutoDefault(false);

    auto* pickers = new QHBoxLayout;
    pickers->setContentsMargins(0, 0, 0, 0);
    pickers->setSpacing(ScaleByDpi(this, ColumnSpacing));
    pickers->addWidget(dtpDate, 3);
    pickers->addWidget(dtpTime, 2);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setHorizontalSpacing(ScaleByDpi(this, ColumnSpacing));
    layout->addWidget(chkExpires, 0, 0);
    layout->addLayout(pickers, 0, 1);
    layout->addWidget(btnWhen, 0, 2);
    layout->setColumnStretch(1, 1);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void TfrExpirationSettings::LocalizerUpdate()
{
    const TLocalizedStrings& strings = LocalizedStrings();
    chkExpires->setText(strings.FExpires);
    btnWhen->setText(strings.FExpiresWhen);
    const QString captions[] = {tr("Now"), tr("1 week"), tr("2 weeks"), tr("1 month"),
                                tr("3 months")};
    int index = 0;
    for (QAction* action : pmExpirationDates->actions()) {
        if (!action->isSeparator())
            action->setText(captions[index++]);
    }
    // The first column is as wide as the button in the last, so the pickers
    // stay centred under a check box of any language.
    const int side = std::max(chkExpires->sizeHint().width(), btnWhen->sizeHint().width());
    auto* grid = static_cast<QGridLayout*>(layout());
    grid->setColumnMinimumWidth(0, side);
    grid->setColumnMinimumWidth(2, side);
}

void TfrExpirationSettings::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        LocalizerUpdate();
    QWidget::changeEvent(event);
}

bool TfrExpirationSettings::GetExpires() const
{
    return chkExpires->isChecked();
}

QDateTime TfrExpirationSettings::GetExpirationDate() const
{
    return QDateTime(dtpDate->date(), dtpTime->time());
}

void TfrExpirationSettings::SetExpires(bool expires)
{
    chkExpires->setChecked(expires);
    UpdateEnabling();
}

// An object that never had a date shows today rather than the start of the
// epoch.
void TfrExpirationSettings::SetExpirationDate(const QDateTime& date)
{
    const bool none = !date.isValid() || date.toMSecsSinceEpoch() == 0;
    const QDateTime local = none ? QDateTime::currentDateTime() : date.toLocalTime();
    dtpDate->setDate(local.date());
    dtpTime->setTime(local.time());
}

void TfrExpirationSettings::UpdateEnabling()
{
    const bool expires = chkExpires->isChecked();
    for (QWidget* control : {static_cast<QWidget*>(dtpDate), static_cast<QWidget*>(dtpTime),
                             static_cast<QWidget*>(btnWhen)})
        control->setEnabled(expires);
}

QDateTime TfrExpirationSettings::DateForTag(int tag, const QDateTime& now)
{
    switch (tag) {
    case 0:
    case 1:
    case 2:
        return now.addDays(qint64(tag) * 7);
    case TagOneMonth:
        return now.addMonths(1);
    case TagThreeMonths:
        return now.addMonths(3);
    default:
        return {};
    }
}

void TfrExpirationSettings::WhenItemClick(int tag)
{
    const QDateTime date = DateForTag(tag, QDateTime::currentDateTime());
    if (date.isValid())
        SetExpirationDate(date);
}
