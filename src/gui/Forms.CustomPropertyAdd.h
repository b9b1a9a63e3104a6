#pragma once
// Asks for the name of a new user value: typed, or picked from the names the
// database uses elsewhere.

#include <QDialog>

#include "Lockwyn.Interfaces.h"

class QComboBox;
class QLabel;
class QPushButton;

class TfCustomPropertyAdd : public QDialog, public ICustomPropertyAddView
{
    Q_OBJECT
public:
    explicit TfCustomPropertyAdd(QWidget* parent = nullptr);

    // IModalView
    int ShowModal() override;
    void ReleaseView() override;

    // ICustomPropertyAddView
    QString GetPropertyName() const override;
    QStringList GetExcludedPropTitles() const override { return FExcludedPropTitles; }
    void SetPropertyName(const QString& name) override;
    void SetExcludedPropTitles(const QStringList& titles) override { FExcludedPropTitles = titles; }

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void CreateControls();
    void LocalizerUpdate();
    void FillNames();
    void UpdateOkButton();

    QStringList FExcludedPropTitles;
    QLabel* lblPropName = nullptr;
    QComboBox* cbbPropName = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
};
