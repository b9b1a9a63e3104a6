#pragma once
// Whether an object expires and when: a check box, a date and a time picker
// and a "When" button whose menu offers dates from now.

#include <QDateTime>
#include <QWidget>

#include "Lockwyn.Interfaces.h"

class QCheckBox;
class QDateEdit;
class QMenu;
class QPushButton;
class QTimeEdit;

class TfrExpirationSettings : public QWidget, public IExpirationSettings
{
    Q_OBJECT
public:
    explicit TfrExpirationSettings(QWidget* parent = nullptr);

    // IExpirationSettings
    bool GetExpires() const override;
    QDateTime GetExpirationDate() const override;
    void SetExpires(bool expires) override;
    void SetExpirationDate(const QDateTime& date) override;

    // The date a "When" item offers: its tag counts weeks from now, except 4
    // and 12, which are one and three calendar months. Invalid for other tags.
    static QDateTime DateForTag(int tag, const QDateTime& now);

protected:
    void changeEvent(QEvent* event) override;

private:
    void CreateControls();
    void LocalizerUpdate();
    void UpdateEnabling();
    void WhenItemClick(int tag);

    QCheckBox* chkExpires = nullptr;
    QDateEdit* dtpDate = nullptr;
    QTimeEdit* dtpTime = nullptr;
    QPushButton* btnWhen = nullptr;
    QMenu* pmExpirationDates = nullptr;
};
