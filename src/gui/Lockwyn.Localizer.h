#pragma once
// The interface language: English is the source, every other language is a
// compiled Qt Linguist translation inside the program. Switching installs its
// translator, which makes Qt post QEvent::LanguageChange to every widget, and
// refills the string table before the widgets handle that event.
// Convention: every form and frame calls its LocalizerUpdate() once when
// created and again from changeEvent() on QEvent::LanguageChange.

#include <QList>
#include <QString>

#include <memory>

class QTranslator;

struct TLanguage
{
    QString Name;        // "en", "de"
    QString DisplayName; // "English", "Deutsch"

    bool operator==(const TLanguage&) const = default;
};

class TLocalizer
{
public:
    static inline const QString DefaultLanguage = QStringLiteral("en");

    TLocalizer();
    ~TLocalizer();
    TLocalizer(const TLocalizer&) = delete;
    TLocalizer& operator=(const TLocalizer&) = delete;

    // English first, then the compiled translations by name.
    QList<TLanguage> GetLanguages() const;
    QString GetLanguage() const { return FLanguage; }

    // Selects the language by name; an unknown name selects English. Needs
    // the application object.
    void SetLanguage(const QString& name);

private:
    void Install(std::unique_ptr<QTranslator> translator,
                 std::unique_ptr<QTranslator> qtTranslator);

    QString FLanguage = DefaultLanguage;
    std::unique_ptr<QTranslator> FTranslator;
    std::unique_ptr<QTranslator> FQtTranslator;
};

// The process-wide localizer.
TLocalizer& Localizer();
